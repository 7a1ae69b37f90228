// The operations of qmcfg, the project file store (a SQLite database whose
// layout is fixed in docs/project-format.md). The configuration manager is
// its only caller. Each operation is a plain function that returns 0 on
// success and a code of 100 or more on failure (see CfgError), never
// throws, and refuses a handle that it did not give out.
//
// The ordinal of each operation is given beside it; the Windows build
// exports them by these numbers.
#ifndef QMPECORE_CONFIG_QMCFG_H_
#define QMPECORE_CONFIG_QMCFG_H_

#include <cstdint>

#include "qmpecore/config_records.h"

#ifndef QM_CALL
#define QM_CALL
#endif
#ifndef QMCFG_API
#define QMCFG_API
#endif

namespace qm {

// Failure codes. 100 + n is SQLite's primary result code n (101 SQLITE_ERROR,
// 105 SQLITE_BUSY, 113 SQLITE_FULL, 114 SQLITE_CANTOPEN, ...); our own codes
// start at 200. None of them collides with the core's own -2, -1 and 1.
enum CfgError : int32_t {
  kCfgOk = 0,
  kCfgSqliteBase = 100,
  kCfgBadHandle = 200,       // a handle not given out, or already closed
  kCfgBadArgument = 201,     // a null table or set, or an unknown table slot
  kCfgRefusedFilter = 202,   // a filter other than "port_id = N" / "device_id = N"
  kCfgDuplicateId = 203,     // two in-memory records with the same id
  kCfgNotAProject = 204,     // foreign application id or newer layout
  kCfgBadRecordId = 205,     // a stored or in-memory id outside 1..2147483647
  kCfgIncompleteSet = 206,   // a table set with a null slot
  kCfgNotWritable = 207,     // the file could not be created
};

// The application id and layout version of a project file.
inline constexpr int32_t kProjectApplicationId = 1363365955;  // "QCFC"
inline constexpr int32_t kProjectLayoutVersion = 1;

extern "C++" {

// 3. Opens the project file at `path` (UTF-16). A missing file in an
// existing folder opens as an empty configuration and is created at the
// first write. Returns 0 when the path cannot be opened (missing folder,
// not a project file, newer layout). `flags` is kept for the reads.
QMCFG_API ConfigHandle QM_CALL CfgOpenConfig(const char16_t* path, int32_t flags);
// 4. Releases the handle; a handle not given out is ignored.
QMCFG_API int32_t QM_CALL CfgCloseConfig(ConfigHandle handle);

// 9. Fills the eleven tables of `set` (which must all be present). Pass 115.
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

// 21. Writes every table of the set in one transaction. Pass 0.
QMCFG_API int32_t QM_CALL CfgWriteAllTables(ConfigHandle handle, const ConfigTableSet* set, int32_t);
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
// deleted. A negative ownerId writes the whole table. Pass 1.
QMCFG_API int32_t QM_CALL CfgWriteIoDevices(ConfigHandle, const IoDeviceTable*, int32_t ownerId,
                                            int32_t);
QMCFG_API int32_t QM_CALL CfgWriteIoTags(ConfigHandle, const IoTagTable*, int32_t ownerId, int32_t);
QMCFG_API int32_t QM_CALL CfgWriteOutputs(ConfigHandle, const OutputTable*, int32_t);
QMCFG_API int32_t QM_CALL CfgWriteAlarms(ConfigHandle, const AlarmTable*, int32_t);
QMCFG_API int32_t QM_CALL CfgWriteScripts(ConfigHandle, const ScriptTable*, int32_t);

// 47. Checks, before a save, that the set is complete and that the table
// (or all tables, for -1) about to be written holds no duplicate or invalid
// id. Returns the code the write would fail with, or 0; writing nothing.
QMCFG_API int32_t QM_CALL CfgPrepareSave(ConfigHandle handle, const ConfigTableSet* set,
                                         int32_t tableNumber, int32_t subId);

}  // extern "C++"

}  // namespace qm

#endif  // QMPECORE_CONFIG_QMCFG_H_
