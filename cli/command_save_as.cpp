// qmpe save-as PROJECT_FILE NEW_FILE: the whole configuration under a new
// path, through QmSaveAsConfigEx.
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/open_project.h"

namespace qm::cli {
namespace {

void SaveAs(const std::string& projectFile, const std::string& newFile) {
  OpenProject project(projectFile, 0);
  std::string target = AbsolutePath(newFile);
  if (std::filesystem::is_directory(PathOf(target))) {
    throw CommandError(target + " is a folder; give the new project file's path");
  }
  std::u16string targetText = PathText(target);
  int32_t code = QmSaveAsConfigEx(project.editor().configManager, targetText.c_str());
  if (code == -2) {
    throw CommandError("cannot open " + target +
                       " for writing: its folder is missing or it is not a project file");
  }
  if (code != 0) {
    throw CommandError("saving to " + target + " failed: " + SaveFailureText(code));
  }
  std::cout << "saved " << project.path() << " as " << target << "\n";
}

}  // namespace

void AddSaveAsCommand(CLI::App& app) {
  auto* command =
      app.add_subcommand("save-as", "Save the whole configuration under a new path");
  auto projectFile = std::make_shared<std::string>();
  auto newFile = std::make_shared<std::string>();
  command->add_option("PROJECT_FILE", *projectFile, "The project file to read")->required();
  command->add_option("NEW_FILE", *newFile, "The project file to write")->required();
  command->callback([projectFile, newFile] { SaveAs(*projectFile, *newFile); });
}

}  // namespace qm::cli
