// An editor opened the way the application opens one: a manager from
// QmCreateEditorManager, QmOpenEditor on the project, QmCloseEditor and
// QmCloseEditorManager when it goes out of scope.
#ifndef QMPECORE_CLI_OPEN_PROJECT_H_
#define QMPECORE_CLI_OPEN_PROJECT_H_

#include <array>
#include <cstdint>
#include <string>

#include "qmpecore/qmpecore.h"

namespace qm::cli {

// The tables by slot, as qmpe names them.
inline constexpr std::array<const char*, kSlotCount> kSlotNames = {
    "General", "Timer", "Database", "User", "Trend", "IO",
    "IO devices", "IO tags", "Output", "Alarm", "Script"};

// `projectFile` made absolute, after checking that it names a file. Throws
// CommandError with a clear message when it is missing or a folder.
std::string ProjectFilePath(const std::string& projectFile);

// The message for a project file that the library cannot open.
std::string CannotOpenMessage(const std::string& path);

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

  // Warns on standard error of each folder of the project that could not
  // be read (cli/unread_folder_warning.h): for the commands that list or
  // search its files.
  void WarnOfUnreadFolders() const;

  // By slot: the store's code for each table the open could not read, 0
  // for the tables read whole.
  std::array<int32_t, kSlotCount> UnreadTableCodes() const;
  // Throws CommandError naming every table the open could not read: the
  // project file is damaged, and its copy in memory is incomplete.
  void RequireEveryTableRead() const;

  // The id of the record of table `tableNumber` (named `tableName` in
  // messages) whose Name is `name`. Throws CommandError when no record or
  // several records have that name.
  int32_t RecordIdNamed(int32_t tableNumber, const std::string& tableName,
                        const std::string& name) const;

 private:
  std::string path_;
  CEditorManager* manager_ = nullptr;
  EditorData* editor_ = nullptr;
};

}  // namespace qm::cli

#endif  // QMPECORE_CLI_OPEN_PROJECT_H_
