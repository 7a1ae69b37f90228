// What makes a SQLite file a project file: its identity (application id
// and layout version) and its tables.
#ifndef QMPECORE_QMCFG_LAYOUT_H_
#define QMPECORE_QMCFG_LAYOUT_H_

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

#include "qmcfg/table_sql.h"

namespace qm::cfg {

// Checks that `db` is a project file of a layout this library knows, or an
// empty database (no tables, no identity), which it may become at the first
// write. Anything else gives kCfgNotAProject; a file that is not SQLite
// gives SQLite's code (126, SQLITE_NOTADB). Reads only.
// `hasTables` tells the two accepted kinds apart.
int32_t CheckIdentity(sqlite3* db, bool* hasTables);

// Inside the caller's write transaction: creates every missing table,
// column and index of the layout and stamps the identity. Columns the
// layout does not know stay as they are.
int32_t CreateLayout(sqlite3* db);

// The names of the columns of `table` as stored; none when `db` has no
// such table.
int32_t StoredColumnNames(sqlite3* db, const char* table, std::vector<std::string>* names);

// Whether `names` holds `name`, which SQLite matches without regard to
// ASCII case.
bool HasColumn(const std::vector<std::string>& names, const std::string& name);

// What `db` holds of the table of `shape`.
int32_t ReadStoredTable(sqlite3* db, const TableShape& shape, StoredTable* stored);

}  // namespace qm::cfg

#endif  // QMPECORE_QMCFG_LAYOUT_H_
