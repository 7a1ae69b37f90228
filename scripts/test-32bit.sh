#!/usr/bin/env bash
# Builds the same sources as a 32-bit Linux program (build/linux-i386/,
# cmake/linux-i386.cmake) and runs the whole suite under qemu-i386
# user-mode emulation: the shipping DLL is 32-bit, and this is where its
# 32-bit sizes, 64-bit file offsets and 2 GB address space are exercised
# on a machine whose kernel may not run 32-bit code (nor 32-bit wine). The
# programs that the tests start run under the emulator too.
#
# Installs what is missing first: dpkg's i386 architecture, g++-multilib,
# qemu-user and Debian's i386 packages of SQLite, ICU, PCRE2 and
# GoogleTest. Prints each skipped test's reason after CTest's summary.
#
# Usage: scripts/test-32bit.sh [CTEST_ARGS...]
set -eEuo pipefail
trap 'echo "$0: failed at line $LINENO: $BASH_COMMAND" >&2' ERR
cd "$(dirname "$0")/.."
source scripts/lib/apt.sh

add_architecture i386
install_packages cmake ninja-build g++-multilib qemu-user libcli11-dev nlohmann-json3-dev \
  libsqlite3-dev:i386 libicu-dev:i386 libpcre2-dev:i386 libcsv-dev:i386 libgtest-dev:i386 libgmock-dev:i386

cmake --preset linux-i386 >/dev/null
cmake --build --preset linux-i386 -j 2
set +e
ctest --preset linux-i386 -j2 "$@"
status=$?
set -e
# GoogleTest prints a skip's reason on the line after "FILE:LINE: Skipped".
awk '/^\[ RUN      \] / {test = $4}
     /: Skipped$/ {getline reason; print "skipped under qemu-i386: " test ": " reason}' \
  build/linux-i386/Testing/Temporary/LastTest.log
exit $status
