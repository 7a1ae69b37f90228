// Windows names are UTF-16 already, and may hold lone surrogates. Their
// byte form, which SQLite and the console take, is UTF-8 with each lone
// surrogate in the three-byte form of its value, read back the same way,
// so every name survives the trip through its byte form.
#include "platform/file_names.h"

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>

#include "platform/utf8_append.h"
#include "platform/windows_api.h"

#include <shlwapi.h>  // after windows.h, which it needs

namespace qm::platform {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// The surrogate written at bytes[at] in its three-byte form (ED A0..BF
// 80..BF), or 0 when none is there.
char16_t SurrogateAt(const uint8_t* bytes, size_t at, size_t length) {
  if (at + 2 >= length || bytes[at] != 0xED) return 0;
  const uint8_t second = bytes[at + 1];
  const uint8_t third = bytes[at + 2];
  if (second < 0xA0 || second > 0xBF || third < 0x80 || third > 0xBF) return 0;
  return static_cast<char16_t>(0xD000 | ((second & 0x3F) << 6) | (third & 0x3F));
}

}  // namespace

// Bytes that are not of this form come from no Windows name: each maximal
// ill-formed subsequence becomes one U+FFFD.
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
    } else if (const char16_t surrogate = SurrogateAt(bytes, start, length)) {
      text.push_back(surrogate);
      i = start + 3;
    } else {
      text.push_back(kReplacement);
    }
  }
  return text;
}

std::string TextToNativeName(std::u16string_view text) {
  std::string native;
  native.reserve(text.size() * 3);
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (U16_IS_LEAD(unit) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1])) {
      AppendUtf8(U16_GET_SUPPLEMENTARY(unit, text[i + 1]), &native);
      ++i;
    } else {
      AppendUtf8(unit, &native);
    }
  }
  return native;
}

// PathIsRelativeW reads up to the first zero unit, and so does this.
bool IsRelativePath(std::u16string_view path) {
  std::wstring wide(path.begin(), std::find(path.begin(), path.end(), u'\0'));
  return ::PathIsRelativeW(wide.c_str()) != FALSE;
}

}  // namespace qm::platform
