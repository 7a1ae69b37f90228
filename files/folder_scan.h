// The one walk of a project folder that a file manager makes when it opens.
#ifndef QMPECORE_FILES_FOLDER_SCAN_H_
#define QMPECORE_FILES_FOLDER_SCAN_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// Appends to `files` the normalised full path of every file below `folder`
// (which ends with the path separator), in depth-first pre-order: inside a
// folder the entries come in the file system's order, and a subfolder's
// files stand where the subfolder stands among its siblings.
//
// Every folder is entered, hidden ones and links to folders included, so a
// folder reached through two links is listed under both. Only a link back
// to a folder on the current path (a cycle) is not followed. A folder that
// cannot be read adds nothing and the walk goes on.
//
// Returns the number of paths in `files` afterwards, or -1 (nothing done)
// when `folder` is empty after normalisation.
int32_t ScanFolder(std::u16string_view folder, std::vector<std::u16string>* files);

}  // namespace qm

#endif  // QMPECORE_FILES_FOLDER_SCAN_H_
