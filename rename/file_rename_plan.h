// What a rename changes in one text file: the new bytes, which differ from
// the old only where the old name stood as a whole word, and each changed
// line as the preview shows it.
#ifndef QMPECORE_RENAME_FILE_RENAME_PLAN_H_
#define QMPECORE_RENAME_FILE_RENAME_PLAN_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// One changed line: its number as the find counts lines (from 1; CR LF,
// a lone CR and a lone LF each end one), its text without the break before
// and after the rename, and how many occurrences it holds.
struct LineChange {
  int32_t line = 0;
  std::u16string before;
  std::u16string after;
  int32_t occurrences = 0;
};

struct FileRenamePlan {
  std::u16string path;      // full path
  std::u16string location;  // relative to the project folder
  std::string oldBytes;     // the whole file as read
  std::string newBytes;
  std::vector<LineChange> lines;
};

// Fills `plan`'s bytes and lines for a file that holds `oldWord` (UTF-8)
// as a whole word (rename/word_spans.h), each occurrence replaced by
// `newWord`; false, with the plan's bytes and lines left empty, when there
// is none. Every other byte (a byte-order mark, the line breaks, ill-formed
// UTF-8, whatever follows a zero byte) stays as it is.
bool PlanFileRename(std::string bytes, std::string_view oldWord, std::string_view newWord,
                    FileRenamePlan* plan);

}  // namespace qm

#endif  // QMPECORE_RENAME_FILE_RENAME_PLAN_H_
