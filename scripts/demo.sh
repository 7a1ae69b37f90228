#!/usr/bin/env bash
# Builds the release tool, makes the small sample project in build/demo and
# runs the main job on it: open it as an editor would, list its tables and
# files, and find a text in the whole project.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target qmpe
qmpe=build/release/qmpe
rm -rf build/demo
"$qmpe" sample build/demo --scale small --seed 1
"$qmpe" open build/demo/plant.qmp --editor-id 1
"$qmpe" files build/demo/plant.qmp --include '*.js' --include '*.htm'
"$qmpe" find build/demo/plant.qmp OverflowAlarmResetLatch
