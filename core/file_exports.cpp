// The project-files export (ordinal 12).
#include "core/export_guard.h"
#include "files/file_manager.h"
#include "qmpecore/qmpecore.h"

extern "C" {

QMPE_API int32_t QM_CALL QmGetAllFiles(qm::CFileManager* files, qm::FileNameSet* out,
                                       const qm::PatternList* include,
                                       const qm::PatternList* exclude, int32_t flags) {
  if (files == nullptr) return -1;
  return qm::GuardExport(int32_t{-1}, [&] {
    return files->GetAllFiles(out, include, exclude, flags);
  });
}

}  // extern "C"
