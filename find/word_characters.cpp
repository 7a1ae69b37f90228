#include "find/word_characters.h"

#include <array>

#include "find/regex_pattern.h"
#include "platform/unicode_units.h"

namespace qm {
namespace {

// PCRE2's Unicode tables answer for every character outside ASCII, so
// that the plain whole-word find and the regular expressions share one
// idea of a word on every platform. The BMP answers are looked up once
// and kept; a supplementary character is asked each time.
class WordCharacterTable {
 public:
  WordCharacterTable() : pattern_(RegexPattern::Compile(u"\\A[\\p{L}\\p{N}\\p{Pc}]", {}, nullptr)) {
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
      if (!platform::IsSurrogate(c) && Ask(c)) bmp_[c / 64] |= uint64_t{1} << (c % 64);
    }
  }
  bool Contains(char32_t c) const {
    if (c <= 0xFFFF) return (bmp_[c / 64] >> (c % 64)) & 1;
    return c <= 0x10FFFF && Ask(c);
  }

 private:
  bool Ask(char32_t c) const {
    char16_t units[2];
    size_t count = 1;
    if (c > 0xFFFF) {
      units[0] = platform::LeadSurrogateOf(c);
      units[1] = platform::TrailSurrogateOf(c);
      count = 2;
    } else {
      units[0] = static_cast<char16_t>(c);
    }
    return pattern_->FirstMatch({units, count}) == 0;
  }

  std::unique_ptr<RegexPattern> pattern_;
  std::array<uint64_t, 0x10000 / 64> bmp_{};
};

const WordCharacterTable& Table() {
  static const WordCharacterTable table;
  return table;
}

// The code point that ends just before `end`, or U+FFFD for a lone
// surrogate (no word character).
char32_t CodePointBefore(std::u16string_view text, size_t end) {
  const char16_t last = text[end - 1];
  if (!platform::IsSurrogate(last)) return last;
  if (platform::IsTrailSurrogate(last) && end >= 2 && platform::IsLeadSurrogate(text[end - 2])) {
    return platform::CodePointOfPair(text[end - 2], last);
  }
  return 0xFFFD;
}

char32_t CodePointAt(std::u16string_view text, size_t at) {
  const char16_t first = text[at];
  if (!platform::IsSurrogate(first)) return first;
  if (platform::IsLeadSurrogate(first) && at + 1 < text.size() &&
      platform::IsTrailSurrogate(text[at + 1])) {
    return platform::CodePointOfPair(first, text[at + 1]);
  }
  return 0xFFFD;
}

}  // namespace

bool IsWordCharacter(char32_t codePoint) {
  if (codePoint < 0x80) {
    return (codePoint >= u'a' && codePoint <= u'z') || (codePoint >= u'A' && codePoint <= u'Z') ||
           (codePoint >= u'0' && codePoint <= u'9') || codePoint == u'_';
  }
  return Table().Contains(codePoint);
}

bool IsWholeWordAt(std::u16string_view text, size_t start, size_t length) {
  if (start > 0 && IsWordCharacter(CodePointBefore(text, start))) return false;
  const size_t end = start + length;
  return end >= text.size() || !IsWordCharacter(CodePointAt(text, end));
}

}  // namespace qm
