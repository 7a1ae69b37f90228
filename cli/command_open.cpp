// qmpe open PROJECT_FILE --editor-id N [--wait]: behaves as an editor
// application: registers its id under the project, opens the editor, and
// (with --wait) stays open until interrupted or its input ends.
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <utility>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/open_project.h"
#include "platform/console_wait.h"

namespace qm::cli {
namespace {

struct OpenOptions {
  std::string projectFile;
  int32_t editorId = 0;
  bool wait = false;
};

// The editor's registry entry, removed (when it was added) as the command
// ends, however it ends.
class Registration {
 public:
  Registration(std::u16string key, int32_t editorId)
      : key_(std::move(key)), editorId_(editorId), added_(QmAddEditor(key_.c_str(), editorId)) {}
  ~Registration() {
    if (added_) QmRemoveEditor(key_.c_str(), editorId_);
  }
  Registration(const Registration&) = delete;
  Registration& operator=(const Registration&) = delete;

  bool added() const { return added_; }

 private:
  std::u16string key_;
  int32_t editorId_;
  bool added_;
};

void Open(const OpenOptions& options) {
  if (options.editorId == 0) throw CommandError("--editor-id must not be 0", kExitUsage);
  Registration registration(PathText(AbsolutePath(options.projectFile)), options.editorId);
  if (!registration.added()) {
    std::cerr << "qmpe: note: editor " << options.editorId
              << " was not added to the registry (the project is already registered, "
                 "or the registry is busy)\n";
  }
  OpenProject project(options.projectFile, options.editorId);
  project.RequireEveryTableRead();
  project.WarnOfUnreadFolders();
  FileNameSet files;
  int32_t fileCount = QmGetAllFiles(project.editor().fileManager, &files, nullptr, nullptr, 0);
  std::printf("opened %s as editor %d\n", project.path().c_str(), options.editorId);
  std::printf("  tables: 11, records: %zu\n", RecordCount(project.workingTables()));
  std::printf("  files:  %d\n", fileCount);
  std::fflush(stdout);
  if (options.wait) {
    std::printf("waiting; interrupt or close standard input to close the editor\n");
    std::fflush(stdout);
    platform::WaitForInterruptOrInputEnd();
  }
}

}  // namespace

void AddOpenCommand(CLI::App& app) {
  auto* command = app.add_subcommand(
      "open",
      "Open a project as an editor application would: register the editor id under the "
      "project path, open the editor, print its table and file counts, and close again "
      "(with --wait, only when interrupted or when standard input ends; meanwhile "
      "`qmpe editors` in another shell shows the entry)");
  auto options = std::make_shared<OpenOptions>();
  command->add_option("PROJECT_FILE", options->projectFile, "The project file")->required();
  command->add_option("--editor-id", options->editorId, "The editor id (not 0)")
      ->required();
  command->add_flag("--wait", options->wait, "Stay open until interrupted or input ends");
  command->callback([options] { Open(*options); });
}

}  // namespace qm::cli
