#include "qmcfg/unread_tables.h"

#include "qmcfg/qmcfg.h"

namespace qm::cfg {

int32_t UnreadTables::RefuseWrite(int slot) const {
  for (int current = 0; current < kSlotCount; ++current) {
    const bool written = slot == kAllTables || slot == current;
    if (written && codes_[static_cast<size_t>(current)] != 0) return kCfgUnreadTable;
  }
  return kCfgOk;
}

}  // namespace qm::cfg
