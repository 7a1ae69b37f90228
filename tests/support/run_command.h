// Runs a command through the platform's shell, or the qmpe program built
// with the tests, and collects what it prints.
#ifndef QMPECORE_TESTS_SUPPORT_RUN_COMMAND_H_
#define QMPECORE_TESTS_SUPPORT_RUN_COMMAND_H_

#include <filesystem>
#include <string>
#include <vector>

namespace qm::testing {

// The command's exit code (-1 when it did not exit); its standard output
// goes to `output` when given.
int RunCommand(const std::string& command, std::string* output = nullptr);

// qmpe with `arguments`; what it writes to either stream goes to `output`.
int RunQmpe(const std::string& arguments, std::string* output = nullptr);
// The shell command that RunQmpe runs, for a test that adds to it.
std::string QmpeCommand(const std::string& arguments);

// The words that come before a program built here to start it: the
// emulator of the 32-bit Linux build (its kernel may not run the program
// itself), none in any other build.
std::vector<std::string> EmulatorWords();
// `program`, built here, as the first words of a shell command.
std::string ProgramCommand(const std::filesystem::path& program);

// The path as one argument of the platform's shell.
std::string Quoted(const std::filesystem::path& path);

}  // namespace qm::testing

#endif  // QMPECORE_TESTS_SUPPORT_RUN_COMMAND_H_
