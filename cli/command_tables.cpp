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
  const size_t counts[kSlotCount] = {
      CountOf(set.general), CountOf(set.timers),    CountOf(set.databases), CountOf(set.users),
      CountOf(set.trends),  CountOf(set.ioPorts),   CountOf(set.ioDevices), CountOf(set.ioTags),
      CountOf(set.outputs), CountOf(set.alarms),    CountOf(set.scripts),
  };
  const std::array<int32_t, kSlotCount> unread = project.UnreadTableCodes();
  size_t total = 0;
  std::cout << project.path() << "\n";
  for (size_t slot = 0; slot < kSlotCount; ++slot) {
    if (unread[slot] != 0) {
      std::printf("  %-12s unreadable (code %d)\n", kSlotNames[slot], unread[slot]);
      continue;
    }
    std::printf("  %-12s %9zu\n", kSlotNames[slot], counts[slot]);
    total += counts[slot];
  }
  std::printf("  %-12s %9zu\n", "total", total);
  std::fflush(stdout);
  project.RequireEveryTableRead();
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
