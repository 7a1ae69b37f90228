// Windows names are UTF-16 already, and may hold lone surrogates. Their
// byte form, which SQLite and the console take, is UTF-8 with each lone
// surrogate in the three-byte form of its value, read back the same way,
// so every name survives the trip through its byte form.
#include "platform/file_names.h"

#include <algorithm>
#include <cstdint>

#include "platform/file_name_utf8.h"
#include "platform/unicode_units.h"
#include "platform/windows_api.h"

#include <shlwapi.h>  // after windows.h, which it needs

namespace qm::platform {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// The surrogate written at bytes[at] in its three-byte form (ED A0..BF
// 80..BF), or 0 when none is there.
char16_t SurrogateAt(std::string_view bytes, size_t at) {
  if (at + 2 >= bytes.size() || static_cast<uint8_t>(bytes[at]) != 0xED) return 0;
  const auto second = static_cast<uint8_t>(bytes[at + 1]);
  const auto third = static_cast<uint8_t>(bytes[at + 2]);
  if (second < 0xA0 || second > 0xBF || third < 0x80 || third > 0xBF) return 0;
  return static_cast<char16_t>(0xD000 | ((second & 0x3F) << 6) | (third & 0x3F));
}

}  // namespace

// Bytes that are not of this form come from no Windows name: each maximal
// ill-formed subsequence becomes one U+FFFD.
std::u16string NativeNameToText(std::string_view native) {
  return DecodeUtf8Name(native, [](std::string_view bytes, size_t start, size_t end,
                                   std::u16string* text) {
    if (const char16_t surrogate = SurrogateAt(bytes, start)) {
      text->push_back(surrogate);
      return start + 3;
    }
    text->push_back(kReplacement);
    return end;
  });
}

std::string TextToNativeName(std::u16string_view text) {
  return EncodeUtf8Name(text, [](char16_t unit, std::string* native) { AppendUtf8(unit, native); });
}

// PathIsRelativeW reads up to the first zero unit, and so does this.
bool IsRelativePath(std::u16string_view path) {
  std::wstring wide(path.begin(), std::find(path.begin(), path.end(), u'\0'));
  return ::PathIsRelativeW(wide.c_str()) != FALSE;
}

}  // namespace qm::platform
