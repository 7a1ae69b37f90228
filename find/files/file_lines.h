// Lines of a project text file read as the file search reads them (UTF-8
// up to the first zero byte, the converter's ill-formed bytes, the find's
// line breaks and numbers), so that lines shown around a find result are
// the lines the find saw.
#ifndef QMPECORE_FIND_FILES_FILE_LINES_H_
#define QMPECORE_FIND_FILES_FILE_LINES_H_

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace qm {

// Lines first to last, from 1.
struct LineSpan {
  int32_t first;
  int32_t last;
};

enum class FileLinesStatus { kRead, kCannotRead, kStopped };

// Hands `take` each line of `spans` (ascending, not overlapping) of the file
// at `fullPath`, without its break. Lines past the end are not handed; the
// empty line after a final break is not one. `take` returns false to stop.
FileLinesStatus ReadFileLines(std::u16string_view fullPath, const std::vector<LineSpan>& spans,
                              const std::function<bool(int32_t, std::u16string_view)>& take);

}  // namespace qm

#endif  // QMPECORE_FIND_FILES_FILE_LINES_H_
