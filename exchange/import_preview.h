// The import of a tag list file into one record table: checked whole
// first, then shown as the records it adds, changes and (when asked to
// replace the table) removes, and only then applied, all or none.
//
// A row is matched with a record by its ID when it gives one, else by its
// Name; records the file does not match stay, unless the import replaces
// the table. A column the file lacks keeps the record's value (a new
// record: the default). A cell that reads as the record already shows it
// is not read again, so that a file exported and imported unchanged is no
// change at all, whatever the record holds.
#ifndef QMPECORE_EXCHANGE_IMPORT_PREVIEW_H_
#define QMPECORE_EXCHANGE_IMPORT_PREVIEW_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/table_export.h"
#include "platform/file_stamp.h"
#include "qmpecore/qmpecore.h"

namespace qm::exchange {

// A cell, a row or the file that cannot be taken. Line and position count
// from 1; position 0 when the problem is the row's or the file's.
struct ImportProblem {
  int64_t line = 0;
  uint32_t position = 0;
  std::u16string column;  // the column's title as the file gives it; may be empty
  std::u16string message;
};

enum class ChangeKind { kAdded, kChanged, kRemoved };

struct FieldChange {
  std::u16string column;
  std::u16string before;
  std::u16string after;
};

// A changed record's columns are not kept with it: a change of one column
// of a million tags would hold a million lists of texts beside the table.
// They are read when the changes are listed (TableEdits::ReadChangedColumns).
struct RecordChange {
  ChangeKind kind = ChangeKind::kAdded;
  int32_t id = 0;
  std::u16string name;
  int64_t line = 0;      // the row's; 0 for a removed record
  bool renamed = false;  // kChanged only: the Name is among the changes
};

// The changed records' columns, one record after the other in the order of
// the preview's kChanged changes.
class ChangedColumns {
 public:
  virtual ~ChangedColumns() = default;
  // Every column that changes of the next changed record, in column order,
  // as it reads before and after the import. None when the table no longer
  // holds the record.
  virtual void Next(std::vector<FieldChange>* fields) = 0;
};

// The typed edits of one table, kept until the import is applied.
class TableEdits {
 public:
  virtual ~TableEdits() = default;
  // True when the table in `set` still holds what the preview was made
  // from, and the edits were not made.
  virtual bool StillApplies(const ConfigTableSet& set) const = 0;
  // Makes the edits in `set`, once, and undoes them.
  virtual void Make(ConfigTableSet* set) = 0;
  virtual void Undo(ConfigTableSet* set) = 0;
  // Renders the changed columns from the table in `set` and the values the
  // edits hold, before the edits are made or after; the texts are those of
  // the check while the table and the tables it refers to are unchanged.
  // `set` must outlive the reader and stay unchanged while it is used.
  virtual std::unique_ptr<ChangedColumns> ReadChangedColumns(const ConfigTableSet& set) const = 0;
};

struct ImportPreview {
  int32_t tableNumber = 0;
  std::u16string fileName;
  bool replace = false;
  // When there are problems, nothing else is filled and nothing applies.
  std::vector<ImportProblem> problems;
  int64_t moreProblems = 0;  // problems found beyond those listed
  std::vector<RecordChange> changes;  // added and changed in file order, then removed
  int64_t rows = 0;
  int64_t unchanged = 0;
  std::unique_ptr<TableEdits> edits;
  std::u16string projectPath;
  platform::FileStamp projectStamp;  // when the preview was made
};

struct ImportRequest {
  const ConfigTableSet& working;
  int32_t tableNumber;
  std::string_view bytes;
  std::u16string fileName;  // for the problems
  bool replace = false;
  std::u16string projectPath;
  Progress progress;  // may be empty
};

// Checks the file whole and plans its changes. A number that names no
// record table gives one problem.
ImportPreview CheckImport(const ImportRequest& request);

enum class ApplyStatus { kDone, kRefused, kFailed, kReadOnly };

struct ApplyOutcome {
  ApplyStatus status = ApplyStatus::kDone;
  std::u16string message;
};

// Makes the preview's changes in the editor's working set and saves the
// table through its configuration manager; on a failed save the working
// set gets its records back. Refused, changing nothing: a preview with
// problems, a project the editor registry lists for another editor than
// `editorId`, a project file or a table that changed since the preview.
ApplyOutcome ApplyImport(const ImportPreview& preview, EditorData& editor, int32_t editorId);

}  // namespace qm::exchange

#endif  // QMPECORE_EXCHANGE_IMPORT_PREVIEW_H_
