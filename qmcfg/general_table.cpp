#include "qmcfg/general_table.h"

#include <string>
#include <vector>

#include "qmcfg/qmcfg.h"
#include "qmcfg/statement.h"

namespace qm::cfg {
namespace {

constexpr char kSelectSql[] = "SELECT \"key\", \"value\" FROM \"general\" ORDER BY \"key\"";
constexpr char kUpsertSql[] =
    "INSERT INTO \"general\" (\"key\", \"value\") VALUES (?1, ?2) "
    "ON CONFLICT(\"key\") DO UPDATE SET \"value\" = excluded.\"value\"";

}  // namespace

const char kGeneralTableSql[] =
    "CREATE TABLE IF NOT EXISTS \"general\" "
    "(\"key\" TEXT PRIMARY KEY, \"value\" TEXT NOT NULL DEFAULT '');";

int32_t ReadGeneral(sqlite3* db, GeneralTable* table) {
  Statement select;
  if (int32_t code = select.Prepare(db, kSelectSql)) return code;
  std::u16string key;
  int rc;
  while ((rc = select.Step()) == SQLITE_ROW) {
    select.Text(0, &key);
    select.Text(1, &(*table)[key]);
  }
  return SqliteCode(rc);
}

int32_t WriteGeneral(sqlite3* db, const GeneralTable& table) {
  Statement select;
  // By rowid, so that a stored key whose bytes are not UTF-8 goes too.
  if (int32_t code = select.Prepare(db, "SELECT rowid, \"key\" FROM \"general\"")) return code;
  std::vector<int64_t> gone;
  std::u16string key;
  int rc;
  while ((rc = select.Step()) == SQLITE_ROW) {
    select.Text(1, &key);
    if (table.find(key) == table.end()) gone.push_back(select.Int(0));
  }
  if (int32_t code = SqliteCode(rc)) return code;

  Statement remove;
  if (int32_t code = remove.Prepare(db, "DELETE FROM \"general\" WHERE rowid = ?1")) return code;
  for (int64_t row : gone) {
    remove.BindInt(1, row);
    if (int32_t code = remove.Run()) return code;
  }
  Statement upsert;
  if (int32_t code = upsert.Prepare(db, kUpsertSql)) return code;
  for (const auto& [name, value] : table) {
    upsert.BindText(1, name);
    upsert.BindText(2, value);
    if (int32_t code = upsert.Run()) return code;
  }
  return kCfgOk;
}

}  // namespace qm::cfg
