#!/usr/bin/env bash
# The find's speed on the large sample project: the file search against
# ripgrep (-F -i -n -j1) and the table search against SQLite's LIKE, for a
# rare and a common needle, medians of at least 5 runs, warm cache, one
# thread. Then qmpe find end to end against ripgrep (both at their default
# threads, and both on one), on the large sample and on a second corpus
# unlike it (bench/make_corpus.py), for five needles each from rare to very
# common; and whole-word and pattern finds against
# ripgrep's -w and -e on the large sample; usages and a rename preview
# against opening the project plus ripgrep -w. Installs what it needs,
# builds the release benchmarks and makes the large sample in
# build/bench-sample and the corpus in build/bench-corpus when they are
# not there yet.
#
#   bench/find_bench.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
scripts/install-deps.sh
source scripts/lib/apt.sh
command -v python3 >/dev/null || install_packages python3  # the corpus generator
cmake --preset release >/dev/null
cmake --build --preset release --target qmpe file_search_bench table_search_bench config_open_bench
sample=build/bench-sample
[ -f "$sample/plant.qmp" ] || build/release/qmpe sample "$sample" --scale large --seed 1 >/dev/null
corpus=build/bench-corpus
if [ ! -f "$corpus/plant.qmp" ]; then
  rm -rf "$corpus"
  python3 bench/make_corpus.py "$corpus" >/dev/null
  # A small project file beside the corpus: the files are what is searched.
  build/release/qmpe sample "$corpus.project" --scale small --seed 1 >/dev/null
  mv "$corpus.project/plant.qmp" "$corpus/" && rm -rf "$corpus.project"
fi
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
echo
echo "== qmpe find end to end, the large sample"
bench/find_end_to_end.sh build/release/qmpe "$sample/plant.qmp" "$runs" \
  OverflowAlarmResetLatch sensor tank alarm value
echo
echo "== qmpe find end to end, the second corpus"
bench/find_end_to_end.sh build/release/qmpe "$corpus/plant.qmp" "$runs" \
  QuokkaInterlockOverride deaerator stopping pump status
echo
echo "== whole words and regular expressions end to end, the large sample"
bench/find_options_bench.sh build/release/qmpe "$sample/plant.qmp" "$runs"
echo
echo "== usages of a record and a rename preview end to end, the large sample"
bench/usages_rename_bench.sh build/release/qmpe "$sample/plant.qmp" "$runs"
