// qmpe files PROJECT_FILE [--include PAT]... [--exclude PAT]... [--full]
// [--with-project-file]: the project's files as QmGetAllFiles gives them.
#include <cstdio>
#include <memory>
#include <vector>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/open_project.h"
#include "platform/file_names.h"

namespace qm::cli {
namespace {

struct FilesOptions {
  std::string projectFile;
  std::vector<std::string> include;
  std::vector<std::string> exclude;
  bool full = false;
  bool withProjectFile = false;
};

PatternList Patterns(const std::vector<std::string>& patterns) {
  PatternList list;
  for (const std::string& pattern : patterns) list.push_back(ToText(pattern));
  return list;
}

void ListFiles(const FilesOptions& options) {
  OpenProject project(options.projectFile, 0);
  project.WarnOfUnreadFolders();
  PatternList include = Patterns(options.include);
  PatternList exclude = Patterns(options.exclude);
  int32_t flags = (options.full ? 1 : 0) | (options.withProjectFile ? 2 : 0);
  FileNameSet files;
  QmGetAllFiles(project.editor().fileManager, &files, &include, &exclude, flags);
  for (const std::u16string& file : files) {
    // Printed as the file system's own bytes, so names that are not UTF-8
    // come out as they are on disk.
    std::string native = platform::TextToNativeName(file);
    std::fwrite(native.data(), 1, native.size(), stdout);
    std::fputc('\n', stdout);
  }
  ExitWith(files.empty() ? kExitNo : kExitSuccess);
}

}  // namespace

void AddFilesCommand(CLI::App& app) {
  auto* command = app.add_subcommand(
      "files",
      "List the project's files, sorted, relative to the project folder; patterns use "
      "\"*\" and \"?\", ignore case and match the full path (so \"*.js\" matches any "
      "JavaScript file)");
  auto options = std::make_shared<FilesOptions>();
  command->add_option("PROJECT_FILE", options->projectFile, "The project file")->required();
  command->add_option("--include", options->include, "Keep only paths matching one of these");
  command->add_option("--exclude", options->exclude, "Leave out paths matching any of these");
  command->add_flag("--full", options->full, "Print full paths");
  command->add_flag("--with-project-file", options->withProjectFile,
                    "Keep the project file itself in the list");
  command->callback([options] { ListFiles(*options); });
}

}  // namespace qm::cli
