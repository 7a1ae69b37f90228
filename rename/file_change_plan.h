// What a change of a text file's bytes comes to: the old bytes, the edits
// that make the new, and where each changed line lies. The rename and the
// replace plan their files this way, and commit them together
// (rename/file_set_commit.h).
//
// A plan holds the file once: a replace of a common word changes most
// lines of most files, and the new bytes or each line's texts held beside
// the old would cost several times the files themselves. The new bytes are
// made when the commit writes them, a line's texts when a preview shows it.
#ifndef QMPECORE_RENAME_FILE_CHANGE_PLAN_H_
#define QMPECORE_RENAME_FILE_CHANGE_PLAN_H_

#include <cstdint>
#include <string>
#include <vector>

namespace qm {

// Bytes [at, at + length) of a file to become `bytes`. Edits are ordered,
// do not overlap, and none holds a CR or LF or lies past the first zero
// byte (where the find stops reading).
struct ByteEdit {
  size_t at = 0;
  size_t length = 0;
  std::string bytes;
};

// One changed line: its number as the find counts lines (from 1; CR LF,
// a lone CR and a lone LF each end one), its bytes [start, end) in the old
// bytes without its break, and its edits: `occurrences` of them from
// `firstEdit`.
struct LineChange {
  int32_t line = 0;
  size_t start = 0;
  size_t end = 0;
  size_t firstEdit = 0;
  int32_t occurrences = 0;
};

struct FileChangePlan {
  std::u16string path;      // full path
  std::u16string location;  // relative to the project folder
  std::string oldBytes;     // the whole file as read
  std::vector<ByteEdit> edits;
  std::vector<LineChange> lines;
};

// Fills `plan`'s bytes, edits and lines from the file's `bytes` and its
// edits; false, with the plan's bytes, edits and lines left empty, when
// there are none.
bool PlanFileEdits(std::string bytes, std::vector<ByteEdit> edits, FileChangePlan* plan);

// The file's new bytes: the old with every edit made. Every byte outside
// the edits (a byte-order mark, the line breaks, ill-formed UTF-8) stays
// as it is.
std::string NewBytesOf(const FileChangePlan& plan);

// A changed line's text before and after the change, without its break,
// decoded as the find decodes it.
void LineTextsOf(const FileChangePlan& plan, const LineChange& line, std::u16string* before,
                 std::u16string* after);

}  // namespace qm

#endif  // QMPECORE_RENAME_FILE_CHANGE_PLAN_H_
