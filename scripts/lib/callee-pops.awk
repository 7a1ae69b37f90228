# Finds the code of a 32-bit DLL's exports that removes its caller's
# arguments. The exports are declared caller-cleans (__cdecl), so a "ret N"
# (opcode c2/ca, the return that pops N bytes) reached from one of them
# corrupts the caller's stack; so does a tail jump into an import whose
# decorated name (NAME@N) says that it pops N bytes.
#
# Three inputs, in this order:
#   1. the exports, one a line: "ADDRESS LABEL" (8 lowercase hex digits)
#   2. the DLL's symbols as nm prints them: "ADDRESS TYPE NAME"
#   3. the DLL's code as `objdump -d --no-show-raw-insn` prints it
#
# The code is cut at every symbol into pieces. From the piece that starts
# at an export, every instruction of it is scanned, then the pieces that
# it may continue in: the targets of its direct jumps (conditional or not,
# whatever function they land in), the next piece when the last
# instruction may run on into it (a label inside a function, or a call
# that may return), and the piece NAME.cold that the compiler split off.
# Calls are not followed: a callee removes only what its caller pushed
# for it. Indirect jumps cannot be followed: a jump table's targets lie
# inside its function, which is scanned whole; a tail jump through a
# pointer (a virtual call) is let pass only from a piece that also returns
# plainly, for the compiler tail-calls only a callee that removes what
# the caller would remove itself, and that return shows it is nothing.
# Each such jump is reported.
#
# Prints one line a fault ("FAULT LABEL: ..."), then one summary line:
# "SUMMARY exports pieces instructions returns tables pointers".
# Exits 2 when the inputs cannot support the proof: no symbols (a stripped
# DLL), an export that no symbol starts at, an export with no instruction,
# no plain return at all, or a jump that lands outside all code.

# "x" and the 8 hex digits of an address: the key by which addresses are
# compared as strings (numbers like 70e41000 would read as floats).
function key(hex) { sub(/^0x/, "", hex); while (length(hex) < 8) hex = "0" hex; return "x" hex }

function fail(message) { print "cannot check: " message > "/dev/stderr"; failed = 1; exit 2 }

# The piece that holds the address KEY, or 0: the last piece
# that starts at or before it, if the address is not past its end.
function piece_at(address,    low, high, middle) {
  low = 1; high = pieces
  if (pieces == 0 || address < start[1]) return 0
  while (low < high) {
    middle = int((low + high + 1) / 2)
    if (start[middle] <= address) low = middle; else high = middle - 1
  }
  return address <= finish[low] ? low : 0
}

FILENAME == ARGV[1] { export_at[key($1)] = export_at[key($1)] " " $2; exports++; next }
FILENAME == ARGV[2] {
  symbols++
  if ($2 == "I" && $3 ~ /^__imp_/) import_at[key($1)] = substr($3, 7)
  next
}

/^Disassembly of section / { section++; next }
/^[0-9a-f]+ <.*>:$/ {
  pieces++
  start[pieces] = key($1)
  finish[pieces] = start[pieces]
  name[pieces] = substr($2, 2, length($2) - 3)
  section_of[pieces] = section
  last[pieces] = "runs-on"
  if (pieces > 1 && start[pieces] <= start[pieces - 1]) fail("symbols out of order at " $1)
  piece_named[name[pieces]] = pieces
  next
}
pieces && /^ *[0-9a-f]+:\t/ {
  split($0, field, "\t")
  address = field[1]; sub(/^ +/, "", address); sub(/:$/, "", address)
  n = split(field[2], word, " ")
  for (w = 1; w < n && word[w] ~ /^(rep|repz|repnz|bnd|notrack|data16|cs|ds|ss|es|lock)$/; w++) {}
  mnemonic = word[w]; operand = w < n ? word[w + 1] : ""
  if (mnemonic == "") next
  finish[pieces] = key(address)
  count[pieces]++
  if (mnemonic ~ /^l?ret[lw]?$/) {
    if (operand ~ /^\$/) popping[pieces] = popping[pieces] "; " mnemonic " " operand " at " address
    else returns[pieces]++
    last[pieces] = "ends"
  } else if (mnemonic ~ /^l?jmp[lw]?$/ || mnemonic ~ /^j[a-z]+$/ || mnemonic ~ /^(loop[a-z]*|j[e]?cxz)$/) {
    if (operand ~ /^\*/) indirect[pieces] = indirect[pieces] " " substr(operand, 2)
    else targets[pieces] = targets[pieces] " " key(operand)
    last[pieces] = mnemonic ~ /jmp/ ? "ends" : "runs-on"
  } else if (mnemonic ~ /^(ud2|hlt)$/) {
    last[pieces] = "ends"
  } else if (mnemonic ~ /^(nop[wl]?|int3|xchg)$/ && (mnemonic != "xchg" || operand == "%ax,%ax") ||
             mnemonic == "lea" && operand ~ /^0x0\(%esi(,%eiz,1)?\),%esi$|^0x0\(%edi(,%eiz,1)?\),%edi$/) {
    # Padding between functions: it says nothing of how the code ends.
  } else {
    last[pieces] = mnemonic == "call" ? "calls" : "runs-on"
  }
  next
}

END {
  if (failed) exit 2
  if (exports == 0) fail("no exports")
  if (symbols == 0) fail("no symbols: the DLL is stripped")
  for (p = 1; p <= pieces; p++) piece_starting[start[p]] = p
  for (export in export_at)
    if (!(export in piece_starting))
      fail("no symbol starts at the address of" export_at[export] " (" substr(export, 2) ")")
  for (export in export_at) {
    label = substr(export_at[export], 2)
    first = piece_starting[export]
    split("", seen); split("", via)
    queue[1] = first; seen[first] = 1; via[first] = ""; head = 1; tail = 1; reached = 0
    while (head <= tail) {
      p = queue[head++]
      reached += count[p]
      all_returns += returns[p]
      path = via[p] == "" ? name[p] : via[p] " -> " name[p]
      if (popping[p] != "") print "FAULT " label ": " substr(popping[p], 3) " in " path
      split("", next_piece)
      k = split(targets[p], target, " ")
      for (t = 1; t <= k; t++) {
        q = piece_at(target[t])
        if (!q) fail(name[p] " jumps to " substr(target[t], 2) ", which is in no code")
        next_piece[q] = 1
      }
      if (last[p] != "ends" && p < pieces && section_of[p + 1] == section_of[p]) next_piece[p + 1] = 1
      if ((name[p] ".cold") in piece_named) next_piece[piece_named[name[p] ".cold"]] = 1
      k = split(indirect[p], slot, " ")
      for (t = 1; t <= k; t++) {
        if (slot[t] ~ /^0x[0-9a-f]+$/ && key(slot[t]) in import_at) {
          callee = import_at[key(slot[t])]
          if (callee ~ /@[0-9]+$/ && callee !~ /@0$/)
            print "FAULT " label ": tail jump to " callee ", which removes its arguments, in " path
        } else if (slot[t] ~ /\(,%e[a-z]+,4\)$/) tables++
        else if (returns[p] == 0)
          print "FAULT " label ": jmp *" slot[t] " through a pointer, in " path ", which never returns plainly"
        else { pointers++; print "POINTER " label ": jmp *" slot[t] " in " path }
      }
      for (q in next_piece) if (!(q in seen)) {
        seen[q] = 1; via[q] = path; queue[++tail] = q
      }
    }
    if (reached == 0) fail("no instruction found for " label)
    all_pieces += tail; all_instructions += reached
  }
  if (all_returns == 0) fail("not one plain return found: the disassembly is not what this reads")
  print "SUMMARY", exports, all_pieces, all_instructions, all_returns, tables + 0, pointers + 0
}
