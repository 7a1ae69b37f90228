#!/usr/bin/env bash
# The project check at scale: qmpe check of the 100k-tag and the 1M-tag
# project of the scale benchmarks (bench/lib/scale_projects.sh) and of the
# large sample with its text files, against
# opening the same project (qmpe tables), measured in the same run. The
# goal is a check within 1.5 times the open. One line a step: the median
# wall time of RUNS runs (default 3), its ratio to the open, and the peak
# memory (max RSS) against the open's.
#
#   bench/check_bench.sh      RUNS=N bench/check_bench.sh
#   BUILD=build/other bench/check_bench.sh   (a build folder of your own:
#                                             configured as Release when new)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-3}
build=${BUILD:-build/release}
scripts/install-deps.sh
source scripts/lib/apt.sh
[ -x /usr/bin/time ] || install_packages time
if [ "$build" = build/release ]; then
  cmake --preset release >/dev/null
elif [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" -j2 --target qmpe
qmpe=$build/qmpe
source bench/lib/timing.sh
source bench/lib/scale_projects.sh

row() {  # step seconds open_seconds peak_kb open_peak_kb
  printf '  %-22s %8.3f s  %6s x open  %8.1f MiB  %5s x open\n' "$1" "$2" "$(ratio "$2" "$3")" \
    "$(awk -v k="$4" 'BEGIN {print k / 1024}')" "$(ratio "$4" "$5")"
}
# The large sample adds what the scale projects lack: 160 MB of text files
# that the unused-tag part reads.
sample=build/bench-sample
[ -f "$sample/plant.qmp" ] || "$qmpe" sample "$sample" --scale large --seed 1 >/dev/null
for name in tags-100k tags-1m large-sample; do
  if [ "$name" = large-sample ]; then project=$sample/plant.qmp; else project=$(project_file "$name"); fi
  echo "== $name: $(sqlite3 "$project" 'SELECT count(*) FROM io_tags') IO tags"
  measure "$qmpe" tables "$project"
  open_seconds=$seconds open_peak=$peak_kb
  row "open (qmpe tables)" "$seconds" "$open_seconds" "$peak_kb" "$open_peak"
  measure "$qmpe" check "$project"
  row "check" "$seconds" "$open_seconds" "$peak_kb" "$open_peak"
  echo "  findings: $(wc -l <"$out/last") ($(cut -d' ' -f1 "$out/last" | sort | uniq -c |
    awk '{printf "%s%s %s", sep, $1, $2; sep = ", "}'))"
  measure "$qmpe" check "$project" --json
  row "check --json" "$seconds" "$open_seconds" "$peak_kb" "$open_peak"
done
