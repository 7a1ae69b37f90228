#!/usr/bin/env bash
# The find's speed on the large sample project: the file search against
# ripgrep (-F -i -n -j1) and the table search against SQLite's LIKE, for a
# rare and a common needle, medians of at least 5 runs, warm cache, one
# thread. Installs what it needs, builds the release benchmarks and makes
# the large sample in build/bench-sample when it is not there yet.
#
#   bench/find_bench.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target qmpe file_search_bench table_search_bench config_open_bench
sample=build/bench-sample
[ -f "$sample/plant.qmp" ] || build/release/qmpe sample "$sample" --scale large --seed 1 >/dev/null
rare=OverflowAlarmResetLatch
common=value

echo "== files: $(find "$sample" -type f | wc -l) files under $sample"
build/release/bench/file_search_bench "$sample" "$rare" "$common" "$runs"
echo
echo "== tables"
build/release/bench/table_search_bench "$sample/plant.qmp"
echo
echo "== open and save"
build/release/bench/config_open_bench "$sample/plant.qmp" "$runs"
