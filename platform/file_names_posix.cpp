// POSIX file names are bytes. Valid UTF-8 converts as UTF-8; every byte of
// an ill-formed sequence becomes the lone surrogate U+DC00 + byte (U+DC80
// to U+DCFF, since ASCII bytes are always valid), and those surrogates turn
// back into their bytes, so a name read from the disk converts back to the
// same bytes.
#include "platform/file_names.h"

#include "platform/file_name_utf8.h"
#include "platform/unicode_units.h"

namespace qm::platform {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;
constexpr char16_t kFirstEscape = 0xDC80;
constexpr char16_t kLastEscape = 0xDCFF;

}  // namespace

std::u16string NativeNameToText(std::string_view native) {
  return DecodeUtf8Name(native, [](std::string_view bytes, size_t start, size_t end,
                                   std::u16string* text) {
    for (size_t k = start; k < end; ++k) {
      text->push_back(static_cast<char16_t>(kEscapeBase + static_cast<uint8_t>(bytes[k])));
    }
    return end;
  });
}

// A surrogate that is not an escaped byte (a high surrogate without its
// pair, or U+DC00 to U+DC7F) cannot come from a name on disk; it is written
// in the three-byte form of its value, so distinct texts still give
// distinct names.
std::string TextToNativeName(std::u16string_view text) {
  return EncodeUtf8Name(text, [](char16_t unit, std::string* native) {
    if (unit >= kFirstEscape && unit <= kLastEscape) {
      native->push_back(static_cast<char>(unit - kEscapeBase));
    } else {
      AppendUtf8(unit, native);
    }
  });
}

bool IsRelativePath(std::u16string_view path) { return path.empty() || path[0] != u'/'; }

}  // namespace qm::platform
