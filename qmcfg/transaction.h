// One SQLite transaction, rolled back unless committed.
#ifndef QMPECORE_QMCFG_TRANSACTION_H_
#define QMPECORE_QMCFG_TRANSACTION_H_

#include <sqlite3.h>

#include <cstdint>

namespace qm::cfg {

// Runs `sql` (one or more statements without results); a qmcfg code.
int32_t Execute(sqlite3* db, const char* sql);

class Transaction {
 public:
  explicit Transaction(sqlite3* db) : db_(db) {}
  // Rolls back whatever is still open: after a failed step or a failed
  // commit alike, so no half-written state outlives the transaction.
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  // "BEGIN" for reads, "BEGIN IMMEDIATE" for writes (which takes the
  // write lock up front, so a busy file fails before any work is done).
  int32_t Begin(const char* sql) { return Execute(db_, sql); }
  int32_t Commit() { return Execute(db_, "COMMIT"); }

 private:
  sqlite3* db_;
};

}  // namespace qm::cfg

#endif  // QMPECORE_QMCFG_TRANSACTION_H_
