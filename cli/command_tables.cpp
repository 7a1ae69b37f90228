// qmpe tables PROJECT_FILE: the record count of every table.
#include <cstdio>
#include <iostream>
#include <memory>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/open_project.h"

namespace qm::cli {
namespace {

template <class Table>
size_t CountOf(const std::unique_ptr<Table>& table) {
  return table ? table->size() : 0;
}

void PrintTables(const std::string& projectFile) {
  OpenProject project(projectFile, 0);
  const ConfigTableSet& set = project.workingTables();
  struct Row {
    const char* name;
    size_t count;
  };
  const Row rows[] = {
      {"General", CountOf(set.general)},     {"Timer", CountOf(set.timers)},
      {"Database", CountOf(set.databases)},  {"User", CountOf(set.users)},
      {"Trend", CountOf(set.trends)},        {"IO", CountOf(set.ioPorts)},
      {"IO devices", CountOf(set.ioDevices)}, {"IO tags", CountOf(set.ioTags)},
      {"Output", CountOf(set.outputs)},      {"Alarm", CountOf(set.alarms)},
      {"Script", CountOf(set.scripts)},
  };
  size_t total = 0;
  std::cout << project.path() << "\n";
  for (const Row& row : rows) {
    std::printf("  %-12s %9zu\n", row.name, row.count);
    total += row.count;
  }
  std::printf("  %-12s %9zu\n", "total", total);
}

}  // namespace

void AddTablesCommand(CLI::App& app) {
  auto* command = app.add_subcommand("tables", "Print the record count of every table");
  auto projectFile = std::make_shared<std::string>();
  command->add_option("PROJECT_FILE", *projectFile, "The project file (e.g. plant.qmp)")
      ->required();
  command->callback([projectFile] { PrintTables(*projectFile); });
}

}  // namespace qm::cli
