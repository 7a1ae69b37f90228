// CConfigManagerEx: one project configuration opened through qmcfg, held as
// a working set (which the application edits in place and the find reads)
// and a snapshot set (as last read from the store).
//
// The project is read once per load. Until the application first asks for
// the snapshot set's address, its record tables stay in the store's packed
// copy of what that read gave (a fraction of the memory of the maps) and
// are made into maps only when an operation needs one; from that first
// request on, every load makes them all at once, since the application may
// read them through the address it holds at any time.
//
// Not thread-safe: one thread at a time, like everything an editor owns.
#ifndef QMPECORE_CONFIG_CONFIG_MANAGER_H_
#define QMPECORE_CONFIG_CONFIG_MANAGER_H_

#include <cstdint>
#include <string>

#include "qmcfg/qmcfg.h"
#include "qmpecore/config_records.h"

namespace qm {

class CConfigManagerEx {
 public:
  // Closed: empty path, flags 0, handle 0, both sets without tables.
  CConfigManagerEx() = default;
  CConfigManagerEx(const CConfigManagerEx&) = delete;
  CConfigManagerEx& operator=(const CConfigManagerEx&) = delete;

  // The virtual operations, in their fixed slot order.
  virtual ~CConfigManagerEx();
  // 0, -1 when qmcfg cannot open the path (nothing changes then), or
  // kOutOfMemory when the project does not fit in memory (the manager is
  // left closed).
  virtual int32_t Open(const char16_t* path, int32_t flags);
  // Writes the working set (-1: all tables; a table number: that table;
  // 20/21 with subId >= 0: the devices of one port, the tags of one device)
  // and reads what was written back. 0, -1 (closed, or table 9 or 26),
  // 1 (any other unknown table), kCfgIncompleteSet (the table's working
  // slot is null: not an empty table, so nothing is written, as a whole
  // save refuses a set with a null slot) or the failing qmcfg code.
  virtual int32_t Save(int32_t tableNumber, int32_t subId);
  // Writes the working set to a new file and reopens there. 0, -1 (null
  // path), -2 (the new path cannot be opened; nothing changes) or the
  // failing write's code (the manager keeps its configuration).
  virtual int32_t SaveAs(const char16_t* newPath);
  // Frees both sets and releases the handle; path and flags stay.
  virtual int32_t Close();
  virtual ConfigHandle GetConfigHandle();
  // The address of a member set: valid as long as this object, while the
  // tables in its slots are replaced by Open, Save(-1), SaveAs and Close.
  // Null only when the snapshot's tables cannot be made for lack of memory.
  virtual ConfigTableSet* GetTables(bool working);

  // The snapshot set with the table of `slot` made, for the core's own
  // edits of the snapshot; other record slots may still be packed (null).
  // Unlike GetTables(false), it hands nothing to the application. Null
  // when memory runs out.
  ConfigTableSet* SnapshotWithTable(TableSlot slot);

  // What Open answers when the project does not fit in memory: the store's
  // code for it.
  static constexpr int32_t kOutOfMemory = kCfgOutOfMemory;

 private:
  int32_t SaveAll();
  int32_t SaveGeneral();
  template <class Table, class Write, class Read>
  int32_t SaveWholeTable(std::unique_ptr<Table> ConfigTableSet::*slot, Write write, Read read);
  // After a whole table was read back into the working set: the snapshot's
  // table becomes a copy of it (packed while the snapshot is not handed
  // out); a qmcfg code.
  template <class Table>
  int32_t TakeSnapshotOf(std::unique_ptr<Table> ConfigTableSet::*slot);
  template <class Table, class Write, class Read, class OwnerOf>
  int32_t SaveOwnedTable(std::unique_ptr<Table> ConfigTableSet::*slot, int32_t ownerId,
                         Write write, Read read, std::u16string_view filterFormat,
                         OwnerOf ownerOf);
  // Opens `path` with flags_ and loads both sets from it; false (closed)
  // when the store cannot open it or the project does not fit in memory.
  bool Reopen(const std::u16string& path);
  // Loads both sets from an open handle and makes it and `path` current:
  // 0, or kOutOfMemory, when the handle is released and the manager closed.
  int32_t Adopt(ConfigHandle handle, std::u16string path);
  // Makes the snapshot table of `slot` from the packed copy when it is
  // still there; false when memory runs out (the copy then stays).
  bool UnpackSnapshotTable(int slot);
  bool UnpackSnapshot();

  std::u16string path_;
  int32_t flags_ = 0;
  ConfigHandle handle_ = 0;
  ConfigTableSet working_;
  // Invariant: while a configuration is open, a null record slot here is
  // held by the store's packed copy of that slot, and only then is that
  // copy not empty. General is never packed.
  ConfigTableSet snapshot_;
  bool snapshotHandedOut_ = false;  // GetTables(false) has given its address
};

// Constructs a manager and opens `path` with flags 0; null when that fails.
CConfigManagerEx* CreateConfigManager(const std::u16string& path);

// Fills `set` afresh with every table of the open project file `handle`
// that can be read, as the manager loads each of its sets; the store keeps
// which tables could not be read.
void LoadTableSet(ConfigHandle handle, ConfigTableSet* set);

}  // namespace qm

#endif  // QMPECORE_CONFIG_CONFIG_MANAGER_H_
