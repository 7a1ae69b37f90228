// Renaming a record everywhere: its Name in the configuration, and every
// whole-word occurrence of its old name (matching case) in the project's
// text files. References by id follow the record by themselves.
//
// A preview reads and lists; an apply makes all of the changes or none:
// the files first (rename/file_set_commit.h, their originals kept until
// the save is done), then the record's table
// through the configuration manager's save of that table (for a device or
// a tag, the records of its owner), and if that save fails the files get
// their old bytes back, unless the project file holds the new name all
// the same (the save wrote it and failed only to read it back).
#ifndef QMPECORE_RENAME_RECORD_RENAME_H_
#define QMPECORE_RENAME_RECORD_RENAME_H_

#include <cstdint>
#include <string>
#include <vector>

#include "qmpecore/qmpecore.h"
#include "rename/file_operations.h"

namespace qm {

struct RenameChange {
  enum class Kind { kRecordName, kFileLine };
  Kind kind = Kind::kRecordName;
  int32_t tableNumber = 0;  // the record's table, or kTableFile
  int32_t recordId = 0;     // the record's id, or the line number (from 1)
  std::u16string location;  // as the find's results have it: the grid, or the relative path
  std::u16string path;      // a file's full path; empty for the record
  std::u16string before;    // the Name, or the line without its break
  std::u16string after;
  int32_t occurrences = 1;
};

struct RenameRequest {
  // The open editor: its working set is renamed in and saved through its
  // configuration manager; its file manager lists the files.
  EditorData& editor;
  int32_t editorId;  // the caller's id in the editor registry; 0 for none
  int32_t table;
  int32_t recordId;
  std::u16string newName;
  bool apply = false;
  FileOperations* files = nullptr;  // null: the system's
  // Threads that read and plan the text files; 0 for one per usable
  // processor. The changes and their order never depend on it.
  uint32_t fileWorkers = 0;
};

enum class RenameStatus { kDone, kNoSuchRecord, kRefused, kFailed, kReadOnly };

struct RenameOutcome {
  RenameStatus status = RenameStatus::kDone;
  std::u16string message;  // why it was refused or what failed; done: a warning or empty
  std::vector<RenameChange> changes;  // the record first, then files and lines in order
};

// Refused, changing nothing: a table whose records cannot be renamed on
// their own (General, trends), a new name that is empty, holds a line
// break or names another record of the table, a project that the editor
// registry lists for another editor, a file that changed on disk between
// its read and its write. Failed: a file that cannot be read, written or
// replaced, or a save that fails; everything is then as before. Read-only:
// the project file, its folder or a text file to change may not be written
// (a read-only file, folder or file system); everything is then as before.
RenameOutcome RenameRecord(const RenameRequest& request);

}  // namespace qm

#endif  // QMPECORE_RENAME_RECORD_RENAME_H_
