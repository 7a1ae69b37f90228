#include "find/tables/table_searchers.h"

#include <vector>

#include "find/result_sink.h"
#include "find/tables/grid_table_layouts.h"
#include "find/tables/name_lookup_builders.h"
#include "find/tables/needle_rule.h"
#include "find/tables/record_tables.h"
#include "find/tables/record_walk.h"
#include "find/tables/table_scan.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

template <class Row>
using NeedleScan = TableScan<Row, NeedleRule<Row>>;

template <class Record>
void SearchRecords(const RecordTable<Record>* table, const TableLayout<Record>& layout,
                   int32_t ownerId, const NameLookups& lookups, const SearchNeedle& needle,
                   const NameMatches* matchingTagNames, ResultSink& sink) {
  if (table == nullptr || table->empty()) return;
  NeedleScan<Record> scan(layout, &sink, table->size(), needle, lookups, matchingTagNames);
  const bool filtered = layout.ownerId != nullptr && ownerId >= 0;
  ForEachRecordReadingAhead(*table, [&](const Record& record) {
    if (filtered && layout.ownerId(record) != ownerId) return;
    scan.Visit(record, record.head.id, record.head.name);
  });
}

// General is one row, the table itself: its results keep record id 0.
void SearchGeneral(const GeneralTable* table, const NameLookups& lookups,
                   const SearchNeedle& needle, ResultSink& sink) {
  if (table == nullptr || table->empty()) return;
  NeedleScan<GeneralTable> scan(kGeneralLayout, &sink, 1, needle, lookups, nullptr);
  scan.Visit(*table, 0, {});
}

}  // namespace

void SearchGridTable(TableNumber table, const ConfigTableSet& set, const NameLookups& lookups,
                     int32_t ownerId, const SearchNeedle& needle, ResultSink& sink,
                     const NameMatches* matchingTagNames) {
  if (needle.empty()) return;
  if (table == kTableGeneral) return SearchGeneral(set.general.get(), lookups, needle, sink);
  if (table == kTableTrend) return;  // never searched
  WithRecordTable(table, set, [&](const auto* records, const auto& layout) {
    SearchRecords(records, layout, ownerId, lookups, needle, matchingTagNames, sink);
  });
}

TagWalk WalkTags(const ConfigTableSet& set, NameLookups* lookups, const SearchNeedle& needle) {
  TagWalk walk;
  NameMatches matchingNames;
  NameLookupRefresh refresh(&lookups->tagNames);
  if (const IoTagTable* tags = set.ioTags.get(); tags != nullptr && !tags->empty()) {
    NeedleScan<IoTagRecord> scan(kIoTagLayout, nullptr, tags->size(), needle, *lookups, nullptr);
    // Name is the first field tested, so a tag's name holds the needle
    // exactly when its first hit is in the Name field.
    const FieldInfo* nameField = &kIoTagLayout.fields.front().info;
    ForEachRecordReadingAhead(*tags, [&](const IoTagRecord& tag) {
      refresh.Add(tag.head.id, tag.head.name);
      const FieldInfo* firstHit = needle.empty() ? nullptr : scan.FirstHit(tag);
      if (firstHit == nullptr) return;
      walk.withHits.push_back(&tag);
      if (firstHit == nameField) matchingNames.emplace_back(tag.head.id, &tag.head.name);
    });
  }
  refresh.Finish();
  if (refresh.KeysAscended()) walk.matchingNames = std::move(matchingNames);
  return walk;
}

void SearchTags(const TagWalk& walk, const NameLookups& lookups, const SearchNeedle& needle,
                ResultSink& sink) {
  if (needle.empty() || walk.withHits.empty()) return;
  NeedleScan<IoTagRecord> scan(kIoTagLayout, &sink, walk.withHits.size(), needle, lookups,
                                nullptr);
  for (const IoTagRecord* tag : walk.withHits) scan.Visit(*tag, tag->head.id, tag->head.name);
}

}  // namespace qm
