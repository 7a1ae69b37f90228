#include "qmcfg/general_table.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "qmcfg/layout.h"
#include "qmcfg/qmcfg.h"
#include "qmcfg/statement.h"

namespace qm::cfg {
namespace {

constexpr char kSelectSql[] = "SELECT \"key\", \"value\" FROM \"general\" ORDER BY \"key\"";
constexpr char kSelectWithoutValueSql[] = "SELECT \"key\", '' FROM \"general\" ORDER BY \"key\"";
constexpr char kUpsertSql[] =
    "INSERT INTO \"general\" (\"key\", \"value\") VALUES (?1, ?2) "
    "ON CONFLICT(\"key\") DO UPDATE SET \"value\" = excluded.\"value\"";

// The rows of one key as a read meets them.
struct ReadRows {
  std::vector<std::pair<StoredValue, StoredValue>> rows;
  bool exact = true;  // one row, which reads back as it is stored
};

}  // namespace

const char kGeneralTableSql[] =
    "CREATE TABLE IF NOT EXISTS \"general\" "
    "(\"key\" TEXT PRIMARY KEY, \"value\" TEXT NOT NULL DEFAULT '');";
const char kGeneralValueColumnSql[] =
    "ALTER TABLE \"general\" ADD COLUMN \"value\" TEXT NOT NULL DEFAULT ''";

int32_t ReadGeneral(sqlite3* db, GeneralTable* table, KeptCells* kept) {
  std::vector<std::string> columns;
  if (int32_t code = StoredColumnNames(db, "general", &columns)) return code;
  kept->ForgetGeneral();
  if (columns.empty()) return kCfgOk;
  Statement select;
  const bool hasValue = HasColumn(columns, "value");
  if (int32_t code = select.Prepare(db, hasValue ? kSelectSql : kSelectWithoutValueSql)) {
    return code;
  }
  std::map<std::u16string, ReadRows> byKey;
  std::u16string key;
  int rc;
  while ((rc = select.Step()) == SQLITE_ROW) {
    const bool exactKey = select.Text(0, &key);
    const bool exactValue = select.Text(1, &(*table)[key]);
    ReadRows& read = byKey[key];
    read.exact = read.rows.empty() && exactKey && exactValue;
    read.rows.emplace_back(CopyStoredValue(select.Value(0)), CopyStoredValue(select.Value(1)));
  }
  if (int32_t code = SqliteCode(rc)) return code;
  for (auto& [readKey, read] : byKey) {
    if (read.exact) continue;
    kept->KeepGeneral(readKey, {std::move(read.rows), table->at(readKey)});
  }
  return kCfgOk;
}

int32_t WriteGeneral(sqlite3* db, const GeneralTable& table, const KeptCells& kept) {
  const auto unchangedKept = [&](const std::u16string& key) -> const KeptGeneralRows* {
    const KeptGeneralRows* rows = kept.FindGeneral(key);
    const auto entry = table.find(key);
    return rows != nullptr && entry != table.end() && entry->second == rows->valueAsRead ? rows
                                                                                         : nullptr;
  };
  // By rowid, so that a stored key whose bytes are not UTF-8 can go too.
  // A row stays as it is when it is kept and its entry unchanged; else it
  // goes when its key is no entry's or does not read back as stored, and
  // the entry is written as text below.
  Statement select;
  if (int32_t code = select.Prepare(db, "SELECT rowid, \"key\" FROM \"general\"")) return code;
  std::vector<int64_t> gone;
  std::set<std::u16string> keptInPlace;
  std::u16string key;
  int rc;
  while ((rc = select.Step()) == SQLITE_ROW) {
    const bool exactKey = select.Text(1, &key);
    if (unchangedKept(key) != nullptr) {
      keptInPlace.insert(key);
    } else if (!exactKey || table.find(key) == table.end()) {
      gone.push_back(select.Int(0));
    }
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
    if (keptInPlace.count(name) != 0) continue;
    if (const KeptGeneralRows* rows = unchangedKept(name)) {
      // Another file (a save under a new path): the rows go as stored.
      for (const auto& [storedKey, storedValue] : rows->rows) {
        upsert.BindValue(1, storedKey.get());
        upsert.BindValue(2, storedValue.get());
        if (int32_t code = upsert.Run()) return code;
      }
      continue;
    }
    upsert.BindText(1, name);
    upsert.BindText(2, value);
    if (int32_t code = upsert.Run()) return code;
  }
  return kCfgOk;
}

}  // namespace qm::cfg
