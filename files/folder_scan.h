// The one walk of a project folder that a file manager makes when it opens.
#ifndef QMPECORE_FILES_FOLDER_SCAN_H_
#define QMPECORE_FILES_FOLDER_SCAN_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/folder_enumeration.h"

namespace qm {

// A folder that the scan could not open, or could not read to its end.
struct UnreadFolder {
  std::u16string path;  // normalised, ending with the path separator
  platform::FsStatus status = platform::FsStatus::kOk;
  int nativeError = 0;  // the OS error behind it
  friend bool operator==(const UnreadFolder&, const UnreadFolder&) = default;
};

// Appends to `files` the normalised full path of every file below `folder`
// (which ends with the path separator), in depth-first pre-order: inside a
// folder the entries come in the file system's order, and a subfolder's
// files stand where the subfolder stands among its siblings.
//
// Every folder is entered, hidden ones and links to folders included, and
// a folder that several links reach lists its files under each of their
// paths; only a link back to a folder on the way down (a cycle) is not
// followed, and past 16 paths through links into one folder (links that
// share targets, level after level) it lists nothing more through links.
// A link that leads nowhere is listed like a file. A folder that cannot be
// opened adds nothing, one whose reading fails part way adds what was read
// before; either way it is appended to `unread` with its error, and the
// walk goes on.
//
// Returns the number of paths in `files` afterwards, or -1 (nothing done)
// when `folder` is empty after normalisation.
int32_t ScanFolder(std::u16string_view folder, std::vector<std::u16string>* files,
                   std::vector<UnreadFolder>* unread);

}  // namespace qm

#endif  // QMPECORE_FILES_FOLDER_SCAN_H_
