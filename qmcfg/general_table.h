// The General table: key and value texts, not records. Like the record
// tables (table_io.h), these run inside the caller's transaction.
#ifndef QMPECORE_QMCFG_GENERAL_TABLE_H_
#define QMPECORE_QMCFG_GENERAL_TABLE_H_

#include <sqlite3.h>

#include <cstdint>

#include "qmpecore/config_records.h"

namespace qm::cfg {

// The layout of the table.
extern const char kGeneralTableSql[];

// Adds every stored entry to `table`; a key already present takes the
// stored value.
int32_t ReadGeneral(sqlite3* db, GeneralTable* table);

// Makes the stored entries exactly those of `table`.
int32_t WriteGeneral(sqlite3* db, const GeneralTable& table);

}  // namespace qm::cfg

#endif  // QMPECORE_QMCFG_GENERAL_TABLE_H_
