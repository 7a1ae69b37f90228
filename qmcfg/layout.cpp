#include "qmcfg/layout.h"

#include <string>

#include "qmcfg/qmcfg.h"
#include "qmcfg/general_table.h"
#include "qmcfg/statement.h"
#include "qmcfg/table_sql.h"
#include "qmcfg/tables.h"
#include "qmcfg/transaction.h"

namespace qm::cfg {
namespace {

int32_t QueryInteger(sqlite3* db, const char* sql, int64_t* out) {
  Statement stmt;
  if (int32_t code = stmt.Prepare(db, sql)) return code;
  const int rc = stmt.Step();
  *out = rc == SQLITE_ROW ? stmt.Int(0) : 0;
  return SqliteCode(rc);
}

}  // namespace

int32_t CheckIdentity(sqlite3* db, bool* hasTables) {
  int64_t applicationId = 0;
  int64_t version = 0;
  int64_t tables = 0;
  if (int32_t code = QueryInteger(db, "PRAGMA application_id", &applicationId)) return code;
  if (int32_t code = QueryInteger(db, "PRAGMA user_version", &version)) return code;
  if (int32_t code = QueryInteger(db, "SELECT count(*) FROM sqlite_master", &tables)) return code;
  *hasTables = tables != 0;
  const bool ours = applicationId == kProjectApplicationId && version == kProjectLayoutVersion;
  const bool blank = applicationId == 0 && version == 0 && tables == 0;
  return ours || blank ? kCfgOk : kCfgNotAProject;
}

int32_t CreateLayout(sqlite3* db) {
  if (int32_t code = Execute(db, kGeneralTableSql)) return code;
  int32_t code = ForEachSchema(
      [db](const auto& schema) { return Execute(db, CreateTableSql(ShapeOf(schema)).c_str()); });
  if (code != kCfgOk) return code;
  const std::string identity = "PRAGMA application_id = " + std::to_string(kProjectApplicationId) +
                               "; PRAGMA user_version = " + std::to_string(kProjectLayoutVersion);
  return Execute(db, identity.c_str());
}

}  // namespace qm::cfg
