// The warning that a folder of the project could not be read. Every
// command that lists or searches the project's files gives it for each
// such folder, so that one it could not read never passes for an empty
// one.
#ifndef QMPECORE_CLI_UNREAD_FOLDER_WARNING_H_
#define QMPECORE_CLI_UNREAD_FOLDER_WARNING_H_

#include <cstdint>

#include "qmpecore/qmpecore_ext.h"

namespace qm::cli {

// A QmUnreadFolderHandler (the context is unused): prints
// "qmpe: warning: cannot read folder PATH: REASON (system error N)" on
// standard error.
int32_t WarnOfUnreadFolder(void* context, const QmUnreadFolder* folder);

}  // namespace qm::cli

#endif  // QMPECORE_CLI_UNREAD_FOLDER_WARNING_H_
