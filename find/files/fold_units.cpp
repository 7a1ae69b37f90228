#include "find/files/fold_units.h"

#include <algorithm>

#include "find/simd_lanes.h"
#include "platform/text_case.h"
#include "platform/unicode_units.h"

namespace qm {
// A block that is not all ASCII goes unit by unit through the BMP table; a
// surrogate pair folds as its code point (the table keeps lone surrogates).
void FoldUnits(std::u16string_view text, char16_t* out) {
  const char16_t* const table = platform::BmpFoldTable();
  const size_t size = text.size();
  size_t i = 0;
  while (i < size) {
    if (size - i >= kLanes && FoldAsciiUnits(text.data() + i, out + i)) {
      i += kLanes;
      continue;
    }
    for (const size_t stop = std::min(i + kLanes, size); i < stop;) {
      const char16_t unit = text[i];
      if (platform::IsLeadSurrogate(unit) && i + 1 < size && platform::IsTrailSurrogate(text[i + 1])) {
        const char32_t folded = platform::FoldCodePoint(platform::CodePointOfPair(unit, text[i + 1]));
        out[i] = platform::LeadSurrogateOf(folded);
        out[i + 1] = platform::TrailSurrogateOf(folded);
        i += 2;
      } else {
        out[i] = table[unit];
        ++i;
      }
    }
  }
}

}  // namespace qm
