#include "config/owner_names.h"

namespace qm {

std::optional<TableSlot> OwnedSlot(int32_t table) {
  if (table == kTableIo) return kSlotIoDevices;
  if (table == kTableIoDevices) return kSlotIoTags;
  return std::nullopt;
}

void SetOwnerName(ConfigTableSet* set, int32_t table, int32_t id, const std::u16string& name) {
  if (table == kTableIo && set->ioDevices) {
    for (auto& [key, device] : *set->ioDevices) {
      if (device.portId == id) device.portName = name;
    }
  } else if (table == kTableIoDevices && set->ioTags) {
    for (auto& [key, tag] : *set->ioTags) {
      if (tag.deviceId == id) tag.deviceName = name;
    }
  }
}

}  // namespace qm
