// The tables of a project file as stored, read afresh through a handle of
// their own: what a test compares with after a save, a rename or an import.
#ifndef QMPECORE_TESTS_SUPPORT_STORED_TABLES_H_
#define QMPECORE_TESTS_SUPPORT_STORED_TABLES_H_

#include <string>

#include "config/config_manager.h"
#include "qmcfg/qmcfg.h"

namespace qm::testing {

inline ConfigTableSet StoredTables(const std::u16string& projectPath) {
  ConfigTableSet set;
  const ConfigHandle handle = CfgOpenConfig(projectPath.c_str(), 0);
  LoadTableSet(handle, &set);
  CfgCloseConfig(handle);
  return set;
}

}  // namespace qm::testing

#endif  // QMPECORE_TESTS_SUPPORT_STORED_TABLES_H_
