#!/usr/bin/env bash
# Differential test of the POSIX stand-ins against the Win32 functions they
# stand in for: the oracle (tools/win32_oracle), cross-built for x86_64,
# prints Windows' answers for thousands of generated inputs under wine64;
# the comparer, built for Linux, answers the same inputs with our code and
# prints per function the inputs tried and the differences. Exits non-zero
# when a difference is not one of the known ones.
#
# Usage: scripts/diff-windows.sh [SEED [CASES_PER_FUNCTION]]
set -eEuo pipefail
trap 'echo "$0: failed at line $LINENO: $BASH_COMMAND" >&2' ERR
cd "$(dirname "$0")/.."
source scripts/lib/apt.sh
source scripts/lib/wine.sh

# The oracle is part of the x86_64 Windows build, the comparer of the
# Linux one (the ci preset).
prepare_comparison win32_compare

oracle_output=build/windows-x86_64/oracle-answers.txt
run_windows build/windows-x86_64/win32_oracle.exe "$@" </dev/null >"$oracle_output"
build/ci/tools/win32_oracle/win32_compare "$oracle_output"
