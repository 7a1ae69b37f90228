// qmpe open PROJECT_FILE --editor-id N [--wait]: behaves as an editor
// application: registers its id under the project, opens the editor, and
// (with --wait) stays open until interrupted or its input ends.
#include <cstdio>
#include <iostream>
#include <memory>

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

void Open(const OpenOptions& options) {
  if (options.editorId == 0) throw CommandError("--editor-id must not be 0", kExitUsage);
  std::u16string key = ToText(AbsolutePath(options.projectFile));
  bool registered = QmAddEditor(key.c_str(), options.editorId);
  if (!registered) {
    std::cerr << "qmpe: note: editor " << options.editorId
              << " was not added to the registry (the project is already registered, "
                 "or the registry is busy)\n";
  }
  {
    OpenProject project(options.projectFile, options.editorId);
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
  if (registered) QmRemoveEditor(key.c_str(), options.editorId);
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
