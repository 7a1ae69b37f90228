// The one walk of a grid table's fields: a layout says which fields a table
// has and how each becomes text, a rule says which of them a row hits and
// with what text, and each hit becomes a FindResult. The find's rule is a
// needle (needle_rule.h); the usages of a record have a rule of their own
// (reference_rule.h), so both report a field in exactly the same way.
#ifndef QMPECORE_FIND_TABLES_TABLE_SCAN_H_
#define QMPECORE_FIND_TABLES_TABLE_SCAN_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "find/result_sink.h"
#include "find/tables/field_descriptors.h"
#include "qmshared/qmshared.h"

namespace qm {

// A Rule is constructed from the layout and the arguments given to the
// scan, and answers:
//   live()                 the indexes of the fields it may hit, in column order
//   Hit(i, field, row, &t) whether field i of the row is a hit, its text to t
//   OwnerHit(row, &t)      whether the row's owner relation is a hit (owned
//                          tables only), the owner's name to t
// A text it gives stays valid until its next answer.
//
// One FindResult, fresh for each scan, is filled in place and handed to the
// sink on a hit, so a field that a hit does not set keeps its earlier value.
template <class Row, class Rule>
class TableScan {
 public:
  template <class... RuleArguments>
  TableScan(const TableLayout<Row>& layout, ResultSink* sink, RuleArguments&&... arguments)
      : layout_(layout), rule_(layout, std::forward<RuleArguments>(arguments)...), sink_(sink) {
    result_.tableNumber = layout.number;
    if (layout.ownerId == nullptr) result_.location = layout.location;
  }
  TableScan(const TableScan&) = delete;
  TableScan& operator=(const TableScan&) = delete;

  // False when no row can have a hit.
  bool MayHit() const { return !rule_.live().empty() || rule_.MayHitOwner(); }

  // Hands over the hits of one row, which `id` and `name` identify.
  void Visit(const Row& row, int32_t id, std::u16string_view name) {
    if (layout_.ownerId != nullptr) {
      result_.parentId = layout_.ownerId(row);
      owner_ = &layout_.ownerName(row);
    }
    ForEachHit(row, [&](const FieldInfo& info, std::u16string_view text) {
      Add(info, id, name, text);
      return true;
    });
  }

  // The field of the first result that Visit would add for the row, or
  // null; adds none.
  const FieldInfo* FirstHit(const Row& row) {
    const FieldInfo* first = nullptr;
    ForEachHit(row, [&](const FieldInfo& info, std::u16string_view) {
      first = &info;
      return false;
    });
    return first;
  }

 private:
  // Calls `onHit(info, text)` for each hit in column order (the owner
  // relation, which stands in no column, first) while it returns true.
  template <class OnHit>
  void ForEachHit(const Row& row, OnHit onHit) {
    std::u16string_view text;
    if (layout_.ownerId != nullptr && rule_.OwnerHit(row, &text) && !onHit(layout_.owner, text)) {
      return;
    }
    for (size_t i : rule_.live()) {
      const FieldDescriptor<Row>& field = layout_.fields[i];
      if (field.tested != nullptr && !field.tested(row)) continue;
      if (rule_.Hit(i, field, row, &text) && !onHit(field.info, text)) return;
    }
  }

  // The location of an owned row is made only for a row that has a hit:
  // most rows have none, and the text is the same whenever it is made.
  void Add(const FieldInfo& info, int32_t id, std::u16string_view name, std::u16string_view text) {
    if (owner_ != nullptr) {
      FormatText(&result_.location, layout_.location, *owner_);
      owner_ = nullptr;
    }
    result_.recordId = id;
    result_.column = info.column;
    result_.columnName = info.title;
    if (layout_.labelsTakeName) {
      FormatText(&result_.label, info.labelFormat, name);
    } else {
      result_.label = info.labelFormat;
    }
    result_.matchedText = text;
    sink_->Take(result_);
  }

  const TableLayout<Row>& layout_;
  Rule rule_;
  ResultSink* sink_;  // null for a scan that only asks FirstHit
  FindResult result_;
  const std::u16string* owner_ = nullptr;  // the current row's, until used
};

}  // namespace qm

#endif  // QMPECORE_FIND_TABLES_TABLE_SCAN_H_
