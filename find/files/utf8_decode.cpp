#include "find/files/utf8_decode.h"

#include <bit>

#include "find/simd_lanes.h"
#include "platform/unicode_units.h"

namespace qm {

// ASCII goes sixteen bytes at a time (text files are mostly ASCII); a
// non-ASCII stretch and the last few bytes go one sequence at a time.
size_t DecodeUtf8(std::string_view bytes, char16_t* out) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* const end = p + bytes.size();
  size_t units = 0;
  while (p < end) {
    while (end - p >= static_cast<ptrdiff_t>(kLanes)) {
      const uint32_t nonAscii = NonAsciiMask(reinterpret_cast<const char*>(p));
      const size_t ascii = nonAscii != 0 ? static_cast<size_t>(std::countr_zero(nonAscii)) : kLanes;
      // Units never outnumber bytes, so the sixteen units fit even when
      // only the first `ascii` of them are kept.
      WidenAscii(reinterpret_cast<const char*>(p), out + units);
      p += ascii;
      units += ascii;
      if (nonAscii != 0) break;
    }
    while (p < end && (*p >= 0x80 || end - p < static_cast<ptrdiff_t>(kLanes))) {
      const Utf8Step step = DecodeUtf8Step(p, end);
      if (step.codePoint <= 0xFFFF) {
        out[units] = static_cast<char16_t>(step.codePoint);
        units += 1;
      } else {
        out[units] = platform::LeadSurrogateOf(step.codePoint);
        out[units + 1] = platform::TrailSurrogateOf(step.codePoint);
        units += 2;
      }
      p += step.length;
    }
  }
  return units;
}

}  // namespace qm
