// The usages of one record: every place of a project that refers to it.
//
// First the records that refer to it by id, table by table in the find's
// order and then the trends, each reported as the find reports a hit in
// the referring field (its title as column name, the referenced name as
// the grid shows it as matched text); an owned record (a port's device, a
// device's tag) is reported in its owner relation, which has no grid
// column: column -1, column name "Port" or "Device". Then every line of
// the project's text files that holds the record's Name as a whole word,
// matching case, as a file result of the find.
#ifndef QMPECORE_FIND_USAGES_RECORD_USAGES_H_
#define QMPECORE_FIND_USAGES_RECORD_USAGES_H_

#include <cstdint>

#include "find/result_sink.h"
#include "find/tables/name_lookups.h"
#include "qmpecore/qmpecore.h"

namespace qm {

struct UsagesRequest {
  const EditorData& editor;  // the project path and its file manager (may be null: no files)
  const ConfigTableSet& tables;
  NameLookups* lookups;  // rebuilt as a find rebuilds them
  int32_t table;         // a record table's number, or kTableTrend
  int32_t recordId;
  uint32_t fileWorkers = 0;  // as FindOptions::fileWorkers
};

enum class UsagesStatus { kDone, kNoSuchRecord };

// Hands each usage to `sink` in the order above; kNoSuchRecord (nothing
// handed over) when the table holds no record with that id.
UsagesStatus FindUsages(const UsagesRequest& request, ResultSink& sink);

}  // namespace qm

#endif  // QMPECORE_FIND_USAGES_RECORD_USAGES_H_
