// qmpe: make a sample project and look into a project from a shell.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "platform/command_line.h"
#include "qmpecore/version.h"

int main(int argc, char** argv) {
  CLI::App app{"qmpe: the project editor core from the command line"};
  app.set_version_flag("--version", "qmpe (qmpecore) " QMPECORE_VERSION,
                       "Print the version of qmpecore and exit");
  app.require_subcommand(1);
  qm::cli::AddSampleCommand(app);
  qm::cli::AddTablesCommand(app);
  qm::cli::AddSaveAsCommand(app);
  qm::cli::AddOpenCommand(app);
  qm::cli::AddFilesCommand(app);
  qm::cli::AddFindCommand(app);
  qm::cli::AddUsagesCommand(app);
  qm::cli::AddRenameCommand(app);
  qm::cli::AddReplaceCommand(app);
  qm::cli::AddExportCommand(app);
  qm::cli::AddImportCommand(app);
  qm::cli::AddCheckCommand(app);
  qm::cli::AddEditorsCommand(app);
  std::vector<std::string> arguments = qm::platform::CommandLineArguments(argc, argv);
  std::vector<char*> pointers;
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  try {
    app.parse(static_cast<int>(pointers.size()), pointers.data());
  } catch (const CLI::ParseError& e) {
    // CLI11 prints help and usage errors; usage errors exit with 2.
    int code = app.exit(e);
    return code == 0 ? 0 : qm::cli::kExitUsage;
  } catch (const qm::cli::CommandError& e) {
    std::cerr << "qmpe: " << e.what() << "\n";
    return e.exitCode();
  } catch (const std::exception& e) {
    std::cerr << "qmpe: " << e.what() << "\n";
    return qm::cli::kExitFailure;
  }
  return qm::cli::ExitCode();
}
