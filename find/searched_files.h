// Which project files a whole-project find searches, and the folder that
// their names are relative to.
#ifndef QMPECORE_FIND_SEARCHED_FILES_H_
#define QMPECORE_FIND_SEARCHED_FILES_H_

#include <string>

#include "qmpecore/file_lists.h"

namespace qm {

// The project text files: pages, scripts, style sheets, graphics, batch
// and text files.
const PatternList& SearchedFileTypes();

// The folder of the project file, with its trailing separator (drive and
// directory), or the empty text when the path cannot be split.
std::u16string ProjectFolderOf(const std::u16string& projectPath);

}  // namespace qm

#endif  // QMPECORE_FIND_SEARCHED_FILES_H_
