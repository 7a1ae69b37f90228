// Which tables of a configuration a handle failed to read, and with which
// code. A caller that got only part of a table holds an incomplete copy:
// writing that copy back would delete every record the read missed, so a
// write of such a table is refused until a whole read of it succeeds.
//
// Not thread-safe: it belongs to one store (project_store.h).
#ifndef QMPECORE_QMCFG_UNREAD_TABLES_H_
#define QMPECORE_QMCFG_UNREAD_TABLES_H_

#include <array>
#include <cstdint>

#include "qmpecore/config_records.h"

namespace qm::cfg {

class UnreadTables {
 public:
  // A read of the table in `slot` (whole or filtered) failed with `code`.
  void MarkFailed(int slot, int32_t code) { codes_[static_cast<size_t>(slot)] = code; }
  // The whole table in `slot` was read.
  void MarkRead(int slot) { codes_[static_cast<size_t>(slot)] = 0; }
  // The code of the last failed read of each slot, 0 where none failed.
  const std::array<int32_t, kSlotCount>& codes() const { return codes_; }

  // kCfgUnreadTable when a write of `slot` (kAllTables: of every slot)
  // would replace a table that failed to read; else 0.
  int32_t RefuseWrite(int slot) const;

 private:
  std::array<int32_t, kSlotCount> codes_{};
};

}  // namespace qm::cfg

#endif  // QMPECORE_QMCFG_UNREAD_TABLES_H_
