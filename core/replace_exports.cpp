// Replace across the project, ordinals 36 to 39.
#include <algorithm>
#include <cstdint>

#include "core/editor_manager.h"
#include "core/export_guard.h"
#include "core/find_flags.h"
#include "core/message_copy.h"
#include "replace/project_replace.h"
#include "qmpecore/qmpecore_ext.h"

struct QmReplacePreview {
  qm::CEditorManager* manager = nullptr;  // the editor it was made in
  qm::ReplacePreview preview;
};

namespace qm {
namespace {

int32_t Answer(ReplaceStatus status) {
  switch (status) {
    case ReplaceStatus::kDone:
      break;
    case ReplaceStatus::kBadPattern:
      return kQmFindBadPattern;
    case ReplaceStatus::kMatchLimit:
      return kQmFindMatchLimit;
    case ReplaceStatus::kRefused:
      return kQmReplaceRefused;
    case ReplaceStatus::kFailed:
      return kQmReplaceFailed;
    case ReplaceStatus::kReadOnly:
      return kQmReplaceReadOnly;
  }
  return 0;
}

int32_t KindOf(ReplaceChange::Kind kind) {
  switch (kind) {
    case ReplaceChange::Kind::kField:
      return kQmReplaceField;
    case ReplaceChange::Kind::kFileLine:
      return kQmReplaceFileLine;
    case ReplaceChange::Kind::kSkipped:
      break;
  }
  return kQmReplaceSkipped;
}

}  // namespace
}  // namespace qm

using qm::GuardExport;

extern "C" {

QMPE_API int32_t QM_CALL QmPreviewReplace(qm::CEditorManager* manager, const char16_t* scope,
                                          const char16_t* text, const char16_t* replacement,
                                          int32_t flags, QmReplacePreview** preview,
                                          char16_t* message, int32_t capacity) {
  if (manager == nullptr || text == nullptr || replacement == nullptr || preview == nullptr ||
      !qm::FlagsKnown(flags)) {
    return -1;
  }
  *preview = nullptr;
  return GuardExport<int32_t>(kQmReplaceFailed, [&]() -> int32_t {
    qm::EditorData* editor = manager->editorData();
    if (editor == nullptr || editor->configManager == nullptr) return -1;
    const qm::FindOptions options = qm::OptionsOf(flags);
    const qm::ReplaceRequest request{
        *editor, text, replacement, options, [&](qm::ResultSink& sink) {
          return manager->Find(scope, text, options, sink).value_or(qm::FindStatus::kDone);
        }};
    auto made = std::make_unique<QmReplacePreview>();
    made->manager = manager;
    made->preview = qm::PreviewReplace(request);
    qm::CopyMessage(made->preview.message, message, capacity);
    if (made->preview.status != qm::ReplaceStatus::kDone) return qm::Answer(made->preview.status);
    const auto count =
        static_cast<int32_t>(std::min<int64_t>(qm::ChangeCount(made->preview), INT32_MAX));
    *preview = made.release();
    return count;
  });
}

QMPE_API int32_t QM_CALL QmGetReplaceChanges(const QmReplacePreview* preview,
                                             QmReplaceHandler handler, void* context) {
  if (preview == nullptr || handler == nullptr) return -1;
  return GuardExport<int32_t>(-1, [&]() -> int32_t {
    int32_t delivered = 0;
    qm::ForEachChange(preview->preview, [&](const qm::ReplaceChange& change) {
      const QmReplaceChange shown{qm::KindOf(change.kind), change.tableNumber,
                                  change.recordId,         change.occurrences,
                                  change.location.c_str(), change.column.c_str(),
                                  change.path.c_str(),     change.before.c_str(),
                                  change.after.c_str(),    change.note.c_str()};
      if (delivered < INT32_MAX) ++delivered;
      return handler(context, &shown) != 0;
    });
    return delivered;
  });
}

QMPE_API int32_t QM_CALL QmApplyReplace(qm::CEditorManager* manager, QmReplacePreview* preview,
                                        char16_t* message, int32_t capacity) {
  if (manager == nullptr || preview == nullptr) return -1;
  return GuardExport<int32_t>(kQmReplaceFailed, [&]() -> int32_t {
    qm::EditorData* editor = manager->editorData();
    if (editor == nullptr || editor->configManager == nullptr) return -1;
    if (preview->manager != manager) {
      qm::CopyMessage(u"the replace was previewed in another editor", message, capacity);
      return kQmReplaceRefused;
    }
    const qm::ReplaceOutcome outcome =
        qm::ApplyReplace(&preview->preview, *editor, manager->editorId());
    qm::CopyMessage(outcome.message, message, capacity);
    if (outcome.status != qm::ReplaceStatus::kDone) return qm::Answer(outcome.status);
    return qm::ChangeCount(preview->preview);
  });
}

QMPE_API void QM_CALL QmFreeReplacePreview(QmReplacePreview* preview) { delete preview; }

}  // extern "C"
