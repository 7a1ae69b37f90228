// qmpe usages PROJECT_FILE TABLE NAME [--json] [--threads N]: every place
// that refers to the record, through QmFindUsagesEx, printed as qmpe find
// prints results.
// Exit 0 with usages, 1 without, 2 on error.
#include <cstdio>
#include <memory>
#include <string>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/find_flags.h"
#include "cli/find_printer.h"
#include "cli/open_project.h"
#include "cli/table_names.h"
#include "qmpecore/qmpecore_ext.h"

namespace qm::cli {
namespace {

struct UsagesOptions {
  std::string projectFile;
  std::string table;
  std::string name;
  bool json = false;
  FileThreadsOption threads;
};

void PrintUsages(const UsagesOptions& options) {
  const int32_t table = RecordTableNumber(options.table);
  OpenProject project(options.projectFile, 0);
  project.WarnOfUnreadFolders();
  const int32_t id = project.RecordIdNamed(table, options.table, options.name);
  // The file lines hold the name as a whole word with its case: the human
  // form places each line's column with that matcher.
  const std::u16string name = ToText(options.name);
  const std::unique_ptr<QmFindMatcher, decltype(&QmFreeFindMatcher)> matcher(
      QmCreateFindMatcher(name.c_str(), kQmFindMatchCase | kQmFindWholeWord), &QmFreeFindMatcher);
  if (matcher == nullptr) throw CommandError("out of memory");
  FindPrinter printer(stdout, {options.json ? FindOutput::kJsonArray : FindOutput::kHuman},
                      matcher.get());
  const int32_t found = QmFindUsagesEx(project.manager(), table, id, options.threads.flags(),
                                       PrintFoundResult, &printer);
  const bool written = printer.Finish();
  if (found < 0) throw CommandError("the usages of " + options.name + " could not be listed");
  if (!written) throw CommandError("cannot write the results");
  ExitWith(printer.printed() == 0 ? kExitNo : kExitSuccess);
}

}  // namespace

void AddUsagesCommand(CLI::App& app) {
  auto* command = app.add_subcommand(
      "usages",
      "List every place that refers to a record: the records that refer to it by id (in the "
      "referring field), then the lines of the project's text files that hold its name as a "
      "whole word with the same letter case");
  auto options = std::make_shared<UsagesOptions>();
  command->add_option("PROJECT_FILE", options->projectFile, "The project file")->required();
  command->add_option("TABLE", options->table, "The record's table as qmpe tables names it "
                                               "(e.g. io_tags, timer, database)")
      ->required();
  command->add_option("NAME", options->name, "The record's name")->required();
  command->add_flag("--json", options->json,
                    "Print one JSON array of the usages (nine fields each, as qmpe find "
                    "--json) and nothing else");
  AddFileThreadsOption(command, &options->threads);
  command->callback([options] { PrintUsages(*options); });
}

}  // namespace qm::cli
