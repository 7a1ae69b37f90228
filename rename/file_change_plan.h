// What a change of a text file's bytes comes to: the new bytes, which
// differ from the old only in the edited spans, and each changed line as a
// preview shows it. The rename and the replace plan their files this way,
// and commit them together (rename/file_set_commit.h).
#ifndef QMPECORE_RENAME_FILE_CHANGE_PLAN_H_
#define QMPECORE_RENAME_FILE_CHANGE_PLAN_H_

#include <cstdint>
#include <string>
#include <vector>

namespace qm {

// One changed line: its number as the find counts lines (from 1; CR LF,
// a lone CR and a lone LF each end one), its text without the break before
// and after the change, and how many edits it holds.
struct LineChange {
  int32_t line = 0;
  std::u16string before;
  std::u16string after;
  int32_t occurrences = 0;
};

struct FileChangePlan {
  std::u16string path;      // full path
  std::u16string location;  // relative to the project folder
  std::string oldBytes;     // the whole file as read
  std::string newBytes;
  std::vector<LineChange> lines;
};

// Bytes [at, at + length) of a file to become `bytes`. Edits are ordered,
// do not overlap, and none holds a CR or LF or lies past the first zero
// byte (where the find stops reading).
struct ByteEdit {
  size_t at = 0;
  size_t length = 0;
  std::string bytes;
};

// Fills `plan`'s bytes and lines from the file's `bytes` and its edits;
// false, with the plan's bytes and lines left empty, when there are none.
// Every byte outside the edits (a byte-order mark, the line breaks,
// ill-formed UTF-8) stays as it is.
bool PlanFileEdits(std::string bytes, const std::vector<ByteEdit>& edits, FileChangePlan* plan);

}  // namespace qm

#endif  // QMPECORE_RENAME_FILE_CHANGE_PLAN_H_
