// The one reader and the one writer of every record table, driven by the
// table's schema (tables.cpp). They run inside a transaction the caller
// holds (project_store.h); they never begin or end one.
#ifndef QMPECORE_QMCFG_TABLE_IO_H_
#define QMPECORE_QMCFG_TABLE_IO_H_

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "qmcfg/packed_table.h"
#include "qmcfg/qmcfg.h"
#include "qmcfg/statement.h"
#include "qmcfg/table_sql.h"
#include "qmcfg/tables.h"
#include "qmcfg/value_set_text.h"
#include "qmcfg/variant_column.h"
#include "qmpecore/config_records.h"

namespace qm::cfg {

// Deletes the rows (of `owner` only, when given) whose id is not in
// `keep`, which is ascending.
int32_t DeleteGoneRows(sqlite3* db, const TableShape& shape, const std::vector<int32_t>& keep,
                       std::optional<int32_t> owner);

// Checks the in-memory records before a write: every id in 1..2147483647
// (else kCfgBadRecordId), no id twice (else kCfgDuplicateId), every variant
// of a stored type (else kCfgBadValue). On success `ids` holds every id,
// ascending.
template <class Record>
int32_t CheckRecords(const RecordTable<Record>& table, std::vector<int32_t>* ids) {
  const TableSchema<Record>& schema = SchemaOf<Record>();
  ids->clear();
  ids->reserve(table.size());
  for (const auto& entry : table) {
    const Record& record = entry.second;
    if (record.head.id < 1) return kCfgBadRecordId;
    for (const Column<Record>& column : schema.columns) {
      const auto* member = std::get_if<Variant Record::*>(&column.field);
      if (member != nullptr && !IsStorableVariant(record.**member)) return kCfgBadValue;
    }
    ids->push_back(record.head.id);
  }
  // Keys are usually RecordKey(id), so the ids are usually ascending already.
  if (!std::is_sorted(ids->begin(), ids->end())) std::sort(ids->begin(), ids->end());
  if (std::adjacent_find(ids->begin(), ids->end()) != ids->end()) return kCfgDuplicateId;
  return kCfgOk;
}

// Sets `out` to the stored integer at `col` (NULL reads as 0) and gives
// true, or gives false when `Integer` cannot hold the stored value (beyond
// its range, a fraction, a text): reading such a value would change it, and
// the next save would store the change.
template <class Integer>
bool ReadInteger(const Statement& stmt, int col, Integer* out) {
  if (stmt.Type(col) == SQLITE_NULL) {
    *out = 0;
    return true;
  }
  if (stmt.Type(col) != SQLITE_INTEGER) return false;
  const int64_t value = stmt.Int(col);
  if (value < std::numeric_limits<Integer>::min() || value > std::numeric_limits<Integer>::max()) {
    return false;
  }
  *out = static_cast<Integer>(value);
  return true;
}

// Reads the column(s) of one field at result column `*col`, advancing it;
// kCfgBadStoredValue for an integer the field cannot hold.
template <class Record>
int32_t ReadField(const Statement& stmt, const Field<Record>& field, Record* record, int* col,
                  std::u16string* scratch) {
  bool held = true;
  std::visit(Overloaded{
                 [&](int32_t Record::*m) { held = ReadInteger(stmt, *col, &(record->*m)); },
                 [&](uint16_t Record::*m) { held = ReadInteger(stmt, *col, &(record->*m)); },
                 [&](double Record::*m) { record->*m = stmt.Real(*col); },  // NULL reads as 0
                 [&](std::u16string Record::*m) { stmt.Text(*col, &(record->*m)); },
                 [&](ValueSet Record::*m) {
                   stmt.Text(*col, scratch);
                   ParseValueSet(*scratch, &(record->*m));
                 },
                 [&](Variant Record::*m) {
                   ReadVariant(stmt, *col, &(record->*m));
                   ++*col;
                 },
             },
             field);
  ++*col;
  return held ? kCfgOk : kCfgBadStoredValue;
}

// Binds the parameter(s) of one field at `*param`, advancing it.
template <class Record>
void BindField(Statement* stmt, const Field<Record>& field, const Record& record, int* param,
               std::u16string* scratch) {
  std::visit(Overloaded{
                 [&](int32_t Record::*m) { stmt->BindInt(*param, record.*m); },
                 [&](uint16_t Record::*m) { stmt->BindInt(*param, record.*m); },
                 [&](double Record::*m) { stmt->BindReal(*param, record.*m); },
                 [&](std::u16string Record::*m) { stmt->BindText(*param, record.*m); },
                 [&](ValueSet Record::*m) {
                   FormatValueSet(record.*m, scratch);
                   stmt->BindText(*param, *scratch);
                 },
                 [&](Variant Record::*m) {
                   BindVariant(stmt, *param, record.*m);
                   ++*param;
                 },
             },
             field);
  ++*param;
}

// Adds the stored records (of `owner` only, when given) to `table`, each
// under RecordKey(id); a key already present takes the stored record. The
// owner's name is read with a device or tag. A stored id outside
// 1..2147483647 stops the read with kCfgBadRecordId, an integer its field
// cannot hold with kCfgBadStoredValue; on any failure the table keeps what
// was added before it. With `copy`, each record read is also appended to
// it, so that it holds exactly the records read, packed.
template <class Record>
int32_t ReadRecords(sqlite3* db, std::optional<int32_t> owner, RecordTable<Record>* table,
                    PackedTable* copy = nullptr) {
  const TableSchema<Record>& schema = SchemaOf<Record>();
  if (owner && !schema.owner) return kCfgBadArgument;
  Statement stmt;
  if (int32_t code = stmt.Prepare(db, SelectSql(ShapeOf(schema), owner.has_value()))) return code;
  if (owner) stmt.BindInt(1, *owner);
  std::u16string scratch;
  int rc;
  while ((rc = stmt.Step()) == SQLITE_ROW) {
    const int64_t id = stmt.Int(0);
    if (id < 1 || id > INT32_MAX) return kCfgBadRecordId;
    // Rows come in id order and keys sort as ids do: the hint is exact.
    const size_t before = table->size();
    const auto placed = table->try_emplace(table->end(), RecordKey(static_cast<int32_t>(id)));
    Record& record = placed->second;
    if (table->size() == before) record = Record();
    record.head.id = static_cast<int32_t>(id);
    stmt.Text(1, &record.head.name);
    stmt.Text(2, &record.head.description);
    int col = 3;
    for (const Column<Record>& column : schema.columns) {
      if (int32_t code = ReadField(stmt, column.field, &record, &col, &scratch)) return code;
    }
    if (schema.owner) stmt.Text(col, &(record.*(schema.owner->name)));
    if (copy != nullptr) copy->Append(placed->first, record);
  }
  return SqliteCode(rc);
}

// Writes `table`, which passed CheckRecords giving `ids`. Without `owner`
// the table's rows become exactly its records. With `owner`, every record
// of that owner is inserted or updated, and the owner's rows whose id is
// nowhere in `ids` are deleted (a record moved to another owner in memory
// keeps its row until that owner is written).
template <class Record>
int32_t WriteRecords(sqlite3* db, const RecordTable<Record>& table,
                     const std::vector<int32_t>& ids, std::optional<int32_t> owner) {
  const TableSchema<Record>& schema = SchemaOf<Record>();
  if (owner && !schema.owner) return kCfgBadArgument;
  const TableShape shape = ShapeOf(schema);
  Statement upsert;
  if (int32_t code = upsert.Prepare(db, UpsertSql(shape))) return code;
  std::u16string scratch;
  for (const auto& entry : table) {
    const Record& record = entry.second;
    if (owner && record.*(schema.owner->id) != *owner) continue;
    upsert.BindInt(1, record.head.id);
    upsert.BindText(2, record.head.name);
    upsert.BindText(3, record.head.description);
    int param = 4;
    for (const Column<Record>& column : schema.columns) {
      BindField(&upsert, column.field, record, &param, &scratch);
    }
    if (int32_t code = upsert.Run()) return code;
  }
  return DeleteGoneRows(db, shape, ids, owner);
}

}  // namespace qm::cfg

#endif  // QMPECORE_QMCFG_TABLE_IO_H_
