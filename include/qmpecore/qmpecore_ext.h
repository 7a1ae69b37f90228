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
  // Bits 16 to 23: how many threads search the project's text files, 1 to
  // 255 ((n << kQmFindThreadsShift) & kQmFindThreadsMask); 0, the default,
  // for one per processor the process may use. The results and their order
  // are the same for every count: a file's results are handed over once
  // every earlier file's are, and the handler is called only on the
  // calling thread. The threads end before the find returns.
  kQmFindThreadsShift = 16,
  kQmFindThreadsMask = 0xFF << kQmFindThreadsShift,
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
  // Bits 16 to 23: how many threads read and plan the project's text files,
  // as the find's flags give it (kQmFindThreadsShift); 0 for one per
  // processor. The changes and their order are the same for every count.
  kQmRenameThreadsMask = kQmFindThreadsMask,
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

// Tag list files: a record table written to and read from CSV or JSON.
enum QmExportFormat : int32_t {
  // RFC 4180, UTF-8 with a byte-order mark, lines ending CR LF, a header
  // line of the column titles.
  kQmExportCsv = 0,
  kQmExportJson = 1,       // one array of objects, an object a line
  kQmExportJsonLines = 2,  // one object a line, nothing around them
};
// The answers of the tag list exports besides counts.
enum QmExchangeErrors : int32_t {
  kQmExportStopped = -9,    // a handler stopped the export
  kQmImportRefused = -10,   // the import was refused; nothing changed
  kQmImportFailed = -11,    // the save failed; the working set is as before
  kQmImportReadOnly = -12,  // the project may not be written; nothing changed
};
// Takes the next piece of an exported file (valid only during the call);
// returning 0 stops the export.
typedef int32_t(QM_CALL* QmBytesHandler)(void* context, const char* bytes, int32_t size);
// Told now and then, from the thread of the call, how many records are
// done of how many (an import counts the rows it estimates from the
// file's lines, and says the exact count at the end); returning 0 stops
// the work.
typedef int32_t(QM_CALL* QmProgressHandler)(void* context, int64_t done, int64_t total);
// A checked import: its problems or its planned changes, until it is
// applied or freed.
typedef struct QmImportPreview QmImportPreview;
enum QmImportFlags : int32_t {
  kQmImportReplace = 1,  // records that the file does not name are removed
};
// A problem of an imported file, valid only during the handler's call.
// Line and position (the cell's place in its row) count from 1; 0 when
// the problem is the row's or the file's. `column` is the column's title
// as the file gives it, or the empty text.
struct QmImportProblem {
  int64_t line;
  int32_t position;
  const char16_t* column;
  const char16_t* message;
};
typedef int32_t(QM_CALL* QmImportProblemHandler)(void* context, const QmImportProblem* problem);
enum QmImportChangeKind : int32_t {
  kQmImportAdded = 0,
  kQmImportChanged = 1,
  kQmImportRemoved = 2,
};
// A changed field: the column's title and the cells before and after.
struct QmImportField {
  const char16_t* column;
  const char16_t* before;
  const char16_t* after;
};
// A planned change of one record, valid only during the handler's call:
// the record's id and Name (after the change), the line of its row (0 for
// a removed record), and for a changed record every column that changes.
struct QmImportChange {
  int32_t kind;
  int32_t recordId;
  int64_t line;
  const char16_t* name;
  int32_t fieldCount;
  const QmImportField* fields;
};
typedef int32_t(QM_CALL* QmImportChangeHandler)(void* context, const QmImportChange* change);
struct QmImportCounts {
  int64_t rows;
  int64_t added;
  int64_t changed;
  int64_t removed;
  int64_t unchanged;
  int64_t problems;  // all that were found; at most 1000 are handed over
};

// Replace across the project: the answers besides counts.
enum QmReplaceErrors : int32_t {
  kQmReplaceRefused = -13,   // the replace was refused; nothing changed
  kQmReplaceFailed = -14,    // a file or a save failed; everything is as before
  kQmReplaceReadOnly = -15,  // the project may not be written; nothing changed
};
// A previewed replace: its changes, until it is applied or freed.
typedef struct QmReplacePreview QmReplacePreview;
enum QmReplaceChangeKind : int32_t {
  kQmReplaceField = 0,     // a table's text field
  kQmReplaceFileLine = 1,  // a line of a project text file
  kQmReplaceSkipped = 2,   // a field that the find matched but that is not free text
};
// One change of a replace, valid only during the handler's call. A field:
// its table number, record id (0 for General), the find's location, the
// column title (General: the setting's label), the text before and after.
// A line: table number 24, the line number from 1 as record id, the path
// relative to the project folder as location, the full path, the line
// without its break before and after. A skipped field: its text as the
// grid shows it as `before`, and why it is skipped as `note`.
struct QmReplaceChange {
  int32_t kind;
  int32_t tableNumber;
  int32_t recordId;
  int32_t occurrences;  // matches replaced in the field or line
  const char16_t* location;
  const char16_t* column;  // the empty text for a line
  const char16_t* path;    // the empty text for a field
  const char16_t* before;
  const char16_t* after;
  const char16_t* note;
};
// Returning 0 stops the delivery of changes.
typedef int32_t(QM_CALL* QmReplaceHandler)(void* context, const QmReplaceChange* change);
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
// QmFindUsages with `flags`: only the find's thread count
// (kQmFindThreadsMask) for the search of the text files; any other bit
// answers -1.
QMPE_API int32_t QM_CALL QmFindUsagesEx(qm::CEditorManager* manager,  // 42
                                        int32_t tableNumber, int32_t recordId, int32_t flags,
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
// Writes table `tableNumber` (1 to 7, 20, 21 or 22) of the open editor's
// working set as a tag list file of `format`, piece by piece to `handler`:
// a header of column titles, then a row per record in id order holding
// every stored field (a reference as the referred record's Name and, in a
// column of its own, its number; an enumeration as the grid's text; a
// variant as its value and its type). `progress` may be null. Returns the
// number of records written; -1 for a null manager or handler, nothing
// open, a number that names no record table or an unknown format;
// kQmExportStopped.
QMPE_API int64_t QM_CALL QmExportTable(qm::CEditorManager* manager,  // 29
                                       int32_t tableNumber, int32_t format,
                                       QmBytesHandler handler, void* context,
                                       QmProgressHandler progress, void* progressContext);
// Checks the tag list file `bytes[0, size)` (CSV separated by commas or
// semicolons, a JSON array of objects or JSON lines, told apart by its
// first character) as an import into table `tableNumber` of the open
// editor's working set, whole, and plans its changes; `fileName` names the
// file in the problems (may be null). Rows match records by ID, else by
// Name; with kQmImportReplace the records no row matches are removed.
// Returns the preview, to free with QmFreeImportPreview; null for a null
// manager, nothing open, bytes null with a size, an undefined flag, or
// memory that ran out. A number that names no record table is a problem of
// the preview.
QMPE_API QmImportPreview* QM_CALL QmCheckImport(qm::CEditorManager* manager,  // 30
                                                int32_t tableNumber, const char* bytes,
                                                int64_t size, const char16_t* fileName,
                                                int32_t flags, QmProgressHandler progress,
                                                void* progressContext);
// The counts of a preview; -1 for null arguments, else 0.
QMPE_API int32_t QM_CALL QmGetImportCounts(const QmImportPreview* preview,  // 31
                                           QmImportCounts* counts);
// Each problem of a preview, in file order, to `handler`. Returns how many
// were handed over, or -1 for null arguments. A preview with problems
// plans no change.
QMPE_API int32_t QM_CALL QmGetImportProblems(const QmImportPreview* preview,  // 32
                                             QmImportProblemHandler handler, void* context);
// Each planned change, added and changed records in file order and then
// the removed ones, to `handler`. A changed record's columns are rendered
// from the manager's working set when they are listed, before the apply or
// after it: they read as at the check while the table and the tables it
// refers to are unchanged; a record the working set no longer holds, or a
// manager with nothing open, gives none. So the manager must outlive the
// preview's use. Returns how many were handed over, or -1 for null
// arguments.
QMPE_API int32_t QM_CALL QmGetImportChanges(const QmImportPreview* preview,  // 33
                                            QmImportChangeHandler handler, void* context);
// Makes the preview's changes, all or none: in the working set of the
// editor it was checked against, and then in the project file through the
// configuration manager's save of that table. Returns the number of
// records changed (0 when there is nothing to change); -1 for null
// arguments or nothing open; kQmImportRefused (a preview with problems, a
// project the editor registry lists for another editor, a project file or
// a table that changed since the preview), kQmImportFailed (the save
// failed; the working set is as before), kQmImportReadOnly. The reason is
// written to `message` as QmCheckFindText writes its own. A preview is
// applied at most once.
QMPE_API int32_t QM_CALL QmApplyImport(qm::CEditorManager* manager,  // 34
                                       QmImportPreview* preview, char16_t* message,
                                       int32_t capacity);
QMPE_API void QM_CALL QmFreeImportPreview(QmImportPreview* preview);  // 35
// Previews the replace of every match that QmFindEach with the same
// `scope`, `text` and find `flags` finds in the open editor: in the free
// text fields of the tables (names, descriptions, messages, paths, ...)
// and in the lines of the project's text files, every match of a field or
// line replaced by `replacement` (with kQmFindRegex as PCRE2 substitutes:
// $1 to $99, ${name}, $$; else as it stands). Nothing is written. A
// replaced Name renames its record: references show the new Name. Returns
// the number of fields and lines that change, with the preview written to
// `preview` (free it with QmFreeReplacePreview); -1 for null arguments,
// nothing open or an undefined flag; kQmFindBadPattern or
// kQmFindMatchLimit; kQmReplaceRefused (a replacement that names a group
// the pattern lacks, that would leave a Name empty, put a line break in
// it or give two records of a table one Name); kQmReplaceFailed (a file
// could not be read). The reason is written to `message` as
// QmCheckFindText writes its own; no preview is made then.
QMPE_API int32_t QM_CALL QmPreviewReplace(qm::CEditorManager* manager,  // 36
                                          const char16_t* scope, const char16_t* text,
                                          const char16_t* replacement, int32_t flags,
                                          QmReplacePreview** preview, char16_t* message,
                                          int32_t capacity);
// Each change of a preview to `handler`, in the find's order (a file's
// lines together, ascending), skipped fields among them. Returns how many
// were handed over, or -1 for null arguments.
QMPE_API int32_t QM_CALL QmGetReplaceChanges(const QmReplacePreview* preview,  // 37
                                             QmReplaceHandler handler, void* context);
// Makes the preview's changes, all or none: the files written through new
// files renamed over them (every other byte kept), then each changed table
// saved through the configuration manager; when a save fails, the editor's
// tables, the project file and the files are as before. Returns the number
// of fields and lines changed; -1 for null arguments or nothing open;
// kQmReplaceRefused (a preview of another editor or applied already, a
// project the editor registry lists for another editor, a project file, a
// table text or a text file that changed since the preview),
// kQmReplaceFailed, kQmReplaceReadOnly. The reason goes to `message`.
QMPE_API int32_t QM_CALL QmApplyReplace(qm::CEditorManager* manager,  // 38
                                        QmReplacePreview* preview, char16_t* message,
                                        int32_t capacity);
QMPE_API void QM_CALL QmFreeReplacePreview(QmReplacePreview* preview);  // 39

// The project check: what a finding is about. The numbers never change.
enum QmCheckKind : int32_t {
  kQmCheckMissingRecord = 0,  // a reference to a record that does not exist
  kQmCheckSharedName = 1,     // a record named as an earlier record of its table
  kQmCheckBadId = 2,          // an id outside 1..2147483647, or kept under another key
  kQmCheckBadName = 3,        // an empty name, or one with a line break
  kQmCheckUnusedTag = 4,      // a tag that no record refers to and no text file names
  kQmCheckMissingFile = 5,    // a script's file that the project folder lacks
  kQmCheckUnreadFile = 6,     // a project text file that could not be read
};
// One finding, valid only during the handler's call: its kind, the table
// number (24 for a finding about a text file alone), the record's id and
// Name (0 and the empty text when none), the title of the field at fault
// (empty: the record as a whole), the file it is about relative to the
// project folder (or empty), its line from 1 (0: none), and what is wrong.
struct QmCheckFinding {
  int32_t kind;
  int32_t tableNumber;
  int32_t recordId;
  int32_t line;
  const char16_t* name;
  const char16_t* field;
  const char16_t* file;
  const char16_t* message;
};
// Returning 0 ends the check before its next finding.
typedef int32_t(QM_CALL* QmCheckHandler)(void* context, const QmCheckFinding* finding);

// Checks the open editor's working set and project folder, and hands each
// finding to `handler`: table by table (timers, databases, outputs,
// alarms, users, scripts, IO ports, IO devices, IO tags, trends), records
// in key order, a record's bad id, bad name, shared name, references to
// records that do not exist (field by field, as the tag list files carry
// references; 0 means none, except for a device's port and a tag's
// device; an alarm's compare tags only while it compares with tags, a
// script's triggerer by its Trigger By) and a script's missing file; then
// each project text file that could not be read; then each tag that no
// record refers to and that no line of the project's text files names as
// a whole word with the same letter case. Returns the number of findings
// delivered (0: the project is clean), or -1 for a null manager or
// handler, or nothing open.
QMPE_API int32_t QM_CALL QmCheckProject(qm::CEditorManager* manager,  // 40
                                        QmCheckHandler handler, void* context);

// One line for QmReadFileLines: its number (from 1) and its text without
// its break, `length` units, not terminated. Return 0 to stop.
typedef int32_t(QM_CALL* QmFileLineHandler)(void* context, int32_t lineNumber,
                                            const char16_t* text, int32_t length);

// The lines around file results, as a search tool prints them before and
// after a hit: each line of `spanCount` spans (`spans` holds first and last
// line of each, from 1, ascending and not overlapping) of the text file at
// `fullPath` (a file result's label) to `handler`, read as the find reads
// the file (UTF-8 up to its first zero byte, ill-formed bytes as the
// find's U+FFFD, a break CR LF, CR or LF), so that its numbers are the
// find's. Lines past the end of the file, and the empty one after a final
// break, are not handed. Returns the number of lines handed over;
// kQmFindBadArguments for a null path or handler or bad spans;
// kQmFindCannotOpen when the file cannot be read.
QMPE_API int32_t QM_CALL QmReadFileLines(const char16_t* fullPath,  // 41
                                         const int32_t* spans, int32_t spanCount,
                                         QmFileLineHandler handler, void* context);
}  // extern "C"

#endif  // QMPECORE_QMPECORE_EXT_H_
