#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test.
# Usage: scripts/test.sh [PRESET]   (default: ci; also dev, release, asan)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-ci}
scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" -j2
