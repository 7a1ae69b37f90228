// A find over a project file that no editor holds open, for a tool that
// searches once. The project is opened as an editor opens it (the same
// checks, the same file list) but nothing is registered, and the tables are
// read only when the scope selects one, into a single set: an editor keeps
// two, and a find of files alone needs none.
#ifndef QMPECORE_CORE_PROJECT_FIND_H_
#define QMPECORE_CORE_PROJECT_FIND_H_

#include <cstdint>

#include "find/find_options.h"
#include "find/result_sink.h"
#include "qmpecore/qmpecore_ext.h"

namespace qm {

enum class ProjectFindStatus { kDone, kNoText, kCannotOpen, kBadPattern, kMatchLimit };

// Runs the find of `text` within `scope` (as CEditorManager::Find takes
// them) over the project at `projectPath`, handing each result to `sink`,
// and first each folder of the project that could not be read to
// `folderHandler` (when not null).
ProjectFindStatus FindInProject(const char16_t* projectPath, const char16_t* scope,
                                const char16_t* text, const FindOptions& options,
                                ResultSink& sink, QmUnreadFolderHandler folderHandler,
                                void* folderContext);

}  // namespace qm

#endif  // QMPECORE_CORE_PROJECT_FIND_H_
