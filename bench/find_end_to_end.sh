#!/usr/bin/env bash
# qmpe find end to end against ripgrep on one project folder: for each
# needle, the median wall time of RUNS runs of
#   qmpe find PROJECT NEEDLE --scope "All Files"   (text, --json, --json-lines)
#   rg -F -i -n -j1 NEEDLE                         (text)
#   rg -F -i -j1 --json NEEDLE                     (JSON)
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

printf '%-24s %8s %8s | %7s %7s %5s | %7s %7s %7s %5s %5s\n' needle "qmpe" "rg" \
  text rg ratio json lines "rg json" ratio ratio
printf '%-24s %8s %8s | %7s %7s %5s | %7s %7s %7s %5s %5s\n' "" lines lines \
  "s" "s" "" "s" "s" "s" json lines
for needle in "$@"; do
  text=$(median "$qmpe" find "$project" "$needle" --scope "All Files")
  found=$(($(wc -l <"$out/last") - 1))  # the count line
  rg_text=$(median rg -F -i -n -j1 --no-ignore "${rg_types[@]}" "$needle" "$folder")
  rg_found=$(wc -l <"$out/last")
  json=$(median "$qmpe" find "$project" "$needle" --scope "All Files" --json)
  lines=$(median "$qmpe" find "$project" "$needle" --scope "All Files" --json-lines)
  rg_json=$(median rg -F -i -j1 --json --no-ignore "${rg_types[@]}" "$needle" "$folder")
  printf '%-24s %8s %8s | %7s %7s %5s | %7s %7s %7s %5s %5s\n' "$needle" "$found" "$rg_found" \
    "$text" "$rg_text" "$(ratio "$text" "$rg_text")" "$json" "$lines" "$rg_json" \
    "$(ratio "$json" "$rg_json")" "$(ratio "$lines" "$rg_json")"
done
