#include "config/config_manager.h"

#include <new>
#include <set>
#include <type_traits>
#include <vector>

#include "qmcfg/qmcfg.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

// The value that CfgReadAllTables expects as its third argument.
constexpr int32_t kReadAllTablesTag = 115;

// The General keys that a General save takes from the working set; every
// other key is written with its snapshot value.
constexpr std::u16string_view kSavedGeneralKeys[] = {kGeneralProjectId, kGeneralPreLaunch,
                                                    kGeneralPostLaunch};

// Copies the saved General keys that `from` holds into `to`.
void CopySavedGeneralKeys(const GeneralTable& from, GeneralTable* to) {
  for (std::u16string_view key : kSavedGeneralKeys) {
    auto found = from.find(std::u16string(key));
    if (found != from.end()) (*to)[found->first] = found->second;
  }
}

template <class Table>
Table& SlotTable(ConfigTableSet* set, std::unique_ptr<Table> ConfigTableSet::*slot) {
  std::unique_ptr<Table>& table = set->*slot;
  if (!table) table = std::make_unique<Table>();
  return *table;
}

// The slot number of a slot member.
template <class Member>
int SlotNumber(Member slot) {
  int number = -1;
  ForEachTableSlot([&](int candidate, auto member) {
    if constexpr (std::is_same_v<decltype(member), Member>) {
      if (member == slot) number = candidate;
    }
  });
  return number;
}

}  // namespace

CConfigManagerEx::~CConfigManagerEx() { Close(); }

int32_t CConfigManagerEx::Open(const char16_t* path, int32_t flags) {
  ConfigHandle handle = CfgOpenConfig(path, flags);
  if (handle == 0) return -1;
  flags_ = flags;
  std::u16string adopted;
  try {
    adopted = path ? path : u"";
  } catch (const std::bad_alloc&) {
    CfgCloseConfig(handle);
    return kOutOfMemory;
  }
  return Adopt(handle, std::move(adopted));
}

int32_t CConfigManagerEx::Save(int32_t tableNumber, int32_t subId) {
  if (handle_ == 0) return -1;
  CfgPrepareSave(handle_, &working_, tableNumber, subId);  // advisory; the write decides
  switch (tableNumber) {
    case kAllTables:
      return SaveAll();
    case kTableGeneral:
      return SaveGeneral();
    case kTableTimer:
      return SaveWholeTable(&ConfigTableSet::timers, CfgWriteTimers, CfgReadTimers);
    case kTableIo:
      return SaveWholeTable(&ConfigTableSet::ioPorts, CfgWriteIoPorts, CfgReadIoPorts);
    case kTableDatabase:
      return SaveWholeTable(&ConfigTableSet::databases, CfgWriteDatabases, CfgReadDatabases);
    case kTableUser:
      return SaveWholeTable(&ConfigTableSet::users, CfgWriteUsers, CfgReadUsers);
    case kTableOutput:
      return SaveWholeTable(&ConfigTableSet::outputs, CfgWriteOutputs, CfgReadOutputs);
    case kTableAlarm:
      return SaveWholeTable(&ConfigTableSet::alarms, CfgWriteAlarms, CfgReadAlarms);
    case kTableScript:
      return SaveWholeTable(&ConfigTableSet::scripts, CfgWriteScripts, CfgReadScripts);
    case kTableIoDevices:
      return SaveOwnedTable(&ConfigTableSet::ioDevices, subId, CfgWriteIoDevices,
                            CfgReadIoDevices, u"port_id = %ld",
                            [](const IoDeviceRecord& r) { return r.portId; });
    case kTableIoTags:
      return SaveOwnedTable(&ConfigTableSet::ioTags, subId, CfgWriteIoTags, CfgReadIoTags,
                            u"device_id = %ld",
                            [](const IoTagRecord& r) { return r.deviceId; });
    case 9:
    case 26:
      return -1;
    default:
      return 1;
  }
}

int32_t CConfigManagerEx::SaveAll() {
  int32_t result = CfgWriteAllTables(handle_, &working_, 0);
  if (result != 0) return result;
  Close();
  Reopen(path_);  // a failed reopen leaves the manager closed, still a success
  return 0;
}

int32_t CConfigManagerEx::SaveGeneral() {
  if (!working_.general) return kCfgIncompleteSet;
  GeneralTable toWrite = snapshot_.general ? *snapshot_.general : GeneralTable();
  CopySavedGeneralKeys(*working_.general, &toWrite);
  int32_t result = CfgWriteGeneral(handle_, &toWrite, 0);
  if (result != 0) return result;

  GeneralTable reread;
  result = CfgReadGeneral(handle_, &reread, 0, flags_);
  if (result != 0) return result;
  CopySavedGeneralKeys(reread, &SlotTable(&working_, &ConfigTableSet::general));
  CopySavedGeneralKeys(reread, &SlotTable(&snapshot_, &ConfigTableSet::general));
  return 0;
}

template <class Table, class Write, class Read>
int32_t CConfigManagerEx::SaveWholeTable(std::unique_ptr<Table> ConfigTableSet::*slot,
                                         Write write, Read read) {
  if (!(working_.*slot)) return kCfgIncompleteSet;
  Table& working = *(working_.*slot);
  int32_t result;
  if constexpr (std::is_invocable_v<Write, ConfigHandle, const Table*, int32_t, int32_t>) {
    result = write(handle_, &working, -1, 1);  // owned tables: negative owner = whole table
  } else {
    result = write(handle_, &working, 1);
  }
  if (result != 0) return result;

  // After a failed re-read the working table stays as the read left it and
  // the snapshot is untouched.
  working.clear();
  result = read(handle_, &working, 0, flags_, nullptr);
  if (result != 0) return result;
  return TakeSnapshotOf(slot);
}

template <class Table>
int32_t CConfigManagerEx::TakeSnapshotOf(std::unique_ptr<Table> ConfigTableSet::*slot) {
  if (snapshotHandedOut_) {
    SlotTable(&snapshot_, slot) = *(working_.*slot);
    return 0;
  }
  // The packed copy is replaced whole or not at all, so a failure leaves
  // the snapshot as it was.
  if (int32_t result = CfgPackTable(handle_, &working_, SlotNumber(slot))) return result;
  (snapshot_.*slot).reset();
  return 0;
}

template <class Table, class Write, class Read, class OwnerOf>
int32_t CConfigManagerEx::SaveOwnedTable(std::unique_ptr<Table> ConfigTableSet::*slot,
                                         int32_t ownerId, Write write, Read read,
                                         std::u16string_view filterFormat, OwnerOf ownerOf) {
  if (ownerId < 0) return SaveWholeTable(slot, write, read);
  if (!(working_.*slot)) return kCfgIncompleteSet;
  Table& working = *(working_.*slot);
  int32_t result = write(handle_, &working, ownerId, 1);
  if (result != 0) return result;

  // Only the keys that the working table held for this owner are replaced;
  // a record that moved to another owner in memory keeps its new place.
  std::vector<std::u16string> ownerKeys;
  for (const auto& [key, record] : working) {
    if (ownerOf(record) == ownerId) ownerKeys.push_back(key);
  }
  for (const std::u16string& key : ownerKeys) working.erase(key);

  std::u16string filter;
  FormatText(&filter, filterFormat, static_cast<int64_t>(ownerId));
  Table reread;
  result = read(handle_, &reread, 0, flags_, filter.c_str());
  if (result != 0) return result;

  working.insert(reread.begin(), reread.end());  // a present key keeps its record
  if (snapshot_.*slot) {
    Table& snapshot = *(snapshot_.*slot);
    for (const std::u16string& key : ownerKeys) snapshot.erase(key);
    snapshot.insert(reread.begin(), reread.end());
    return 0;
  }
  // The same update on the packed copy, which a failure leaves as it was.
  ConfigTableSet inserted;
  inserted.*slot = std::make_unique<Table>(std::move(reread));
  return CfgUpdatePackedTable(handle_, SlotNumber(slot), ownerKeys.data(),
                              static_cast<int32_t>(ownerKeys.size()), &inserted);
}

int32_t CConfigManagerEx::SaveAs(const char16_t* newPath) {
  if (newPath == nullptr) return -1;
  ConfigHandle target = CfgOpenConfig(newPath, 0);
  if (target == 0) return -2;
  // The new file is written through a handle of its own, which read
  // nothing; the refusal of a partly read set must come from ours.
  if (handle_ != 0 && CfgPrepareSave(handle_, &working_, kAllTables, -1) == kCfgUnreadTable) {
    CfgCloseConfig(target);
    return kCfgUnreadTable;
  }
  CfgPrepareSave(target, &working_, kAllTables, -1);
  int32_t result = handle_ != 0 ? CfgCopyKeptCells(target, handle_) : 0;
  if (result == 0) result = CfgWriteAllTables(target, &working_, 0);
  CfgCloseConfig(target);  // the write handle is not kept
  if (result != 0) return result;

  Close();
  Reopen(std::u16string(newPath));
  return 0;
}

bool CConfigManagerEx::Reopen(const std::u16string& path) {
  ConfigHandle handle = CfgOpenConfig(path.c_str(), flags_);
  if (handle == 0) return false;
  return Adopt(handle, path) == 0;
}

// One read fills the working set and the packed copy; the snapshot's
// General table, a few entries, is copied at once.
int32_t CConfigManagerEx::Adopt(ConfigHandle handle, std::u16string path) {
  working_.Free();
  snapshot_.Free();
  int32_t result = kOutOfMemory;
  try {
    working_.Renew();
    result = CfgReadAllTablesPacked(handle, &working_, kReadAllTablesTag);
    if (result != kOutOfMemory) {
      snapshot_.general = std::make_unique<GeneralTable>(*working_.general);
    }
  } catch (const std::bad_alloc&) {
    result = kOutOfMemory;
  }
  // Any other failure of the read leaves the tables it could read; the
  // store refuses to write over the others.
  if (result != kOutOfMemory) {
    handle_ = handle;
    path_ = std::move(path);
    if (!snapshotHandedOut_ || UnpackSnapshot()) return 0;
  }
  handle_ = handle;
  Close();
  return kOutOfMemory;
}

bool CConfigManagerEx::UnpackSnapshotTable(int slot) {
  if (handle_ == 0) return true;
  bool made = true;
  ForEachTableSlot([&](int number, auto member) {
    if (number != slot || number == kSlotGeneral || snapshot_.*member) return;
    try {
      snapshot_.*member = std::make_unique<SlotTableType<decltype(member)>>();
      if (CfgUnpackTable(handle_, &snapshot_, slot) == 0) {
        CfgDropPackedTable(handle_, slot);
        return;
      }
    } catch (const std::bad_alloc&) {
    }
    (snapshot_.*member).reset();
    made = false;
  });
  return made;
}

bool CConfigManagerEx::UnpackSnapshot() {
  for (int slot = kSlotGeneral + 1; slot < kSlotCount; ++slot) {
    if (!UnpackSnapshotTable(slot)) return false;
  }
  return true;
}

int32_t CConfigManagerEx::Close() {
  working_.Free();
  snapshot_.Free();
  if (handle_ != 0) {
    CfgCloseConfig(handle_);
    handle_ = 0;
  }
  return 0;
}

ConfigHandle CConfigManagerEx::GetConfigHandle() { return handle_; }

ConfigTableSet* CConfigManagerEx::GetTables(bool working) {
  if (working) return &working_;
  snapshotHandedOut_ = true;
  return UnpackSnapshot() ? &snapshot_ : nullptr;
}

ConfigTableSet* CConfigManagerEx::SnapshotWithTable(TableSlot slot) {
  return UnpackSnapshotTable(slot) ? &snapshot_ : nullptr;
}

void LoadTableSet(ConfigHandle handle, ConfigTableSet* set) {
  set->Free();
  set->Renew();
  CfgReadAllTables(handle, set, kReadAllTablesTag);  // its result means nothing here
}

CConfigManagerEx* CreateConfigManager(const std::u16string& path) {
  auto manager = std::make_unique<CConfigManagerEx>();
  if (manager->Open(path.c_str(), 0) != 0) return nullptr;
  return manager.release();
}

}  // namespace qm
