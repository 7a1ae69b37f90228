// The usages of a record and its rename, ordinals 24 to 26.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "config/config_manager.h"
#include "core/editor_manager.h"
#include "core/export_guard.h"
#include "core/find_flags.h"
#include "core/handler_sink.h"
#include "core/message_copy.h"
#include "find/usages/record_lookup.h"
#include "qmpecore/qmpecore_ext.h"
#include "rename/record_rename.h"

namespace qm {
namespace {

ConfigTableSet* WorkingSet(CEditorManager* manager) {
  EditorData* editor = manager->editorData();
  if (editor == nullptr || editor->configManager == nullptr) return nullptr;
  return editor->configManager->GetTables(true);
}

int32_t Answer(RenameStatus status) {
  switch (status) {
    case RenameStatus::kDone:
      break;
    case RenameStatus::kNoSuchRecord:
      return kQmNoSuchRecord;
    case RenameStatus::kRefused:
      return kQmRenameRefused;
    case RenameStatus::kFailed:
      return kQmRenameFailed;
    case RenameStatus::kReadOnly:
      return kQmRenameReadOnly;
  }
  return 0;
}

void Deliver(const std::vector<RenameChange>& changes, QmRenameHandler handler, void* context) {
  if (handler == nullptr) return;
  for (const RenameChange& change : changes) {
    const QmRenameChange shown{change.kind == RenameChange::Kind::kRecordName
                                   ? kQmRenameRecordName
                                   : kQmRenameFileLine,
                               change.tableNumber,
                               change.recordId,
                               change.occurrences,
                               change.location.c_str(),
                               change.path.c_str(),
                               change.before.c_str(),
                               change.after.c_str()};
    if (handler(context, &shown) == 0) return;
  }
}

}  // namespace
}  // namespace qm

using qm::GuardExport;

extern "C" {

QMPE_API int32_t QM_CALL QmFindRecordId(qm::CEditorManager* manager, int32_t tableNumber,
                                        const char16_t* name, int32_t* recordId) {
  if (manager == nullptr || name == nullptr) return -1;
  return GuardExport<int32_t>(-1, [&]() -> int32_t {
    const qm::ConfigTableSet* tables = qm::WorkingSet(manager);
    if (tables == nullptr) return -1;
    if (!qm::IsRecordTable(tableNumber)) return -1;
    const std::vector<int32_t> ids = qm::RecordIdsNamed(*tables, tableNumber, name);
    if (!ids.empty() && recordId != nullptr) *recordId = ids.front();
    return static_cast<int32_t>(ids.size());
  });
}

QMPE_API int32_t QM_CALL QmFindUsages(qm::CEditorManager* manager, int32_t tableNumber,
                                      int32_t recordId, QmFindHandler handler, void* context) {
  return QmFindUsagesEx(manager, tableNumber, recordId, 0, handler, context);
}

QMPE_API int32_t QM_CALL QmFindUsagesEx(qm::CEditorManager* manager, int32_t tableNumber,
                                        int32_t recordId, int32_t flags, QmFindHandler handler,
                                        void* context) {
  if (manager == nullptr || handler == nullptr || (flags & ~kQmFindThreadsMask) != 0) return -1;
  return GuardExport<int32_t>(-1, [&]() -> int32_t {
    qm::HandlerSink sink(handler, context);
    const auto status = manager->FindUsages(tableNumber, recordId, qm::FileWorkersOf(flags), sink);
    if (!status) return -1;
    if (*status == qm::UsagesStatus::kNoSuchRecord) return kQmNoSuchRecord;
    return sink.delivered();
  });
}

QMPE_API int32_t QM_CALL QmRenameRecord(qm::CEditorManager* manager, int32_t tableNumber,
                                        int32_t recordId, const char16_t* newName, int32_t flags,
                                        QmRenameHandler handler, void* context,
                                        char16_t* message, int32_t capacity) {
  constexpr int32_t kKnownFlags = kQmRenameApply | kQmRenameThreadsMask;
  if (manager == nullptr || newName == nullptr || (flags & ~kKnownFlags) != 0) return -1;
  return GuardExport<int32_t>(kQmRenameFailed, [&]() -> int32_t {
    qm::EditorData* editor = manager->editorData();
    if (editor == nullptr || editor->configManager == nullptr) return -1;
    qm::RenameRequest request{*editor,     manager->editorId(),
                              tableNumber, recordId,
                              newName,     (flags & kQmRenameApply) != 0};
    request.fileWorkers = qm::FileWorkersOf(flags);
    const qm::RenameOutcome outcome = qm::RenameRecord(request);
    qm::CopyMessage(outcome.message, message, capacity);
    if (outcome.status != qm::RenameStatus::kDone) return qm::Answer(outcome.status);
    qm::Deliver(outcome.changes, handler, context);
    return static_cast<int32_t>(std::min<size_t>(outcome.changes.size(), INT32_MAX));
  });
}

}  // extern "C"
