// Exports added after the seventeen, from ordinal 18 on. They follow the
// same conventions: null-terminated UTF-16 texts, a fixed answer to bad
// arguments, no exception across the boundary.
#ifndef QMPECORE_QMPECORE_EXT_H_
#define QMPECORE_QMPECORE_EXT_H_

#include <cstdint>

#include "qmpecore/qmpecore.h"

// The options of a streamed find, or-ed together. A bit that is not
// defined here makes the find fail, so that a caller written for a later
// library never gets a find that silently ignores what it asked for.
enum QmFindFlags : int32_t {
  kQmFindMatchCase = 1,  // letter case must match exactly
  // No letter, digit or connector punctuation (Unicode L, N, Pc) just
  // before or just after a match.
  kQmFindWholeWord = 2,
  // The text is a regular expression (PCRE2's syntax, matched by code
  // point; \w, \d and \b by Unicode properties), matched against the same
  // field texts and file lines as a plain text; a result's column is where
  // the first match starts.
  kQmFindRegex = 4,
};

// The answers of the finds besides a number of results.
enum QmFindErrors : int32_t {
  kQmFindBadArguments = -1,
  kQmFindCannotOpen = -2,
  kQmFindBadPattern = -3,  // the regular expression does not compile
  // Its matching ran past PCRE2's match limit: the results handed over
  // before stand, the find stopped before the next table or file.
  kQmFindMatchLimit = -4,
};

// A find's text and options prepared once, to place the match within a
// result's text (a column for a file line, a span to highlight).
typedef struct QmFindMatcher QmFindMatcher;

// Receives each result of a streamed find as it is found, in the order in
// which QmFind would append them. `result` is valid only during the call.
// Returning 0 ends the find before its next table or file; results still
// found in the current one are not delivered. The handler must not throw
// and must not call back into the library with the same editor manager.
typedef int32_t(QM_CALL* QmFindHandler)(void* context, const qm::FindResult* result);

// The answers of the usages and the rename besides counts.
enum QmRecordErrors : int32_t {
  kQmNoSuchRecord = -5,  // the table holds no record with that id
  kQmRenameRefused = -6,  // the rename was refused; nothing changed
  kQmRenameFailed = -7,   // a file or the save failed; everything is as before
  kQmRenameReadOnly = -8,  // the project may not be written; nothing changed
};

// One change of a rename, valid only during the handler's call. The first
// is the record's own Name (kind 0: table number, record id, the grid's
// location, the old and new Name); then one for each changed line of a
// project text file, files in the find's order, lines ascending (kind 1:
// table number 24, the line number from 1 as record id, the path relative
// to the project folder as location, the full path, the line without its
// break before and after, and how many occurrences the line holds).
enum QmRenameChangeKind : int32_t { kQmRenameRecordName = 0, kQmRenameFileLine = 1 };
struct QmRenameChange {
  int32_t kind;
  int32_t tableNumber;
  int32_t recordId;
  int32_t occurrences;
  const char16_t* location;
  const char16_t* path;  // the empty text for the record
  const char16_t* before;
  const char16_t* after;
};
// Returning 0 stops the delivery of changes (not the rename).
typedef int32_t(QM_CALL* QmRenameHandler)(void* context, const QmRenameChange* change);

// The flags of QmRenameRecord.
enum QmRenameFlags : int32_t {
  kQmRenameApply = 1,  // make the changes; without it only list them
};

// A folder of the project that could not be read when its files were
// listed (as an editor opened, or as a find began): the files it holds are
// in no list and no find. Valid only during the handler's call.
struct QmUnreadFolder {
  const char16_t* path;  // the full path, ending with the path separator
  // Why, as a Windows error code on every platform: 2 or 3 gone, 4 too
  // many open files, 5 access denied, 8 out of memory, 206 a name too
  // long, 267 not a folder, 1921 links that loop, 1117 anything else.
  int32_t code;
  int32_t systemError;  // the system's own error (errno, GetLastError())
};

// Returning 0 stops the delivery of folders (not the find).
typedef int32_t(QM_CALL* QmUnreadFolderHandler)(void* context, const QmUnreadFolder* folder);

extern "C" {

// The find of QmFind over the open editor of `manager` (its working set and
// its files, with the same scopes), with the options of `flags`, each
// result handed to `handler` instead of being appended to a list. Returns
// the number of results delivered (at most INT32_MAX), or -1: null
// manager, text or handler, nothing open, or an undefined flag; or -3 or
// -4 for a regular expression (QmFindErrors).
QMPE_API int32_t QM_CALL QmFindEach(qm::CEditorManager* manager,  // 18
                                    const char16_t* scope, const char16_t* text, int32_t flags,
                                    QmFindHandler handler, void* context);

// The same find over a project file that no editor here holds open, for a
// tool that searches once: nothing is registered, and the tables are read
// (once, into one set) only when the scope selects a table. Returns the
// number of results delivered, -1 for null arguments or an undefined flag,
// -2 when `projectPath` is not a project file that can be opened, or -3 or
// -4 for a regular expression.
QMPE_API int32_t QM_CALL QmFindInProject(const char16_t* projectPath,  // 19
                                         const char16_t* scope, const char16_t* text, int32_t flags,
                                         QmFindHandler handler, void* context);

// Checks a find's text and flags before a find: 0 when a find would
// search with them; -1 for a null text or an undefined flag; -3 when the
// text is a regular expression that does not compile, with PCRE2's message
// written to `message` (cut to `capacity` units with its terminating zero;
// may be null when `capacity` is 0) and the offset in the text where the
// fault lies to `offset` (may be null).
QMPE_API int32_t QM_CALL QmCheckFindText(const char16_t* text, int32_t flags,  // 20
                                         char16_t* message, int32_t capacity, int32_t* offset);

// The matcher of a find with `text` and `flags`, or null: a null text, an
// undefined flag, or a pattern that does not compile (QmCheckFindText says
// why). Free it with QmFreeFindMatcher. One thread at a time.
QMPE_API QmFindMatcher* QM_CALL QmCreateFindMatcher(const char16_t* text,  // 21
                                                    int32_t flags);

// Where the find's first match in subject[0, length) starts, as the find
// decides it (the column of a file result is that line's), with its length
// in `matchLength` (may be null); -1 when there is none or for bad
// arguments; kQmFindMatchLimit when the pattern's matching ran past the
// match limit.
QMPE_API int32_t QM_CALL QmFirstMatch(QmFindMatcher* matcher,  // 22
                                      const char16_t* subject, int32_t length,
                                      int32_t* matchLength);

QMPE_API void QM_CALL QmFreeFindMatcher(QmFindMatcher* matcher);  // 23

// The records of table `tableNumber` (1 to 7, 20, 21 or 22 for trends) in
// the open editor's working set whose Name is exactly `name`: returns how
// many there are, with the id of the first in key order written to
// `recordId` (may be null; untouched when there is none); -1 for a null
// manager or name, nothing open, or a number that names no record table.
QMPE_API int32_t QM_CALL QmFindRecordId(qm::CEditorManager* manager,  // 24
                                        int32_t tableNumber, const char16_t* name,
                                        int32_t* recordId);

// Every place of the open editor's project that refers to a record, each
// handed to `handler` as a find result, as the streamed find hands them:
// first every record that refers to it by id, in the referring field as
// the find reports a hit there (the field's title as column name, the
// referenced Name as the grid shows it as matched text; a port's devices
// and a device's tags in their owner relation, column -1, column name
// "Port" or "Device"; trends, table 22, location "Trends", in their Tag),
// tables in the find's order and trends last; then every line of the
// project's text files that holds the record's Name as a whole word with
// the same letter case. Returns the number delivered, -1 (null manager or
// handler, nothing open) or kQmNoSuchRecord.
QMPE_API int32_t QM_CALL QmFindUsages(qm::CEditorManager* manager,  // 25
                                      int32_t tableNumber, int32_t recordId,
                                      QmFindHandler handler, void* context);

// Renames a record of the open editor everywhere: its Name, and each whole
// word occurrence of the old Name, with the same letter case, in the
// project's text files (references by id need no change). Without
// kQmRenameApply it only lists the changes; with it, it makes all of them
// or none: the files are written through new files renamed over them, each
// keeping every other byte (encoding, byte-order mark, line breaks), and
// the record's table is saved through the configuration manager (for a
// device or a tag, the records of its owner). Each change goes to
// `handler` (may be null) once the preview or the rename is complete.
// Returns the number of changes (1 or more); -1 for a null manager or new
// name, nothing open or an undefined flag; kQmNoSuchRecord;
// kQmRenameRefused (nothing changed: trends, a new name that is empty,
// holds a line break or names another record of the table, a project the
// editor registry lists for another editor than this manager's, a file
// that changed on disk during the rename); kQmRenameFailed (a file could
// not be read, written or replaced, or the save failed; everything is as
// before unless the message says which files could not be written back);
// kQmRenameReadOnly (the project file, its folder or a text file to change
// may not be written: a read-only file, folder or file system; nothing
// changed).
// The reason is written to `message` as QmCheckFindText writes its own;
// after a rename that was made, `message` is empty, or warns that the
// save wrote the table but failed to read it back.
QMPE_API int32_t QM_CALL QmRenameRecord(qm::CEditorManager* manager,  // 26
                                        int32_t tableNumber, int32_t recordId,
                                        const char16_t* newName, int32_t flags,
                                        QmRenameHandler handler, void* context,
                                        char16_t* message, int32_t capacity);


// Each folder that the file manager of an open editor could not read when
// it listed the project's files, in the order of the scan, to `handler`.
// Returns the number delivered, or -1 for a null file manager or handler.
QMPE_API int32_t QM_CALL QmGetUnreadFolders(qm::CFileManager* files,  // 27
                                            QmUnreadFolderHandler handler, void* context);

// QmFindInProject, and before the find begins each folder of the project
// that could not be read to `folderHandler` (may be null), as
// QmGetUnreadFolders hands them.
QMPE_API int32_t QM_CALL QmFindInProjectEx(const char16_t* projectPath,  // 28
                                           const char16_t* scope, const char16_t* text,
                                           int32_t flags, QmFindHandler handler, void* context,
                                           QmUnreadFolderHandler folderHandler,
                                           void* folderContext);
}  // extern "C"

#endif  // QMPECORE_QMPECORE_EXT_H_
