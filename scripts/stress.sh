#!/usr/bin/env bash
# Runs the tests labelled stress (left out of the ordinary run): 500 saves
# killed at random moments, and two minutes of registry use with a process
# killed every 50 ms. Prints what each counted and CTest's summary.
set -eEuo pipefail
trap 'echo "$0: failed at line $LINENO: $BASH_COMMAND" >&2' ERR
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset ci >/dev/null
cmake --build --preset ci
set +e
ctest --preset stress --output-on-failure -V >build/ci/stress.log 2>&1
status=$?
set -e
grep -E '^[0-9]+: (saves|registry):|tests passed|tests failed|Failure' build/ci/stress.log || true
exit $status
