// The registry's exports, ordinals 1 to 6: each forwards to its operation
// and answers any exception (exhausted memory) with its failure value.
#include "core/export_guard.h"
#include "qmpecore/qmpecore.h"
#include "registry/registry_operations.h"

using qm::GuardExport;

extern "C" {

QMPE_API bool QM_CALL QmEditorExists(const char16_t* key) {
  return GuardExport(false, [&] { return qm::EditorExists(key); });
}

QMPE_API bool QM_CALL QmAddEditor(const char16_t* key, int32_t editorId) {
  return GuardExport(false, [&] { return qm::AddEditor(key, editorId); });
}

QMPE_API bool QM_CALL QmUpdateEditor(const char16_t* key, int32_t editorId) {
  return GuardExport(false, [&] { return qm::UpdateEditor(key, editorId); });
}

QMPE_API bool QM_CALL QmRemoveEditor(const char16_t* key, int32_t editorId) {
  return GuardExport(false, [&] { return qm::RemoveEditor(key, editorId); });
}

QMPE_API int32_t QM_CALL QmGetEditors(qm::EditorMap* list) {
  return GuardExport(int32_t{-1}, [&] { return qm::GetEditors(list); });
}

QMPE_API bool QM_CALL QmGetEditor(const char16_t* key, int32_t* editorId) {
  return GuardExport(false, [&] { return qm::GetEditor(key, editorId); });
}

}  // extern "C"
