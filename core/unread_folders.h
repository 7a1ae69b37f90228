// Hands the folders that a file manager could not read to the
// application's handler (QmGetUnreadFolders, QmFindInProjectEx).
#ifndef QMPECORE_CORE_UNREAD_FOLDERS_H_
#define QMPECORE_CORE_UNREAD_FOLDERS_H_

#include <cstdint>

#include "files/file_manager.h"
#include "qmpecore/qmpecore_ext.h"

namespace qm {

// Each of `files`' unread folders in scan order, until the handler returns
// 0; returns how many it took.
int32_t DeliverUnreadFolders(const CFileManager& files, QmUnreadFolderHandler handler,
                             void* context);

}  // namespace qm

#endif  // QMPECORE_CORE_UNREAD_FOLDERS_H_
