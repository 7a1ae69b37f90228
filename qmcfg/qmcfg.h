// The operations of qmcfg, the project file store (a SQLite database whose
// layout is fixed in docs/project-format.md). The configuration manager is
// its only caller. Each operation is a plain function that returns 0 on
// success and a code of 100 or more on failure (see CfgError), never
// throws, and refuses a handle that it did not give out.
//
// The ordinal of each operation is given beside it; the Windows build
// exports them by these numbers (qmcfg/qmcfg.def).
//
// Writes use SQLite's rollback journal, so a project at rest is one file
// and a save interrupted even by the death of the process is rolled back
// by the next open; a save that answered 0 is on the disk, and survives a
// power cut (qmcfg/project_store.h). Operations on one handle must not
// overlap; different handles may be used from different threads.
#ifndef QMPECORE_QMCFG_QMCFG_H_
#define QMPECORE_QMCFG_QMCFG_H_

#include <cstdint>
#include <string>

#include "qmpecore/config_records.h"

#ifndef QM_CALL
#define QM_CALL
#endif
#ifndef QMCFG_API
#define QMCFG_API
#endif

namespace qm {

// Failure codes. 100 + n is SQLite's primary result code n (101 SQLITE_ERROR,
// 105 SQLITE_BUSY, 107 SQLITE_NOMEM, 113 SQLITE_FULL, 114 SQLITE_CANTOPEN,
// 126 SQLITE_NOTADB, ...); our own codes are 200 to 299. None of them
// collides with the core's own -2, -1 and 1.
enum CfgError : int32_t {
  kCfgOk = 0,
  kCfgSqliteBase = 100,
  kCfgOutOfMemory = 107,  // SQLITE_NOMEM, also for memory qmcfg itself cannot get
  kCfgBadHandle = 200,       // a handle not given out, or already closed
  kCfgBadArgument = 201,     // a null table or set, or a number naming no table
  kCfgRefusedFilter = 202,   // a filter other than "port_id = N" / "device_id = N"
  kCfgDuplicateId = 203,     // two in-memory records with the same id
  kCfgNotAProject = 204,     // foreign application id or newer layout
  kCfgBadRecordId = 205,     // a stored or in-memory id outside 1..2147483647
  kCfgIncompleteSet = 206,   // a table set with a null slot
  kCfgNotWritable = 207,     // the file could not be created (or its folder is missing)
  kCfgBadValue = 208,        // an in-memory variant of a type the layout does not know
  kCfgInternalError = 209,   // an unexpected failure inside qmcfg
  kCfgUnreadTable = 210,     // the write would replace a table this handle failed to read
  kCfgCannotExamine = 211,   // the file's existence cannot be learnt (no search right, a loop)
  kCfgBadStoredValue = 212,  // no longer given: such cells are kept (CfgCopyKeptCells)
  kCfgReadOnly = 213,        // the project may not be written: a read-only file, folder or mount
};

// The application id and layout version of a project file.
inline constexpr int32_t kProjectApplicationId = 1363365955;  // "QCFC"
inline constexpr int32_t kProjectLayoutVersion = 1;

// Plain (unmangled) symbols, so that the Windows DLL can export each
// operation at its ordinal through qmcfg/qmcfg.def whatever the compiler.
extern "C" {

// 3. Opens the project file at `path` (UTF-16). An existing file is only
// read here; a missing file in an existing folder opens as an empty
// configuration, and nothing is created until the first write, which
// creates the file with the whole layout. Returns 0 when the path cannot be
// opened (missing folder, a file that cannot be looked at, not a SQLite
// file, a foreign application id, a newer layout); such a file is left
// untouched. `flags` has no meaning yet
// (the core passes 0).
QMCFG_API ConfigHandle QM_CALL CfgOpenConfig(const char16_t* path, int32_t flags);
// 4. Releases the handle. A handle not given out, or closed already, gives
// kCfgBadHandle (and nothing else happens).
QMCFG_API int32_t QM_CALL CfgCloseConfig(ConfigHandle handle);

// Reads. Every read runs in one read transaction and adds the stored
// records to the table, each under RecordKey(id) (a key already present
// takes the stored record); callers empty the table first. A device is read
// with its port's name and a tag with its device's name (empty when that
// owner does not exist). A stored id outside 1..2147483647 fails the read
// with kCfgBadRecordId; on failure the table keeps what was added before.
// A stored value that its field cannot take faithfully (a text in a number
// or date column, an integer beyond the field, bytes that are not UTF-8, a
// value set whose text its values do not give back, a variant of a type
// the layout does not know, NULL, a BLOB) reads as the nearest the field
// can hold (0, U+FFFD, the values that parse, VT_EMPTY), and the handle
// keeps the stored value: every later write through it stores that value
// again while the field still holds what the read gave, and writes the
// field only once it was changed. So a read and a save never replace what
// another tool stored with a guess.
// The `flags` arguments have no meaning yet. A configuration whose file
// does not exist yet reads as empty.

// A read that fails marks its table (a filtered read too) as unread on
// this handle until a whole read of it succeeds; meanwhile every write
// that would replace that table (the whole set, the table, or one owner's
// records of it) is refused with kCfgUnreadTable, so a partly read copy
// never overwrites what the read missed.

// 9. Fills the eleven tables of `set` (which must all be present, else
// kCfgIncompleteSet and nothing is read) from one consistent state of the
// file. A table that fails to read does not stop the others: every table
// that can be read is filled, and the first failure's code is returned.
// Pass 115.
QMCFG_API int32_t QM_CALL CfgReadAllTables(ConfigHandle handle, ConfigTableSet* set, int32_t);
// 10.
QMCFG_API int32_t QM_CALL CfgReadGeneral(ConfigHandle handle, GeneralTable* table, int32_t,
                                         int32_t flags);
// 11 to 20 (not 14). `filter` is null, or for devices "port_id = N" and for
// tags "device_id = N"; any other filter text is refused with
// kCfgRefusedFilter. Records read are added to the table.
QMCFG_API int32_t QM_CALL CfgReadTimers(ConfigHandle, TimerTable*, int32_t, int32_t flags,
                                        const char16_t* filter);
QMCFG_API int32_t QM_CALL CfgReadDatabases(ConfigHandle, DatabaseTable*, int32_t, int32_t flags,
                                           const char16_t* filter);
QMCFG_API int32_t QM_CALL CfgReadUsers(ConfigHandle, UserTable*, int32_t, int32_t flags,
                                       const char16_t* filter);
QMCFG_API int32_t QM_CALL CfgReadIoPorts(ConfigHandle, IoPortTable*, int32_t, int32_t flags,
                                         const char16_t* filter);
QMCFG_API int32_t QM_CALL CfgReadIoDevices(ConfigHandle, IoDeviceTable*, int32_t, int32_t flags,
                                           const char16_t* filter);
QMCFG_API int32_t QM_CALL CfgReadIoTags(ConfigHandle, IoTagTable*, int32_t, int32_t flags,
                                        const char16_t* filter);
QMCFG_API int32_t QM_CALL CfgReadOutputs(ConfigHandle, OutputTable*, int32_t, int32_t flags,
                                         const char16_t* filter);
QMCFG_API int32_t QM_CALL CfgReadAlarms(ConfigHandle, AlarmTable*, int32_t, int32_t flags,
                                        const char16_t* filter);
QMCFG_API int32_t QM_CALL CfgReadScripts(ConfigHandle, ScriptTable*, int32_t, int32_t flags,
                                         const char16_t* filter);

// Writes. Every write is one transaction: it lands whole or not at all,
// also when the process dies in the middle. Before it begins, the records
// are checked: an id outside 1..2147483647 gives kCfgBadRecordId, two
// records with the same id (head.id, whatever their keys) kCfgDuplicateId,
// a variant of an unknown type kCfgBadValue; then nothing is written. The
// first write to a configuration whose file does not exist creates it.
// A project file that may not be written (a read-only file, a folder
// where its journal or a new file cannot be made, a read-only mount) fails
// every write with kCfgReadOnly, a full disk with 113 (SQLITE_FULL); the
// file then holds what it held, and nothing is left beside it.

// 21. Writes every table of the set (all eleven must be present) in one
// transaction. Pass 0.
QMCFG_API int32_t QM_CALL CfgWriteAllTables(ConfigHandle handle, const ConfigTableSet* set,
                                            int32_t);
// 22. Makes the general rows exactly the table's entries. Pass 0.
QMCFG_API int32_t QM_CALL CfgWriteGeneral(ConfigHandle handle, const GeneralTable* table, int32_t);
// 23 to 32. Each makes the table's rows exactly the in-memory records. Pass 1.
QMCFG_API int32_t QM_CALL CfgWriteTimers(ConfigHandle, const TimerTable*, int32_t);
QMCFG_API int32_t QM_CALL CfgWriteDatabases(ConfigHandle, const DatabaseTable*, int32_t);
QMCFG_API int32_t QM_CALL CfgWriteUsers(ConfigHandle, const UserTable*, int32_t);
QMCFG_API int32_t QM_CALL CfgWriteIoPorts(ConfigHandle, const IoPortTable*, int32_t);
// 28, 29. With ownerId >= 0 only the records of that port (device) are
// written: every in-memory record of the owner is inserted or updated, and
// the owner's rows whose id no longer appears anywhere in the table are
// deleted, so a record moved to another owner in memory keeps its row until
// that owner is written. The whole table is checked all the same. A
// negative ownerId writes the whole table. Pass 1.
QMCFG_API int32_t QM_CALL CfgWriteIoDevices(ConfigHandle, const IoDeviceTable*, int32_t ownerId,
                                            int32_t);
QMCFG_API int32_t QM_CALL CfgWriteIoTags(ConfigHandle, const IoTagTable*, int32_t ownerId, int32_t);
QMCFG_API int32_t QM_CALL CfgWriteOutputs(ConfigHandle, const OutputTable*, int32_t);
QMCFG_API int32_t QM_CALL CfgWriteAlarms(ConfigHandle, const AlarmTable*, int32_t);
QMCFG_API int32_t QM_CALL CfgWriteScripts(ConfigHandle, const ScriptTable*, int32_t);

// 47. The checks of a save, without writing: that the set is complete
// (else kCfgIncompleteSet), and that the table about to be written, named
// by its TableNumber (-1 for all tables; 20 and 21 for devices and tags,
// whose per-owner writes check the whole table too), passes the checks of
// its write. Returns the code the write would fail with, or 0;
// kCfgBadArgument for a null set or a number that names no table. `subId`
// is not needed. A table that failed to read gives kCfgUnreadTable; a
// file that SQLite could open only for reading (its mode, a read-only
// mount), when the other checks pass, kCfgReadOnly. A folder that may not
// be written shows only in the write.
QMCFG_API int32_t QM_CALL CfgPrepareSave(ConfigHandle handle, const ConfigTableSet* set,
                                         int32_t tableNumber, int32_t subId);

// 48. Fills `codes` (kSlotCount entries, by slot) with the code of the last
// failed read of each table on this handle, 0 for a table read whole or
// not read at all. kCfgBadArgument for null `codes`.
QMCFG_API int32_t QM_CALL CfgGetUnreadTables(ConfigHandle handle, int32_t* codes);

// 54. Makes the kept cells of `target` copies of those of `source`, so
// that a configuration written through a new handle (saved under a new
// path) stores them again as `source` would.
QMCFG_API int32_t QM_CALL CfgCopyKeptCells(ConfigHandle target, ConfigHandle source);

// Packed copies. A handle can keep a compact copy of each record table as
// it was read (packed_table.h: a fraction of the memory of the maps), for
// a caller that needs the tables as read again later but seldom, as the
// configuration manager needs its snapshot set. The copies live as long as
// the handle; `slot` is a record slot (1 to 10) of a ConfigTableSet.

// 49. Reads as CfgReadAllTables does and makes the handle's copy of every
// record table exactly the records that this read put into `set` (a table
// that failed to read has a copy of what was read of it before the
// failure). Running out of memory in any table, in the read or the copy,
// gives kCfgOutOfMemory, whatever else failed. Pass 115.
QMCFG_API int32_t QM_CALL CfgReadAllTablesPacked(ConfigHandle handle, ConfigTableSet* set,
                                                 int32_t);
// 50. Makes the copy of `slot` exactly the records of that slot's table in
// `set` (kCfgIncompleteSet when that slot is null).
QMCFG_API int32_t QM_CALL CfgPackTable(ConfigHandle handle, const ConfigTableSet* set,
                                       int32_t slot);
// 51. Adds every record of the copy of `slot` to that slot's table in `set`
// (kCfgIncompleteSet when the slot is null), under the key it was packed
// with; a key already present takes the copy's record. The copy stays.
QMCFG_API int32_t QM_CALL CfgUnpackTable(ConfigHandle handle, ConfigTableSet* set, int32_t slot);
// 52. Empties the copy of `slot` (kAllTables: of every slot), freeing its
// memory.
QMCFG_API int32_t QM_CALL CfgDropPackedTable(ConfigHandle handle, int32_t slot);
// 53. Updates the copy of `slot` as a save of one owner's records updates
// a table, without making the table: erases the `erasedCount` keys of
// `erased` (ascending; keys it does not hold are passed over), then adds
// each record of that slot's table in `inserted` under a key it no longer
// holds. On failure the copy stays as it was.
QMCFG_API int32_t QM_CALL CfgUpdatePackedTable(ConfigHandle handle, int32_t slot,
                                               const std::u16string* erased,
                                               int32_t erasedCount,
                                               const ConfigTableSet* inserted);

}  // extern "C"

}  // namespace qm

#endif  // QMPECORE_QMCFG_QMCFG_H_
