// The exported operations of qmcfg. Each checks its handle and arguments,
// then hands the work to a ProjectStore inside one transaction. No
// exception leaves this file: Guarded turns them into codes.
#include <algorithm>
#include <array>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <vector>

#include "qmcfg/qmcfg.h"
#include "platform/file_names.h"
#include "qmcfg/general_table.h"
#include "qmcfg/handles.h"
#include "qmcfg/owner_filter.h"
#include "qmcfg/project_store.h"
#include "qmcfg/table_io.h"
#include "qmcfg/tables.h"

namespace qm {
namespace {

using cfg::ProjectStore;

template <class Op>
int32_t Guarded(Op&& op) noexcept {
  try {
    return op();
  } catch (const std::bad_alloc&) {
    return kCfgOutOfMemory;
  } catch (...) {
    return kCfgInternalError;
  }
}

// Runs `op(store)` on the store of `handle`, or answers kCfgBadHandle.
template <class Op>
int32_t WithStore(ConfigHandle handle, Op&& op) noexcept {
  return Guarded([&]() -> int32_t {
    std::shared_ptr<ProjectStore> store = cfg::Handles().Find(handle);
    return store == nullptr ? kCfgBadHandle : op(*store);
  });
}

bool IsComplete(const ConfigTableSet& set) {
  return set.general != nullptr &&
         cfg::ForEachRecordSlot([&](auto member) { return set.*member == nullptr; }) == 0;
}

// Remembers the outcome of a read of `slot` on `store`: a failure marks
// the table unread; only a whole read clears the mark.
void NoteRead(ProjectStore& store, int slot, int32_t code, bool whole) {
  if (code != kCfgOk) {
    store.unread().MarkFailed(slot, code);
  } else if (whole) {
    store.unread().MarkRead(slot);
  }
}

template <class Record>
int32_t ReadTable(ConfigHandle handle, RecordTable<Record>* table, const char16_t* filter) {
  return WithStore(handle, [&](ProjectStore& store) -> int32_t {
    if (table == nullptr) return kCfgBadArgument;
    const auto& owner = cfg::SchemaOf<Record>().owner;
    std::optional<int32_t> ownerId;
    if (int32_t code = cfg::ParseOwnerFilter(filter, owner ? owner->column : nullptr, &ownerId)) {
      return code;
    }
    const int32_t code =
        store.Read([&](sqlite3* db) { return cfg::ReadRecords(db, ownerId, table, &store.kept()); });
    NoteRead(store, cfg::SlotOf<Record>(), code, !ownerId.has_value());
    return code;
  });
}

template <class Record>
int32_t WriteTable(ConfigHandle handle, const RecordTable<Record>* table,
                   std::optional<int32_t> ownerId) {
  return WithStore(handle, [&](ProjectStore& store) -> int32_t {
    if (table == nullptr) return kCfgBadArgument;
    if (int32_t code = store.unread().RefuseWrite(cfg::SlotOf<Record>())) return code;
    std::vector<int32_t> ids;
    if (int32_t code = cfg::CheckRecords(*table, &ids)) return code;
    return store.Write(
        [&](sqlite3* db) { return cfg::WriteRecords(db, *table, ids, ownerId, store.kept()); });
  });
}

// The owner id of a per-owner write: a negative id means the whole table.
std::optional<int32_t> OwnerOf(int32_t ownerId) {
  return ownerId < 0 ? std::nullopt : std::optional<int32_t>(ownerId);
}

// The checks of a write of the record table in `slot` (every slot for
// kAllTables); General has none.
int32_t CheckSlots(const ConfigTableSet& set, int slot) {
  int current = kSlotGeneral;
  return cfg::ForEachRecordSlot([&](auto member) -> int32_t {
    ++current;
    if (slot != kAllTables && slot != current) return kCfgOk;
    std::vector<int32_t> ids;
    return cfg::CheckRecords(*(set.*member), &ids);
  });
}

// The work of CfgReadAllTables and CfgReadAllTablesPacked: with `packed`,
// the store's copies become exactly what the read put into `set`.
int32_t ReadAllTables(ConfigHandle handle, ConfigTableSet* set, bool packed) {
  return WithStore(handle, [&](ProjectStore& store) -> int32_t {
    if (set == nullptr) return kCfgBadArgument;
    if (!IsComplete(*set)) return kCfgIncompleteSet;
    if (packed) {
      for (cfg::PackedTable& copy : store.packed()) copy.Clear();
    }
    // Each table is read on its own, so one damaged table costs only
    // itself; its code is kept for the writes it must refuse.
    std::array<int32_t, kSlotCount> codes{};
    bool tablesRead = false;
    int32_t code = store.Read([&](sqlite3* db) -> int32_t {
      tablesRead = true;
      // Out of memory in one table is noted as that table's failure, so the
      // tables that could not be read whole are known all the same.
      codes[kSlotGeneral] =
          Guarded([&] { return cfg::ReadGeneral(db, set->general.get(), &store.kept()); });
      int slot = kSlotGeneral;
      cfg::ForEachRecordSlot([&](auto member) {
        ++slot;
        cfg::PackedTable* copy = packed ? &store.packed()[static_cast<size_t>(slot)] : nullptr;
        codes[static_cast<size_t>(slot)] = Guarded(
            [&] { return cfg::ReadRecords(db, std::nullopt, (set->*member).get(), &store.kept(), copy); });
        return kCfgOk;
      });
      return kCfgOk;
    });
    for (int slot = kSlotGeneral; slot < kSlotCount; ++slot) {
      // A store that could not begin the read read no table at all.
      const int32_t tableCode = tablesRead ? codes[static_cast<size_t>(slot)] : code;
      NoteRead(store, slot, tableCode, true);
      if (code == kCfgOk || tableCode == kCfgOutOfMemory) code = tableCode;
    }
    return code;
  });
}

// Calls `op(member)` with the slot member of record slot `slot`;
// kCfgBadArgument for General and numbers that name no slot.
template <class Op>
int32_t WithRecordSlot(int32_t slot, Op&& op) {
  int current = kSlotGeneral;
  bool found = false;
  const int32_t code = cfg::ForEachRecordSlot([&](auto member) -> int32_t {
    if (++current != slot) return kCfgOk;
    found = true;
    return op(member);
  });
  return found ? code : kCfgBadArgument;
}

}  // namespace

ConfigHandle CfgOpenConfig(const char16_t* path, int32_t /*flags*/) {
  if (path == nullptr) return 0;
  try {
    std::unique_ptr<ProjectStore> store;
    if (ProjectStore::Open(platform::TextToNativeName(path), &store) != kCfgOk) return 0;
    return cfg::Handles().Add(std::move(store));
  } catch (...) {
    return 0;
  }
}

int32_t CfgCloseConfig(ConfigHandle handle) {
  return Guarded([&] { return cfg::Handles().Remove(handle) ? kCfgOk : kCfgBadHandle; });
}

int32_t CfgReadAllTables(ConfigHandle handle, ConfigTableSet* set, int32_t) {
  return ReadAllTables(handle, set, false);
}

int32_t CfgReadAllTablesPacked(ConfigHandle handle, ConfigTableSet* set, int32_t) {
  return ReadAllTables(handle, set, true);
}

int32_t CfgPackTable(ConfigHandle handle, const ConfigTableSet* set, int32_t slot) {
  return WithStore(handle, [&](ProjectStore& store) -> int32_t {
    if (set == nullptr) return kCfgBadArgument;
    return WithRecordSlot(slot, [&](auto member) -> int32_t {
      if (!(set->*member)) return kCfgIncompleteSet;
      store.packed()[static_cast<size_t>(slot)].Assign(*(set->*member));
      return kCfgOk;
    });
  });
}

int32_t CfgUnpackTable(ConfigHandle handle, ConfigTableSet* set, int32_t slot) {
  return WithStore(handle, [&](ProjectStore& store) -> int32_t {
    if (set == nullptr) return kCfgBadArgument;
    return WithRecordSlot(slot, [&](auto member) -> int32_t {
      if (!(set->*member)) return kCfgIncompleteSet;
      store.packed()[static_cast<size_t>(slot)].Unpack((set->*member).get());
      return kCfgOk;
    });
  });
}

int32_t CfgDropPackedTable(ConfigHandle handle, int32_t slot) {
  return WithStore(handle, [&](ProjectStore& store) -> int32_t {
    if (slot == kAllTables) {
      for (cfg::PackedTable& copy : store.packed()) copy.Clear();
      return kCfgOk;
    }
    return WithRecordSlot(slot, [&](auto) -> int32_t {
      store.packed()[static_cast<size_t>(slot)].Clear();
      return kCfgOk;
    });
  });
}

int32_t CfgUpdatePackedTable(ConfigHandle handle, int32_t slot, const std::u16string* erased,
                             int32_t erasedCount, const ConfigTableSet* inserted) {
  return WithStore(handle, [&](ProjectStore& store) -> int32_t {
    if (inserted == nullptr || erasedCount < 0 || (erased == nullptr && erasedCount > 0)) {
      return kCfgBadArgument;
    }
    const std::span<const std::u16string> keys(erased, static_cast<size_t>(erasedCount));
    if (!std::is_sorted(keys.begin(), keys.end())) return kCfgBadArgument;
    return WithRecordSlot(slot, [&](auto member) -> int32_t {
      if (!(inserted->*member)) return kCfgIncompleteSet;
      store.packed()[static_cast<size_t>(slot)].EraseAndInsert(keys, *(inserted->*member));
      return kCfgOk;
    });
  });
}

int32_t CfgCopyKeptCells(ConfigHandle target, ConfigHandle source) {
  return WithStore(source, [&](ProjectStore& from) -> int32_t {
    return WithStore(target, [&](ProjectStore& to) -> int32_t {
      if (&to != &from) to.kept().CopyFrom(from.kept());
      return kCfgOk;
    });
  });
}

int32_t CfgReadGeneral(ConfigHandle handle, GeneralTable* table, int32_t, int32_t) {
  return WithStore(handle, [&](ProjectStore& store) -> int32_t {
    if (table == nullptr) return kCfgBadArgument;
    const int32_t code =
        store.Read([&](sqlite3* db) { return cfg::ReadGeneral(db, table, &store.kept()); });
    NoteRead(store, kSlotGeneral, code, true);
    return code;
  });
}

int32_t CfgReadTimers(ConfigHandle h, TimerTable* t, int32_t, int32_t, const char16_t* filter) {
  return ReadTable(h, t, filter);
}
int32_t CfgReadDatabases(ConfigHandle h, DatabaseTable* t, int32_t, int32_t,
                         const char16_t* filter) {
  return ReadTable(h, t, filter);
}
int32_t CfgReadUsers(ConfigHandle h, UserTable* t, int32_t, int32_t, const char16_t* filter) {
  return ReadTable(h, t, filter);
}
int32_t CfgReadIoPorts(ConfigHandle h, IoPortTable* t, int32_t, int32_t, const char16_t* filter) {
  return ReadTable(h, t, filter);
}
int32_t CfgReadIoDevices(ConfigHandle h, IoDeviceTable* t, int32_t, int32_t,
                         const char16_t* filter) {
  return ReadTable(h, t, filter);
}
int32_t CfgReadIoTags(ConfigHandle h, IoTagTable* t, int32_t, int32_t, const char16_t* filter) {
  return ReadTable(h, t, filter);
}
int32_t CfgReadOutputs(ConfigHandle h, OutputTable* t, int32_t, int32_t, const char16_t* filter) {
  return ReadTable(h, t, filter);
}
int32_t CfgReadAlarms(ConfigHandle h, AlarmTable* t, int32_t, int32_t, const char16_t* filter) {
  return ReadTable(h, t, filter);
}
int32_t CfgReadScripts(ConfigHandle h, ScriptTable* t, int32_t, int32_t, const char16_t* filter) {
  return ReadTable(h, t, filter);
}

int32_t CfgWriteAllTables(ConfigHandle handle, const ConfigTableSet* set, int32_t) {
  return WithStore(handle, [&](ProjectStore& store) -> int32_t {
    if (set == nullptr) return kCfgBadArgument;
    if (!IsComplete(*set)) return kCfgIncompleteSet;
    if (int32_t code = store.unread().RefuseWrite(kAllTables)) return code;
    // Every table is checked before the transaction begins, so a refused
    // set writes nothing (and creates no file).
    std::vector<std::vector<int32_t>> ids(kSlotCount);
    int slot = kSlotGeneral;
    int32_t code = cfg::ForEachRecordSlot(
        [&](auto member) { return cfg::CheckRecords(*(set->*member), &ids[++slot]); });
    if (code != kCfgOk) return code;
    return store.Write([&](sqlite3* db) -> int32_t {
      if (int32_t failed = cfg::WriteGeneral(db, *set->general, store.kept())) return failed;
      int written = kSlotGeneral;
      return cfg::ForEachRecordSlot([&](auto member) {
        return cfg::WriteRecords(db, *(set->*member), ids[++written], std::nullopt, store.kept());
      });
    });
  });
}

int32_t CfgWriteGeneral(ConfigHandle handle, const GeneralTable* table, int32_t) {
  return WithStore(handle, [&](ProjectStore& store) -> int32_t {
    if (table == nullptr) return kCfgBadArgument;
    if (int32_t code = store.unread().RefuseWrite(kSlotGeneral)) return code;
    return store.Write([&](sqlite3* db) { return cfg::WriteGeneral(db, *table, store.kept()); });
  });
}

int32_t CfgWriteTimers(ConfigHandle h, const TimerTable* t, int32_t) {
  return WriteTable(h, t, std::nullopt);
}
int32_t CfgWriteDatabases(ConfigHandle h, const DatabaseTable* t, int32_t) {
  return WriteTable(h, t, std::nullopt);
}
int32_t CfgWriteUsers(ConfigHandle h, const UserTable* t, int32_t) {
  return WriteTable(h, t, std::nullopt);
}
int32_t CfgWriteIoPorts(ConfigHandle h, const IoPortTable* t, int32_t) {
  return WriteTable(h, t, std::nullopt);
}
int32_t CfgWriteIoDevices(ConfigHandle h, const IoDeviceTable* t, int32_t ownerId, int32_t) {
  return WriteTable(h, t, OwnerOf(ownerId));
}
int32_t CfgWriteIoTags(ConfigHandle h, const IoTagTable* t, int32_t ownerId, int32_t) {
  return WriteTable(h, t, OwnerOf(ownerId));
}
int32_t CfgWriteOutputs(ConfigHandle h, const OutputTable* t, int32_t) {
  return WriteTable(h, t, std::nullopt);
}
int32_t CfgWriteAlarms(ConfigHandle h, const AlarmTable* t, int32_t) {
  return WriteTable(h, t, std::nullopt);
}
int32_t CfgWriteScripts(ConfigHandle h, const ScriptTable* t, int32_t) {
  return WriteTable(h, t, std::nullopt);
}

int32_t CfgPrepareSave(ConfigHandle handle, const ConfigTableSet* set, int32_t tableNumber,
                       int32_t /*subId*/) {
  return WithStore(handle, [&](ProjectStore& store) -> int32_t {
    if (set == nullptr) return kCfgBadArgument;
    if (!IsComplete(*set)) return kCfgIncompleteSet;
    std::optional<int> slot;
    if (tableNumber == kAllTables) slot = kAllTables;
    for (const GridTable& table : kGridTables) {
      if (table.number == tableNumber) slot = table.slot;
    }
    if (!slot) return kCfgBadArgument;
    if (int32_t code = store.unread().RefuseWrite(*slot)) return code;
    if (int32_t code = CheckSlots(*set, *slot)) return code;
    return store.ReadOnly() ? kCfgReadOnly : kCfgOk;
  });
}

int32_t CfgGetUnreadTables(ConfigHandle handle, int32_t* codes) {
  return WithStore(handle, [&](ProjectStore& store) -> int32_t {
    if (codes == nullptr) return kCfgBadArgument;
    std::copy(store.unread().codes().begin(), store.unread().codes().end(), codes);
    return kCfgOk;
  });
}

}  // namespace qm
