#!/usr/bin/env bash
# Whole-word and regular-expression finds end to end against ripgrep on
# one project's files: for each needle, the median wall time of RUNS runs of
#   qmpe find PROJECT NEEDLE --scope "All Files" --word    against rg -F -w -i -n -j1
#   qmpe find PROJECT PATTERN --scope "All Files" --regex  against rg -i -n -j1 -e
# each writing to a file. Ratios are qmpe's time over ripgrep's in the same
# run; below 1 qmpe is faster.
#
#   bench/find_options_bench.sh QMPE PROJECT_FILE RUNS
set -euo pipefail
qmpe=$1 project=$2 runs=$3
folder=$(dirname "$project")
source "$(dirname "$0")/lib/timing.sh"

# Rare to common words; patterns with a literal prefix, one without.
words=(OverflowAlarmResetLatch tank alarm value)
patterns=('Overflow\w+Latch' 'tank\s+\d+' 'alarm[_ ]?\w*' 'value\W' '\b[A-Z]{2}\d{3}\b')

printf '%-24s %8s %8s | %7s %7s %5s\n' needle "qmpe" "rg" "qmpe s" "rg s" ratio
row() {
  local needle=$1 qmpe_time=$2 found=$3 rg_time=$4 rg_found=$5
  printf '%-24s %8s %8s | %7s %7s %5s\n' "$needle" "$found" "$rg_found" "$qmpe_time" \
    "$rg_time" "$(ratio "$qmpe_time" "$rg_time")"
}
echo "-- whole words (--word, rg -w)"
for word in "${words[@]}"; do
  mine=$(median "$qmpe" find "$project" "$word" --scope "All Files" --word)
  found=$(($(wc -l <"$out/last") - 1))  # the count line
  theirs=$(median rg -F -w -i -n -j1 --no-ignore "${rg_types[@]}" "$word" "$folder")
  row "$word" "$mine" "$found" "$theirs" "$(wc -l <"$out/last")"
done
echo "-- regular expressions (--regex, rg -e)"
for pattern in "${patterns[@]}"; do
  mine=$(median "$qmpe" find "$project" "$pattern" --scope "All Files" --regex)
  found=$(($(wc -l <"$out/last") - 1))
  theirs=$(median rg -i -n -j1 --no-ignore "${rg_types[@]}" -e "$pattern" "$folder")
  row "$pattern" "$mine" "$found" "$theirs" "$(wc -l <"$out/last")"
done
