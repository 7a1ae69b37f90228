// The lines of a file's text, walked forward once, split by the file
// search's rule (find/line_breaks.h: CR LF, a lone CR or a lone LF ends a
// line), numbered from 1 as the find numbers them. A text that ends with
// a break has an empty line after it.
#ifndef QMPECORE_FIND_FILES_LINE_WALK_H_
#define QMPECORE_FIND_FILES_LINE_WALK_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "find/files/line_breaks.h"

namespace qm {

class LineWalk {
 public:
  // `text` ends where the find's text ends (before any zero byte).
  explicit LineWalk(std::string_view text)
      : text_(text), end_(FindBreak(text.data(), 0, text.size())) {}

  // Moves to line `number`, at or after the current one; false past the
  // last line.
  bool MoveToLine(int32_t number) {
    while (line_ < number) {
      if (!Next()) return false;
    }
    return true;
  }
  // Moves to the line that holds byte `at`, which is no CR or LF and lies
  // at or after the current line's start.
  void MoveToByte(size_t at) {
    while (at > end_ && Next()) {
    }
  }

  int32_t line() const { return line_; }
  size_t start() const { return start_; }
  // Where the line's break starts, or the text's end.
  size_t end() const { return end_; }
  std::string_view bytes() const { return text_.substr(start_, end_ - start_); }

 private:
  bool Next() {
    if (end_ == text_.size()) return false;
    start_ = BreakEnd(text_.data(), end_, text_.size());
    end_ = FindBreak(text_.data(), start_, text_.size());
    ++line_;
    return true;
  }

  std::string_view text_;
  size_t start_ = 0;
  size_t end_;  // invariant: the first break at or after start_, or the size
  int32_t line_ = 1;
};

}  // namespace qm

#endif  // QMPECORE_FIND_FILES_LINE_WALK_H_
