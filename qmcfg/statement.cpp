#include "qmcfg/statement.h"

#include "qmcfg/text_codec.h"

namespace qm::cfg {

int32_t SqliteCode(int rc) {
  if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE) return kCfgOk;
  return kCfgSqliteBase + (rc & 0xFF);
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

int32_t Statement::Prepare(sqlite3* db, std::string_view sql) {
  sqlite3_finalize(stmt_);
  stmt_ = nullptr;
  const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
  if (rc != SQLITE_OK) return SqliteCode(rc);
  buffers_.assign(static_cast<size_t>(sqlite3_bind_parameter_count(stmt_)) + 1, {});
  return kCfgOk;
}

int32_t Statement::Run() {
  int rc;
  do {
    rc = Step();
  } while (rc == SQLITE_ROW);
  Reset();
  return SqliteCode(rc);
}

void Statement::BindText(int param, std::u16string_view text) {
  std::string& buffer = buffers_[static_cast<size_t>(param)];
  TextToUtf8(text, &buffer);
  sqlite3_bind_text(stmt_, param, buffer.data(), static_cast<int>(buffer.size()), SQLITE_STATIC);
}

bool Statement::Text(int col, std::u16string* out) const {
  const int type = Type(col);  // asked before any conversion to text
  // A BLOB's bytes are taken as they are: converting it to text would make
  // the stored value a text, and a read must leave it as it is to keep it.
  const auto* bytes = reinterpret_cast<const char*>(
      type == SQLITE_BLOB ? sqlite3_column_blob(stmt_, col) : sqlite3_column_text(stmt_, col));
  if (type == SQLITE_BLOB && bytes == nullptr) {  // the empty BLOB
    out->clear();
    return false;
  }
  if (bytes == nullptr) {
    out->clear();
    return false;
  }
  const size_t size = static_cast<size_t>(sqlite3_column_bytes(stmt_, col));
  return Utf8ToText(std::string_view(bytes, size), out) && type == SQLITE_TEXT;
}

}  // namespace qm::cfg
