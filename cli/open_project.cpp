#include "cli/open_project.h"

#include <filesystem>

#include "cli/cli_support.h"
#include "cli/unread_folder_warning.h"
#include "qmcfg/qmcfg.h"
#include "qmpecore/qmpecore_ext.h"

namespace qm::cli {

std::string ProjectFilePath(const std::string& projectFile) {
  std::string path = AbsolutePath(projectFile);
  std::error_code error;
  auto status = std::filesystem::status(PathOf(path), error);
  if (!std::filesystem::exists(status)) {
    throw CommandError("no project file at " + path);
  }
  if (std::filesystem::is_directory(status)) {
    throw CommandError(path + " is a folder; give the project file inside it");
  }
  return path;
}

std::string CannotOpenMessage(const std::string& path) {
  // The store alone opens what it can read; an editor that still does not
  // open ran out of memory making its tables.
  const ConfigHandle handle = CfgOpenConfig(PathText(path).c_str(), 0);
  if (handle != 0) {
    CfgCloseConfig(handle);
    return "cannot open " + path + ": the project does not fit in the memory left to this process";
  }
  return "cannot open " + path + ": not a project file, a newer layout, or not readable";
}

OpenProject::OpenProject(const std::string& projectFile, int32_t editorId)
    : path_(ProjectFilePath(projectFile)) {
  manager_ = QmCreateEditorManager();
  if (manager_ == nullptr) throw CommandError("out of memory");
  std::u16string path = PathText(path_);
  if (QmOpenEditor(manager_, path.c_str(), editorId) == nullptr) {
    QmCloseEditorManager(manager_);
    throw CommandError(CannotOpenMessage(path_));
  }
  editor_ = QmGetEditorData(manager_);
}

OpenProject::~OpenProject() {
  QmCloseEditor(manager_);
  QmCloseEditorManager(manager_);
}

void OpenProject::WarnOfUnreadFolders() const {
  QmGetUnreadFolders(editor_->fileManager, WarnOfUnreadFolder, nullptr);
}

std::array<int32_t, kSlotCount> OpenProject::UnreadTableCodes() const {
  std::array<int32_t, kSlotCount> codes{};
  const ConfigHandle handle = QmGetConfigHandleEx(editor_->configManager);
  const int32_t code = CfgGetUnreadTables(handle, codes.data());
  if (code != 0) throw CommandError("cannot ask the store about " + path_ + ": code " +
                                    std::to_string(code));
  return codes;
}

void OpenProject::RequireEveryTableRead() const {
  const std::array<int32_t, kSlotCount> codes = UnreadTableCodes();
  std::string damaged;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const int32_t code = codes[static_cast<size_t>(slot)];
    if (code == 0) continue;
    damaged += (damaged.empty() ? "" : ", ") + std::string(kSlotNames[static_cast<size_t>(slot)]) +
               " (code " + std::to_string(code) + ")";
  }
  if (!damaged.empty()) {
    throw CommandError(path_ + " is damaged: these tables could not be read: " + damaged +
                       "; the editor refuses to save over them");
  }
}

int32_t OpenProject::RecordIdNamed(int32_t tableNumber, const std::string& tableName,
                                   const std::string& name) const {
  int32_t id = 0;
  const int32_t count = QmFindRecordId(manager_, tableNumber, ToText(name).c_str(), &id);
  if (count == 0) throw CommandError("no record of " + tableName + " is named " + name);
  if (count < 0) throw CommandError("cannot look up the records of " + tableName);
  if (count > 1) {
    throw CommandError(std::to_string(count) + " records of " + tableName + " are named " +
                       name + "; the name must name one record");
  }
  return id;
}

ConfigTableSet& OpenProject::workingTables() const {
  return *QmGetAllTables(editor_->configManager, 1);
}

}  // namespace qm::cli
