#include "qmcfg/table_sql.h"

namespace qm::cfg {
namespace {

std::string Quoted(const char* name) { return std::string("\"") + name + "\""; }

std::string Declaration(const ColumnShape& column) {
  const std::string name = Quoted(column.name);
  switch (column.kind) {
    case ColumnKind::kInt32:
    case ColumnKind::kUint16:
      return name + " INTEGER NOT NULL DEFAULT 0";
    case ColumnKind::kReal:
      return name + " REAL DEFAULT 0";
    case ColumnKind::kText:
    case ColumnKind::kValueSet:
      return name + " TEXT NOT NULL DEFAULT ''";
    case ColumnKind::kVariant:
      // No declared type: the column keeps whatever storage class it is given.
      return name + ", " + Quoted((std::string(column.name) + "_vt").c_str()) + " INTEGER";
  }
  return name;
}

// The stored column names in parameter order: a variant is two.
std::vector<std::string> StoredNames(const TableShape& shape) {
  std::vector<std::string> names = {"\"id\"", "\"name\"", "\"description\""};
  for (const ColumnShape& column : shape.columns) {
    names.push_back(Quoted(column.name));
    if (column.kind == ColumnKind::kVariant) {
      names.push_back(Quoted((std::string(column.name) + "_vt").c_str()));
    }
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

std::string CreateTableSql(const TableShape& shape) {
  std::string sql = "CREATE TABLE IF NOT EXISTS " + Quoted(shape.table) +
                    " (\"id\" INTEGER PRIMARY KEY, \"name\" TEXT NOT NULL DEFAULT '', "
                    "\"description\" TEXT NOT NULL DEFAULT ''";
  for (const ColumnShape& column : shape.columns) sql += ", " + Declaration(column);
  sql += ");";
  if (shape.ownerColumn != nullptr) {
    sql += " CREATE INDEX IF NOT EXISTS " +
           Quoted((std::string(shape.table) + "_by_" + shape.ownerColumn).c_str()) + " ON " +
           Quoted(shape.table) + " (" + Quoted(shape.ownerColumn) + ");";
  }
  return sql;
}

std::string SelectSql(const TableShape& shape, bool byOwner) {
  std::string sql = "SELECT " + Joined(StoredNames(shape), "t.", "");
  if (shape.ownerColumn != nullptr) sql += ", o.\"name\"";
  sql += " FROM " + Quoted(shape.table) + " AS t";
  if (shape.ownerColumn != nullptr) {
    sql += " LEFT JOIN " + Quoted(shape.ownerTable) + " AS o ON o.\"id\" = t." +
           Quoted(shape.ownerColumn);
  }
  if (byOwner) sql += " WHERE t." + Quoted(shape.ownerColumn) + " = ?1";
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
