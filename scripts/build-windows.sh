#!/usr/bin/env bash
# Builds the Windows DLLs from Linux with MinGW-w64, from the same sources
# and the same CMakeLists.txt as the Linux build:
#
#   build/windows-i686/     the shipping 32-bit build: qmshared.dll,
#                           qmcfg.dll, qmpecore.dll, sqlite3.dll, libcsv.dll, qmpe.exe
#   build/windows-x86_64/   the same for 64-bit, plus the test programs,
#                           which scripts/test-windows.sh runs under wine64
#
# Each folder also holds the MinGW runtime DLLs, so that all modules share
# one C++ runtime: the containers that cross the library boundary must be
# made and freed by the same allocator. SQLite, PCRE2, libcsv and GoogleTest
# are built from Debian's sources once (scripts/lib/windows-libraries.sh). Each
# module's version resource must carry the project's version; then the export
# tables of the 32-bit DLLs are checked, and the code of their exports, none
# of which may remove its arguments (scripts/check-windows-exports.sh).
#
# Usage: scripts/build-windows.sh [ARCH...]   (default: i686 x86_64)
set -eEuo pipefail
trap 'echo "$0: failed at line $LINENO: $BASH_COMMAND" >&2' ERR
cd "$(dirname "$0")/.."
source scripts/lib/apt.sh
source scripts/lib/windows-libraries.sh

arches=("$@")
[ ${#arches[@]} -gt 0 ] || arches=(i686 x86_64)

install_packages cmake ninja-build dpkg-dev tcl googletest libcli11-dev nlohmann-json3-dev \
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 \
  binutils-mingw-w64-x86-64
host_headers

# The runtime DLLs that the compiler's programs load.
runtime_dlls() {
  local cxx=$1-w64-mingw32-g++-posix name path
  for name in libstdc++-6.dll libgcc_s_seh-1.dll libgcc_s_dw2-1.dll libwinpthread-1.dll; do
    path=$("$cxx" -print-file-name="$name")
    [ -f "$path" ] && echo "$path"
  done
}

for arch in "${arches[@]}"; do
  case $arch in
    i686) tests=OFF ;;
    x86_64) tests=ON ;;
    *) echo "unknown architecture: $arch (i686 or x86_64)" >&2; exit 2 ;;
  esac
  sqlite_for "$arch"
  pcre2_for "$arch"
  csv_for "$arch"
  options=()
  if [ "$tests" = ON ]; then
    gtest_for "$arch"
    options+=(-DGTest_DIR="$PWD/$deps/$arch/gtest/lib/cmake/GTest"
              -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/lib/wine/wine64)
  fi
  out=build/windows-$arch
  echo "== Windows $arch: $out"
  cmake -S . -B "$out" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DQM_WERROR=ON -DQM_BUILD_TESTS=$tests -DQM_BUILD_BENCH=OFF \
    -DSQLite3_INCLUDE_DIR="$PWD/$deps/$arch/include" \
    -DSQLite3_LIBRARY="$PWD/$deps/$arch/libsqlite3.dll.a" \
    -DPCRE2_INCLUDE_DIR="$PWD/$deps/$arch/pcre2/include" \
    -DPCRE2_16_LIBRARY="$PWD/$deps/$arch/pcre2/lib/libpcre2-16.a" \
    -DCSV_INCLUDE_DIR="$PWD/$deps/$arch/include" -DCSV_LIBRARY="$PWD/$deps/$arch/libcsv.dll.a" \
    -DQM_HOST_HEADER_ROOT="$PWD/$deps/host-include" "${options[@]}" >/dev/null
  cp "$deps/$arch/sqlite3.dll" "$deps/$arch/libcsv.dll" $(runtime_dlls "$arch") "$out/"
  cmake --build "$out"
  # Each module carries the project's version in its version resource.
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/CMakeCache.txt")
  for module in qmshared.dll qmcfg.dll qmpecore.dll qmpe.exe; do
    if [ "$(strings -el "$out/$module" | grep -A1 -x FileVersion | tail -n 1)" != "$version" ]; then
      echo "FAILED: $out/$module carries no version resource of version $version" >&2
      exit 1
    fi
  done
  echo "   version $version in the resources of qmshared.dll, qmcfg.dll, qmpecore.dll and qmpe.exe"
done

if [[ " ${arches[*]} " == *" i686 "* ]]; then
  scripts/check-windows-exports.sh build/windows-i686
fi
echo "Windows build passed: ${arches[*]}"
