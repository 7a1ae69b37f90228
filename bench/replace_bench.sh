#!/usr/bin/env bash
# The replace across the large sample (its tables and files) against the
# find it is built on: for each word, qmpe find, the replace preview and
# the replace applied (then applied back, untimed, so that every run starts
# from the same project), with the same options, and ripgrep finding the
# same lines in the files (rg -F -s -n, one thread and its default).
# Medians of RUNS runs (default 5), warm cache; the goal is a preview
# within 2 times the find. The peak memory (max RSS) of the find and of
# the preview, which holds every changed file and line until it is applied.
# The apply runs on a copy of the sample in build/bench-replace.
#
#   bench/replace_bench.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
scripts/install-deps.sh
source scripts/lib/apt.sh
[ -x /usr/bin/time ] || install_packages time
cmake --preset release >/dev/null
cmake --build --preset release --target qmpe
qmpe=build/release/qmpe
sample=build/bench-sample
[ -f "$sample/plant.qmp" ] || "$qmpe" sample "$sample" --scale large --seed 1 >/dev/null
copy=build/bench-replace
rm -rf "$copy" && cp -r "$sample" "$copy"
project=$copy/plant.qmp
source bench/lib/timing.sh

# The wall time in seconds of one run of the command, its output in $out/last.
seconds() {
  local start end
  start=$(date +%s%N)
  "$@" >"$out/last" || true
  end=$(date +%s%N)
  awk -v ns="$((end - start))" 'BEGIN {printf "%.6f\n", ns / 1e9}'
}

echo "== $(find "$copy" -type f | wc -l) files, $(du -sm "$copy" | cut -f1) MB under $copy"
printf '%-8s %8s %8s | %7s %7s %7s %7s | %7s %7s | %7s %7s\n' word lines changes \
  "find s" "prev s" "apply s" "rg1 s" "prev/f" "apply/f" "find MB" "prev MB"
for word in tank alarm value; do
  replacement="${word}Qz"
  measure "$qmpe" find "$project" "$word" --match-case
  find_s=$seconds find_kb=$peak_kb
  lines=$(($(wc -l <"$out/last") - 1))
  measure "$qmpe" replace "$project" "$word" "$replacement" --match-case
  preview_s=$seconds preview_kb=$peak_kb
  changes=$(tail -n1 "$out/last" | cut -d' ' -f1)
  rg1_s=$(median rg -F -s -n -j1 --no-ignore "${rg_types[@]}" "$word" "$copy")
  rg_s=$(median rg -F -s -n --no-ignore "${rg_types[@]}" "$word" "$copy")
  applies=()
  for ((i = 0; i < runs; i++)); do
    applies+=("$(seconds "$qmpe" replace "$project" "$word" "$replacement" --match-case --apply)")
    "$qmpe" replace "$project" "$replacement" "$word" --match-case --apply >/dev/null || true
  done
  apply_s=$(printf '%s\n' "${applies[@]}" | median_of)
  printf '%-8s %8s %8s | %7s %7s %7s %7s | %7s %7s | %7s %7s   (rg with its threads %s s)\n' \
    "$word" "$lines" "$changes" "$find_s" "$preview_s" "$apply_s" "$rg1_s" \
    "$(ratio "$preview_s" "$find_s")" "$(ratio "$apply_s" "$find_s")" \
    "$((find_kb / 1024))" "$((preview_kb / 1024))" "$rg_s"
done
# The round trips leave every text file of the copy as the sample has it
# (the tables' round trip is the tests'; the project file's pages may move).
if diff -r -q --exclude=plant.qmp "$sample" "$copy" >/dev/null; then
  echo "after the round trips: every file of the copy as in the sample"
else
  echo "after the round trips: the copy differs from the sample" >&2
  exit 1
fi
