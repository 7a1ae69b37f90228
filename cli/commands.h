// The sub-commands of qmpe. Each Add*Command registers one sub-command
// (with its options and its --help) on the application; the command's run
// function sets the process exit code through ExitWith.
#ifndef QMPECORE_CLI_COMMANDS_H_
#define QMPECORE_CLI_COMMANDS_H_

#include <CLI/CLI.hpp>

namespace qm::cli {

void AddSampleCommand(CLI::App& app);
void AddTablesCommand(CLI::App& app);
void AddSaveAsCommand(CLI::App& app);
void AddEditorsCommand(CLI::App& app);
void AddOpenCommand(CLI::App& app);
void AddFilesCommand(CLI::App& app);
void AddFindCommand(CLI::App& app);
void AddUsagesCommand(CLI::App& app);
void AddRenameCommand(CLI::App& app);
void AddReplaceCommand(CLI::App& app);
void AddExportCommand(CLI::App& app);
void AddImportCommand(CLI::App& app);
void AddCheckCommand(CLI::App& app);

}  // namespace qm::cli

#endif  // QMPECORE_CLI_COMMANDS_H_
