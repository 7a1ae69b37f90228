// The seventeen exports of qmpecore: everything the editor application
// calls. Each answers a null first argument with a fixed value (given on
// each declaration) and never lets an exception escape.
//
// Text arguments are null-terminated UTF-16. Handles are the objects'
// own addresses; the application reads the configuration manager and file
// manager handles from the EditorData of an open editor.
#ifndef QMPECORE_QMPECORE_H_
#define QMPECORE_QMPECORE_H_

#include <cstdint>

#include "qmpecore/config_records.h"
#include "qmpecore/editor_map.h"
#include "qmpecore/file_lists.h"
#include "qmpecore/find_result.h"

// QM_CALL is the calling convention in which the caller removes the
// arguments, and QMPE_API marks an export; the build defines both for the
// platform (see CMakeLists.txt), and a consumer without them gets plain C.
#ifndef QM_CALL
#define QM_CALL
#endif
#ifndef QMPE_API
#define QMPE_API
#endif

namespace qm {
class CEditorManager;
class CConfigManagerEx;
class CFileManager;

// The handle of an open editor's event. The library never signals or waits
// on it; it lives until the editor is closed.
using EventHandle = void*;

// The open editor, as the application reads it field by field.
struct EditorData {
  std::u16string projectPath;  // normalised; never empty
  CConfigManagerEx* configManager = nullptr;
  CFileManager* fileManager = nullptr;
};
}  // namespace qm

extern "C" {

// Editor manager. Ordinals 7 to 11 and 17.
QMPE_API qm::CEditorManager* QM_CALL QmCreateEditorManager();                 // 7
QMPE_API void QM_CALL QmCloseEditorManager(qm::CEditorManager* manager);      // 8: null: nothing
QMPE_API qm::EventHandle QM_CALL QmOpenEditor(qm::CEditorManager* manager,    // 9: null: 0
                                              const char16_t* projectPath,
                                              int32_t editorId);
QMPE_API void QM_CALL QmCloseEditor(qm::CEditorManager* manager);             // 10: null: nothing
QMPE_API qm::EditorData* QM_CALL QmGetEditorData(qm::CEditorManager* manager);  // 11: null: null
QMPE_API int32_t QM_CALL QmFind(qm::CEditorManager* manager,                  // 17: null: -1
                                qm::FindResultList* results, const char16_t* scope,
                                const char16_t* text, int32_t matchCase);

// Configuration. Ordinals 13 to 16. Only the low byte of `working` counts.
// A save answers 0 once the project file holds the save on the disk; on a
// project that may not be written (a read-only file, folder or mount) 213,
// on a full disk 113, and the project file is then as it was.
QMPE_API qm::ConfigTableSet* QM_CALL QmGetAllTables(qm::CConfigManagerEx* config,  // 13: null: null
                                                    uint32_t working);
QMPE_API qm::ConfigHandle QM_CALL QmGetConfigHandleEx(qm::CConfigManagerEx* config);  // 14: null: 0
QMPE_API int32_t QM_CALL QmSaveConfigEx(qm::CConfigManagerEx* config,             // 15: null: -1
                                        int32_t tableNumber, int32_t subId);
QMPE_API int32_t QM_CALL QmSaveAsConfigEx(qm::CConfigManagerEx* config,           // 16: null: -1
                                          const char16_t* newPath);

// Project files. Ordinal 12.
QMPE_API int32_t QM_CALL QmGetAllFiles(qm::CFileManager* files, qm::FileNameSet* out,  // 12: null: -1
                                       const qm::PatternList* include,
                                       const qm::PatternList* exclude, int32_t flags);

// Editor registry. Ordinals 1 to 6. A null key is taken as the empty key.
QMPE_API bool QM_CALL QmEditorExists(const char16_t* key);                       // 1
QMPE_API bool QM_CALL QmAddEditor(const char16_t* key, int32_t editorId);        // 2
QMPE_API bool QM_CALL QmUpdateEditor(const char16_t* key, int32_t editorId);     // 3
QMPE_API bool QM_CALL QmRemoveEditor(const char16_t* key, int32_t editorId);     // 4
QMPE_API int32_t QM_CALL QmGetEditors(qm::EditorMap* list);                      // 5: null: -1
QMPE_API bool QM_CALL QmGetEditor(const char16_t* key, int32_t* editorId);       // 6

}  // extern "C"

#endif  // QMPECORE_QMPECORE_H_
