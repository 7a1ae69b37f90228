// qmpe find PROJECT_FILE TEXT [--scope S] [--match-case] [--word] [--regex]
// [--json|--json-lines|--count|-l] [--max-count N] [-A N] [-B N] [-C N]
// [--color WHEN] [--threads N]: the
// places that hold TEXT, through QmFindInProjectEx, each printed as it is
// found. Exit 0 with results, 1 without, 2 on error.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/find_flags.h"
#include "cli/find_printer.h"
#include "cli/open_project.h"
#include "cli/table_names.h"
#include "cli/unread_folder_warning.h"
#include "platform/standard_streams.h"
#include "qmpecore/qmpecore_ext.h"

namespace qm::cli {
namespace {

struct FindOptions {
  std::string projectFile;
  std::string text;
  std::string scope = "Entire Project";
  FindFlagOptions matching;
  FileThreadsOption threads;
  bool json = false;
  bool jsonLines = false;
  bool count = false;
  bool places = false;
  uint64_t maxCount = 0;
  // -1: not given; -A and -B are --context's unless given.
  int32_t context = -1;
  int32_t after = -1;
  int32_t before = -1;
  std::string color = "auto";
};

// Color when asked, or by default when a person reads standard output and
// has not asked for none (NO_COLOR, as command-line tools agree).
bool UseColor(const std::string& when) {
  if (when != "auto") return when == "always";
  const char* noColor = std::getenv("NO_COLOR");
  return platform::IsTerminal(platform::StandardStream::kOutput) &&
         (noColor == nullptr || noColor[0] == '\0');
}

// The project is searched once, without holding an editor open, and each
// result is printed as it is found.
void Find(const FindOptions& options) {
  const std::string path = ProjectFilePath(options.projectFile);
  const std::u16string pathText = PathText(path);
  // Scope items may be paths, or name tables as qmpe usages takes them.
  const std::u16string scope = PathText(ScopeWithTableItems(options.scope));
  const std::u16string text = ToText(options.text);
  FindPrintOptions printing;
  printing.form = options.json        ? FindOutput::kJsonArray
                  : options.jsonLines ? FindOutput::kJsonLines
                  : options.count     ? FindOutput::kCounts
                  : options.places    ? FindOutput::kPlaces
                                      : FindOutput::kHuman;
  printing.maxPerPlace = options.maxCount;
  printing.color = UseColor(options.color);
  printing.contextLines = options.context >= 0 || options.after >= 0 || options.before >= 0;
  const int32_t context = std::max(options.context, 0);
  printing.linesAfter = options.after >= 0 ? options.after : context;
  printing.linesBefore = options.before >= 0 ? options.before : context;
  const int32_t flags = options.matching.flags();
  const std::unique_ptr<QmFindMatcher, decltype(&QmFreeFindMatcher)> matcher(
      QmCreateFindMatcher(text.c_str(), flags), &QmFreeFindMatcher);
  if (matcher == nullptr) throw CommandError(PatternErrorMessage(text, flags));
  FindPrinter printer(stdout, printing, matcher.get());
  const int32_t found =
      QmFindInProjectEx(pathText.c_str(), scope.c_str(), text.c_str(),
                        flags | options.threads.flags(), PrintFoundResult,
                        &printer, WarnOfUnreadFolder, nullptr);
  const bool written = printer.Finish();
  if (found == kQmFindCannotOpen) throw CommandError(CannotOpenMessage(path));
  if (found == kQmFindMatchLimit) {
    throw CommandError(
        "the regular expression's matching ran past the match limit; the find stopped there, "
        "after the results above");
  }
  if (found < 0) throw CommandError("the find failed");
  if (!written) throw CommandError("cannot write the results");
  ExitWith(printer.printed() == 0 ? kExitNo : kExitSuccess);
}

}  // namespace

void AddFindCommand(CLI::App& app) {
  auto* command = app.add_subcommand(
      "find",
      "Find a text in every field of every table and every line of the project's text "
      "files. Scopes: \"Entire Project\" (default), \"All Grid Tables\", \"All Files\", "
      "a table by name (\"io_tags\", \"alarm\", as qmpe tables names it) or number \"3|\", "
      "the devices of port 4 \"20|4\", the tags of device 9 \"21|9\", file patterns \"*.js\", "
      "relative or absolute file names, or a comma list of these (\"alarm,*.js\")");
  auto options = std::make_shared<FindOptions>();
  command->add_option("PROJECT_FILE", options->projectFile, "The project file")->required();
  command->add_option("TEXT", options->text, "The text to find")->required();
  command->add_option("--scope", options->scope, "What to search")->capture_default_str();
  AddFindFlagOptions(command, &options->matching);
  AddFileThreadsOption(command, &options->threads);
  auto* json = command->add_flag(
      "--json", options->json,
      "Print one JSON array of the results (nine fields each) and nothing else");
  command
      ->add_flag("--json-lines", options->jsonLines,
                 "Print each result as one JSON object (nine fields) on a line of its own")
      ->excludes(json);
  auto* count = command->add_flag("--count", options->count,
                                  "Print each table and file with its number of results, then "
                                  "the total");
  count->excludes(json)->excludes("--json-lines");
  command->add_flag("-l,--files-with-matches", options->places,
                    "Print only the tables and files that hold a result, once each")
      ->excludes(json)
      ->excludes("--json-lines")
      ->excludes(count);
  command->add_option("-m,--max-count", options->maxCount,
                      "At most N results of each table and file");
  const auto lines = CLI::Range(0, 1000000);
  command->add_option("-A,--after-context", options->after,
                      "Print N lines of a file after each result, \"--\" between groups, "
                      "as grep prints them: path-line-text")
      ->check(lines);
  command->add_option("-B,--before-context", options->before,
                      "Print N lines of a file before each result")
      ->check(lines);
  command->add_option("-C,--context", options->context,
                      "Print N lines of a file before and after each result (-A and -B "
                      "given as well win)")
      ->check(lines);
  for (const char* context : {"-A", "-B", "-C"}) {
    command->get_option(context)->excludes(json)->excludes("--json-lines")->excludes(count)
        ->excludes("-l");
  }
  command->add_option("--color", options->color,
                      "Color the places, line numbers and matches: auto (when standard "
                      "output is a terminal and NO_COLOR is not set), always or never")
      ->check(CLI::IsMember({"auto", "always", "never"}))
      ->capture_default_str();
  command->callback([options] { Find(*options); });
}

}  // namespace qm::cli
