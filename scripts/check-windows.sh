#!/usr/bin/env bash
# Checks the Windows build from Linux: compiles every source of the
# libraries and of the qmpe tool for 32-bit Windows with MinGW-w64, with the
# platform's Win32 backend (platform/*_windows.cpp) in place of the POSIX
# one, and links the three DLLs and the tool. Exits non-zero on the first
# group with an error.
#
# Checked:
# - platform/ (the common files and *_windows.cpp), qmshared/, qmcfg/,
#   core/, config/, registry/, files/, find/ and cli/: each compiled to an
#   object with the project's warnings as errors, with the definitions and
#   export markers that CMakeLists.txt gives each target on Windows;
# - qmshared.dll, qmcfg.dll, qmpecore.dll (each with its .def) and
#   qmpe.exe linked, so that no symbol is left unresolved;
# - the export tables of the three DLLs: exactly what their .def files
#   list, at their ordinals, with or without names as listed, and nothing
#   else.
#
# Debian has no MinGW builds of ICU, SQLite, CLI11 or nlohmann-json. Their
# headers are the same on every platform, so the host's are used, seen
# through a folder that holds only them (no other Linux header can slip
# in). ICU and SQLite are linked against stand-in import libraries made from
# the functions that the objects call: the link proves that nothing else is
# missing, not that those DLLs are present. Nothing is run.
#
# Not checked: tests/ and bench/, which need GoogleTest and Google Benchmark
# built for Windows and some of which reach POSIX-only internals
# (platform/named_object_files.h).
#
# Usage: scripts/check-windows.sh [OUTPUT_DIR]   (default: build/check-windows)
set -euo pipefail
cd "$(dirname "$0")/.."

target=i686-w64-mingw32
cxx=$target-g++-posix
out=${1:-build/check-windows}
jobs=2

packages=(g++-mingw-w64-i686-posix libicu-dev libsqlite3-dev libcli11-dev nlohmann-json3-dev)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  echo "installing: ${missing[*]}"
  "${as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
fi

rm -rf "$out"
mkdir -p "$out/include" "$out/obj" "$out/bin"
for header in unicode sqlite3.h CLI nlohmann; do
  ln -s "/usr/include/$header" "$out/include/$header"
done

# As CMakeLists.txt builds for WIN32 with the ci preset (RelWithDebInfo,
# warnings as errors).
common=(-std=c++20 -O2 -Wall -Wextra -Wpedantic -Werror -fvisibility=hidden
        -fvisibility-inlines-hidden -I. -Iinclude -isystem "$out/include" -DQM_CALL=__cdecl)
export_marker='__declspec(dllexport)'
import_marker='__declspec(dllimport)'

# compile GROUP DEFINES... -- FILES...: each file to $out/obj/GROUP/, two
# at a time; fails when any file fails.
compile() {
  local group=$1
  shift
  local defines=()
  while [ "$1" != "--" ]; do
    defines+=("$1")
    shift
  done
  shift
  mkdir -p "$out/obj/$group"
  echo "== $group: $# files"
  local failed=0 file
  for file in "$@"; do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || failed=1; done
    echo "   $file"
    "$cxx" "${common[@]}" "${defines[@]}" -c "$file" \
      -o "$out/obj/$group/$(echo "${file%.cpp}" | tr / _).o" &
  done
  while [ "$(jobs -rp | wc -l)" -gt 0 ]; do wait -n || failed=1; done
  if [ "$failed" -ne 0 ]; then
    echo "FAILED: $group does not compile for Windows" >&2
    exit 1
  fi
}

shopt -s nullglob
platform_sources=()
for file in platform/*.cpp; do
  [[ $file == *_posix.cpp ]] || platform_sources+=("$file")
done

compile platform -- "${platform_sources[@]}"
compile qmshared "-DQMSHARED_API=$export_marker" -- qmshared/*.cpp
compile qmcfg "-DQMCFG_API=$export_marker" "-DQMSHARED_API=$import_marker" -- qmcfg/*.cpp
compile qmpecore "-DQMPE_API=$export_marker" "-DQMSHARED_API=$import_marker" \
  "-DQMCFG_API=$import_marker" -- core/*.cpp config/*.cpp registry/*.cpp files/*.cpp find/*.cpp
compile qmpe "-DQMPE_API=$import_marker" "-DQMSHARED_API=$import_marker" \
  "-DQMCFG_API=$import_marker" -- cli/*.cpp

# Stand-in import libraries: every ICU function the objects call (versioned,
# as u_foldCase_72) and every SQLite one.
obj=$out/obj
called=$("$target-nm" -u "$obj"/*/*.o | awk 'NF == 2 {print $2}' | sort -u)
stand_in() {
  local name=$1 pattern=$2
  {
    echo "LIBRARY $name.dll"
    echo "EXPORTS"
    grep -E "$pattern" <<<"$called" | sed 's/^_//' || true
  } >"$out/bin/$name.def"
  "$target-dlltool" -d "$out/bin/$name.def" -l "$out/bin/lib$name.a"
}
stand_in icuuc '^_u[a-z]*_[A-Za-z0-9]+_[0-9]+$'
stand_in sqlite3 '^_sqlite3_'

echo "== linking qmshared.dll, qmcfg.dll, qmpecore.dll, qmpe.exe"
bin=$out/bin
"$target-ar" rcs "$bin/libqm_platform.a" "$obj"/platform/*.o
platform=("$bin/libqm_platform.a" "$bin/libicuuc.a" -lshlwapi)
link=("$cxx" -Wl,--no-undefined)
"${link[@]}" -shared -o "$bin/qmshared.dll" "$obj"/qmshared/*.o qmshared/qmshared.def \
  "${platform[@]}" -Wl,--out-implib,"$bin/libqmshared.dll.a"
"${link[@]}" -shared -o "$bin/qmcfg.dll" "$obj"/qmcfg/*.o qmcfg/qmcfg.def \
  "$bin/libqmshared.dll.a" "$bin/libsqlite3.a" "${platform[@]}" \
  -Wl,--out-implib,"$bin/libqmcfg.dll.a"
"${link[@]}" -shared -o "$bin/qmpecore.dll" "$obj"/qmpecore/*.o core/qmpecore.def \
  "$bin/libqmshared.dll.a" "$bin/libqmcfg.dll.a" "${platform[@]}" \
  -Wl,--out-implib,"$bin/libqmpecore.dll.a"
"${link[@]}" -o "$bin/qmpe.exe" "$obj"/qmpe/*.o "$bin/libqmpecore.dll.a" "$bin/libqmcfg.dll.a" \
  "$bin/libqmshared.dll.a" "${platform[@]}"

# One line per export of a .def: "NAME @ORDINAL", "@ORDINAL" for one
# exported without its name, "NAME" for one whose ordinal the linker picks.
def_exports() {
  awk '/^EXPORTS/ {on = 1; next}
       on && NF && $1 !~ /^;/ {
         if ($2 ~ /^@/) print ($3 == "NONAME" ? "" : $1 " ") $2; else print $1
       }' "$1" | sort
}

# The same lines from a DLL's export table; NAMES lists the exports that the
# .def gives no ordinal.
dll_exports() {
  "$target-objdump" -p "$1" | awk -v names="$2" '
    BEGIN { n = split(names, list, " "); for (i = 1; i <= n; i++) unordered[list[i]] = 1 }
    NF == 0 { section = "" }
    /Export Address Table -- Ordinal Base/ { base = $NF; section = "addresses"; next }
    /\[Ordinal\/Name Pointer\] Table/ { section = "names"; next }
    section == "addresses" { gsub(/[][]/, " "); ordinals[$3] = 1 }
    section == "names" { gsub(/[][]/, " "); named[$1 + base] = $2 }
    END {
      for (o in ordinals) {
        if (!(o in named)) print "@" o
        else if (named[o] in unordered) print named[o]
        else print named[o], "@" o
      }
    }' | sort
}

for pair in qmshared:qmshared/qmshared.def qmcfg:qmcfg/qmcfg.def qmpecore:core/qmpecore.def; do
  dll=${pair%%:*}.dll
  def=${pair#*:}
  echo "== exports of $dll"
  expected=$(def_exports "$def")
  exported=$(dll_exports "$bin/$dll" "$(grep -v ' ' <<<"$expected" | tr '\n' ' ')")
  if [ "$expected" != "$exported" ]; then
    echo "FAILED: $dll exports differ from $def" >&2
    diff <(echo "$expected") <(echo "$exported") >&2 || true
    exit 1
  fi
  echo "   $(wc -l <<<"$exported") exports, each as $def says"
done
echo "Windows check passed"
