// What the reference tests of the find compare with, done the plain way:
// the platform's case-blind search, and the four line-break
// replacements done literally, one after the other.
#ifndef QMPECORE_TESTS_FIND_REFERENCE_TEXT_H_
#define QMPECORE_TESTS_FIND_REFERENCE_TEXT_H_

#include <string>
#include <string_view>

namespace qm::testing {

// The platform's case-blind search and its UTF-8 decoding, each done the
// plain way (reference_platform_*.cpp): ICU's folding of both texts whole
// on POSIX, the system's comparison character by character on Windows.
size_t ReferenceFindIgnoringCase(std::u16string_view haystack, std::u16string_view needle);
std::u16string ReferenceDecode(const std::string& bytes);

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
