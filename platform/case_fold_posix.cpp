// Unicode simple case folding through ICU (u_foldCase, default options), so
// that the Kelvin sign folds to "k" and the long s to "s".
#include <unicode/uchar.h>

#include "platform/case_fold.h"
#include "platform/unicode_units.h"

namespace qm::platform {

void FillBmpFolds(char16_t* table) {
  for (char32_t c = 0; c <= 0xFFFF; ++c) {
    const UChar32 folded = IsSurrogate(c) ? c : u_foldCase(static_cast<UChar32>(c),
                                                            U_FOLD_CASE_DEFAULT);
    table[c] = static_cast<char16_t>(folded <= 0xFFFF ? folded : c);
  }
}

char32_t FoldSupplementary(char32_t codePoint) {
  const UChar32 folded = u_foldCase(static_cast<UChar32>(codePoint), U_FOLD_CASE_DEFAULT);
  return folded > 0xFFFF ? static_cast<char32_t>(folded) : codePoint;
}

}  // namespace qm::platform
