#!/usr/bin/env bash
# How the editor core behaves as a project grows from 100 thousand to a
# million records. From the large sample (seed 1, build/bench-sample) the
# sqlite3 shell makes projects whose tags are the sample's copied 1, 4 and
# 10 times (about 100k, 400k and 1M tags; each copy with new ids and a name
# suffix, on the same devices), and one with the alarms copied 5 times and
# the devices 10 times (100k alarms, 20k devices, the tags spread over all
# of them). Each project folder holds only its project file, so the steps
# measure records, not the sample's 160 MB of text files. The projects are
# kept in build/scale-bench/, one folder per seed and generator version.
#
# For each project, one line a step: the median wall time of RUNS runs
# (default 3) and its ratio to the reference in the same run, the peak
# memory (max RSS from /usr/bin/time) and the bytes per record (the peak less
# that of the same program on an empty project, over the records):
#   reference          the sqlite3 shell printing every row of every table
#                      to /dev/null
#   open               qmpe tables: an editor opened (the working set and the
#                      packed snapshot), to exit
#   open + snapshot    scale_open: the same open, then the snapshot set asked
#                      for (QmGetAllTables(config, 0)) and walked; set
#                      against the floor of two complete sets
#   find rare, common  qmpe find over "All Grid Tables"
#   save tags, all     QmSaveConfigEx of the tags (21, -1), then of every
#                      table (-1), each timed alone, on a copy of the project
#   usages, rename     qmpe usages and a qmpe rename preview of one tag
# At the end, each step's growth from the 100k-tag to the 1M-tag project:
# its time ratio over the ratio of the records it handles (1 is linear),
# flagged above 1.2, and that against the reference's own growth.
#
# I386_QMPE (default build/linux-i386/qmpe, or a folder holding qmpe), a
# 32-bit build, also runs the 1M-tag open and a find once each under
# qemu-i386 with a 2 GB guest address space (and the open + snapshot when
# bench/scale_open is built beside it), and prints pass or fail and the peak
# memory.
#
#   bench/scale_bench.sh [I386_QMPE]        RUNS=N bench/scale_bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-3}
i386_qmpe=${1:-build/linux-i386/qmpe}
[ -d "$i386_qmpe" ] && i386_qmpe=$i386_qmpe/qmpe
scripts/install-deps.sh
source scripts/lib/apt.sh
[ -x /usr/bin/time ] || install_packages time
cmake --preset release >/dev/null
cmake --build --preset release -j2 --target qmpe scale_open
qmpe=build/release/qmpe
scale_open=build/release/bench/scale_open
source bench/lib/timing.sh

source bench/lib/scale_projects.sh
tag=HX218.Pressure  # a tag that two alarms and a trend refer to
rare=$tag          # in a few fields of each copy
common=speed       # in about one record of ten

# The count of a table as `qmpe tables` prints it, "total" for the sum.
count_of() { awk -v table="$2" '{name = $0; sub(/ *[0-9]+$/, "", name); sub(/^ */, "", name)}
                               name == table {print $NF}' <<<"$1"; }

# The largest max RSS in KiB that /usr/bin/time wrote to $out/peaks.
largest_peak() { grep -E '^[0-9]+$' "$out/peaks" | sort -n | tail -n1; }

# Runs the command RUNS times under /usr/bin/time, output in $out/last;
# sets $seconds (the median wall time) and $peak_kb (the largest max RSS).
measure() {
  : >"$out/peaks"
  seconds=$(median /usr/bin/time -a -o "$out/peaks" -f %M "$@")
  peak_kb=$(largest_peak)
}

# As measure, for scale_open, which times its own steps: $seconds is the
# median of the sum of the FIELDS (a comma list) that it prints.
measure_steps() {
  local fields=$1 sums=() run
  shift
  : >"$out/peaks"
  : >"$out/steps"
  for ((run = 0; run < runs; run++)); do
    /usr/bin/time -a -o "$out/peaks" -f %M "$@" >"$out/last"
    cat "$out/last" >>"$out/steps"
    sums+=("$(awk -v fields=",$fields," 'index(fields, "," $1 ",") {sum += $2}
                                        END {print sum}' "$out/last")")
  done
  seconds=$(printf '%s\n' "${sums[@]}" | median_of)
  peak_kb=$(largest_peak)
}

printed() { awk -v name="$1" '$1 == name {print $2}' "$out/last"; }
# The median over the runs of the last measure_steps of one time it printed.
median_step() { awk -v name="$1" '$1 == name {print $2}' "$out/steps" | median_of; }
results() { echo $(($(wc -l <"$out/last") - 1)); }  # less the count line

# The peaks of each program on an empty project, which the bytes per
# record leave out: the process, its libraries, SQLite's caches.
empty=$(project_file empty)
measure sqlite3 -readonly "$empty" "SELECT 1"
base_sqlite=$peak_kb
measure $qmpe tables "$empty"
base_qmpe=$peak_kb
measure_steps open_s,snapshot_s $scale_open "$empty" --snapshot
base_scale_open=$peak_kb

declare -A time_of extra_of records_of tables_of found_of handled_of
steps=()
# One line of the project's table from $seconds and $peak_kb; the bytes
# per record are the peak above BASE_KB over the project's records. The
# step's growth is set against HANDLED, the records it reads or writes
# (default all).
row() {
  local step=$1 base_kb=$2 note=${3:-} handled=${4:-$records}
  local extra=$((peak_kb - base_kb))
  printf '  %-22s %8.3f %7s %9.1f %9.0f  %s\n' "$step" "$seconds" "$(ratio "$seconds" "$reference")" \
    "$(awk -v k="$peak_kb" 'BEGIN {print k / 1024}')" \
    "$(awk -v k="$extra" -v n="$records" 'BEGIN {print k * 1024 / n}')" "$note"
  [ "$project" = tags-100k ] && steps+=("$step")
  time_of[$project/$step]=$seconds
  handled_of[$project/$step]=$handled
  extra_of[$project/$step]=$extra
}

bench_project() {
  project=$1
  local file counts
  file=$(project_file "$project")
  counts=$($qmpe tables "$file")
  records=$(count_of "$counts" total)
  records_of[$project]=$records
  tables_of[$project]=$counts
  echo
  echo "== $project: $records records ($(count_of "$counts" "IO tags") tags," \
    "$(count_of "$counts" Alarm) alarms, $(count_of "$counts" "IO devices") devices)" \
    "$(du -m "$file" | cut -f1) MB"
  printf '  %-22s %8s %7s %9s %9s  %s\n' step "time s" "x ref" "peak MiB" "B/record" ""

  local selects=() table
  for table in $(sqlite3 "$file" "SELECT name FROM sqlite_master WHERE type = 'table'"); do
    selects+=("SELECT * FROM \"$table\"")
  done
  reference=1
  measure sqlite3 -readonly "$file" ".mode list" ".output /dev/null" "${selects[@]}"
  reference=$seconds
  row reference "$base_sqlite" "sqlite3 shell, every row to /dev/null"

  measure_steps open_s,snapshot_s $scale_open "$file" --snapshot --floor
  local floor_kb=$(($(printed floor_bytes) / 1024)) snapshot_note
  snapshot_note=$(awk -v f="$floor_kb" -v n="$records" -v p="$peak_kb" -v b="$base_scale_open" \
    -v opened="$(median_step open_s)" -v closed="$(median_step close_s)" 'BEGIN {
      printf "open %.3f s, then the snapshot; the floor of two sets %.0f B/record, this %.2fx" \
        " the floor; the close after it %.3f s", opened, f * 1024 / n, (p - b) / f, closed}')
  local snapshot_seconds=$seconds snapshot_peak=$peak_kb
  measure $qmpe tables "$file"
  row open "$base_qmpe" "qmpe tables, start to exit; $(awk -v f="$floor_kb" -v p="$peak_kb" \
    -v b="$base_qmpe" 'BEGIN {printf "%.2fx the floor of two sets", (p - b) / f}')"
  seconds=$snapshot_seconds peak_kb=$snapshot_peak
  row "open + snapshot" "$base_scale_open" "$snapshot_note"

  measure $qmpe find "$file" "$rare" --scope "All Grid Tables"
  row "find rare" "$base_qmpe" "$rare: $(results) results"
  measure $qmpe find "$file" "$common" --scope "All Grid Tables"
  row "find common" "$base_qmpe" "$common: $(results) results"
  found_of[$project]=$(tail -n1 "$out/last")

  mkdir -p "$out/save" && cp "$file" "$out/save/plant.qmp"
  # One open for both saves; the peak is the process's.
  measure_steps save_21_s $scale_open "$out/save/plant.qmp" --save 21 --save -1
  row "save tags" "$base_scale_open" "QmSaveConfigEx(21, -1), the save alone" \
    "$(count_of "$counts" "IO tags")"
  seconds=$(median_step save_all_s)
  row "save all" "$base_scale_open" "QmSaveConfigEx(-1), the save alone, after the tags'"
  rm -rf "$out/save"

  measure $qmpe usages "$file" io_tags "$tag"
  row usages "$base_qmpe" "$tag: $(results) usages"
  measure $qmpe rename "$file" io_tags "$tag" "$tag.renamed"
  row "rename preview" "$base_qmpe" "$(tail -n1 "$out/last")"
}

echo "median of $runs runs; peaks on an empty project: sqlite3 $((base_sqlite / 1024)) MiB," \
  "qmpe $((base_qmpe / 1024)) MiB, scale_open $((base_scale_open / 1024)) MiB"
for project in "${projects[@]}"; do bench_project "$project"; done

echo
from=tags-100k to=tags-1m
echo "== growth from $from to $to: each ratio, and per record (1 is linear): the time over the"
echo "   ratio of the records the step handles (and that against the reference's, which shows"
echo "   how much a busy machine and the mix of records give), the memory (the peak above the"
echo "   empty project's) over that of the project's records"
printf '  %-22s %9s %8s %10s %8s %10s %10s\n' step "records x" "time x" "per record" "vs ref" \
  "memory x" "per record"
faster=()
for step in "${steps[@]}"; do
  if growth=$(awk -v n1="${handled_of[$from/$step]}" -v n2="${handled_of[$to/$step]}" \
    -v t1="${time_of[$from/$step]}" -v t2="${time_of[$to/$step]}" \
    -v m1="${extra_of[$from/$step]}" -v m2="${extra_of[$to/$step]}" \
    -v r1="${records_of[$from]}" -v r2="${records_of[$to]}" \
    -v ref1="${time_of[$from/reference]}" -v ref2="${time_of[$to/reference]}" 'BEGIN {
      g = n2 / n1
      m = m1 > 0 ? m2 / m1 : 0
      printf "%9.2f %8.2f %10.2f %8.2f %10.2f %10.2f", g, t2 / t1, t2 / t1 / g,
        t2 / t1 / g / (ref2 / ref1 / (r2 / r1)), m, m / (r2 / r1)
      exit (t2 / t1 / g > 1.2)}'); then
    printf '  %-22s %s\n' "$step" "$growth"
  else
    printf '  %-22s %s  FASTER THAN LINEAR\n' "$step" "$growth"
    faster+=("$step")
  fi
done
if [ ${#faster[@]} -eq 0 ]; then
  echo "  every step's time grows at most linearly within 20%"
else
  echo "  faster than linear (time per record x over 1.2): $(printf '%s, ' "${faster[@]}" |
    sed 's/, $//')"
fi

echo
echo "== the 32-bit build under qemu-i386 -R 0x80000000 (a 2 GB guest address space), $to"
is_32_bit_program() { [ "$(head -c 5 "$1" | od -An -tx1 | tr -d ' \n')" = 7f454c4601 ]; }

# Runs the 32-bit program once under qemu; pass when it exits with 0 and
# prints the line EXPECTED, which the native program printed.
emulated() {
  local step=$1 expected=$2 status=0
  shift 2
  /usr/bin/time -o "$out/peaks" -f '%e %M' qemu-i386 -R 0x80000000 "$@" >"$out/last" \
    2>"$out/errors" || status=$?
  local verdict=fail
  [ $status -eq 0 ] && grep -qxF -- "$expected" "$out/last" && verdict=pass
  read -r seconds peak_kb < <(tail -n1 "$out/peaks")
  printf '  %-22s %-4s %8.1f s %9.1f MiB peak (qemu and its guest)%s\n' "$step" "$verdict" \
    "$seconds" "$(awk -v k="$peak_kb" 'BEGIN {print k / 1024}')" \
    "$([ $verdict = pass ] || echo "; exit $status: $(head -c 200 "$out/errors" | head -n1)")"
}
if [ ! -f "$i386_qmpe" ]; then
  echo "  skipped: no 32-bit qmpe at $i386_qmpe (built into build/linux-i386/, or give its path)"
elif ! is_32_bit_program "$i386_qmpe"; then
  echo "  skipped: $i386_qmpe is not a 32-bit program"
else
  command -v qemu-i386 >/dev/null || install_packages qemu-user
  file=$(project_file "$to")
  emulated open "$(grep -E '^ +total ' <<<"${tables_of[$to]}")" "$i386_qmpe" tables "$file"
  emulated "find common" "${found_of[$to]}" "$i386_qmpe" find "$file" "$common" \
    --scope "All Grid Tables"
  i386_scale_open=$(dirname "$i386_qmpe")/bench/scale_open
  if [ -f "$i386_scale_open" ]; then
    emulated "open + snapshot" "records ${records_of[$to]}" "$i386_scale_open" "$file" --snapshot
  else
    echo "  open + snapshot        skipped: no $i386_scale_open"
  fi
fi
