#!/usr/bin/env bash
# Runs the tests labelled stress (left out of the ordinary run): 500 saves
# killed at random moments, two minutes of registry use with a process
# killed every 50 ms, and a minute of finds while a writer changes the
# project's files. Prints what each counted and CTest's summary.
# Usage: scripts/stress.sh [asan]
#   asan: the finds against the writer alone, in the AddressSanitizer and
#   UndefinedBehaviorSanitizer build (scripts/test.sh asan builds it), where
#   a read past what a changing file gave shows at once.
set -eEuo pipefail
trap 'echo "$0: failed at line $LINENO: $BASH_COMMAND" >&2' ERR
cd "$(dirname "$0")/.."
preset=ci
tests=stress
if [ "${1:-}" = asan ]; then
  preset=asan
  tests=stress-asan
fi
scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
set +e
ctest --preset "$tests" --output-on-failure -V >build/"$preset"/stress.log 2>&1
status=$?
set -e
grep -E '^[0-9]+: (saves|registry|finds):|tests passed|tests failed|Failure' build/"$preset"/stress.log || true
exit $status
