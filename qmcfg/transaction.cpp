#include "qmcfg/transaction.h"

#include "qmcfg/statement.h"

namespace qm::cfg {

int32_t Execute(sqlite3* db, const char* sql) {
  return SqliteCode(sqlite3_exec(db, sql, nullptr, nullptr, nullptr));
}

Transaction::~Transaction() {
  if (sqlite3_get_autocommit(db_) == 0) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

}  // namespace qm::cfg
