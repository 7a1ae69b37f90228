#include "qmcfg/handles.h"

namespace qm::cfg {

ConfigHandle HandleTable::Add(std::unique_ptr<ProjectStore> store) {
  std::lock_guard<std::mutex> lock(mutex_);
  stores_.emplace(++last_, std::move(store));
  return last_;
}

std::shared_ptr<ProjectStore> HandleTable::Find(ConfigHandle handle) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = stores_.find(handle);
  return found == stores_.end() ? nullptr : found->second;
}

bool HandleTable::Remove(ConfigHandle handle) {
  std::shared_ptr<ProjectStore> closing;  // released outside the lock
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = stores_.find(handle);
  if (found == stores_.end()) return false;
  closing = std::move(found->second);
  stores_.erase(found);
  return true;
}

HandleTable& Handles() {
  static HandleTable* table = new HandleTable();  // never destroyed: usable until exit
  return *table;
}

}  // namespace qm::cfg
