// The case fold of decoded file text, for the case-blind search of text
// whose needle is not plain ASCII: the same fold as platform::AppendFolded
// (Unicode simple case folding per code point, same length), written into
// the caller's buffer, with ASCII sixteen units at a time.
#ifndef QMPECORE_FIND_FILES_FOLD_UNITS_H_
#define QMPECORE_FIND_FILES_FOLD_UNITS_H_

#include <string_view>

namespace qm {

// Writes text.size() folded units to `out`.
void FoldUnits(std::u16string_view text, char16_t* out);

}  // namespace qm

#endif  // QMPECORE_FIND_FILES_FOLD_UNITS_H_
