# The libraries that the Windows build needs and Debian has no MinGW build
# of, built from Debian's own sources into build/windows-deps/ once: a
# second run finds them there. Sourced by scripts/build-windows.sh.
#
#   sqlite_for ARCH   SQLite from Debian's source package sqlite3 (the
#                     amalgamation, compiled to ARCH/sqlite3.dll)
#   pcre2_for ARCH    PCRE2's 16-bit library from Debian's source package
#                     pcre2, static, into ARCH/pcre2/
#   csv_for ARCH      libcsv from Debian's source package libcsv, compiled
#                     to ARCH/libcsv.dll (it is LGPL: a DLL of its own that
#                     can be replaced, never linked in)
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

# Fetches the newest source of the package that the mirror serves (an
# update's source is sometimes not there yet) into the current folder.
fetch_source() {
  local name=$1 version
  apt-get source -qq "$name" >/dev/null 2>&1 && return 0
  for version in $(apt-cache showsrc "$name" | sed -n 's/^Version: //p' | sort -rV); do
    rm -rf ./*
    apt-get source -qq "$name=$version" >/dev/null 2>&1 && return 0
  done
  return 1
}

# Debian's source of a package, unpacked once under $deps/NAME/src.
debian_source() {
  local name=$1 out=$deps/$1
  if ! ls -d "$out"/src/"$name"-*/ >/dev/null 2>&1; then
    rm -rf "$out/src"
    mkdir -p "$out/src"
    if ! (cd "$out/src" && fetch_source "$name"); then
      enable_source_packages >&2
      (cd "$out/src" && fetch_source "$name") || {
        echo "cannot fetch Debian's source of $name" >&2
        return 1
      }
    fi
  fi
  ls -d "$out"/src/"$name"-*/ | head -n 1
}

# The amalgamation sqlite3.c and sqlite3.h, made once from the source.
sqlite_amalgamation() {
  local out=$deps/sqlite tree
  [ -f "$out/sqlite3.c" ] && return 0
  echo "== SQLite: amalgamation from Debian's source package sqlite3"
  tree=$(debian_source sqlite3)
  (cd "$tree" && ./configure -q >/dev/null && make -s sqlite3.c >/dev/null)
  mkdir -p "$out"
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

csv_for() {
  local arch=$1 out=$deps/$1 tree
  [ -f "$out/libcsv.dll" ] && return 0
  echo "== libcsv: libcsv.dll for $arch from Debian's source package libcsv"
  tree=$(debian_source libcsv)
  mkdir -p "$out/include"
  cp "$tree/csv.h" "$out/include/"
  # A DLL without export markers exports every function it defines.
  "$arch-w64-mingw32-gcc-posix" -O2 -shared -static-libgcc "$tree/libcsv.c" \
    -o "$out/libcsv.dll" -Wl,--out-implib,"$out/libcsv.dll.a"
}

# Static, so that qmpecore.dll carries it and there is no DLL more to ship;
# with the JIT, as Debian builds it.
pcre2_for() {
  local arch=$1 out=$deps/$1/pcre2 tree
  [ -f "$out/lib/libpcre2-16.a" ] && return 0
  echo "== PCRE2: libpcre2-16 for $arch from Debian's source package pcre2"
  tree=$(debian_source pcre2)
  cmake -S "$tree" -B "$deps/$arch/pcre2-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$PWD/$out" -DBUILD_SHARED_LIBS=OFF -DBUILD_STATIC_LIBS=ON \
    -DPCRE2_BUILD_PCRE2_8=OFF -DPCRE2_BUILD_PCRE2_16=ON -DPCRE2_SUPPORT_JIT=ON \
    -DPCRE2_SUPPORT_UNICODE=ON -DPCRE2_BUILD_PCRE2GREP=OFF -DPCRE2_BUILD_TESTS=OFF >/dev/null
  cmake --build "$deps/$arch/pcre2-build" >/dev/null
  cmake --install "$deps/$arch/pcre2-build" >/dev/null
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
