// ICU, called one code point at a time for the fold.
#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>
#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "reference_match.h"
#include "reference_text.h"

namespace qm::testing {

namespace {

std::u16string Folded(std::u16string_view text) {
  std::u16string folded;
  for (size_t i = 0; i < text.size();) {
    UChar32 c;
    U16_NEXT(text.data(), i, text.size(), c);
    c = u_foldCase(c, U_FOLD_CASE_DEFAULT);
    if (c > 0xFFFF) folded.push_back(U16_LEAD(c));
    folded.push_back(c > 0xFFFF ? U16_TRAIL(c) : static_cast<char16_t>(c));
  }
  return folded;
}

}  // namespace

size_t ReferenceFindIgnoringCase(std::u16string_view haystack, std::u16string_view needle) {
  return Folded(haystack).find(Folded(needle));
}

std::u16string ReferenceDecode(const std::string& bytes) {
  std::u16string text(bytes.size(), u'\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(text.data(), static_cast<int32_t>(text.size()), &length, bytes.data(),
                       static_cast<int32_t>(bytes.size()), 0xFFFD, nullptr, &status);
  text.resize(U_SUCCESS(status) ? static_cast<size_t>(length) : 0);
  return text;
}

}  // namespace qm::testing

namespace qm::testing {

namespace {

// The Unicode version of PCRE2's tables, which the product's word table
// follows on every platform. ICU may be newer.
std::array<uint8_t, U_MAX_VERSION_LENGTH> WordTableVersion() {
  PCRE2_UCHAR text[24] = {};
  pcre2_config(PCRE2_CONFIG_UNICODE_VERSION, text);
  std::string ascii;
  for (size_t i = 0; i < std::size(text) && text[i] != 0; ++i) {
    ascii.push_back(static_cast<char>(text[i]));
  }
  std::array<uint8_t, U_MAX_VERSION_LENGTH> version{};
  u_versionFromString(version.data(), ascii.c_str());
  return version;
}

}  // namespace

// A character that Unicode added after the word table's version is
// unassigned there, and so no word character, whatever ICU says of it.
bool ReferenceIsWordCharacter(char32_t codePoint) {
  const UChar32 c = static_cast<UChar32>(codePoint);
  UVersionInfo age;
  u_charAge(c, age);
  static const std::array<uint8_t, U_MAX_VERSION_LENGTH> known = WordTableVersion();
  if (std::memcmp(age, known.data(), known.size()) > 0) return false;
  return (U_GET_GC_MASK(c) & (U_GC_L_MASK | U_GC_N_MASK | U_GC_PC_MASK)) != 0;
}

}  // namespace qm::testing
