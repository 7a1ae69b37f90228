// The lines of a file's text, walked forward once, split by the file
// search's rule (find/line_breaks.h: CR LF, a lone CR or a lone LF ends a
// line), numbered from 1 as the find numbers them.
#ifndef QMPECORE_FIND_FILES_LINE_WALK_H_
#define QMPECORE_FIND_FILES_LINE_WALK_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qm {

class LineWalk {
 public:
  // `text` ends where the find's text ends (before any zero byte).
  explicit LineWalk(std::string_view text) : text_(text) {}

  // The bytes of line `number` (ascending from call to call) without its
  // break, and where they start; false past the last line. A text that
  // ends with a break has an empty line after it.
  bool MoveTo(int32_t number, size_t* start, std::string_view* line) {
    while (line_ < number) {
      const size_t brk = text_.find_first_of("\r\n", start_);
      if (brk == std::string_view::npos) return false;
      start_ = brk + 1;
      if (text_[brk] == '\r' && start_ < text_.size() && text_[start_] == '\n') ++start_;
      ++line_;
    }
    const size_t end = text_.find_first_of("\r\n", start_);
    *start = start_;
    *line = text_.substr(start_, end == std::string_view::npos ? end : end - start_);
    return true;
  }

 private:
  std::string_view text_;
  size_t start_ = 0;
  int32_t line_ = 1;
};

}  // namespace qm

#endif  // QMPECORE_FIND_FILES_LINE_WALK_H_
