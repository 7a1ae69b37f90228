// How one find's search text is looked for in file texts, chosen once per
// find: straight in the UTF-8 bytes where that finds exactly what the
// UTF-16 search would, else in the decoded (and, case-blind, folded) text.
#ifndef QMPECORE_FIND_FILES_FILE_MATCH_PLAN_H_
#define QMPECORE_FIND_FILES_FILE_MATCH_PLAN_H_

#include <string_view>
#include <vector>

#include "find/files/masked_pattern.h"

namespace qm {

struct FileMatchPlan {
  enum class Way {
    kNever,  // empty, or holding a CR, LF or U+0000, which no line holds
    kBytes,  // in the UTF-8 bytes
    kUnits,  // in the decoded text
    kLines,  // each decoded line by the needle's own rule (whole word, pattern)
  };

  Way way = Way::kNever;
  // kBytes: the needle as UTF-8; case-blind, its letters in lower case
  // with the case bit free.
  MaskedPattern<char> bytes;
  // kBytes, case-blind: the UTF-8 forms of the non-ASCII characters that
  // fold to a letter of the needle (the Kelvin sign to "k", the long s to
  // "s"). The byte search cannot see those, so a line holding one is
  // decoded and searched folded instead.
  std::vector<MaskedPattern<char>> foreignVariants;
  // Always: the needle as compared in decoded text, folded when case-blind.
  MaskedPattern<char16_t> units;
  bool fold = false;
};

// The byte search finds exactly the lines the decoded search finds, with
// the same first occurrence, because:
// - case-sensitive, a needle of whole code points other than U+FFFD is in
//   the decoded text exactly where its UTF-8 form is in the bytes (a lead
//   or ASCII byte always starts a new sequence, and only well-formed
//   sequences decode to anything but U+FFFD);
// - case-blind, when the folded needle is ASCII, a decoded character folds
//   to one of its characters only if it is that ASCII character, its other
//   case, or a foreign variant (whose lines are searched decoded); ASCII
//   bytes decode to themselves.
FileMatchPlan PlanFileMatch(std::u16string_view needle, bool caseSensitive);

}  // namespace qm

#endif  // QMPECORE_FIND_FILES_FILE_MATCH_PLAN_H_
