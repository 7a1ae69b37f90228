#!/usr/bin/env bash
# qmpe.exe (the x86_64 build, under wine64) against the Linux qmpe: each
# writes the sample project, then both run the same commands on their own
# copy, and their outputs must be the same once the project folder is
# written as <project> and separators as "/". The two samples must be the
# same byte for byte. Builds first if needed.
#
# Usage: scripts/compare-qmpe-windows.sh
set -eEuo pipefail
trap 'echo "$0: failed at line $LINENO: $BASH_COMMAND" >&2' ERR
cd "$(dirname "$0")/.."
source scripts/lib/apt.sh
source scripts/lib/wine.sh

prepare_comparison qmpe

out=$PWD/build/compare-qmpe
rm -rf "$out"
mkdir -p "$out"
linux_project=$out/linux/plant.qmp
windows_folder="Z:${out//\//\\}\\windows"
windows_project="$windows_folder\\plant.qmp"

qmpe_linux() { build/ci/qmpe "$@"; }
qmpe_windows() { run_windows build/windows-x86_64/qmpe.exe "$@"; }

# Separators become "/" (a JSON text doubles its backslashes), then the
# project folder becomes <project> whatever its letter case (the registry
# folds it on Windows).
normalise() {
  local folder=${1//\\//}
  tr -d '\r' | sed -e 's|\\\\|/|g' -e 's|\\|/|g' -e "s|$folder|<project>|Ig"
}

failed=0
compare() {
  local name=$1 linux_output windows_output
  shift
  linux_output=$("$@" linux 2>&1 | normalise "$out/linux" || true)
  windows_output=$("$@" windows 2>&1 | normalise "$windows_folder" || true)
  if [ "$linux_output" == "$windows_output" ]; then
    echo "   same: $name ($(wc -l <<<"$linux_output") lines)"
  else
    echo "   DIFFERENT: $name" >&2
    diff <(echo "$linux_output") <(echo "$windows_output") | head -n 20 >&2 || true
    failed=1
  fi
}

project_of() { [ "$1" = linux ] && echo "$linux_project" || echo "$windows_project"; }
run() {  # run COMMAND... SIDE: the command on that side's project
  local side=${!#} args=("${@:1:$#-1}")
  "qmpe_$side" "${args[0]}" "$(project_of "$side")" "${args[@]:1}"
}
sample() { "qmpe_$1" sample "$([ "$1" = linux ] && echo "$out/linux" || echo "$windows_folder")" --seed 11; }
# open --wait stays open until its input ends; meanwhile the registry lists it.
open_and_list() {
  local side=$1
  (sleep 3 | run open --editor-id 5 --wait "$side" >/dev/null) &
  sleep 2
  "qmpe_$side" editors
  wait
}

echo "== qmpe.exe under wine64 against qmpe"
compare "sample" sample
# The text files byte for byte, the project files by their content (the
# database header holds counters of its own).
dump() { sqlite3 "$1" .dump; }
if diff -r -x plant.qmp "$out/linux" "$out/windows" >/dev/null &&
   diff <(dump "$out/linux/plant.qmp") <(dump "$out/windows/plant.qmp") >/dev/null; then
  echo "   same: the two samples, text files byte for byte, project files row for row"
else
  echo "   DIFFERENT: the two samples" >&2
  diff -rq -x plant.qmp "$out/linux" "$out/windows" | head -n 10 >&2 || true
  diff <(dump "$out/linux/plant.qmp") <(dump "$out/windows/plant.qmp") | head -n 10 >&2 || true
  failed=1
fi
compare "tables" run tables
compare "files" run files
compare "files --full" run files --full
compare "find" run find OverflowAlarmResetLatch
compare "find --json" run find OverflowAlarmResetLatch --json
# Lines with ill-formed UTF-8 differ on purpose: each platform's converter
# decides how many U+FFFD stand for a bad sequence, and so the columns.
well_formed_hits() { run find value "$1" | grep -v $'\xEF\xBF\xBD' || true; }
compare "find, lines without U+FFFD" well_formed_hits
compare "find --scope" run find Pump --scope "All Grid Tables,*.js" --json
word_hits() { run find pump --word "$1" | grep -v $'\xEF\xBF\xBD' || true; }
compare "find --word, lines without U+FFFD" word_hits
pattern_hits() { run find 'Overflow\w+Latch|tank\s+\d' --regex "$1" | grep -v $'\xEF\xBF\xBD' || true; }
compare "find --regex, lines without U+FFFD" pattern_hits
compare "usages" run usages timer "Every second"
compare "rename, preview" run rename timer "Every second" Tick --json
compare "open --wait, editors" open_and_list
exit $failed
