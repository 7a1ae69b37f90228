// The planned edits of one record table, typed: what an import adds,
// changes and removes. A changed record is held once: the new one until
// the edits are made, then (swapped with the table's) the old one, so
// that the edits can be undone; what the table held when the plan was
// made is known by its fingerprint.
#ifndef QMPECORE_EXCHANGE_TABLE_EDITS_H_
#define QMPECORE_EXCHANGE_TABLE_EDITS_H_

#include <utility>
#include <vector>

#include "exchange/import_preview.h"
#include "exchange/record_cells.h"
#include "find/tables/record_tables.h"

namespace qm::exchange {

template <class Record>
class RecordEdits : public TableEdits {
 public:
  explicit RecordEdits(int32_t tableNumber) : tableNumber_(tableNumber) {}

  bool StillApplies(const ConfigTableSet& set) const override {
    const RecordTable<Record>* table = TableIn(set);
    if (table == nullptr || table->size() != sizeBefore || made_) return false;
    const auto holds = [&](int32_t id, uint64_t fingerprint) {
      const auto found = table->find(RecordKey(id));
      return found != table->end() && RecordFingerprint(found->second) == fingerprint;
    };
    for (size_t i = 0; i < changed.size(); ++i) {
      if (!holds(changed[i].head.id, fingerprints[i])) return false;
    }
    for (const Record& record : removed) {
      if (!holds(record.head.id, RecordFingerprint(record))) return false;
    }
    for (const Record& record : added) {
      if (table->count(RecordKey(record.head.id)) != 0) return false;
    }
    return true;
  }

  void Make(ConfigTableSet* set) override {
    RecordTable<Record>& table = *TableIn(*set);
    for (Record& record : changed) std::swap(table.at(RecordKey(record.head.id)), record);
    for (const Record& record : added) table.emplace(RecordKey(record.head.id), record);
    for (const Record& record : removed) table.erase(RecordKey(record.head.id));
    made_ = true;
  }

  void Undo(ConfigTableSet* set) override {
    RecordTable<Record>* table = TableIn(*set);
    if (table == nullptr || !made_) return;
    for (const Record& record : added) table->erase(RecordKey(record.head.id));
    for (Record& record : changed) std::swap((*table)[RecordKey(record.head.id)], record);
    for (const Record& record : removed) table->emplace(RecordKey(record.head.id), record);
    made_ = false;
  }

  size_t sizeBefore = 0;
  std::vector<Record> added;
  std::vector<Record> changed;  // the new records, until made
  std::vector<uint64_t> fingerprints;  // of the records that `changed` replaces
  std::vector<Record> removed;

 private:
  RecordTable<Record>* TableIn(const ConfigTableSet& set) const {
    RecordTable<Record>* found = nullptr;
    WithRecordTable(tableNumber_, set, [&](auto* table, const auto&) {
      if constexpr (std::is_same_v<decltype(table), RecordTable<Record>*>) found = table;
    });
    return found;
  }

  int32_t tableNumber_;
  bool made_ = false;
};

}  // namespace qm::exchange

#endif  // QMPECORE_EXCHANGE_TABLE_EDITS_H_
