#include "qmcfg/kept_cells.h"

#include <new>

namespace qm::cfg {

StoredValue CopyStoredValue(const sqlite3_value* value) {
  StoredValue copy(sqlite3_value_dup(value));
  if (!copy) throw std::bad_alloc();
  return copy;
}

const std::vector<KeptCell>* KeptCells::Find(int slot, int32_t id) const {
  const auto& cells = slots_[static_cast<size_t>(slot)];
  if (cells.empty()) return nullptr;
  const auto found = cells.find(id);
  return found == cells.end() ? nullptr : &found->second;
}

const KeptGeneralRows* KeptCells::FindGeneral(const std::u16string& key) const {
  if (general_.empty()) return nullptr;
  const auto found = general_.find(key);
  return found == general_.end() ? nullptr : &found->second;
}

size_t KeptCells::count(int slot) const {
  size_t total = 0;
  for (const auto& entry : slots_[static_cast<size_t>(slot)]) total += entry.second.size();
  return total;
}

void KeptCells::CopyFrom(const KeptCells& other) {
  for (size_t slot = 0; slot < slots_.size(); ++slot) {
    std::unordered_map<int32_t, std::vector<KeptCell>> copy;
    for (const auto& [id, cells] : other.slots_[slot]) {
      std::vector<KeptCell>& copied = copy[id];
      for (const KeptCell& cell : cells) {
        KeptCell& kept = copied.emplace_back();
        kept.param = cell.param;
        kept.asRead = cell.asRead;
        for (const StoredValue& value : cell.stored) {
          kept.stored.push_back(CopyStoredValue(value.get()));
        }
      }
    }
    slots_[slot] = std::move(copy);
  }
  std::map<std::u16string, KeptGeneralRows> general;
  for (const auto& [key, kept] : other.general_) {
    KeptGeneralRows& copied = general[key];
    copied.valueAsRead = kept.valueAsRead;
    for (const auto& [storedKey, storedValue] : kept.rows) {
      copied.rows.emplace_back(CopyStoredValue(storedKey.get()),
                               CopyStoredValue(storedValue.get()));
    }
  }
  general_ = std::move(general);
}

}  // namespace qm::cfg
