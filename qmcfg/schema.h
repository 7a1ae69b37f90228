// Record tables described as data. A TableSchema lists, in stored order,
// the columns that follow the id, name and description every record table
// has: each column's name and the record member it holds. The member's
// type decides how the column is declared, read and written, so one reader
// and one writer (table_io.h) and one layout (layout.h) serve all tables;
// a new column is one line in tables.cpp.
#ifndef QMPECORE_QMCFG_SCHEMA_H_
#define QMPECORE_QMCFG_SCHEMA_H_

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "qmpecore/config_records.h"

namespace qm::cfg {

// The record member behind a column. The alternatives are in ColumnKind
// order.
template <class Record>
using Field = std::variant<int32_t Record::*, uint16_t Record::*, double Record::*,
                           std::u16string Record::*, ValueSet Record::*, Variant Record::*>;

// How a column is stored: integers as INTEGER, reals as REAL (NULL reads
// as 0), texts as TEXT, value sets as TEXT of decimals joined by ",",
// variants as an untyped column `X` (so SQLite keeps the storage class)
// beside its VARTYPE in `X_vt`.
enum class ColumnKind { kInt32, kUint16, kReal, kText, kValueSet, kVariant };

template <class Record>
struct Column {
  const char* name;
  Field<Record> field;

  ColumnKind kind() const { return static_cast<ColumnKind>(field.index()); }
};

// The owner of a record (a device's port, a tag's device): the column that
// holds the owner's id (one of the table's columns), the table it refers
// to, and the members of its id and of the owner name read with the record.
template <class Record>
struct Owner {
  const char* column;
  const char* table;
  int32_t Record::*id;
  std::u16string Record::*name;
};

template <class Record>
struct TableSchema {
  const char* table;
  std::vector<Column<Record>> columns;
  std::optional<Owner<Record>> owner;
};

template <class... Fs>
struct Overloaded : Fs... {
  using Fs::operator()...;
};
// Spelled out for compilers without deduction for aggregates (clang before 17).
template <class... Fs>
Overloaded(Fs...) -> Overloaded<Fs...>;

}  // namespace qm::cfg

#endif  // QMPECORE_QMCFG_SCHEMA_H_
