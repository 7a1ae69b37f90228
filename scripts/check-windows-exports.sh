#!/usr/bin/env bash
# Checks the export and import tables of the Windows DLLs in a build folder
# (by default the shipping 32-bit one):
# - qmshared.dll, qmcfg.dll and qmpecore.dll export exactly what their .def
#   files list, at their ordinals, with or without names as listed, and
#   nothing else; the names are undecorated (the caller removes the
#   arguments, so no @N suffix);
# - qmpecore.dll imports qmshared's and qmcfg's operations by ordinal only;
# - in a 32-bit build, no export removes its arguments on return: the
#   application declares every one caller-cleans (__cdecl), and a callee
#   that pops them too (a __stdcall slipped into a header) leaves the
#   caller's stack pointer wrong. The code of each export is disassembled
#   from its address in the export table, and scripts/lib/callee-pops.awk
#   follows it through its jumps, its cold part and into whatever function
#   it tail-jumps to; any "ret N" reached fails the check, and so does a
#   tail jump into an import decorated @N, or one through a pointer from a
#   function that never returns plainly. The cut into functions comes
#   from the DLL's symbols, so a stripped DLL fails, as does one where no
#   instruction or no plain return is found. The check first runs on a
#   small DLL assembled here with such faults, and fails unless it finds
#   exactly them.
#
# Usage: scripts/check-windows-exports.sh [BUILD_DIR]   (default: build/windows-i686)
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/windows-i686}
binutils=x86_64-w64-mingw32
if i686-w64-mingw32-objdump -f "$bin/qmpecore.dll" 2>/dev/null | grep -q pei-i386; then
  binutils=i686-w64-mingw32
fi
objdump=$binutils-objdump

# One line per export of a .def: "NAME @ORDINAL", "@ORDINAL" for one
# exported without its name, "NAME" for one whose ordinal the linker picks.
def_exports() {
  awk '/^EXPORTS/ {on = 1; next}
       on && NF && $1 !~ /^;/ {
         if ($2 ~ /^@/) print ($3 == "NONAME" ? "" : $1 " ") $2; else print $1
       }' "$1" | sort
}

# A DLL's export table, one line an export: "ORDINAL RVA [NAME]".
export_table() {
  "$objdump" -p "$1" | awk '
    NF == 0 { section = "" }
    /Export Address Table -- Ordinal Base/ { base = $NF; section = "addresses"; next }
    /\[Ordinal\/Name Pointer\] Table/ { section = "names"; next }
    section == "addresses" { gsub(/[][]/, " "); rva[$3] = $4 }
    section == "names" { gsub(/[][]/, " "); named[$1 + base] = $2 }
    END { for (o in rva) print o, rva[o], named[o] }'
}

# The lines of def_exports from a DLL's export table; NAMES lists the
# exports that the .def gives no ordinal.
dll_exports() {
  export_table "$1" | awk -v names="$2" '
    BEGIN { n = split(names, list, " "); for (i = 1; i <= n; i++) unordered[list[i]] = 1 }
    NF < 3 { print "@" $1; next }
    $3 in unordered { print $3; next }
    { print $3, "@" $1 }' | sort
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

# "ADDRESS LABEL" for each export of a DLL, ADDRESS the one its code starts
# at; LABEL its name, or the name that the .def DEF gives its ordinal.
export_entries() {
  local base ordinal rva name
  base=$("$objdump" -p "$1" | awk '$1 == "ImageBase" { print $2 }')
  export_table "$1" | while read -r ordinal rva name; do
    [ -n "$name" ] || name=$(awk -v o="@$ordinal" '/^EXPORTS/ { on = 1 } on && $2 == o { print $1 }' "$2")
    printf '%08x %s\n' $((0x$base + 0x$rva)) "${name:-@$ordinal}"
  done
}

# What scripts/lib/callee-pops.awk finds in a DLL whose .def is DEF. The
# labels of the auto-import fixups (__fuN_NAME) mark the address field
# inside an instruction, where objdump would start decoding anew and read
# the address as code: they are left out of the copy it reads.
callee_pops() {
  local copy
  copy=$(mktemp --suffix=.dll)
  "$binutils-objcopy" --wildcard --strip-symbol='__fu[0-9]*' "$1" "$copy"
  awk -f scripts/lib/callee-pops.awk <(export_entries "$copy" "$2") <("$binutils-nm" "$copy") \
    <("$objdump" -d --no-show-raw-insn "$copy")
  local status=$?
  rm -f "$copy"
  return $status
}

# The scanner must find every fault of a DLL made to hold them: a return
# that pops, one behind a branch, a tail jump into such a function, code
# that runs on past a symbol into one, a tail jump into a Win32 function,
# a tail jump through a pointer with no plain return beside it; and none
# in the clean exports among them (a plain return, a tail jump into the C
# runtime, a virtual call's tail jump). Stripped, the DLL cannot be
# checked at all.
self_test() {
  local dir=$1 found
  cat >"$dir/faults.s" <<'EOF'
	.text
	.globl _plain
_plain:	movl 4(%esp), %eax
	ret
	.globl _pops
_pops:	ret $8
	.globl _tail
_tail:	jmp _helper
	.globl _branch
_branch: testl $1, 4(%esp)
	jne 1f
	ret
1:	ret $4
	.globl _runs_on
_runs_on: movl 4(%esp), %eax
_inner:	ret $4
	.globl _win32
_win32:	jmp *__imp__Sleep@4
	.globl _crt
_crt:	jmp *__imp__free
	.globl _virtual
_virtual: movl 4(%esp), %ecx
	testl %ecx, %ecx
	je 1f
	movl (%ecx), %eax
	jmp *4(%eax)
1:	ret
	.globl _pointer
_pointer: movl 4(%esp), %eax
	jmp *%eax
_helper: ret $8
	.section .drectve
	.ascii " -export:plain -export:pops -export:tail -export:branch"
	.ascii " -export:runs_on -export:win32 -export:crt -export:virtual -export:pointer"
EOF
  "$binutils-gcc-posix" -shared -nostdlib -Wl,-e,_plain "$dir/faults.s" -o "$dir/faults.dll" \
    -lkernel32 -lmsvcrt
  found=$(callee_pops "$dir/faults.dll" /dev/null | sed -n 's/^FAULT \([^:]*\):.*/\1/p' | sort -u | xargs)
  if [ "$found" != "branch pointer pops runs_on tail win32" ]; then
    echo "FAILED: the scanner of popping returns found faults in: ${found:-nothing};" \
      "expected: branch pointer pops runs_on tail win32" >&2
    return 1
  fi
  "$binutils-strip" "$dir/faults.dll"
  if callee_pops "$dir/faults.dll" /dev/null >/dev/null 2>&1; then
    echo "FAILED: the scanner of popping returns passed a stripped DLL" >&2
    return 1
  fi
}

if [ "$binutils" = i686-w64-mingw32 ]; then
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  echo "== the scanner of popping returns, on a DLL made to hold them"
  self_test "$scratch"
  echo "   finds each of its six faults, and refuses it stripped"
  for pair in qmshared:qmshared/qmshared.def qmcfg:qmcfg/qmcfg.def qmpecore:core/qmpecore.def; do
    dll=${pair%%:*}.dll
    echo "== arguments of the exports of $dll left to the caller"
    if ! found=$(callee_pops "$bin/$dll" "${pair#*:}"); then
      echo "FAILED: the code of $dll's exports cannot be checked" >&2
      exit 1
    fi
    if grep -q '^FAULT ' <<<"$found"; then
      echo "FAILED: exports of $dll remove their arguments (they are caller-cleans):" >&2
      sed -n 's/^FAULT /   /p' <<<"$found" >&2
      exit 1
    fi
    sed -n 's/^POINTER /   through a pointer, from a function that returns plainly: /p' <<<"$found"
    read -r _ exports pieces instructions returns tables pointers < <(grep '^SUMMARY ' <<<"$found")
    echo "   $exports exports reach $instructions instructions in $pieces pieces of code, with" \
      "$returns plain returns; none removes arguments (jump tables, scanned whole with their" \
      "functions: $tables; tail jumps through pointers: $pointers)"
  done
fi
echo "Windows export check passed"
