#!/usr/bin/env bash
# Tag lists in and out at scale: the IO tags of the 100k-tag and the
# 1M-tag project of the scale benchmarks (bench/lib/scale_projects.sh),
# against the sqlite3 shell doing the same with the same rows, in the same
# run. One line a step: the median wall time of RUNS runs (default 3), its
# ratio to the reference, and the peak memory (max RSS) against that of
# opening the project (qmpe tables), which holds the table once:
#   export csv, json   qmpe export io_tags to a file
#     reference        sqlite3 -csv -header: SELECT * FROM io_tags to a file
#   import, unchanged  qmpe import of the exported CSV: checked, no change
#   import, changed    qmpe import --apply of the CSV with every tag's
#                      Address changed, on a copy of the project: checked,
#                      applied, the table saved
#     reference        sqlite3 .import --csv of the shell's own CSV into a
#                      new table of a copy of the project
#
#   bench/exchange_bench.sh            RUNS=N bench/exchange_bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-3}
scripts/install-deps.sh
source scripts/lib/apt.sh
[ -x /usr/bin/time ] || install_packages time
cmake --preset release >/dev/null
cmake --build --preset release -j2 --target qmpe
qmpe=build/release/qmpe
source bench/lib/timing.sh
source bench/lib/scale_projects.sh
if [ ! -d "$cache" ]; then
  echo "run bench/scale_bench.sh first: it makes the projects in $cache" >&2
  exit 2
fi

row() {  # step seconds reference peak_kb open_peak_kb
  printf '  %-22s %8.3f s  %6s x  %8.1f MiB  %5s x open\n' "$1" "$2" "$(ratio "$2" "$3")" \
    "$(awk -v k="$4" 'BEGIN {print k / 1024}')" "$(ratio "$4" "$5")"
}
for name in tags-100k tags-1m; do
  project=$(project_file "$name")
  echo "== $name: $(sqlite3 "$project" 'SELECT count(*) FROM io_tags') IO tags"
  measure "$qmpe" tables "$project"
  open_peak=$peak_kb
  row "open (qmpe tables)" "$seconds" "$seconds" "$peak_kb" "$open_peak"
  measure sqlite3 -csv -header "$project" ".output $out/shell.csv" "SELECT * FROM io_tags"
  reference=$seconds
  row "reference export" "$seconds" "$reference" "$peak_kb" "$open_peak"
  measure "$qmpe" export "$project" io_tags -o "$out/tags.csv"
  row "export csv" "$seconds" "$reference" "$peak_kb" "$open_peak"
  measure "$qmpe" export "$project" io_tags --format json -o "$out/tags.json"
  row "export json" "$seconds" "$reference" "$peak_kb" "$open_peak"

  # The shell's import: its CSV into a new table of a fresh copy each
  # time (the copy costs little beside the import).
  measure bash -c "cp '$project' '$out/copy.qmp' &&
    sqlite3 '$out/copy.qmp' '.import --csv $out/shell.csv imported'"
  reference=$seconds
  row "reference import" "$seconds" "$reference" "$peak_kb" "$open_peak"
  measure "$qmpe" import "$project" io_tags "$out/tags.csv"
  row "import, unchanged" "$seconds" "$reference" "$peak_kb" "$open_peak"
  grep -q "(no change)" "$out/last" || { echo "FAILED: the unchanged import changes" >&2; exit 1; }
  # Every Address plus one: column 7 of the export (no cell before it
  # holds a separator in these projects, which the check below proves).
  awk -F, -v OFS=, 'NR > 1 {$7 = $7 + 1} {print}' "$out/tags.csv" >"$out/changed.csv"
  measure bash -c "cp '$project' '$out/copy.qmp' &&
    '$qmpe' import '$out/copy.qmp' io_tags '$out/changed.csv' --apply"
  row "import, changed" "$seconds" "$reference" "$peak_kb" "$open_peak"
  tail -n 1 "$out/last" | grep -q " 0 added, $(($(wc -l <"$out/tags.csv") - 1)) changed" || {
    echo "FAILED: the changed import did not change every tag: $(tail -n 1 "$out/last")" >&2
    exit 1
  }
done
