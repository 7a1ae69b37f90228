// The one reader and the one writer of every record table, driven by the
// table's schema (tables.cpp). They run inside a transaction the caller
// holds (project_store.h); they never begin or end one.
#ifndef QMPECORE_QMCFG_TABLE_IO_H_
#define QMPECORE_QMCFG_TABLE_IO_H_

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "qmcfg/kept_cells.h"
#include "qmcfg/layout.h"
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

// Sets `out` to the stored integer at `col` and gives true, or sets it to
// 0 and gives false when `Integer` cannot hold what is stored (NULL, beyond
// its range, a fraction, a text).
template <class Integer>
bool ReadInteger(const Statement& stmt, int col, Integer* out) {
  *out = 0;
  if (stmt.Type(col) != SQLITE_INTEGER) return false;
  const int64_t value = stmt.Int(col);
  if (value < std::numeric_limits<Integer>::min() || value > std::numeric_limits<Integer>::max()) {
    return false;
  }
  *out = static_cast<Integer>(value);
  return true;
}

// The statement parameters (and result columns) a field takes.
template <class Record>
int ColumnsOf(const Field<Record>& field) {
  return std::holds_alternative<Variant Record::*>(field) ? 2 : 1;
}

// Reads the column(s) of one field at result column `col`. True when the
// field took the stored value faithfully: writing it back would store
// exactly what is stored. Otherwise the field holds the nearest it can
// (0 for a number it cannot hold, U+FFFD for bytes that are not UTF-8, the
// members of a value set that parse, VT_EMPTY) and the caller keeps the
// stored value (kept_cells.h).
template <class Record>
bool ReadField(const Statement& stmt, const Field<Record>& field, Record* record, int col,
               std::u16string* scratch, std::u16string* formatted) {
  return std::visit(
      Overloaded{
          [&](int32_t Record::*m) { return ReadInteger(stmt, col, &(record->*m)); },
          [&](uint16_t Record::*m) { return ReadInteger(stmt, col, &(record->*m)); },
          [&](double Record::*m) {
            const bool real = stmt.Type(col) == SQLITE_FLOAT;
            record->*m = stmt.Real(col);  // 0 for what is not a number
            return real;
          },
          [&](std::u16string Record::*m) { return stmt.Text(col, &(record->*m)); },
          [&](ValueSet Record::*m) {
            const bool text = stmt.Text(col, scratch);
            ParseValueSet(*scratch, &(record->*m));
            FormatValueSet(record->*m, formatted);
            return text && *formatted == *scratch;
          },
          [&](Variant Record::*m) {
            ReadVariant(stmt, col, &(record->*m));
            return StoresAs(stmt, col, record->*m);
          },
      },
      field);
}

// What a read keeps of a field it could not take faithfully.
template <class Member>
KeptCell KeepCell(const Statement& stmt, int col, int columns, const Member& asRead) {
  KeptCell cell;
  cell.param = col + 1;
  for (int i = 0; i < columns; ++i) {
    cell.stored.push_back(CopyStoredValue(stmt.Value(col + i)));
  }
  cell.asRead = PackedMember(asRead);
  return cell;
}

// The kept cell of `cells` for the field at `param` whose value the record
// still holds as it was read, or null: then the record's value is written.
template <class Member>
const KeptCell* StillAsRead(const std::vector<KeptCell>* cells, int param, const Member& member) {
  if (cells == nullptr) return nullptr;
  for (const KeptCell& cell : *cells) {
    if (cell.param == param) return PackedMember(member) == cell.asRead ? &cell : nullptr;
  }
  return nullptr;
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
// owner's name is read with a device or tag. A table or column that the
// file lacks reads as empty or as its default (table_sql.h). A stored id
// outside 1..2147483647 stops the read with kCfgBadRecordId; on any failure the
// table keeps what was added before it. Every cell that a field could not
// take faithfully is kept in `kept`, which forgets the cells of each record
// read (and, for a whole read, of every record of the table) first. With
// `copy`, each record read is also appended to it, so that it holds exactly
// the records read, packed.
template <class Record>
int32_t ReadRecords(sqlite3* db, std::optional<int32_t> owner, RecordTable<Record>* table,
                    KeptCells* kept, PackedTable* copy = nullptr) {
  const TableSchema<Record>& schema = SchemaOf<Record>();
  constexpr int kSlot = SlotOf<Record>();
  if (owner && !schema.owner) return kCfgBadArgument;
  const TableShape shape = ShapeOf(schema);
  StoredTable stored;
  if (int32_t code = ReadStoredTable(db, shape, &stored)) return code;
  if (!owner) kept->Forget(kSlot);
  if (!stored.exists) return kCfgOk;
  Statement stmt;
  if (int32_t code = stmt.Prepare(db, SelectSql(shape, owner.has_value(), stored))) return code;
  if (owner) stmt.BindInt(1, *owner);
  std::u16string scratch, formatted;
  std::vector<KeptCell> cells;
  int rc;
  while ((rc = stmt.Step()) == SQLITE_ROW) {
    const int64_t id = stmt.Int(0);
    if (stmt.Type(0) != SQLITE_INTEGER || id < 1 || id > INT32_MAX) return kCfgBadRecordId;
    // Rows come in id order and keys sort as ids do: the hint is exact.
    const size_t before = table->size();
    const auto placed = table->try_emplace(table->end(), RecordKey(static_cast<int32_t>(id)));
    Record& record = placed->second;
    if (table->size() == before) record = Record();
    record.head.id = static_cast<int32_t>(id);
    cells.clear();
    if (!stmt.Text(1, &record.head.name)) cells.push_back(KeepCell(stmt, 1, 1, record.head.name));
    if (!stmt.Text(2, &record.head.description)) {
      cells.push_back(KeepCell(stmt, 2, 1, record.head.description));
    }
    int col = 3;
    for (const Column<Record>& column : schema.columns) {
      if (!ReadField(stmt, column.field, &record, col, &scratch, &formatted)) {
        std::visit([&](auto m) { cells.push_back(KeepCell(stmt, col, ColumnsOf(column.field),
                                                          record.*m)); },
                   column.field);
      }
      col += ColumnsOf(column.field);
    }
    if (schema.owner) stmt.Text(col, &(record.*(schema.owner->name)));
    if (cells.empty()) {
      if (owner) kept->Forget(kSlot, record.head.id);
    } else {
      kept->Keep(kSlot, record.head.id, std::move(cells));
    }
    if (copy != nullptr) copy->Append(placed->first, record);
  }
  return SqliteCode(rc);
}

// Writes `table`, which passed CheckRecords giving `ids`. Without `owner`
// the table's rows become exactly its records. With `owner`, every record
// of that owner is inserted or updated, and the owner's rows whose id is
// nowhere in `ids` are deleted (a record moved to another owner in memory
// keeps its row until that owner is written).
// A field of a record that `kept` holds cells for is written as it was
// stored while the record still holds the value the read gave it.
template <class Record>
int32_t WriteRecords(sqlite3* db, const RecordTable<Record>& table,
                     const std::vector<int32_t>& ids, std::optional<int32_t> owner,
                     const KeptCells& kept) {
  const TableSchema<Record>& schema = SchemaOf<Record>();
  if (owner && !schema.owner) return kCfgBadArgument;
  const TableShape shape = ShapeOf(schema);
  Statement upsert;
  if (int32_t code = upsert.Prepare(db, UpsertSql(shape))) return code;
  std::u16string scratch;
  const bool anyKept = !kept.empty(SlotOf<Record>());
  for (const auto& entry : table) {
    const Record& record = entry.second;
    if (owner && record.*(schema.owner->id) != *owner) continue;
    const std::vector<KeptCell>* cells =
        anyKept ? kept.Find(SlotOf<Record>(), record.head.id) : nullptr;
    auto bindKept = [&](int param, const auto& member) {
      const KeptCell* cell = StillAsRead(cells, param, member);
      if (cell == nullptr) return false;
      for (size_t i = 0; i < cell->stored.size(); ++i) {
        upsert.BindValue(param + static_cast<int>(i), cell->stored[i].get());
      }
      return true;
    };
    upsert.BindInt(1, record.head.id);
    if (!bindKept(2, record.head.name)) upsert.BindText(2, record.head.name);
    if (!bindKept(3, record.head.description)) upsert.BindText(3, record.head.description);
    int param = 4;
    for (const Column<Record>& column : schema.columns) {
      const bool keptHere =
          cells != nullptr && std::visit([&](auto m) { return bindKept(param, record.*m); },
                                         column.field);
      if (keptHere) {
        param += ColumnsOf(column.field);
      } else {
        BindField(&upsert, column.field, record, &param, &scratch);
      }
    }
    if (int32_t code = upsert.Run()) return code;
  }
  return DeleteGoneRows(db, shape, ids, owner);
}

}  // namespace qm::cfg

#endif  // QMPECORE_QMCFG_TABLE_IO_H_
