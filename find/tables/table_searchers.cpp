#include "find/tables/table_searchers.h"

#include <vector>

#include "find/result_sink.h"
#include "find/tables/field_text.h"
#include "find/tables/grid_table_layouts.h"
#include "find/tables/name_lookup_builders.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

// The one searcher skeleton: a layout says which fields a table has and
// how each becomes text; this walks them for each row. One FindResult,
// fresh for each table, is filled in place and handed to the sink on a
// hit, so a field that a hit does not set keeps its earlier value.
template <class Row>
class TableScan {
 public:
  // `rows` is about how many rows will be visited.
  TableScan(const TableLayout<Row>& layout, size_t rows, const SearchNeedle& needle,
            const NameLookups& lookups, const NameMatches* matchingTagNames,
            ResultSink* sink)
      : layout_(layout), needle_(needle), texts_(needle, lookups), sink_(sink) {
    if (matchingTagNames != nullptr) texts_.KnowMatches(LookupId::kTagNames, *matchingTagNames);
    result_.tableNumber = layout.number;
    if (layout.ownerId == nullptr) result_.location = layout.location;
    enumMatches_.reserve(layout.fields.size());
    for (const FieldDescriptor<Row>& field : layout.fields) {
      enumMatches_.emplace_back(field.info.names, needle);
      if (field.info.form == TextForm::kReference) texts_.ExpectReferences(field.info.lookup, rows);
    }
    for (size_t i = 0; i < layout.fields.size(); ++i) {
      if (texts_.MayMatch(layout.fields[i].info, enumMatches_[i])) live_.push_back(i);
    }
  }

  // Tests the fields of one row, which `id` and `name` identify in results.
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
  // Calls `onHit(info, text)` for each matching field in column order
  // while it returns true; returns false when it stopped the walk.
  template <class OnHit>
  bool ForEachHit(const Row& row, OnHit onHit) {
    for (size_t i : live_) {
      const FieldDescriptor<Row>& field = layout_.fields[i];
      if (field.tested != nullptr && !field.tested(row)) continue;
      std::u16string_view text;
      if (!texts_.TextOf(field.info, field.read(row), enumMatches_[i], &text)) continue;
      // An empty cell is no hit, not even for a pattern that matches
      // nothing: a field with no text (an empty set, a reference to no
      // record) shows the same empty cell.
      if (!text.empty() && MatchField(text, needle_) && !onHit(field.info, text)) return false;
    }
    return true;
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
  const SearchNeedle& needle_;
  FieldTexts texts_;
  ResultSink* sink_;  // null for a scan that only asks FirstHit
  FindResult result_;
  std::vector<EnumMatches> enumMatches_;   // one per field, by index
  // The fields that the needle can match at all, in column order: most
  // number, date and enumeration fields drop out for a word, most text
  // fields for a number.
  std::vector<size_t> live_;
  const std::u16string* owner_ = nullptr;  // the current row's, until used
};

template <class Record>
void SearchRecords(const RecordTable<Record>* table, const TableLayout<Record>& layout,
                   int32_t ownerId, const NameLookups& lookups, const SearchNeedle& needle,
                   const NameMatches* matchingTagNames, ResultSink& sink) {
  if (table == nullptr || table->empty()) return;
  TableScan<Record> scan(layout, table->size(), needle, lookups, matchingTagNames, &sink);
  const bool filtered = layout.ownerId != nullptr && ownerId >= 0;
  // The walk is bound by the latency of reaching each next node, so the
  // iterator moves on before the record is searched: the loads of the next
  // node then overlap the tests of this one.
  for (auto next = table->begin(); next != table->end();) {
    const Record& record = (next++)->second;
    if (filtered && layout.ownerId(record) != ownerId) continue;
    scan.Visit(record, record.head.id, record.head.name);
  }
}

// General is one row, the table itself: its results keep record id 0.
void SearchGeneral(const GeneralTable* table, const NameLookups& lookups,
                   const SearchNeedle& needle, ResultSink& sink) {
  if (table == nullptr || table->empty()) return;
  TableScan<GeneralTable> scan(kGeneralLayout, 1, needle, lookups, nullptr, &sink);
  scan.Visit(*table, 0, {});
}

}  // namespace

void SearchGridTable(TableNumber table, const ConfigTableSet& set, const NameLookups& lookups,
                     int32_t ownerId, const SearchNeedle& needle, ResultSink& sink,
                     const NameMatches* matchingTagNames) {
  if (needle.empty()) return;
  const auto search = [&](const auto* records, const auto& layout) {
    SearchRecords(records, layout, ownerId, lookups, needle, matchingTagNames, sink);
  };
  switch (table) {
    case kTableGeneral:
      return SearchGeneral(set.general.get(), lookups, needle, sink);
    case kTableTimer:
      return search(set.timers.get(), kTimerLayout);
    case kTableIo:
      return search(set.ioPorts.get(), kIoPortLayout);
    case kTableDatabase:
      return search(set.databases.get(), kDatabaseLayout);
    case kTableUser:
      return search(set.users.get(), kUserLayout);
    case kTableOutput:
      return search(set.outputs.get(), kOutputLayout);
    case kTableAlarm:
      return search(set.alarms.get(), kAlarmLayout);
    case kTableScript:
      return search(set.scripts.get(), kScriptLayout);
    case kTableIoDevices:
      return search(set.ioDevices.get(), kIoDeviceLayout);
    case kTableIoTags:
      return search(set.ioTags.get(), kIoTagLayout);
    default:
      return;
  }
}

TagWalk WalkTags(const ConfigTableSet& set, NameLookups* lookups, const SearchNeedle& needle) {
  TagWalk walk;
  NameMatches matchingNames;
  NameLookupRefresh refresh(&lookups->tagNames);
  if (const IoTagTable* tags = set.ioTags.get(); tags != nullptr && !tags->empty()) {
    TableScan<IoTagRecord> scan(kIoTagLayout, tags->size(), needle, *lookups, nullptr, nullptr);
    // Name is the first field tested, so a tag's name holds the needle
    // exactly when its first hit is in the Name field.
    const FieldInfo* nameField = &kIoTagLayout.fields.front().info;
    for (auto next = tags->begin(); next != tags->end();) {
      const IoTagRecord& tag = (next++)->second;
      refresh.Add(tag.head.id, tag.head.name);
      const FieldInfo* firstHit = needle.empty() ? nullptr : scan.FirstHit(tag);
      if (firstHit == nullptr) continue;
      walk.withHits.push_back(&tag);
      if (firstHit == nameField) matchingNames.emplace_back(tag.head.id, &tag.head.name);
    }
  }
  refresh.Finish();
  if (refresh.KeysAscended()) walk.matchingNames = std::move(matchingNames);
  return walk;
}

void SearchTags(const TagWalk& walk, const NameLookups& lookups, const SearchNeedle& needle,
                ResultSink& sink) {
  if (needle.empty() || walk.withHits.empty()) return;
  TableScan<IoTagRecord> scan(kIoTagLayout, walk.withHits.size(), needle, lookups, nullptr,
                              &sink);
  for (const IoTagRecord* tag : walk.withHits) scan.Visit(*tag, tag->head.id, tag->head.name);
}

}  // namespace qm
