// The editor manager's exports, ordinals 7 to 11 and 17.
#include <new>

#include "core/editor_manager.h"
#include "core/export_guard.h"
#include "qmpecore/qmpecore.h"

using qm::CEditorManager;
using qm::GuardExport;

extern "C" {

QMPE_API CEditorManager* QM_CALL QmCreateEditorManager() {
  return new (std::nothrow) CEditorManager();
}

QMPE_API void QM_CALL QmCloseEditorManager(CEditorManager* manager) {
  if (manager == nullptr) return;
  GuardExport([&] { delete manager; });
}

QMPE_API qm::EventHandle QM_CALL QmOpenEditor(CEditorManager* manager,
                                              const char16_t* projectPath, int32_t editorId) {
  if (manager == nullptr) return nullptr;
  return GuardExport<qm::EventHandle>(
      nullptr, [&] { return manager->OpenEditor(projectPath, editorId); });
}

QMPE_API void QM_CALL QmCloseEditor(CEditorManager* manager) {
  if (manager == nullptr) return;
  GuardExport([&] { manager->CloseEditor(); });
}

QMPE_API qm::EditorData* QM_CALL QmGetEditorData(CEditorManager* manager) {
  if (manager == nullptr) return nullptr;
  return manager->editorData();
}

QMPE_API int32_t QM_CALL QmFind(CEditorManager* manager, qm::FindResultList* results,
                                const char16_t* scope, const char16_t* text,
                                int32_t matchCase) {
  if (manager == nullptr) return -1;
  return GuardExport<int32_t>(
      -1, [&] { return manager->Find(results, scope, text, matchCase); });
}

}  // extern "C"
