// CConfigManagerEx: one project configuration opened through qmcfg, held as
// a working set (which the application edits in place and the find reads)
// and a snapshot set (as last read from the store).
//
// Not thread-safe: one thread at a time, like everything an editor owns.
#ifndef QMPECORE_CONFIG_CONFIG_MANAGER_H_
#define QMPECORE_CONFIG_CONFIG_MANAGER_H_

#include <cstdint>
#include <string>

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
  // 0, or -1 when qmcfg cannot open the path (nothing changes then).
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
  virtual ConfigTableSet* GetTables(bool working);

 private:
  int32_t SaveAll();
  int32_t SaveGeneral();
  template <class Table, class Write, class Read>
  int32_t SaveWholeTable(std::unique_ptr<Table> ConfigTableSet::*slot, Write write, Read read);
  template <class Table, class Write, class Read, class OwnerOf>
  int32_t SaveOwnedTable(std::unique_ptr<Table> ConfigTableSet::*slot, int32_t ownerId,
                         Write write, Read read, std::u16string_view filterFormat,
                         OwnerOf ownerOf);
  // Opens `path` with flags_ and loads both sets from it; false (closed)
  // when the store cannot open it.
  bool Reopen(const std::u16string& path);
  // Loads both sets from an open handle and makes it and `path` current.
  void Adopt(ConfigHandle handle, std::u16string path);

  std::u16string path_;
  int32_t flags_ = 0;
  ConfigHandle handle_ = 0;
  ConfigTableSet working_;
  ConfigTableSet snapshot_;
};

// Constructs a manager and opens `path` with flags 0; null when that fails.
CConfigManagerEx* CreateConfigManager(const std::u16string& path);

// Fills `set` afresh with every table of the open project file `handle`
// that can be read, as the manager loads each of its sets; the store keeps
// which tables could not be read.
void LoadTableSet(ConfigHandle handle, ConfigTableSet* set);

}  // namespace qm

#endif  // QMPECORE_CONFIG_CONFIG_MANAGER_H_
