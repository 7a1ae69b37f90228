#include "qmcfg/table_sql.h"

namespace qm::cfg {
namespace {

std::string Quoted(const char* name) { return std::string("\"") + name + "\""; }

// The stored column names, quoted, in parameter order.
std::vector<std::string> StoredNames(const TableShape& shape) {
  std::vector<std::string> names;
  for (const StoredColumn& column : StoredColumnsOf(shape)) {
    names.push_back(Quoted(column.name.c_str()));
  }
  return names;
}

std::string Joined(const std::vector<std::string>& parts, const std::string& before,
                   const std::string& after) {
  std::string text;
  for (const std::string& part : parts) {
    if (!text.empty()) text += ", ";
    text += before + part + after;
  }
  return text;
}

}  // namespace

std::vector<StoredColumn> StoredColumnsOf(const TableShape& shape) {
  std::vector<StoredColumn> columns = {
      {"id", "\"id\" INTEGER PRIMARY KEY", "0"},
      {"name", "\"name\" TEXT NOT NULL DEFAULT ''", "''"},
      {"description", "\"description\" TEXT NOT NULL DEFAULT ''", "''"},
  };
  for (const ColumnShape& column : shape.columns) {
    const std::string name = Quoted(column.name);
    switch (column.kind) {
      case ColumnKind::kInt32:
      case ColumnKind::kUint16:
        columns.push_back({column.name, name + " INTEGER NOT NULL DEFAULT 0", "0"});
        break;
      case ColumnKind::kReal:
        columns.push_back({column.name, name + " REAL DEFAULT 0", "0.0"});
        break;
      case ColumnKind::kText:
      case ColumnKind::kValueSet:
        columns.push_back({column.name, name + " TEXT NOT NULL DEFAULT ''", "''"});
        break;
      case ColumnKind::kVariant: {
        // No declared type: the column keeps whatever storage class it is given.
        columns.push_back({column.name, name, "NULL"});
        const std::string type = std::string(column.name) + "_vt";
        columns.push_back({type, Quoted(type.c_str()) + " INTEGER", "0"});  // VT_EMPTY
        break;
      }
    }
  }
  return columns;
}

std::string CreateTableSql(const TableShape& shape) {
  std::vector<std::string> declarations;
  for (const StoredColumn& column : StoredColumnsOf(shape)) {
    declarations.push_back(column.declaration);
  }
  std::string sql = "CREATE TABLE IF NOT EXISTS " + Quoted(shape.table) + " (" +
                    Joined(declarations, "", "") + ");";
  if (shape.ownerColumn != nullptr) {
    sql += " CREATE INDEX IF NOT EXISTS " +
           Quoted((std::string(shape.table) + "_by_" + shape.ownerColumn).c_str()) + " ON " +
           Quoted(shape.table) + " (" + Quoted(shape.ownerColumn) + ");";
  }
  return sql;
}

std::string SelectSql(const TableShape& shape, bool byOwner, const StoredTable& stored) {
  const std::vector<StoredColumn> columns = StoredColumnsOf(shape);
  std::vector<std::string> selected;
  std::string owner;
  for (size_t i = 0; i < columns.size(); ++i) {
    // The id is always read: a table without one cannot be read.
    const bool present = i == 0 || (i < stored.present.size() && stored.present[i]);
    selected.push_back(present ? "t." + Quoted(columns[i].name.c_str()) : columns[i].defaultValue);
    if (shape.ownerColumn != nullptr && columns[i].name == shape.ownerColumn) {
      owner = selected.back();
    }
  }
  const bool joined = shape.ownerColumn != nullptr && stored.ownerNamed;
  std::string sql = "SELECT " + Joined(selected, "", "");
  if (shape.ownerColumn != nullptr) sql += joined ? ", o.\"name\"" : ", ''";
  sql += " FROM " + Quoted(shape.table) + " AS t";
  if (joined) {
    sql += " LEFT JOIN " + Quoted(shape.ownerTable) + " AS o ON o.\"id\" = " + owner;
  }
  if (byOwner) sql += " WHERE " + owner + " = ?1";
  return sql + " ORDER BY t.\"id\"";
}

std::string UpsertSql(const TableShape& shape) {
  std::vector<std::string> names = StoredNames(shape);
  std::vector<std::string> params;
  for (size_t i = 1; i <= names.size(); ++i) {
    params.push_back(std::string("?").append(std::to_string(i)));
  }
  std::string sql = "INSERT INTO " + Quoted(shape.table) + " (" + Joined(names, "", "") +
                    ") VALUES (" + Joined(params, "", "") + ") ON CONFLICT(\"id\") DO UPDATE SET ";
  names.erase(names.begin());  // the id stays
  std::string sets;
  for (const std::string& name : names) {
    if (!sets.empty()) sets += ", ";
    sets += name + " = excluded." + name;
  }
  return sql + sets;
}

std::string IdsSql(const TableShape& shape, bool byOwner) {
  std::string sql = "SELECT \"id\" FROM " + Quoted(shape.table);
  if (byOwner) sql += " WHERE " + Quoted(shape.ownerColumn) + " = ?1";
  return sql + " ORDER BY \"id\"";
}

std::string DeleteSql(const TableShape& shape) {
  return "DELETE FROM " + Quoted(shape.table) + " WHERE \"id\" = ?1";
}

}  // namespace qm::cfg
