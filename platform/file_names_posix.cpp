// POSIX file names are bytes. Valid UTF-8 converts as UTF-8; every byte of
// an ill-formed sequence becomes the lone surrogate U+DC00 + byte (U+DC80
// to U+DCFF, since ASCII bytes are always valid), and those surrogates turn
// back into their bytes, so a name read from the disk converts back to the
// same bytes.
#include "platform/file_names.h"

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include "platform/utf8_append.h"

namespace qm::platform {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;
constexpr char16_t kFirstEscape = 0xDC80;
constexpr char16_t kLastEscape = 0xDCFF;

}  // namespace

std::u16string NativeNameToText(std::string_view native) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(native.data());
  const size_t length = native.size();
  std::u16string text;
  text.reserve(length);
  size_t i = 0;
  while (i < length) {
    const size_t start = i;
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    if (c >= 0) {
      if (c <= 0xFFFF) {
        text.push_back(static_cast<char16_t>(c));
      } else {
        text.push_back(U16_LEAD(c));
        text.push_back(U16_TRAIL(c));
      }
      continue;
    }
    // U8_NEXT skipped the maximal ill-formed subsequence; escape each byte.
    for (size_t k = start; k < i; ++k) text.push_back(static_cast<char16_t>(kEscapeBase + bytes[k]));
  }
  return text;
}

// A surrogate that is not an escaped byte (a high surrogate without its
// pair, or U+DC00 to U+DC7F) cannot come from a name on disk; it is written
// in the three-byte form of its value, so distinct texts still give
// distinct names.
std::string TextToNativeName(std::u16string_view text) {
  std::string native;
  native.reserve(text.size() * 3);
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (U16_IS_LEAD(unit) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1])) {
      AppendUtf8(U16_GET_SUPPLEMENTARY(unit, text[i + 1]), &native);
      ++i;
    } else if (unit >= kFirstEscape && unit <= kLastEscape) {
      native.push_back(static_cast<char>(unit - kEscapeBase));
    } else {
      AppendUtf8(unit, &native);
    }
  }
  return native;
}

bool IsRelativePath(std::u16string_view path) { return path.empty() || path[0] != u'/'; }

}  // namespace qm::platform
