// Building configurations by hand and writing them to a project file.
#ifndef QMPECORE_TESTS_SUPPORT_CONFIG_SETS_H_
#define QMPECORE_TESTS_SUPPORT_CONFIG_SETS_H_

#include <string>

#include "qmcfg/qmcfg.h"

namespace qm::testing {

// The record keyed by `id`, with that id and name; the caller fills the rest.
template <class Record>
Record& AddRecord(RecordTable<Record>& table, int32_t id, std::u16string name) {
  Record& record = table[RecordKey(id)];
  record.head.id = id;
  record.head.name = std::move(name);
  return record;
}

// True when both sets hold equal tables in every slot (a null slot only
// equals a null slot).
inline bool SameTables(const ConfigTableSet& a, const ConfigTableSet& b) {
  bool same = true;
  ForEachTableSlot([&](int, auto member) {
    same = same && (a.*member == nullptr) == (b.*member == nullptr) &&
           (a.*member == nullptr || *(a.*member) == *(b.*member));
  });
  return same;
}

// Writes every table of `set` through a fresh handle; the write's code.
inline int32_t WriteProjectFile(const std::u16string& path, const ConfigTableSet& set) {
  const ConfigHandle handle = CfgOpenConfig(path.c_str(), 0);
  const int32_t code = CfgWriteAllTables(handle, &set, 0);
  CfgCloseConfig(handle);
  return code;
}

}  // namespace qm::testing

#endif  // QMPECORE_TESTS_SUPPORT_CONFIG_SETS_H_
