#!/usr/bin/env bash
# Instructions per byte of the counting of lines and UTF-16 units
# (MeasureStretch) over the text files of a project folder, with the
# sixteen-byte code alone and with the wide counter, under callgrind. Also
# prints the speed of both (bench/text_stretch_bench.cpp).
#
#   bench/text_stretch_instructions.sh [FOLDER]   (default: the large sample)
set -euo pipefail
cd "$(dirname "$0")/.."
folder=${1:-build/bench-sample}
command -v valgrind >/dev/null || { source scripts/lib/apt.sh; install_packages valgrind; }
cmake --preset release >/dev/null
cmake --build --preset release --target qmpe text_stretch_bench >/dev/null
[ -d "$folder" ] || build/release/qmpe sample "$folder" --scale large --seed 1 >/dev/null
bench=build/release/bench/text_stretch_bench
"$bench" "$folder" 7
for way in sixteen wide; do
  out=$(mktemp)
  if ! totals=$(valgrind --tool=callgrind --callgrind-out-file="$out" \
      --toggle-collect='qm::MeasureStretch*' "$bench" "$folder" --once "$way" 2>/dev/null); then
    echo "$way: not on this processor"; rm -f "$out"; continue
  fi
  bytes=${totals%% bytes*}
  instructions=$(callgrind_annotate "$out" 2>/dev/null | awk '/PROGRAM TOTALS/ {gsub(",", "", $1); print $1}')
  rm -f "$out"
  awk -v way="$way" -v i="$instructions" -v b="$bytes" \
    'BEGIN { printf "%-8s %.3f instructions per byte (%d over %d bytes)\n", way, i / b, i, b }'
done
