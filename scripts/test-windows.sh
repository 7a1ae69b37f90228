#!/usr/bin/env bash
# Runs the whole test suite of the 64-bit Windows build under wine64 (32-bit
# wine cannot be installed here, so the shipping i686 build is checked by
# scripts/build-windows.sh, not run), then qmpe.exe against the Linux qmpe
# on a sample project (scripts/compare-qmpe-windows.sh).
#
# Wine keeps a private prefix under build/ (made once), and its server is
# started, with one program run, before the tests: services that wine
# starts on first use would otherwise inherit CTest's output pipe and hold
# the run open.
#
# Usage: scripts/test-windows.sh [CTEST_ARGS...]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/apt.sh
install_packages wine64

out=build/windows-x86_64
if [ -f "$out/build.ninja" ]; then
  cmake --build "$out"
else
  scripts/build-windows.sh x86_64
fi

export WINEPREFIX=$PWD/build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== wine prefix: $WINEPREFIX"
  "$wine" wineboot -i </dev/null >/dev/null 2>&1
fi
"$server" -p </dev/null >/dev/null 2>&1 &
"$wine" cmd /c exit </dev/null >/dev/null 2>&1
trap '"$server" -k >/dev/null 2>&1 || true' EXIT

echo "== the test suite under wine64"
(cd "$out" && ctest --output-on-failure --timeout 300 "$@")
