#!/usr/bin/env bash
# Runs the whole test suite of the 64-bit Windows build under wine64 (32-bit
# wine cannot be installed here, so the shipping i686 build is checked by
# scripts/build-windows.sh, not run). Builds first if needed.
#
# Usage: scripts/test-windows.sh [CTEST_ARGS...]
set -eEuo pipefail
trap 'echo "$0: failed at line $LINENO: $BASH_COMMAND" >&2' ERR
cd "$(dirname "$0")/.."
source scripts/lib/apt.sh
source scripts/lib/wine.sh

build_windows_x86_64
start_wine
echo "== the test suite under wine64"
(cd build/windows-x86_64 && ctest --output-on-failure --timeout 300 --label-exclude stress "$@")
