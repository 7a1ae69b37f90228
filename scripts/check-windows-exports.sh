#!/usr/bin/env bash
# Checks the export and import tables of the Windows DLLs in a build folder
# (by default the shipping 32-bit one):
# - qmshared.dll, qmcfg.dll and qmpecore.dll export exactly what their .def
#   files list, at their ordinals, with or without names as listed, and
#   nothing else; the names are undecorated (the caller removes the
#   arguments, so no @N suffix);
# - qmpecore.dll imports qmshared's and qmcfg's operations by ordinal only.
#
# Usage: scripts/check-windows-exports.sh [BUILD_DIR]   (default: build/windows-i686)
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/windows-i686}
objdump=x86_64-w64-mingw32-objdump
if i686-w64-mingw32-objdump -f "$bin/qmpecore.dll" 2>/dev/null | grep -q pei-i386; then
  objdump=i686-w64-mingw32-objdump
fi

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
  "$objdump" -p "$1" | awk -v names="$2" '
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

# The import lines of one DLL in a module's import table: "@N" for an
# import by ordinal, else the name it imports.
imports_from() {
  "$objdump" -p "$1" | awk -v dll="$2" '
    /^\tDLL Name: / { section = ($3 == dll); next }
    NF == 0 { section = 0 }
    section && /^\t[0-9a-f]+\t/ { print ($3 == "<none>" ? "@" $2 : $3) }' | sort -u
}

# Every operation with a fixed ordinal is imported by it; by name only our
# own operations that the .def exports by name alone.
for pair in qmshared:qmshared/qmshared.def qmcfg:qmcfg/qmcfg.def; do
  dll=${pair%%:*}.dll
  def=${pair#*:}
  echo "== imports of qmpecore.dll from $dll"
  allowed=$(def_exports "$def" | awk '{print ($2 == "" ? $1 : $2)}' | sort -u)
  imported=$(imports_from "$bin/qmpecore.dll" "$dll")
  unexpected=$(comm -23 <(echo "$imported") <(echo "$allowed"))
  if [ -z "$imported" ] || [ -n "$unexpected" ]; then
    echo "FAILED: qmpecore.dll imports from $dll what $def does not give that way:" >&2
    echo "${unexpected:-nothing imported}" >&2
    exit 1
  fi
  echo "   $(grep -c '^@' <<<"$imported") by ordinal, $(grep -vc '^@' <<<"$imported") by name"
done
echo "Windows export check passed"
