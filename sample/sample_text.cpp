#include "sample/sample_text.h"

#include "qmshared/qmshared.h"

namespace qm::sample {

std::u16string SampleText(std::string_view utf8) {
  std::u16string text;
  BytesToTextN(&text, utf8);
  return text;
}

std::filesystem::path SamplePath(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace qm::sample
