// The bytes of a text file as the platform's UTF-8 converter reads them.
//
// The file search decodes UTF-8 itself, with one U+FFFD for each maximal
// ill-formed subsequence. Where the platform's converter follows another
// rule, a text with ill-formed bytes goes through the converter and back,
// so that everything that reads a file as the find does (the search, its
// context lines) sees the converter's text, and so its lines and columns.
#ifndef QMPECORE_FIND_FILES_CONVERTER_READING_H_
#define QMPECORE_FIND_FILES_CONVERTER_READING_H_

#include <string>
#include <string_view>

namespace qm {

class ConverterReading {
 public:
  // `bytes` itself where the two rules agree on it; else the converter's
  // reading, valid until the next call.
  std::string_view Of(std::string_view bytes);

 private:
  std::u16string text_;
  std::string bytes_;
};

}  // namespace qm

#endif  // QMPECORE_FIND_FILES_CONVERTER_READING_H_
