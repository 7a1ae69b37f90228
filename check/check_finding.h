// What a project check reports: one finding per problem, naming the record
// and field (or the file) where it lies, and where the findings go.
#ifndef QMPECORE_CHECK_CHECK_FINDING_H_
#define QMPECORE_CHECK_CHECK_FINDING_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "qmpecore/config_records.h"

namespace qm {

// The kinds of finding. The numbers are the export's (QmCheckKind) and
// never change; a new kind takes the next number.
enum class CheckKind : int32_t {
  kMissingRecord = 0,  // a reference to a record that does not exist
  kSharedName = 1,     // a record named as an earlier record of its table
  kBadId = 2,          // an id the project file cannot hold
  kBadName = 3,        // a name that no rename or import would give
  kUnusedTag = 4,      // a tag that no record and no project text file names
  kMissingFile = 5,    // a script's file that the project folder lacks
  kUnreadFile = 6,     // a project text file that could not be read
};

// The stable name of a kind, as the command prints it ("missing_record").
std::string_view CheckKindName(CheckKind kind);

// One finding. `table` is a table number (kTableFile for a finding about a
// text file alone); `recordId` and `name` are the record's (0 and empty
// when it is none); `field` is the column title of the field at fault, or
// empty for the record as a whole; `file` is the path relative to the
// project folder that the finding is about, or empty; `line` counts from
// 1, or is 0 when the finding has no line.
struct CheckFinding {
  CheckKind kind = CheckKind::kMissingRecord;
  int32_t table = 0;
  int32_t recordId = 0;
  std::u16string_view name;
  std::u16string_view field;
  std::u16string_view file;
  int32_t line = 0;
  std::u16string message;
};

// A finding about `head`'s record in table `table`, at `field` (empty: the
// record as a whole).
inline CheckFinding RecordFinding(CheckKind kind, int32_t table, const RecordHead& head,
                                  std::u16string_view field, std::u16string message) {
  CheckFinding finding;
  finding.kind = kind;
  finding.table = table;
  finding.recordId = head.id;
  finding.name = head.name;
  finding.field = field;
  finding.message = std::move(message);
  return finding;
}

// A finding about a project text file alone.
inline CheckFinding FileFinding(CheckKind kind, std::u16string_view file, std::u16string message) {
  CheckFinding finding;
  finding.kind = kind;
  finding.table = kTableFile;
  finding.file = file;
  finding.message = std::move(message);
  return finding;
}

// Receives the findings in the check's order. The views of a finding are
// valid only during the call. Returning false ends the check before its
// next finding.
class FindingSink {
 public:
  virtual ~FindingSink() = default;
  virtual bool Take(const CheckFinding& finding) = 0;
};

}  // namespace qm

#endif  // QMPECORE_CHECK_CHECK_FINDING_H_
