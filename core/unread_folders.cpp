#include "core/unread_folders.h"

namespace qm {

int32_t DeliverUnreadFolders(const CFileManager& files, QmUnreadFolderHandler handler,
                             void* context) {
  int32_t delivered = 0;
  for (const UnreadFolder& folder : files.unreadFolders()) {
    const QmUnreadFolder unread{folder.path.c_str(), static_cast<int32_t>(folder.status),
                                static_cast<int32_t>(folder.nativeError)};
    ++delivered;
    if (handler(context, &unread) == 0) break;
  }
  return delivered;
}

}  // namespace qm
