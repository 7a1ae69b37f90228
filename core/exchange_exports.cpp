// Tag list files in and out, ordinals 29 to 35.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "config/config_manager.h"
#include "core/editor_manager.h"
#include "core/export_guard.h"
#include "core/message_copy.h"
#include "exchange/import_preview.h"
#include "exchange/table_export.h"
#include "qmpecore/qmpecore_ext.h"

struct QmImportPreview {
  qm::CEditorManager* manager = nullptr;  // the editor it was checked against
  qm::exchange::ImportPreview preview;
  bool applied = false;
};

namespace qm {
namespace {

ConfigTableSet* WorkingSetOf(CEditorManager* manager) {
  EditorData* editor = manager->editorData();
  if (editor == nullptr || editor->configManager == nullptr) return nullptr;
  return editor->configManager->GetTables(true);
}

exchange::Progress ProgressOf(QmProgressHandler handler, void* context) {
  if (handler == nullptr) return {};
  return [handler, context](int64_t done, int64_t total) {
    return handler(context, done, total) != 0;
  };
}

int32_t Clamped(size_t count) { return static_cast<int32_t>(std::min<size_t>(count, INT32_MAX)); }

int32_t Answer(exchange::ApplyStatus status) {
  switch (status) {
    case exchange::ApplyStatus::kDone:
      break;
    case exchange::ApplyStatus::kRefused:
      return kQmImportRefused;
    case exchange::ApplyStatus::kFailed:
      return kQmImportFailed;
    case exchange::ApplyStatus::kReadOnly:
      return kQmImportReadOnly;
  }
  return 0;
}

}  // namespace
}  // namespace qm

using qm::GuardExport;

extern "C" {

QMPE_API int64_t QM_CALL QmExportTable(qm::CEditorManager* manager, int32_t tableNumber,
                                       int32_t format, QmBytesHandler handler, void* context,
                                       QmProgressHandler progress, void* progressContext) {
  if (manager == nullptr || handler == nullptr || format < kQmExportCsv ||
      format > kQmExportJsonLines) {
    return -1;
  }
  return GuardExport<int64_t>(-1, [&]() -> int64_t {
    const qm::ConfigTableSet* tables = qm::WorkingSetOf(manager);
    if (tables == nullptr) return -1;
    int64_t records = 0;
    const qm::exchange::Progress told = qm::ProgressOf(progress, progressContext);
    const auto status = qm::exchange::ExportTable(
        *tables, tableNumber, static_cast<qm::exchange::FileFormat>(format),
        [&](std::string_view bytes) {
          for (size_t at = 0; at < bytes.size(); at += INT32_MAX) {
            const size_t piece = std::min<size_t>(bytes.size() - at, INT32_MAX);
            if (handler(context, bytes.data() + at, static_cast<int32_t>(piece)) == 0) {
              return false;
            }
          }
          return true;
        },
        [&](int64_t done, int64_t total) {
          records = done;
          return !told || told(done, total);
        });
    if (status == qm::exchange::ExportStatus::kNoSuchTable) return -1;
    if (status == qm::exchange::ExportStatus::kStopped) return kQmExportStopped;
    return records;
  });
}

QMPE_API QmImportPreview* QM_CALL QmCheckImport(qm::CEditorManager* manager,
                                                int32_t tableNumber, const char* bytes,
                                                int64_t size, const char16_t* fileName,
                                                int32_t flags, QmProgressHandler progress,
                                                void* progressContext) {
  if (manager == nullptr || (bytes == nullptr && size != 0) || size < 0 ||
      (flags & ~kQmImportReplace) != 0) {
    return nullptr;
  }
  return GuardExport<QmImportPreview*>(nullptr, [&]() -> QmImportPreview* {
    const qm::ConfigTableSet* tables = qm::WorkingSetOf(manager);
    if (tables == nullptr) return nullptr;
    auto checked = std::make_unique<QmImportPreview>();
    checked->manager = manager;
    const qm::exchange::ImportRequest request{
        *tables,
        tableNumber,
        std::string_view(bytes, static_cast<size_t>(size)),
        fileName != nullptr ? fileName : u"",
        (flags & kQmImportReplace) != 0,
        manager->editorData()->projectPath,
        qm::ProgressOf(progress, progressContext)};
    checked->preview = qm::exchange::CheckImport(request);
    return checked.release();
  });
}

QMPE_API int32_t QM_CALL QmGetImportCounts(const QmImportPreview* preview,
                                           QmImportCounts* counts) {
  if (preview == nullptr || counts == nullptr) return -1;
  const qm::exchange::ImportPreview& checked = preview->preview;
  *counts = {checked.rows, 0, 0, 0, checked.unchanged,
             static_cast<int64_t>(checked.problems.size()) + checked.moreProblems};
  for (const qm::exchange::RecordChange& change : checked.changes) {
    int64_t& count = change.kind == qm::exchange::ChangeKind::kAdded     ? counts->added
                     : change.kind == qm::exchange::ChangeKind::kChanged ? counts->changed
                                                                         : counts->removed;
    ++count;
  }
  return 0;
}

QMPE_API int32_t QM_CALL QmGetImportProblems(const QmImportPreview* preview,
                                             QmImportProblemHandler handler, void* context) {
  if (preview == nullptr || handler == nullptr) return -1;
  int32_t delivered = 0;
  for (const qm::exchange::ImportProblem& problem : preview->preview.problems) {
    const QmImportProblem shown{problem.line, static_cast<int32_t>(problem.position),
                                problem.column.c_str(), problem.message.c_str()};
    ++delivered;
    if (handler(context, &shown) == 0) break;
  }
  return delivered;
}

QMPE_API int32_t QM_CALL QmGetImportChanges(const QmImportPreview* preview,
                                            QmImportChangeHandler handler, void* context) {
  if (preview == nullptr || handler == nullptr) return -1;
  return GuardExport<int32_t>(-1, [&]() -> int32_t {
    int32_t delivered = 0;
    const qm::exchange::ImportPreview& checked = preview->preview;
    const qm::ConfigTableSet* tables = qm::WorkingSetOf(preview->manager);
    std::unique_ptr<qm::exchange::ChangedColumns> columns;
    if (checked.edits != nullptr && tables != nullptr) {
      columns = checked.edits->ReadChangedColumns(*tables);
    }
    std::vector<qm::exchange::FieldChange> changed;
    std::vector<QmImportField> fields;
    for (const qm::exchange::RecordChange& change : checked.changes) {
      changed.clear();
      if (change.kind == qm::exchange::ChangeKind::kChanged && columns != nullptr) {
        columns->Next(&changed);
      }
      fields.clear();
      for (const qm::exchange::FieldChange& field : changed) {
        fields.push_back({field.column.c_str(), field.before.c_str(), field.after.c_str()});
      }
      const QmImportChange shown{static_cast<int32_t>(change.kind), change.id, change.line,
                                 change.name.c_str(), qm::Clamped(fields.size()), fields.data()};
      ++delivered;
      if (handler(context, &shown) == 0) break;
    }
    return delivered;
  });
}

QMPE_API int32_t QM_CALL QmApplyImport(qm::CEditorManager* manager, QmImportPreview* preview,
                                       char16_t* message, int32_t capacity) {
  if (manager == nullptr || preview == nullptr) return -1;
  return GuardExport<int32_t>(kQmImportFailed, [&]() -> int32_t {
    qm::EditorData* editor = manager->editorData();
    if (editor == nullptr || editor->configManager == nullptr) return -1;
    if (preview->manager != manager || preview->applied) {
      qm::CopyMessage(preview->applied ? u"the import was applied already"
                                       : u"the import was checked against another editor",
                      message, capacity);
      return kQmImportRefused;
    }
    const qm::exchange::ApplyOutcome outcome =
        qm::exchange::ApplyImport(preview->preview, *editor, manager->editorId());
    qm::CopyMessage(outcome.message, message, capacity);
    if (outcome.status != qm::exchange::ApplyStatus::kDone) return qm::Answer(outcome.status);
    preview->applied = true;
    return qm::Clamped(preview->preview.changes.size());
  });
}

QMPE_API void QM_CALL QmFreeImportPreview(QmImportPreview* preview) { delete preview; }

}  // extern "C"
