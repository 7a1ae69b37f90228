// An editor opened the way the application opens one: a manager from
// QmCreateEditorManager, QmOpenEditor on the project, QmCloseEditor and
// QmCloseEditorManager when it goes out of scope.
#ifndef QMPECORE_CLI_OPEN_PROJECT_H_
#define QMPECORE_CLI_OPEN_PROJECT_H_

#include <cstdint>
#include <string>

#include "qmpecore/qmpecore.h"

namespace qm::cli {

class OpenProject {
 public:
  // Opens `projectFile` (made absolute first) for `editorId` (0: an editor
  // that is not registered). Throws CommandError with a clear message when
  // the file is missing, is a folder, or cannot be opened as a project.
  OpenProject(const std::string& projectFile, int32_t editorId);
  ~OpenProject();
  OpenProject(const OpenProject&) = delete;
  OpenProject& operator=(const OpenProject&) = delete;

  CEditorManager* manager() const { return manager_; }
  EditorData& editor() const { return *editor_; }
  ConfigTableSet& workingTables() const;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  CEditorManager* manager_ = nullptr;
  EditorData* editor_ = nullptr;
};

}  // namespace qm::cli

#endif  // QMPECORE_CLI_OPEN_PROJECT_H_
