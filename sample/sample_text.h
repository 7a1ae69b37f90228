// The sample's texts and paths as the library and the file system take
// them: the generator writes its words and names as UTF-8.
#ifndef QMPECORE_SAMPLE_SAMPLE_TEXT_H_
#define QMPECORE_SAMPLE_SAMPLE_TEXT_H_

#include <filesystem>
#include <string>
#include <string_view>

#include "sample/sample_error.h"

namespace qm::sample {

// UTF-8 to the library's UTF-16.
std::u16string SampleText(std::string_view utf8);

// A UTF-8 path as a file system path (a narrow path would be read in the
// ANSI code page on Windows).
std::filesystem::path SamplePath(std::string_view utf8);

}  // namespace qm::sample

#endif  // QMPECORE_SAMPLE_SAMPLE_TEXT_H_
