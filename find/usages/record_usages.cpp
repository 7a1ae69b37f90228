#include "find/usages/record_usages.h"

#include <string>

#include "find/find_dispatch.h"
#include "find/tables/name_lookup_builders.h"
#include "find/tables/record_tables.h"
#include "find/tables/record_walk.h"
#include "find/tables/table_scan.h"
#include "find/usages/record_lookup.h"

namespace qm {
namespace {

// The find's order of the tables, then the trends, which it never searches.
constexpr int32_t kReferringTables[] = {kTableTimer,  kTableDatabase, kTableOutput,
                                        kTableAlarm,  kTableUser,     kTableScript,
                                        kTableIo,     kTableIoDevices, kTableIoTags,
                                        kTableTrend};

void RebuildLookup(LookupId lookup, const ConfigTableSet& tables, NameLookups* lookups) {
  switch (lookup) {
    case LookupId::kTimerNames:
      return BuildTimerNames(tables, &lookups->timerNames);
    case LookupId::kDatabaseNames:
      return BuildDatabaseNames(tables, &lookups->databaseNames);
    case LookupId::kOutputNames:
      return BuildOutputNames(tables, &lookups->outputNames);
    case LookupId::kTagNames:
      return BuildTagNames(tables, &lookups->tagNames);
  }
}

template <class Record>
void ScanReferences(const RecordTable<Record>* records, const TableLayout<Record>& layout,
                    const ReferenceTarget& target, const NameLookups& lookups,
                    ResultSink& sink) {
  if (records == nullptr || records->empty() || sink.Done()) return;
  TableScan<Record, ReferenceRule<Record>> scan(layout, &sink, target, lookups);
  if (!scan.MayHit()) return;
  ForEachRecordReadingAhead(*records, [&](const Record& record) {
    scan.Visit(record, record.head.id, record.head.name);
  });
}

}  // namespace

UsagesStatus FindUsages(const UsagesRequest& request, ResultSink& sink) {
  const RecordHead* head = FindRecordHead(request.tables, request.table, request.recordId);
  const std::optional<ReferenceTarget> target =
      ReferenceTargetOf(request.tables, request.table, request.recordId);
  if (head == nullptr || !target) return UsagesStatus::kNoSuchRecord;
  if (target->lookup) RebuildLookup(*target->lookup, request.tables, request.lookups);
  for (int32_t table : kReferringTables) {
    WithRecordTable(table, request.tables, [&](const auto* records, const auto& layout) {
      ScanReferences(records, layout, *target, *request.lookups, sink);
    });
  }
  if (sink.Done() || head->name.empty()) return UsagesStatus::kDone;
  // The name is copied: it must not change under the file search.
  const std::u16string name = head->name;
  const FindRequest files{request.editor,
                          [&]() -> const ConfigTableSet& { return request.tables; },
                          request.lookups,
                          u"All Files",
                          name.c_str(),
                          FindOptions{.matchCase = true,
                                      .wholeWord = true,
                                      .regex = false,
                                      .fileWorkers = request.fileWorkers}};
  RunFind(files, sink);
  return UsagesStatus::kDone;
}

}  // namespace qm
