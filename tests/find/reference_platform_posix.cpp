// ICU, called one code point at a time for the fold.
#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

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

bool ReferenceIsWordCharacter(char32_t codePoint) {
  return (U_GET_GC_MASK(static_cast<UChar32>(codePoint)) &
          (U_GC_L_MASK | U_GC_N_MASK | U_GC_PC_MASK)) != 0;
}

}  // namespace qm::testing
