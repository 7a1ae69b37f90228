// What makes a SQLite file a project file: its identity (application id
// and layout version) and its tables.
#ifndef QMPECORE_QMCFG_LAYOUT_H_
#define QMPECORE_QMCFG_LAYOUT_H_

#include <sqlite3.h>

#include <cstdint>

namespace qm::cfg {

// Checks that `db` is a project file of a layout this library knows, or an
// empty database (no tables, no identity), which it may become at the first
// write. Anything else gives kCfgNotAProject; a file that is not SQLite
// gives SQLite's code (126, SQLITE_NOTADB). Reads only.
// `hasTables` tells the two accepted kinds apart.
int32_t CheckIdentity(sqlite3* db, bool* hasTables);

// Inside the caller's write transaction: creates every missing table and
// index of the layout and stamps the identity.
int32_t CreateLayout(sqlite3* db);

}  // namespace qm::cfg

#endif  // QMPECORE_QMCFG_LAYOUT_H_
