#!/usr/bin/env bash
# The usages of a record and a rename preview end to end, against what
# they cannot do without: opening the project (qmpe tables, which reads
# every table) plus ripgrep finding the name as a whole word in the same
# files (rg -F -w -n -j1, the same letter case). Medians of RUNS runs;
# the ratio is qmpe's time over that sum, so above 1 is the cost of the
# table scan, the reference lookups and the printing.
#
#   bench/usages_rename_bench.sh QMPE PROJECT_FILE RUNS
set -euo pipefail
qmpe=$1 project=$2 runs=$3
folder=$(dirname "$project")
source "$(dirname "$0")/lib/timing.sh"

# TABLE NAME pairs: a tag referred to by alarms and trends, a database
# that many tags log to, a timer that devices and databases run on.
records=("io_tags|P101.Speed" "database|History" "timer|Every 100 ms")

opening=$(median "$qmpe" tables "$project")
printf '%-26s %7s %7s %7s | %7s %5s\n' record lines "qmpe s" "open s" "rg s" ratio
row() {
  local label=$1 found=$2 mine=$3 theirs=$4
  printf '%-26s %7s %7s %7s | %7s %5s\n' "$label" "$found" "$mine" "$opening" "$theirs" \
    "$(ratio "$mine" "$(awk -v a="$opening" -v b="$theirs" 'BEGIN {print a + b}')")"
}
for record in "${records[@]}"; do
  table=${record%%|*} name=${record#*|}
  theirs=$(median rg -F -w -n -j1 --no-ignore "${rg_types[@]}" "$name" "$folder")
  mine=$(median "$qmpe" usages "$project" "$table" "$name")
  row "usages $table" "$(wc -l <"$out/last")" "$mine" "$theirs"
  mine=$(median "$qmpe" rename "$project" "$table" "$name" "$name.renamed")
  row "rename preview $table" "$(wc -l <"$out/last")" "$mine" "$theirs"
done
