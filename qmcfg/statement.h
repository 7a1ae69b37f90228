// A prepared SQLite statement that owns its handle, binds UTF-16 text
// through per-parameter buffers (so a statement run once per record
// allocates nothing after the first few rows) and reads text back as
// UTF-16.
#ifndef QMPECORE_QMCFG_STATEMENT_H_
#define QMPECORE_QMCFG_STATEMENT_H_

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "qmcfg/qmcfg.h"

namespace qm::cfg {

// The qmcfg code of a SQLite result: 0 for SQLITE_OK, SQLITE_ROW and
// SQLITE_DONE, else 100 + the primary result code.
int32_t SqliteCode(int rc);

class Statement {
 public:
  Statement() = default;
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Prepares `sql` on `db`, replacing any earlier statement; a qmcfg code.
  int32_t Prepare(sqlite3* db, std::string_view sql);

  // Runs one step: SQLITE_ROW, SQLITE_DONE or an error result.
  int Step() { return sqlite3_step(stmt_); }
  // Runs the statement to its end and resets it; a qmcfg code.
  int32_t Run();
  void Reset() { sqlite3_reset(stmt_); }

  // Parameters are numbered from 1. Bound text stays in this object's
  // buffers until the parameter is bound again.
  void BindInt(int param, int64_t value) { sqlite3_bind_int64(stmt_, param, value); }
  void BindReal(int param, double value) { sqlite3_bind_double(stmt_, param, value); }
  void BindNull(int param) { sqlite3_bind_null(stmt_, param); }
  void BindText(int param, std::u16string_view text);

  // Columns are numbered from 0.
  int Type(int col) const { return sqlite3_column_type(stmt_, col); }
  int64_t Int(int col) const { return sqlite3_column_int64(stmt_, col); }
  double Real(int col) const { return sqlite3_column_double(stmt_, col); }
  // The column as text (NULL gives the empty text). True when binding
  // `out` back would store exactly what is stored: a TEXT whose bytes are
  // well-formed UTF-8 (as TextToUtf8 writes it).
  bool Text(int col, std::u16string* out) const;
  sqlite3_stmt* handle() const { return stmt_; }
  // The stored value itself, valid until the next step.
  sqlite3_value* Value(int col) const { return sqlite3_column_value(stmt_, col); }
  void BindValue(int param, const sqlite3_value* value) {
    sqlite3_bind_value(stmt_, param, value);
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
  std::vector<std::string> buffers_;  // one per parameter
};

}  // namespace qm::cfg

#endif  // QMPECORE_QMCFG_STATEMENT_H_
