// The General table: key and value texts, not records. Like the record
// tables (table_io.h), these run inside the caller's transaction.
#ifndef QMPECORE_QMCFG_GENERAL_TABLE_H_
#define QMPECORE_QMCFG_GENERAL_TABLE_H_

#include <sqlite3.h>

#include <cstdint>

#include "qmcfg/kept_cells.h"
#include "qmpecore/config_records.h"

namespace qm::cfg {

// The layout of the table, and its value column for a table that lacks it.
extern const char kGeneralTableSql[];
extern const char kGeneralValueColumnSql[];

// Adds every stored entry to `table`; a key already present takes the
// stored value. A file without the table holds no entries, and one
// without its value column holds empty values. The rows that a write must put
// back as they are stored replace the General rows of `kept`.
int32_t ReadGeneral(sqlite3* db, GeneralTable* table, KeptCells* kept);

// Makes the stored entries exactly those of `table`; an entry that still
// holds the value a read gave it is stored as `kept` holds it.
int32_t WriteGeneral(sqlite3* db, const GeneralTable& table, const KeptCells& kept);

}  // namespace qm::cfg

#endif  // QMPECORE_QMCFG_GENERAL_TABLE_H_
