#include "rename/file_change_plan.h"

#include <string_view>

#include "find/files/line_walk.h"
#include "platform/utf_conversion.h"

namespace qm {
namespace {

// Appends the old bytes [from, to) with the edits [first, last) made, all
// of which lie in that range.
void AppendEdited(const FileChangePlan& plan, size_t from, size_t to, size_t first, size_t last,
                  std::string* out) {
  const std::string_view old(plan.oldBytes);
  size_t copied = from;
  for (size_t i = first; i < last; ++i) {
    const ByteEdit& edit = plan.edits[i];
    out->append(old.substr(copied, edit.at - copied)).append(edit.bytes);
    copied = edit.at + edit.length;
  }
  out->append(old.substr(copied, to - copied));
}

}  // namespace

bool PlanFileEdits(std::string bytes, std::vector<ByteEdit> edits, FileChangePlan* plan) {
  plan->lines.clear();
  if (edits.empty()) {
    plan->oldBytes.clear();
    plan->edits.clear();
    return false;
  }
  const std::string_view text(bytes);
  LineWalk cursor(text.substr(0, text.find('\0')));
  for (size_t i = 0; i < edits.size();) {
    // The edits of one line make one change.
    cursor.MoveToByte(edits[i].at);
    LineChange change{cursor.line(), cursor.start(), cursor.end(), i, 0};
    for (; i < edits.size() && edits[i].at < change.end; ++i) ++change.occurrences;
    plan->lines.push_back(change);
  }
  plan->oldBytes = std::move(bytes);
  plan->edits = std::move(edits);
  return true;
}

std::string NewBytesOf(const FileChangePlan& plan) {
  std::string bytes;
  size_t grown = 0;
  for (const ByteEdit& edit : plan.edits) grown += edit.bytes.size();
  bytes.reserve(plan.oldBytes.size() + grown);
  AppendEdited(plan, 0, plan.oldBytes.size(), 0, plan.edits.size(), &bytes);
  return bytes;
}

void LineTextsOf(const FileChangePlan& plan, const LineChange& line, std::u16string* before,
                 std::u16string* after) {
  before->clear();
  after->clear();
  platform::AppendUtf8AsUtf16(std::string_view(plan.oldBytes).substr(line.start, line.end - line.start),
                              before);
  std::string edited;
  AppendEdited(plan, line.start, line.end, line.firstEdit,
               line.firstEdit + static_cast<size_t>(line.occurrences), &edited);
  platform::AppendUtf8AsUtf16(edited, after);
}

}  // namespace qm
