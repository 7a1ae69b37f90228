#include "qmcfg/table_io.h"

namespace qm::cfg {

// The stored ids are collected first and deleted after, so no row is
// deleted under the cursor that walks them.
int32_t DeleteGoneRows(sqlite3* db, const TableShape& shape, const std::vector<int32_t>& keep,
                       std::optional<int32_t> owner) {
  Statement select;
  if (int32_t code = select.Prepare(db, IdsSql(shape, owner.has_value()))) return code;
  if (owner) select.BindInt(1, *owner);
  std::vector<int64_t> gone;
  auto next = keep.begin();
  int rc;
  while ((rc = select.Step()) == SQLITE_ROW) {
    const int64_t id = select.Int(0);
    next = std::lower_bound(next, keep.end(), id);
    if (next == keep.end() || *next != id) gone.push_back(id);
  }
  if (int32_t code = SqliteCode(rc)) return code;
  if (gone.empty()) return kCfgOk;
  Statement remove;
  if (int32_t code = remove.Prepare(db, DeleteSql(shape))) return code;
  for (int64_t id : gone) {
    remove.BindInt(1, id);
    if (int32_t code = remove.Run()) return code;
  }
  return kCfgOk;
}

}  // namespace qm::cfg
