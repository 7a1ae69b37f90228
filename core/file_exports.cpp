// The project-files exports (ordinals 12 and 27).
#include "core/export_guard.h"
#include "core/unread_folders.h"
#include "files/file_manager.h"
#include "qmpecore/qmpecore.h"
#include "qmpecore/qmpecore_ext.h"

extern "C" {

QMPE_API int32_t QM_CALL QmGetAllFiles(qm::CFileManager* files, qm::FileNameSet* out,
                                       const qm::PatternList* include,
                                       const qm::PatternList* exclude, int32_t flags) {
  if (files == nullptr) return -1;
  return qm::GuardExport(int32_t{-1}, [&] {
    return files->GetAllFiles(out, include, exclude, flags);
  });
}

QMPE_API int32_t QM_CALL QmGetUnreadFolders(qm::CFileManager* files,
                                            QmUnreadFolderHandler handler, void* context) {
  if (files == nullptr || handler == nullptr) return -1;
  return qm::GuardExport(int32_t{-1},
                         [&] { return qm::DeliverUnreadFolders(*files, handler, context); });
}

}  // extern "C"
