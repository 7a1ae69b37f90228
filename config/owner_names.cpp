#include "config/owner_names.h"

namespace qm {
namespace {

template <class Table, class OwnerOf, class NameOf>
void Rename(Table* owned, const OwnerNames& names, OwnerOf ownerOf, NameOf nameOf) {
  if (owned == nullptr) return;
  for (auto& [key, record] : *owned) {
    const auto found = names.find(ownerOf(record));
    if (found != names.end()) nameOf(record) = found->second;
  }
}

}  // namespace

std::optional<TableSlot> OwnedSlot(int32_t table) {
  if (table == kTableIo) return kSlotIoDevices;
  if (table == kTableIoDevices) return kSlotIoTags;
  return std::nullopt;
}

void SetOwnerNames(ConfigTableSet* set, int32_t table, const OwnerNames& names) {
  if (names.empty()) return;
  if (table == kTableIo) {
    Rename(
        set->ioDevices.get(), names, [](const IoDeviceRecord& device) { return device.portId; },
        [](IoDeviceRecord& device) -> std::u16string& { return device.portName; });
  } else if (table == kTableIoDevices) {
    Rename(
        set->ioTags.get(), names, [](const IoTagRecord& tag) { return tag.deviceId; },
        [](IoTagRecord& tag) -> std::u16string& { return tag.deviceName; });
  }
}

void PassOnOwnerNames(CConfigManagerEx* config, int32_t table, const OwnerNames& names) {
  const std::optional<TableSlot> owned = OwnedSlot(table);
  if (!owned || names.empty()) return;
  SetOwnerNames(config->GetTables(true), table, names);
  if (ConfigTableSet* snapshot = config->SnapshotWithTable(*owned)) {
    SetOwnerNames(snapshot, table, names);
  }
}

}  // namespace qm
