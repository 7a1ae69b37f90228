// The planned edits of one record table, typed: what an import adds,
// changes and removes. What the table held when the plan was made is known
// by each changed record's fingerprint.
//
// A changed record is held as the fields it changes: the values the import
// gives them until the edits are made, then (swapped with the table's) the
// values they had, so that the edits can be undone. An import writes a
// record only through its fields (a field's member and, for an owner
// reference, the owner's Name the record carries beside it), so these are
// every member in which the new record differs from the old one. A change
// of one column of a million tags then holds a million small values, not a
// second copy of the table.
#ifndef QMPECORE_EXCHANGE_TABLE_EDITS_H_
#define QMPECORE_EXCHANGE_TABLE_EDITS_H_

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "exchange/import_preview.h"
#include "exchange/record_cells.h"
#include "find/tables/record_tables.h"
#include "platform/utf_conversion.h"

namespace qm::exchange {

template <class Record>
class RecordEdits : public TableEdits {
 public:
  explicit RecordEdits(int32_t tableNumber) : tableNumber_(tableNumber) {}

  // Plans `after` to replace `before`, the table's record with the same id;
  // takes the changed values out of `after`.
  void AddChanged(const Record& before, Record& after) {
    changed_.push_back({before.head.id, static_cast<uint32_t>(swaps_.size()),
                        RecordFingerprint(before)});
    const auto fields = FieldsOf<Record>();
    for (uint16_t i = 0; i < fields.size(); ++i) {
      std::visit(
          [&](auto* value) {
            using Member = std::remove_pointer_t<decltype(value)>;
            const Member& old = *std::get<Member*>(fields[i].at(const_cast<Record&>(before)));
            if (!SameValue(old, *value)) {
              swaps_.push_back({i, false, FieldValue(std::in_place_type<Member>, std::move(*value))});
            }
          },
          fields[i].at(after));
      if (fields[i].ownerName == nullptr) continue;
      std::u16string& name = *fields[i].ownerName(after);
      if (!SameValue(name, *fields[i].ownerName(const_cast<Record&>(before)))) {
        swaps_.push_back({i, true, FieldValue(std::in_place_type<std::u16string>, std::move(name))});
      }
    }
  }

  bool StillApplies(const ConfigTableSet& set) const override {
    const RecordTable<Record>* table = TableIn(set);
    if (table == nullptr || table->size() != sizeBefore || made_) return false;
    const auto holds = [&](int32_t id, uint64_t fingerprint) {
      const auto found = table->find(RecordKey(id));
      return found != table->end() && RecordFingerprint(found->second) == fingerprint;
    };
    for (const ChangedRecord& record : changed_) {
      if (!holds(record.id, record.fingerprint)) return false;
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
    SwapChangedFields(&table);
    for (const Record& record : added) table.emplace(RecordKey(record.head.id), record);
    for (const Record& record : removed) table.erase(RecordKey(record.head.id));
    made_ = true;
  }

  // A record that a failed save left out of the table keeps its planned
  // values; every other change is taken back.
  void Undo(ConfigTableSet* set) override {
    RecordTable<Record>* table = TableIn(*set);
    if (table == nullptr || !made_) return;
    for (const Record& record : added) table->erase(RecordKey(record.head.id));
    SwapChangedFields(table);
    for (const Record& record : removed) table->emplace(RecordKey(record.head.id), record);
    made_ = false;
  }

  std::unique_ptr<ChangedColumns> ReadChangedColumns(const ConfigTableSet& set) const override {
    return std::make_unique<ColumnReader>(*this, set);
  }

  size_t sizeBefore = 0;
  std::vector<Record> added;
  std::vector<Record> removed;

 private:
  // A value of any member type a field can read: FieldRef's types, held.
  template <class>
  struct HeldValues;
  template <class... Member>
  struct HeldValues<std::variant<Member*...>> {
    using type = std::variant<Member...>;
  };
  using FieldValue = typename HeldValues<FieldRef>::type;

  // One changed member: field `field`'s own, or its owner's Name.
  struct FieldSwap {
    uint16_t field;
    bool ownerName;
    FieldValue value;
  };
  struct ChangedRecord {
    int32_t id;
    uint32_t firstSwap;  // its swaps run up to the next record's first
    uint64_t fingerprint;
  };

  // Calls act(member, held) for each value held for changed record
  // `changed`, with the member of `record` it belongs to.
  template <class Self, class Act>
  static void ForEachHeld(Self& self, size_t changed, Record& record, Act&& act) {
    const auto fields = FieldsOf<Record>();
    const size_t end = changed + 1 < self.changed_.size() ? self.changed_[changed + 1].firstSwap
                                                          : self.swaps_.size();
    for (size_t s = self.changed_[changed].firstSwap; s < end; ++s) {
      auto& swap = self.swaps_[s];
      const ExchangeField<Record>& field = fields[swap.field];
      if (swap.ownerName) {
        act(*field.ownerName(record), std::get<std::u16string>(swap.value));
        continue;
      }
      std::visit(
          [&](auto* member) {
            using Member = std::remove_pointer_t<decltype(member)>;
            act(*member, std::get<Member>(swap.value));
          },
          field.at(record));
    }
  }

  void SwapChangedFields(RecordTable<Record>* table) {
    for (size_t i = 0; i < changed_.size(); ++i) {
      const auto found = table->find(RecordKey(changed_[i].id));
      if (found == table->end()) continue;
      ForEachHeld(*this, i, found->second, [](auto& member, auto& held) { std::swap(member, held); });
    }
  }

  // Each changed record as the table holds it and, beside it, a copy with
  // the held values: the new record before the edits are made, the old one
  // after.
  class ColumnReader final : public ChangedColumns {
   public:
    ColumnReader(const RecordEdits& edits, const ConfigTableSet& set)
        : edits_(edits), table_(edits.TableIn(set)), referred_(set), cells_(&referred_) {}

    void Next(std::vector<FieldChange>* fields) override {
      fields->clear();
      const size_t changed = next_++;
      if (table_ == nullptr || changed >= edits_.changed_.size()) return;
      const auto found = table_->find(RecordKey(edits_.changed_[changed].id));
      if (found == table_->end()) return;
      const Record& inTable = found->second;
      Record other = inTable;
      ForEachHeld(edits_, changed, other, [](auto& member, const auto& value) { member = value; });
      const Record& before = edits_.made_ ? other : inTable;
      const Record& after = edits_.made_ ? inTable : other;
      cells_.ForEachDifference(before, after,
                               [&](ColumnOfField column, const std::string& a, const std::string& b) {
                                 FieldChange& change = fields->emplace_back();
                                 change.column = ColumnTitle<Record>(column);
                                 platform::AppendUtf8AsUtf16(a, &change.before);
                                 platform::AppendUtf8AsUtf16(b, &change.after);
                               });
    }

   private:
    const RecordEdits& edits_;
    const RecordTable<Record>* table_;
    ReferredRecords referred_;
    RecordCells<Record> cells_;
    size_t next_ = 0;
  };

  RecordTable<Record>* TableIn(const ConfigTableSet& set) const {
    RecordTable<Record>* found = nullptr;
    WithRecordTable(tableNumber_, set, [&](auto* table, const auto&) {
      if constexpr (std::is_same_v<decltype(table), RecordTable<Record>*>) found = table;
    });
    return found;
  }

  int32_t tableNumber_;
  bool made_ = false;
  std::vector<ChangedRecord> changed_;
  std::vector<FieldSwap> swaps_;
};

}  // namespace qm::exchange

#endif  // QMPECORE_EXCHANGE_TABLE_EDITS_H_
