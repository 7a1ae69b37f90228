// Replace across a project: every match that the find with the same text,
// options and scope finds, in the free texts of the tables (names,
// descriptions, messages, paths, ...) and in the lines of the project's
// text files, replaced; listed first, then made all or none.
//
// A field shown through a lookup, an enumeration or as a typed value is
// listed as skipped. A replaced Name is the record's rename: references by
// id show it by themselves, and a port's devices and a device's tags carry
// it on. A replace that would leave a Name empty, put a line break in it,
// or give two records of a table one Name is refused whole.
//
// The apply: the files first (rename/file_set_commit.h: written beside,
// checked unchanged, renamed over, the originals kept until the end), then
// each changed table saved through the configuration manager; when a save
// fails the working set gets its texts back, the tables saved before are
// saved again with them, and the files get their old bytes.
#ifndef QMPECORE_REPLACE_PROJECT_REPLACE_H_
#define QMPECORE_REPLACE_PROJECT_REPLACE_H_

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "find/find_options.h"
#include "find/result_sink.h"
#include "platform/file_stamp.h"
#include "qmpecore/qmpecore.h"
#include "rename/file_change_plan.h"
#include "rename/file_operations.h"
#include "replace/replaced_fields.h"

namespace qm {

struct ReplaceChange {
  enum class Kind { kField, kFileLine, kSkipped };
  Kind kind = Kind::kField;
  int32_t tableNumber = 0;  // kTableFile for a line
  int32_t recordId = 0;     // the record's id (0 for General), or the line number
  std::u16string location;  // the find result's: the grid, or the path relative to the project
  std::u16string column;    // the field's title (General: its label); empty for a line
  std::u16string path;      // a file's full path; empty for a field
  std::u16string before;    // the text, or the line without its break
  std::u16string after;     // empty for a skipped field
  std::u16string note;      // why a field is skipped; else empty
  int32_t occurrences = 0;
};

struct ReplaceRequest {
  // The open editor: the find reads its working set and files, the apply
  // saves through its configuration manager.
  EditorData& editor;
  std::u16string text;
  std::u16string replacement;
  FindOptions options;
  // Runs the find of `text` with `options` within the scope, handing each
  // result to the sink.
  std::function<FindStatus(ResultSink&)> find;
  FileOperations* files = nullptr;  // null: the system's
};

enum class ReplaceStatus { kDone, kBadPattern, kMatchLimit, kRefused, kFailed, kReadOnly };

struct ReplacePreview {
  ReplaceStatus status = ReplaceStatus::kDone;
  std::u16string message;  // why it was refused or failed; else empty
  // The fields' changes, skipped fields among them, in the find's order.
  // The lines' changes are the plans' (ForEachChange lists them all).
  std::vector<ReplaceChange> fieldChanges;
  // For each of `files`, how many field changes the find gave before its
  // lines.
  std::vector<size_t> fieldChangesBeforeFile;
  int64_t replaced = 0;  // occurrences, in fields and lines

  // What the apply makes, and what it checks still holds.
  std::vector<FieldEdit> fields;
  std::vector<FileChangePlan> files;
  std::u16string projectPath;
  platform::FileStamp projectStamp;
  bool applied = false;
};

// Lists the changes; nothing is written. A status other than kDone lists
// nothing.
ReplacePreview PreviewReplace(const ReplaceRequest& request);

// Calls `visit(change)` for each change of `preview` in the find's order,
// a file's lines together and ascending, while it returns true. A line's
// change is made for the call and lives only during it.
void ForEachChange(const ReplacePreview& preview,
                   const std::function<bool(const ReplaceChange&)>& visit);

// The changes that ForEachChange lists but the skipped fields.
int64_t ChangeCount(const ReplacePreview& preview);

struct ReplaceOutcome {
  ReplaceStatus status = ReplaceStatus::kDone;
  std::u16string message;
};

// Makes the preview's changes, all or none, once. Refused, changing
// nothing: a preview that was refused or applied, a project that the
// editor registry lists for another editor than `editorId`, a project
// file, a table text or a text file that changed since the preview, a Name
// that another record took since. Read-only: the project file or a text
// file may not be written.
ReplaceOutcome ApplyReplace(ReplacePreview* preview, EditorData& editor, int32_t editorId,
                            FileOperations* files = nullptr);

}  // namespace qm

#endif  // QMPECORE_REPLACE_PROJECT_REPLACE_H_
