#include "check/project_check.h"

#include <vector>

#include "check/folder_files.h"
#include "check/table_checks.h"
#include "check/unused_tags.h"

namespace qm {
namespace {

// The find's order of the tables, then the trends, which it never searches.
constexpr int32_t kCheckedTables[] = {kTableTimer, kTableDatabase,  kTableOutput,
                                      kTableAlarm, kTableUser,      kTableScript,
                                      kTableIo,    kTableIoDevices, kTableIoTags,
                                      kTableTrend};

}  // namespace

bool CheckProject(const CheckRequest& request, FindingSink* sink) {
  FolderFiles folder(request.files);
  TableChecks checks(request.tables, &folder, sink);
  for (int32_t table : kCheckedTables) {
    if (!checks.Check(table)) return false;
  }
  if (request.tables.ioTags == nullptr) return true;
  const std::vector<int32_t> referenced = checks.ReferencedTags();
  return ReportUnusedTags(*request.tables.ioTags, referenced, request.files, sink);
}

}  // namespace qm
