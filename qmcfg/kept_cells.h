// The stored cells that a read could not take faithfully: a text in a
// number or date column, a number its field cannot hold, bytes that are not
// UTF-8, a value set whose text is not the one its values give, a variant
// of a type the layout does not know, NULL where the layout writes a value,
// a BLOB. The record gets the reader's best guess (0, U+FFFD, the members
// that parse, VT_EMPTY), but writing that guess back would replace what
// another tool stored. So the store keeps, for each such cell, the stored
// value itself and the packed form of the guess; a write of the record
// puts the stored value back while the member still holds the guess, and
// writes the member only once the application has changed it.
//
// The General table's rows are kept the same way, by the key they read as:
// a row that does not read back exactly (a BLOB, bytes that are not UTF-8),
// and every row of a key that two stored rows read as, go back as stored
// while the entry holds the value the read gave it.
//
// Not thread-safe: it belongs to one store (project_store.h).
#ifndef QMPECORE_QMCFG_KEPT_CELLS_H_
#define QMPECORE_QMCFG_KEPT_CELLS_H_

#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "qmpecore/config_records.h"

namespace qm::cfg {

struct ValueFree {
  void operator()(sqlite3_value* value) const { sqlite3_value_free(value); }
};
using StoredValue = std::unique_ptr<sqlite3_value, ValueFree>;

// A copy of a stored value, which outlives its statement; throws
// std::bad_alloc when SQLite cannot make it.
StoredValue CopyStoredValue(const sqlite3_value* value);

// One field of one record: its first statement parameter (the column
// after the id is 2; a variant spans two), the values stored there, and
// the field as the read gave it, packed.
struct KeptCell {
  int param = 0;
  std::vector<StoredValue> stored;
  std::vector<uint8_t> asRead;
};

// The stored rows of one General key, and the value the read gave the key.
struct KeptGeneralRows {
  std::vector<std::pair<StoredValue, StoredValue>> rows;  // key, value
  std::u16string valueAsRead;
};

class KeptCells {
 public:
  KeptCells() = default;
  KeptCells(const KeptCells&) = delete;
  KeptCells& operator=(const KeptCells&) = delete;

  // Forgets the cells of every record of `slot`, or of the record `id`.
  void Forget(int slot) { slots_[static_cast<size_t>(slot)].clear(); }
  void Forget(int slot, int32_t id) { slots_[static_cast<size_t>(slot)].erase(id); }
  void Keep(int slot, int32_t id, std::vector<KeptCell> cells) {
    slots_[static_cast<size_t>(slot)][id] = std::move(cells);
  }
  // The kept cells of record `id`, null when it has none.
  const std::vector<KeptCell>* Find(int slot, int32_t id) const;
  bool empty(int slot) const { return slots_[static_cast<size_t>(slot)].empty(); }
  // The number of cells kept in `slot`.
  size_t count(int slot) const;

  void ForgetGeneral() { general_.clear(); }
  void KeepGeneral(const std::u16string& key, KeptGeneralRows rows) {
    general_[key] = std::move(rows);
  }
  // The kept rows of the General key, null when it has none.
  const KeptGeneralRows* FindGeneral(const std::u16string& key) const;

  // Replaces every cell with a copy of those of `other`: a configuration
  // saved under a new path carries them along.
  void CopyFrom(const KeptCells& other);

 private:
  std::array<std::unordered_map<int32_t, std::vector<KeptCell>>, kSlotCount> slots_;
  std::map<std::u16string, KeptGeneralRows> general_;
};

}  // namespace qm::cfg

#endif  // QMPECORE_QMCFG_KEPT_CELLS_H_
