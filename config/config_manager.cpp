#include "config/config_manager.h"

#include <set>
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

}  // namespace

CConfigManagerEx::~CConfigManagerEx() { Close(); }

int32_t CConfigManagerEx::Open(const char16_t* path, int32_t flags) {
  ConfigHandle handle = CfgOpenConfig(path, flags);
  if (handle == 0) return -1;
  flags_ = flags;
  Adopt(handle, path ? path : u"");
  return 0;
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
  SlotTable(&snapshot_, slot) = working;
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
  Table& snapshot = SlotTable(&snapshot_, slot);
  for (const std::u16string& key : ownerKeys) snapshot.erase(key);
  snapshot.insert(reread.begin(), reread.end());
  return 0;
}

int32_t CConfigManagerEx::SaveAs(const char16_t* newPath) {
  if (newPath == nullptr) return -1;
  // The new file is written through a handle of its own, which read
  // nothing; the refusal of a partly read set must come from ours.
  if (handle_ != 0 && CfgPrepareSave(handle_, &working_, kAllTables, -1) == kCfgUnreadTable) {
    return kCfgUnreadTable;
  }
  ConfigHandle target = CfgOpenConfig(newPath, 0);
  if (target == 0) return -2;
  CfgPrepareSave(target, &working_, kAllTables, -1);
  int32_t result = CfgWriteAllTables(target, &working_, 0);
  CfgCloseConfig(target);  // the write handle is not kept
  if (result != 0) return result;

  Close();
  Reopen(std::u16string(newPath));
  return 0;
}

bool CConfigManagerEx::Reopen(const std::u16string& path) {
  ConfigHandle handle = CfgOpenConfig(path.c_str(), flags_);
  if (handle == 0) return false;
  Adopt(handle, path);
  return true;
}

void CConfigManagerEx::Adopt(ConfigHandle handle, std::u16string path) {
  LoadTableSet(handle, &working_);
  LoadTableSet(handle, &snapshot_);
  handle_ = handle;
  path_ = std::move(path);
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
  return working ? &working_ : &snapshot_;
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
