// The planned edits of one record table, typed: what an import adds,
// changes (each record before and after) and removes.
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
    if (table == nullptr || table->size() != sizeBefore) return false;
    ReferredRecords referred(set);
    RecordCells<Record> cells(&referred);
    // Equal cells are an equal record, even where == is not (a NaN).
    const auto same = [&](const Record& a, const Record& b) {
      if (a == b) return true;
      bool equal = true;
      std::string one, other;
      ForEachColumn<Record>([&](ColumnOfField column) {
        one.clear();
        other.clear();
        cells.Render(a, column, &one);
        cells.Render(b, column, &other);
        equal = equal && one == other;
      });
      return equal;
    };
    const auto holds = [&](const Record& record) {
      const auto found = table->find(RecordKey(record.head.id));
      return found != table->end() && same(found->second, record);
    };
    for (const auto& [before, after] : changed) {
      if (!holds(before)) return false;
    }
    for (const Record& record : removed) {
      if (!holds(record)) return false;
    }
    for (const Record& record : added) {
      if (table->count(RecordKey(record.head.id)) != 0) return false;
    }
    return true;
  }

  void Make(ConfigTableSet* set) const override {
    RecordTable<Record>& table = *TableIn(*set);
    for (const auto& [before, after] : changed) table[RecordKey(after.head.id)] = after;
    for (const Record& record : added) table.emplace(RecordKey(record.head.id), record);
    for (const Record& record : removed) table.erase(RecordKey(record.head.id));
  }

  void Undo(ConfigTableSet* set) const override {
    RecordTable<Record>* table = TableIn(*set);
    if (table == nullptr) return;
    for (const Record& record : added) table->erase(RecordKey(record.head.id));
    for (const auto& [before, after] : changed) (*table)[RecordKey(before.head.id)] = before;
    for (const Record& record : removed) table->emplace(RecordKey(record.head.id), record);
  }

  size_t sizeBefore = 0;
  std::vector<Record> added;
  std::vector<std::pair<Record, Record>> changed;
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
};

}  // namespace qm::exchange

#endif  // QMPECORE_EXCHANGE_TABLE_EDITS_H_
