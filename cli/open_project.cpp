#include "cli/open_project.h"

#include <filesystem>

#include "cli/cli_support.h"

namespace qm::cli {

OpenProject::OpenProject(const std::string& projectFile, int32_t editorId)
    : path_(AbsolutePath(projectFile)) {
  std::error_code error;
  auto status = std::filesystem::status(PathOf(path_), error);
  if (!std::filesystem::exists(status)) {
    throw CommandError("no project file at " + path_);
  }
  if (std::filesystem::is_directory(status)) {
    throw CommandError(path_ + " is a folder; give the project file inside it");
  }
  manager_ = QmCreateEditorManager();
  if (manager_ == nullptr) throw CommandError("out of memory");
  std::u16string path = ToText(path_);
  if (QmOpenEditor(manager_, path.c_str(), editorId) == nullptr) {
    QmCloseEditorManager(manager_);
    throw CommandError("cannot open " + path_ +
                       ": not a project file, a newer layout, or not readable");
  }
  editor_ = QmGetEditorData(manager_);
}

OpenProject::~OpenProject() {
  QmCloseEditor(manager_);
  QmCloseEditorManager(manager_);
}

ConfigTableSet& OpenProject::workingTables() const {
  return *QmGetAllTables(editor_->configManager, 1);
}

}  // namespace qm::cli
