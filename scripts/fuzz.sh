#!/usr/bin/env bash
# Builds the fuzz targets with clang into build/fuzz and runs each for
# SECONDS (default 60), one after the other, from its seed corpus alone
# (fuzz/corpus/<target>/, copied afresh to build/fuzz/corpus/ each run).
# Prints per target the executions and the crashes found; the crashing
# inputs are kept in build/fuzz/crashes/<target>/. Exit status 1 when any
# target crashed.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
source scripts/lib/apt.sh
scripts/install-deps.sh
install_packages clang libclang-rt-14-dev
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DQM_FUZZ=ON -DQM_BUILD_TESTS=OFF -DQM_BUILD_BENCH=OFF >/dev/null
cmake --build build/fuzz --target fuzz_targets
status=0
for target in registry_block path_match file_search find_scope damaged_project damaged_cells tag_list; do
  corpus=build/fuzz/corpus/$target
  crashes=build/fuzz/crashes/$target
  log=build/fuzz/$target.log
  rm -rf "$corpus" "$crashes"
  mkdir -p "$corpus" "$crashes"
  cp fuzz/corpus/"$target"/* "$corpus"/
  # A crash ends the run with a non-zero status; the count below reports it.
  # One fixed seed and a fresh corpus keep runs close to one another (the
  # SIMD paths' coverage still follows where the heap puts each buffer), so
  # that a run here before a commit tries much of what CI will. Exploring
  # goes on in long runs with libFuzzer's own random seeds.
  build/fuzz/fuzz/"$target"_fuzz "$corpus" -seed=1 -max_total_time="$seconds" -timeout=30 \
    -artifact_prefix="$crashes"/ >"$log" 2>&1 || true
  # libFuzzer's status lines begin with "#" and the executions so far.
  executions=$(grep -oE '^#[0-9]+' "$log" | tail -n 1 | tr -d '#' || true)
  found=$(find "$crashes" -type f | wc -l)
  printf '%-16s executions %-10s crashes %s\n' "$target" "${executions:-0}" "$found"
  if [ "$found" -ne 0 ]; then
    status=1
    # CI keeps only the printed output: show the sanitizer's report and the
    # crashing input itself, so that the fault can be replayed anywhere.
    sed -n '/^==[0-9]*==ERROR\|^SUMMARY\|runtime error\|deadly signal\|ALARM\|out-of-memory/,+40p' "$log" | head -n 80
    for input in "$crashes"/*; do
      echo "crashing input $(basename "$input") in base64:"
      base64 -w 76 "$input" | head -n 200
    done
  fi
done
exit "$status"
