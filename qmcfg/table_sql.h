// The SQL of a record table, built from its schema: the table as stored
// (columns and their kinds, the owner link) and the statements the generic
// reader and writer run on it. Every identifier is quoted.
#ifndef QMPECORE_QMCFG_TABLE_SQL_H_
#define QMPECORE_QMCFG_TABLE_SQL_H_

#include <string>
#include <vector>

#include "qmcfg/schema.h"

namespace qm::cfg {

struct ColumnShape {
  const char* name;
  ColumnKind kind;
};

// A table as SQL sees it: the schema without the record members.
struct TableShape {
  const char* table;
  std::vector<ColumnShape> columns;  // after id, name, description
  const char* ownerColumn = nullptr;
  const char* ownerTable = nullptr;
};

template <class Record>
TableShape ShapeOf(const TableSchema<Record>& schema) {
  TableShape shape{schema.table, {}};
  for (const Column<Record>& column : schema.columns) {
    shape.columns.push_back({column.name, column.kind()});
  }
  if (schema.owner) {
    shape.ownerColumn = schema.owner->column;
    shape.ownerTable = schema.owner->table;
  }
  return shape;
}

// One column as stored: a variant field is two (its value, then its type).
struct StoredColumn {
  std::string name;         // unquoted
  std::string declaration;  // as CREATE TABLE and ALTER TABLE ADD COLUMN take it
  // The SQL value that a record reads exactly as a new record's field.
  const char* defaultValue;
};

// id, name, description, then each column in order, as stored.
std::vector<StoredColumn> StoredColumnsOf(const TableShape& shape);

// What a project file holds of a table. A file written by another tool
// may lack a table of this layout, or some of a table's columns: nothing
// is stored there, so a missing table reads as empty and a missing column
// as its default, and the first write adds them (CreateLayout).
struct StoredTable {
  bool exists = false;
  std::vector<bool> present;  // by StoredColumnsOf's order
  bool ownerNamed = false;    // the owner's table holds "id" and "name"
};

// CREATE TABLE IF NOT EXISTS, and for an owned table an index on the owner
// column (per-owner reads and writes select by it).
std::string CreateTableSql(const TableShape& shape);

// Result columns: id, name, description, then each column in order (a
// variant as its value and its type), then the owner's name when the table
// has an owner; a column that `stored` lacks gives its default, and the
// owner's name the empty text when its table lacks one. Rows in id order;
// with `byOwner`, only those whose owner column equals parameter 1. The
// table must exist.
std::string SelectSql(const TableShape& shape, bool byOwner, const StoredTable& stored);

// Parameters in the order of SelectSql's result columns (no owner name);
// inserts the row or updates every column of the row with that id, so
// columns this layout does not know keep their values.
std::string UpsertSql(const TableShape& shape);

// The stored ids, ascending; with `byOwner`, of owner parameter 1 only.
std::string IdsSql(const TableShape& shape, bool byOwner);

// Deletes the row with id parameter 1.
std::string DeleteSql(const TableShape& shape);

}  // namespace qm::cfg

#endif  // QMPECORE_QMCFG_TABLE_SQL_H_
