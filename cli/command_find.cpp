// qmpe find PROJECT_FILE TEXT [--scope S] [--match-case] [--json|--json-lines]:
// the places that hold TEXT, through QmFind. Exit 0 with results, 1
// without, 2 on error.
#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/open_project.h"
#include "platform/text_case.h"

namespace qm::cli {
namespace {

struct FindOptions {
  std::string projectFile;
  std::string text;
  std::string scope = "Entire Project";
  bool matchCase = false;
  bool json = false;
  bool jsonLines = false;
};

nlohmann::ordered_json ToJson(const FindResult& result) {
  return {{"tableNumber", result.tableNumber},   {"location", ToUtf8(result.location)},
          {"recordId", result.recordId},         {"column", result.column},
          {"columnName", ToUtf8(result.columnName)}, {"label", ToUtf8(result.label)},
          {"matchedText", ToUtf8(result.matchedText)},
          {"searchText", ToUtf8(result.searchText)}, {"parentId", result.parentId}};
}

// The column of a file hit within its line, counted from 1 as editors and
// other search tools count it (the result's column is the offset in the
// whole text): where the line first holds the text, by the find's own
// matching rule.
size_t ColumnInLine(const FindResult& result, bool matchCase) {
  const size_t at = matchCase
                        ? platform::FindText(result.matchedText, result.searchText)
                        : platform::FindTextIgnoreCase(result.matchedText, result.searchText);
  return at == std::u16string::npos ? 1 : at + 1;
}

void PrintHuman(const FindResultList& results, bool matchCase) {
  for (const FindResult& result : results) {
    if (result.tableNumber == kTableFile) {
      std::printf("%s:%d:%zu: %s\n", ToUtf8(result.location).c_str(), result.recordId,
                  ColumnInLine(result, matchCase), ToUtf8(result.matchedText).c_str());
    } else {
      std::printf("%s: %s: %s\n", ToUtf8(result.location).c_str(),
                  ToUtf8(result.label).c_str(), ToUtf8(result.matchedText).c_str());
    }
  }
  std::printf("%zu result%s\n", results.size(), results.size() == 1 ? "" : "s");
}

void Find(const FindOptions& options) {
  OpenProject project(options.projectFile, 0);
  std::u16string scope = ToText(options.scope);
  std::u16string text = ToText(options.text);
  FindResultList results;
  int32_t count = QmFind(project.manager(), &results, scope.c_str(), text.c_str(),
                         options.matchCase ? 1 : 0);
  if (count < 0) throw CommandError("the find failed");
  if (options.json) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const FindResult& result : results) list.push_back(ToJson(result));
    std::cout << list.dump(2) << "\n";
  } else if (options.jsonLines) {
    for (const FindResult& result : results) std::cout << ToJson(result).dump() << "\n";
  } else {
    PrintHuman(results, options.matchCase);
  }
  ExitWith(results.empty() ? kExitNo : kExitSuccess);
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
