#!/usr/bin/env bash
# qmpe find end to end against ripgrep on one project folder: for each
# needle, the median wall time of RUNS runs of
#   qmpe find PROJECT NEEDLE --scope "All Files"   (text, --json; its default threads)
#   rg -F -i -n NEEDLE                             (text, --json; its default threads)
#   qmpe find ... --threads 1  and  rg -F -i -n -j1 (text, one thread each)
# over the same file types, each writing to a file (ripgrep takes output to
# /dev/null as a sign to stop at the first match). Ratios are qmpe's time
# over ripgrep's in the same run; below 1 qmpe is faster.
#
#   bench/find_end_to_end.sh QMPE PROJECT_FILE RUNS NEEDLE...
set -euo pipefail
qmpe=$1 project=$2 runs=$3
shift 3
folder=$(dirname "$project")
source "$(dirname "$0")/lib/timing.sh"

format='%-24s %8s %8s | %7s %7s %5s | %7s %7s %5s | %7s %7s %5s\n'
printf "$format" needle "qmpe" "rg" text rg ratio json "rg json" ratio "text -t1" "rg -j1" ratio
printf "$format" "" lines lines s s "" s s "" s s ""
for needle in "$@"; do
  text=$(median "$qmpe" find "$project" "$needle" --scope "All Files")
  found=$(($(wc -l <"$out/last") - 1))  # the count line
  rg_text=$(median rg -F -i -n --no-ignore "${rg_types[@]}" "$needle" "$folder")
  rg_found=$(wc -l <"$out/last")
  json=$(median "$qmpe" find "$project" "$needle" --scope "All Files" --json)
  rg_json=$(median rg -F -i --json --no-ignore "${rg_types[@]}" "$needle" "$folder")
  one=$(median "$qmpe" find "$project" "$needle" --scope "All Files" --threads 1)
  rg_one=$(median rg -F -i -n -j1 --no-ignore "${rg_types[@]}" "$needle" "$folder")
  printf "$format" "$needle" "$found" "$rg_found" \
    "$text" "$rg_text" "$(ratio "$text" "$rg_text")" \
    "$json" "$rg_json" "$(ratio "$json" "$rg_json")" \
    "$one" "$rg_one" "$(ratio "$one" "$rg_one")"
done
