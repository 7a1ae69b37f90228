#!/usr/bin/env bash
# Differential test of the POSIX stand-ins against the Win32 functions they
# stand in for: the oracle (tools/win32_oracle), cross-built for x86_64,
# prints Windows' answers for thousands of generated inputs under wine64;
# the comparer, built for Linux, answers the same inputs with our code and
# prints per function the inputs tried and the differences. Exits non-zero
# when a difference is not one of the known ones.
#
#   build/oracle-x86_64/   the oracle alone, with the Windows build's options
#   build/oracle-linux/    the comparer
#   build/wineprefix/      wine's private prefix, made once
#
# Usage: scripts/diff-windows.sh [SEED [CASES_PER_FUNCTION]]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/apt.sh
source scripts/lib/windows-libraries.sh

install_packages cmake ninja-build dpkg-dev tcl googletest libcli11-dev nlohmann-json3-dev \
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64
host_headers

wine=/usr/lib/wine/wine64
windows_out=build/oracle-x86_64
linux_out=build/oracle-linux

# The Windows side configures as the x86_64 build of scripts/build-windows.sh
# does (tests on, so that the tools folder is part of it), but builds only
# the oracle.
if [ ! -f "$windows_out/build.ninja" ]; then
  sqlite_for x86_64
  gtest_for x86_64
  cmake -S . -B "$windows_out" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DQM_WERROR=ON -DQM_BUILD_TESTS=ON -DQM_BUILD_BENCH=OFF \
    -DSQLite3_INCLUDE_DIR="$PWD/$deps/x86_64/include" \
    -DSQLite3_LIBRARY="$PWD/$deps/x86_64/libsqlite3.dll.a" \
    -DQM_HOST_HEADER_ROOT="$PWD/$deps/host-include" \
    -DGTest_DIR="$PWD/$deps/x86_64/gtest/lib/cmake/GTest" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$wine" >/dev/null
fi
cmake --build "$windows_out" --target win32_oracle

if [ ! -f "$linux_out/build.ninja" ]; then
  cmake -S . -B "$linux_out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQM_WERROR=ON \
    -DQM_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$linux_out" --target win32_compare

export WINEPREFIX=$PWD/build/wineprefix WINEDEBUG=-all
[ -d "$WINEPREFIX/drive_c" ] || "$wine" wineboot -i </dev/null >/dev/null 2>&1
# wine's services would inherit the output pipe and keep it open after the
# oracle ends: start them first, detached from every pipe of this script.
# The server stays for later runs (and other scripts sharing the prefix);
# one that is running already makes -p fail, which is as good.
/usr/lib/wine/wineserver -p 2>/dev/null || true
"$wine" cmd /c exit </dev/null >/dev/null 2>&1

oracle_output=$windows_out/oracle-answers.txt
"$wine" "$windows_out/win32_oracle.exe" "$@" </dev/null >"$oracle_output"
"$linux_out/tools/win32_oracle/win32_compare" "$oracle_output"
