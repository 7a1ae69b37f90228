#!/usr/bin/env bash
# The library as another program uses it. Builds the package preset (or
# brings it up to date), installs it into a temporary prefix and checks
# what is there (sonames, headers, CMake package, pkg-config files, man
# page, licence); makes the sample with the installed qmpe; builds the
# consumer (tests/consumer) once with find_package and once with
# pkg-config against the prefix, and checks that it counts what
# `qmpe tables` counts. Then makes the Debian package with CPack, installs
# it, builds and runs the consumer both ways against /usr, and removes the
# package again. Prints PASS or FAIL per check; exits 1 when any failed.
#
# The package preset is the release build without the tests and benchmarks,
# which nothing installed needs.
#
# Usage: scripts/package.sh
set -eEuo pipefail
trap 'echo "FAIL: $0 stopped at line $LINENO: $BASH_COMMAND" >&2' ERR
cd "$(dirname "$0")/.."
source scripts/lib/apt.sh
scripts/install-deps.sh
install_packages dpkg-dev file

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
if dpkg-query -W -f='${Status}' qmpecore 2>/dev/null | grep -q "install ok installed"; then
  echo "FAIL: the package qmpecore is installed already; remove it first (dpkg --purge qmpecore)" >&2
  exit 1
fi

build=build/package
cmake --preset package >/dev/null
cmake --build --preset package
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
major=${version%%.*}

work=$(mktemp -d)
installed_package=0
cleanup() {
  if [ "$installed_package" -eq 1 ]; then "${as_root[@]}" dpkg --purge qmpecore >/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

failed=0
check() {  # check NAME COMMAND...: PASS when the command succeeds
  local name=$1
  shift
  if "$@"; then
    echo "PASS: $name"
  else
    echo "FAIL: $name"
    failed=1
  fi
}

# "TABLES RECORDS" as `qmpe tables` prints them: one line per table, then
# the total.
tables_of() {
  "$1" tables "$2" | awk '/^  total / {total = $2; next} /^  / {tables++} END {print tables, total}'
}
# The same two numbers from the consumer's line "qmpecore V: T tables, R records".
consumer_counts() {
  "$@" | sed -n 's/^qmpecore [^:]*: \([0-9]*\) tables, \([0-9]*\) records$/\1 \2/p'
}
same_counts() {  # same_counts EXPECTED COMMAND...
  local expected=$1 got
  shift
  got=$(consumer_counts "$@")
  [ -n "$expected" ] && [ "$got" == "$expected" ] || { echo "   expected '$expected', got '$got'" >&2; false; }
}

soname_of() { readelf -d "$1" | sed -n 's/.*Library soname: \[\(.*\)\]/\1/p'; }
sonames_are_versioned() {
  local prefix=$1 library
  for library in qmpecore qmcfg qmshared; do
    [ "$(soname_of "$prefix/lib/lib$library.so.$version")" == "lib$library.so.$major" ] &&
      [ "$(readlink "$prefix/lib/lib$library.so.$major")" == "lib$library.so.$version" ] &&
      [ "$(readlink "$prefix/lib/lib$library.so")" == "lib$library.so.$major" ] || return 1
  done
}
has_files() {
  local root=$1 file
  shift
  for file in "$@"; do
    [ -e "$root/$file" ] || { echo "   missing: $root/$file" >&2; return 1; }
  done
}
# Every command that `qmpe --help` lists has its section in the man page.
man_page_covers_commands() {
  local qmpe=$1 page=$2 commands command
  commands=$("$qmpe" --help | awk '/^[Ss][Uu][Bb][Cc][Oo][Mm][Mm][Aa][Nn][Dd][Ss]:/ {on = 1; next}
                                    on && /^  [^ ]/ {print $1} on && /^[^ ]/ {on = 0}')
  [ -n "$commands" ] || return 1
  for command in $commands; do
    grep -q "^\.SS qmpe $command\$" "$page" || { echo "   no section for $command" >&2; return 1; }
  done
  grep -q "qmpecore $version" "$page"
}

build_with_cmake() {  # build_with_cmake OUT [PREFIX]
  cmake -S tests/consumer -B "$1" -G Ninja ${2:+-DCMAKE_PREFIX_PATH="$2"} >/dev/null &&
    cmake --build "$1" >/dev/null
}
build_with_pkg_config() {  # build_with_pkg_config OUT [PKG_CONFIG_PATH]
  local flags libdir
  flags=$(PKG_CONFIG_PATH=${2:-} pkg-config --cflags --libs qmpecore) &&
    libdir=$(PKG_CONFIG_PATH=${2:-} pkg-config --variable=libdir qmpecore) &&
    mkdir -p "$1" &&
    g++ -std=c++20 tests/consumer/main.cpp $flags -Wl,-rpath,"$libdir" -o "$1/count_tables"
}

echo "== install into a temporary prefix"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
check "sonames libqmpecore.so.$major, libqmcfg.so.$major, libqmshared.so.$major with namelinks" \
  sonames_are_versioned "$prefix"
check "headers, qmpe, man page, licence, CMake package, pkg-config files" has_files "$prefix" \
  include/qmpecore/qmpecore.h include/qmpecore/qmpecore_ext.h include/qmpecore/version.h \
  bin/qmpe share/man/man1/qmpe.1 share/doc/qmpecore/LICENSE \
  lib/cmake/qmpecore/qmpecoreConfig.cmake lib/cmake/qmpecore/qmpecoreConfigVersion.cmake \
  lib/cmake/qmpecore/qmpecoreTargets.cmake \
  lib/pkgconfig/qmpecore.pc lib/pkgconfig/qmcfg.pc lib/pkgconfig/qmshared.pc
check "installed qmpe --version prints $version" \
  test "$("$prefix/bin/qmpe" --version)" == "qmpe (qmpecore) $version"
check "the man page has a section for every command of qmpe --help" \
  man_page_covers_commands "$prefix/bin/qmpe" "$prefix/share/man/man1/qmpe.1"

"$prefix/bin/qmpe" sample "$work/sample" --seed 7 >/dev/null
project=$work/sample/plant.qmp
expected=$(tables_of "$prefix/bin/qmpe" "$project")
echo "   qmpe tables: $expected (tables, records)"

echo "== the consumer against the prefix"
check "find_package(qmpecore CONFIG REQUIRED) build" build_with_cmake "$work/cmake" "$prefix"
check "find_package build counts what qmpe tables counts" \
  same_counts "$expected" "$work/cmake/count_tables" "$project"
check "pkg-config --cflags --libs qmpecore build" \
  build_with_pkg_config "$work/pc" "$prefix/lib/pkgconfig"
check "pkg-config build counts what qmpe tables counts" \
  same_counts "$expected" "$work/pc/count_tables" "$project"
# A program that asks for the next major version must not get this one.
next_major() {
  mkdir -p "$work/next-major" &&
    printf '%s\n' 'cmake_minimum_required(VERSION 3.25)' 'project(next_major LANGUAGES NONE)' \
      "find_package(qmpecore $((major + 1)) CONFIG QUIET)" \
      'if(qmpecore_FOUND)' '  message(FATAL_ERROR "found ${qmpecore_VERSION}")' 'endif()' \
      >"$work/next-major/CMakeLists.txt" &&
    cmake -S "$work/next-major" -B "$work/next-major/build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
}
check "find_package(qmpecore $((major + 1))) does not take version $version" next_major

echo "== the Debian package"
(cd "$build" && cpack -G DEB >/dev/null)
deb=$build/qmpecore_${version}_amd64.deb
check "cpack -G DEB made $deb" test -f "$deb"
depends=$(dpkg-deb -f "$deb" Depends)
echo "   Depends: $depends"
check "dpkg-shlibdeps found the run-time dependencies (SQLite, ICU, libstdc++)" \
  bash -c "grep -q libsqlite3 <<<'$depends' && grep -q libicu <<<'$depends' && grep -q libstdc++ <<<'$depends'"
"${as_root[@]}" dpkg -i "$deb" >/dev/null
installed_package=1
check "dpkg -i installed qmpe and the libraries under /usr" has_files / \
  usr/bin/qmpe "usr/lib/libqmpecore.so.$major" usr/lib/cmake/qmpecore/qmpecoreConfig.cmake \
  usr/lib/pkgconfig/qmpecore.pc usr/include/qmpecore/qmpecore.h usr/share/man/man1/qmpe.1
check "find_package build against /usr" build_with_cmake "$work/usr-cmake"
check "find_package build against /usr counts what qmpe tables counts" \
  same_counts "$expected" "$work/usr-cmake/count_tables" "$project"
check "pkg-config build against /usr" build_with_pkg_config "$work/usr-pc"
check "pkg-config build against /usr counts what qmpe tables counts" \
  same_counts "$expected" "$work/usr-pc/count_tables" "$project"
check "/usr/bin/qmpe tables counts the same" test "$(tables_of /usr/bin/qmpe "$project")" == "$expected"
"${as_root[@]}" dpkg --purge qmpecore >/dev/null
installed_package=0
check "dpkg --purge qmpecore removed it" bash -c "! dpkg-query -W qmpecore 2>/dev/null && ! test -e /usr/lib/libqmpecore.so.$major && ! test -e /usr/bin/qmpe"

if [ "$failed" -ne 0 ]; then
  echo "FAIL: the library as a package"
  exit 1
fi
echo "PASS: the library as a package (install, find_package, pkg-config, Debian package)"
