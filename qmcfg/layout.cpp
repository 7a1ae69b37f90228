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

int32_t AddMissingColumns(sqlite3* db, const TableShape& shape) {
  StoredTable stored;
  if (int32_t code = ReadStoredTable(db, shape, &stored)) return code;
  const std::vector<StoredColumn> columns = StoredColumnsOf(shape);
  for (size_t i = 1; i < columns.size(); ++i) {
    if (stored.present[i]) continue;
    const std::string sql =
        "ALTER TABLE \"" + std::string(shape.table) + "\" ADD COLUMN " + columns[i].declaration;
    if (int32_t code = Execute(db, sql.c_str())) return code;
  }
  return kCfgOk;
}

}  // namespace

bool HasColumn(const std::vector<std::string>& names, const std::string& name) {
  for (const std::string& stored : names) {
    if (sqlite3_stricmp(stored.c_str(), name.c_str()) == 0) return true;
  }
  return false;
}

int32_t StoredColumnNames(sqlite3* db, const char* table, std::vector<std::string>* names) {
  names->clear();
  Statement stmt;
  if (int32_t code = stmt.Prepare(db, "SELECT \"name\" FROM pragma_table_info(?1)")) return code;
  sqlite3_bind_text(stmt.handle(), 1, table, -1, SQLITE_STATIC);
  int rc;
  while ((rc = stmt.Step()) == SQLITE_ROW) {
    const unsigned char* name = sqlite3_column_text(stmt.handle(), 0);
    names->emplace_back(name == nullptr ? "" : reinterpret_cast<const char*>(name));
  }
  return SqliteCode(rc);
}

int32_t ReadStoredTable(sqlite3* db, const TableShape& shape, StoredTable* stored) {
  std::vector<std::string> names;
  if (int32_t code = StoredColumnNames(db, shape.table, &names)) return code;
  stored->exists = !names.empty();
  stored->present.clear();
  for (const StoredColumn& column : StoredColumnsOf(shape)) {
    stored->present.push_back(HasColumn(names, column.name));
  }
  stored->ownerNamed = false;
  if (shape.ownerTable != nullptr) {
    if (int32_t code = StoredColumnNames(db, shape.ownerTable, &names)) return code;
    stored->ownerNamed = HasColumn(names, "id") && HasColumn(names, "name");
  }
  return kCfgOk;
}

int32_t CheckIdentity(sqlite3* db, bool* hasTables) {
  int64_t applicationId = 0;
  int64_t version = 0;
  int64_t tables = 0;
  if (int32_t code = QueryInteger(db, "PRAGMA application_id", &applicationId)) return code;
  if (int32_t code = QueryInteger(db, "PRAGMA user_version", &version)) return code;
  if (int32_t code = QueryInteger(db, "SELECT count(*) FROM sqlite_master", &tables)) return code;
  *hasTables = tables != 0;
  // An older layout number is opened, and stamped with this one at the
  // first write; layout 1 is the first this library knows.
  const bool ours = applicationId == kProjectApplicationId && version <= kProjectLayoutVersion;
  const bool blank = applicationId == 0 && version == 0 && tables == 0;
  return ours || blank ? kCfgOk : kCfgNotAProject;
}

int32_t CreateLayout(sqlite3* db) {
  if (int32_t code = Execute(db, kGeneralTableSql)) return code;
  std::vector<std::string> general;
  if (int32_t code = StoredColumnNames(db, "general", &general)) return code;
  if (!HasColumn(general, "value")) {
    if (int32_t code = Execute(db, kGeneralValueColumnSql)) return code;
  }
  int32_t code = ForEachSchema([db](const auto& schema) {
    const TableShape shape = ShapeOf(schema);
    if (int32_t failed = Execute(db, CreateTableSql(shape).c_str())) return failed;
    return AddMissingColumns(db, shape);
  });
  if (code != kCfgOk) return code;
  const std::string identity = "PRAGMA application_id = " + std::to_string(kProjectApplicationId) +
                               "; PRAGMA user_version = " + std::to_string(kProjectLayoutVersion);
  return Execute(db, identity.c_str());
}

}  // namespace qm::cfg
