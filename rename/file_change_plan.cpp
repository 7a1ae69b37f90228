#include "rename/file_change_plan.h"

#include <algorithm>
#include <string_view>

#include "find/files/line_walk.h"
#include "platform/utf_conversion.h"

namespace qm {
namespace {

std::u16string TextOf(std::string_view bytes) {
  std::u16string text;
  platform::AppendUtf8AsUtf16(bytes, &text);
  return text;
}

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
  LineWalk cursor(text.substr(0, text.find('\0')));
  size_t copied = 0;
  for (size_t i = 0; i < edits.size();) {
    // The edits of one line make one change.
    cursor.MoveToByte(edits[i].at);
    const size_t lineStart = cursor.start();
    const size_t lineEnd = cursor.end();
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
