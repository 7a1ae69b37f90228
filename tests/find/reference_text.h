// What the reference tests of the find compare with, done the plain way:
// ICU's simple case folding per code point, and the four line-break
// replacements done literally, one after the other.
#ifndef QMPECORE_TESTS_FIND_REFERENCE_TEXT_H_
#define QMPECORE_TESTS_FIND_REFERENCE_TEXT_H_

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <string>
#include <string_view>

namespace qm::testing {

inline std::u16string IcuFold(std::u16string_view text) {
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

inline std::u16string ReplaceAll(std::u16string text, std::u16string_view from,
                                 std::u16string_view to) {
  for (size_t at = text.find(from); at != text.npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

inline std::u16string FourReplacements(std::u16string text) {
  text = ReplaceAll(text, u"\r", u"\r\n");
  text = ReplaceAll(text, u"\r\n\n", u"\r\n");
  text = ReplaceAll(text, u"\n", u"\r\n");
  return ReplaceAll(text, u"\r\r\n", u"\r\n");
}

}  // namespace qm::testing

#endif  // QMPECORE_TESTS_FIND_REFERENCE_TEXT_H_
