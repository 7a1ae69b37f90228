// qmpe find PROJECT_FILE TEXT [--scope S] [--match-case] [--word] [--regex]
// [--json|--json-lines]: the places that hold TEXT, through
// QmFindInProjectEx, each printed as it is found. Exit 0 with results, 1
// without, 2 on error.
#include <cstdio>
#include <memory>
#include <string>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/find_printer.h"
#include "cli/open_project.h"
#include "cli/unread_folder_warning.h"
#include "qmpecore/qmpecore_ext.h"

namespace qm::cli {
namespace {

struct FindOptions {
  std::string projectFile;
  std::string text;
  std::string scope = "Entire Project";
  bool matchCase = false;
  bool wholeWord = false;
  bool regex = false;
  bool json = false;
  bool jsonLines = false;
};

std::string PatternErrorMessage(const std::u16string& text, int32_t flags) {
  char16_t message[256] = {};
  int32_t offset = 0;
  if (QmCheckFindText(text.c_str(), flags, message, 256, &offset) != kQmFindBadPattern) {
    return "the find text cannot be used";
  }
  return "the regular expression does not compile at offset " + std::to_string(offset) + ": " +
         ToUtf8(message);
}

// The project is searched once, without holding an editor open, and each
// result is printed as it is found.
void Find(const FindOptions& options) {
  const std::string path = ProjectFilePath(options.projectFile);
  const std::u16string pathText = PathText(path);
  // Scope items may be paths.
  const std::u16string scope = PathText(options.scope);
  const std::u16string text = ToText(options.text);
  const FindOutput form = options.json        ? FindOutput::kJsonArray
                          : options.jsonLines ? FindOutput::kJsonLines
                                              : FindOutput::kHuman;
  const int32_t flags = (options.matchCase ? kQmFindMatchCase : 0) |
                        (options.wholeWord ? kQmFindWholeWord : 0) |
                        (options.regex ? kQmFindRegex : 0);
  const std::unique_ptr<QmFindMatcher, decltype(&QmFreeFindMatcher)> matcher(
      QmCreateFindMatcher(text.c_str(), flags), &QmFreeFindMatcher);
  if (matcher == nullptr) throw CommandError(PatternErrorMessage(text, flags));
  FindPrinter printer(stdout, form, matcher.get());
  const int32_t found =
      QmFindInProjectEx(pathText.c_str(), scope.c_str(), text.c_str(), flags, PrintFoundResult,
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
      "a table \"3|\", the devices of port 4 \"20|4\", the tags of device 9 \"21|9\", file "
      "patterns \"*.js\", relative or absolute file names, or a comma list of these");
  auto options = std::make_shared<FindOptions>();
  command->add_option("PROJECT_FILE", options->projectFile, "The project file")->required();
  command->add_option("TEXT", options->text, "The text to find")->required();
  command->add_option("--scope", options->scope, "What to search")->capture_default_str();
  command->add_flag("--match-case", options->matchCase, "Match letter case exactly");
  command->add_flag("--word", options->wholeWord,
                    "Match whole words only: no letter, digit or connector punctuation just "
                    "before or after a match");
  command->add_flag("--regex", options->regex,
                    "TEXT is a regular expression (PCRE2 syntax, Unicode classes), matched "
                    "against each field text and file line");
  auto* json = command->add_flag(
      "--json", options->json,
      "Print one JSON array of the results (nine fields each) and nothing else");
  command
      ->add_flag("--json-lines", options->jsonLines,
                 "Print each result as one JSON object (nine fields) on a line of its own")
      ->excludes(json);
  command->callback([options] { Find(*options); });
}

}  // namespace qm::cli
