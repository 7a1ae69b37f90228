#include "rename/file_change_plan.h"

#include <algorithm>
#include <string_view>

#include "platform/utf_conversion.h"

namespace qm {
namespace {

std::u16string TextOf(std::string_view bytes) {
  std::u16string text;
  platform::AppendUtf8AsUtf16(bytes, &text);
  return text;
}

// Walks the breaks of a text forward, keeping the number and start of the
// line that holds the position reached.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : text_(text) {}

  // Moves to `at`, which holds no CR or LF and lies at or after the last.
  void MoveTo(size_t at) {
    for (;;) {
      const size_t brk = text_.find_first_of("\r\n", next_);
      if (brk == std::string_view::npos || brk >= at) break;
      next_ = brk + 1;
      if (text_[brk] == '\r' && next_ < text_.size() && text_[next_] == '\n') ++next_;
      ++line_;
      start_ = next_;
    }
  }
  int32_t line() const { return line_; }
  size_t start() const { return start_; }
  size_t EndFrom(size_t at) const { return std::min(text_.find_first_of("\r\n", at), text_.size()); }

 private:
  std::string_view text_;
  size_t next_ = 0;
  size_t start_ = 0;
  int32_t line_ = 1;
};

}  // namespace

bool PlanFileEdits(std::string bytes, const std::vector<ByteEdit>& edits, FileChangePlan* plan) {
  plan->newBytes.clear();
  plan->lines.clear();
  if (edits.empty()) {
    plan->oldBytes.clear();
    return false;
  }
  const std::string_view text(bytes);
  std::string& out = plan->newBytes;
  out.reserve(bytes.size() + bytes.size() / 16);
  LineCursor cursor(text.substr(0, text.find('\0')));
  size_t copied = 0;
  for (size_t i = 0; i < edits.size();) {
    // The edits of one line make one change.
    cursor.MoveTo(edits[i].at);
    const size_t lineStart = cursor.start();
    const size_t lineEnd = cursor.EndFrom(edits[i].at);
    LineChange change;
    change.line = cursor.line();
    std::string after;
    size_t lineCopied = lineStart;
    for (; i < edits.size() && edits[i].at < lineEnd; ++i, ++change.occurrences) {
      after.append(text.substr(lineCopied, edits[i].at - lineCopied)).append(edits[i].bytes);
      lineCopied = edits[i].at + edits[i].length;
    }
    after.append(text.substr(lineCopied, lineEnd - lineCopied));
    change.before = TextOf(text.substr(lineStart, lineEnd - lineStart));
    change.after = TextOf(after);
    out.append(text.substr(copied, lineStart - copied)).append(after);
    copied = lineEnd;
    plan->lines.push_back(std::move(change));
  }
  out.append(text.substr(copied));
  plan->oldBytes = std::move(bytes);
  return true;
}

}  // namespace qm
