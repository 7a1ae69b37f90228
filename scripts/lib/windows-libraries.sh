# The libraries that the Windows build needs and Debian has no MinGW build
# of, built from Debian's own sources into build/windows-deps/ once: a
# second run finds them there. Sourced by scripts/build-windows.sh.
#
#   sqlite_for ARCH   SQLite from Debian's source package sqlite3 (the
#                     amalgamation, compiled to ARCH/sqlite3.dll)
#   gtest_for ARCH    GoogleTest from /usr/src/googletest (package googletest)
#   host_headers      CLI11's and nlohmann-json's headers, alone in a folder
deps=build/windows-deps

# A deb-src line for every deb line of the machine's sources, so that
# apt-get source takes the source of the same release.
enable_source_packages() {
  local list=/etc/apt/sources.list.d/debian-src.sources as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    local file
    {
      for file in /etc/apt/sources.list.d/*.sources; do
        if [ -f "$file" ]; then
          sed -n 's/^Types: deb$/Types: deb-src/p; /^Types:/!p' "$file"
          echo
        fi
      done
      if [ -f /etc/apt/sources.list ]; then sed -n 's/^deb /deb-src /p' /etc/apt/sources.list; fi
    } | "${as_root[@]}" tee "$list" >/dev/null
  fi
  "${as_root[@]}" apt-get update -qq
}

# The amalgamation sqlite3.c and sqlite3.h, made once from the source.
sqlite_amalgamation() {
  local out=$deps/sqlite
  [ -f "$out/sqlite3.c" ] && return 0
  echo "== SQLite: amalgamation from Debian's source package sqlite3"
  rm -rf "$out/src"
  mkdir -p "$out/src"
  if ! (cd "$out/src" && apt-get source -qq sqlite3 >/dev/null 2>&1); then
    enable_source_packages
    (cd "$out/src" && apt-get source -qq sqlite3 >/dev/null)
  fi
  local tree
  tree=$(ls -d "$out"/src/sqlite3-*/ | head -n 1)
  (cd "$tree" && ./configure -q >/dev/null && make -s sqlite3.c >/dev/null)
  cp "$tree/sqlite3.c" "$tree/sqlite3.h" "$out/"
}

sqlite_for() {
  local arch=$1 out=$deps/$1
  [ -f "$out/sqlite3.dll" ] && return 0
  sqlite_amalgamation
  echo "== SQLite: sqlite3.dll for $arch"
  mkdir -p "$out/include"
  cp "$deps/sqlite/sqlite3.h" "$out/include/"
  # The DLL gets its final name here: the name is written into the import
  # library, and so into every module that links it.
  "$arch-w64-mingw32-gcc-posix" -O2 -shared -static-libgcc \
    "-DSQLITE_API=__declspec(dllexport)" -DSQLITE_THREADSAFE=1 \
    "$deps/sqlite/sqlite3.c" -o "$out/sqlite3.dll" -Wl,--out-implib,"$out/libsqlite3.dll.a"
}

gtest_for() {
  local arch=$1 out=$deps/$1
  [ -f "$out/gtest/lib/cmake/GTest/GTestConfig.cmake" ] && return 0
  echo "== GoogleTest for $arch"
  cmake -S /usr/src/googletest -B "$out/gtest-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$PWD/$out/gtest" >/dev/null
  cmake --build "$out/gtest-build" >/dev/null
  cmake --install "$out/gtest-build" >/dev/null
}

host_headers() {
  local out=$deps/host-include header
  mkdir -p "$out"
  for header in CLI nlohmann; do
    ln -sfn "/usr/include/$header" "$out/$header"
  done
}
