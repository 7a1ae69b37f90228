// The handles qmcfg gives out: numbers, never addresses. A number is given
// out once (never reused in the life of the process), so a closed handle
// stays invalid and is refused rather than dereferenced.
//
// Thread-safe. A store found here stays alive while its finder holds it,
// even if the handle is closed meanwhile.
#ifndef QMPECORE_QMCFG_HANDLES_H_
#define QMPECORE_QMCFG_HANDLES_H_

#include <memory>
#include <mutex>
#include <unordered_map>

#include "qmcfg/project_store.h"
#include "qmpecore/config_records.h"

namespace qm::cfg {

class HandleTable {
 public:
  // A new handle (never 0) for `store`.
  ConfigHandle Add(std::unique_ptr<ProjectStore> store);
  // The store of `handle`, or null when it was not given out or is closed.
  std::shared_ptr<ProjectStore> Find(ConfigHandle handle) const;
  // Closes `handle`; false when it was not open.
  bool Remove(ConfigHandle handle);

 private:
  mutable std::mutex mutex_;
  ConfigHandle last_ = 0;
  std::unordered_map<ConfigHandle, std::shared_ptr<ProjectStore>> stores_;
};

// The process's handle table.
HandleTable& Handles();

}  // namespace qm::cfg

#endif  // QMPECORE_QMCFG_HANDLES_H_
