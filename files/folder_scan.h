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
// Every folder is entered, hidden ones and links to folders included, but
// each folder (by its identity on the file system) once: the first path
// that reaches it lists its files, later links to it list nothing, so
// cycles end and shared targets are not listed again. A link that leads
// nowhere is no file and is left out. A folder that cannot be read adds
// nothing and the walk goes on.
//
// Returns the number of paths in `files` afterwards, or -1 (nothing done)
// when `folder` is empty after normalisation.
int32_t ScanFolder(std::u16string_view folder, std::vector<std::u16string>* files);

}  // namespace qm

#endif  // QMPECORE_FILES_FOLDER_SCAN_H_
