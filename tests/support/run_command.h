// Runs a shell command, or the qmpe program built with the tests, and
// collects what it prints.
#ifndef QMPECORE_TESTS_SUPPORT_RUN_COMMAND_H_
#define QMPECORE_TESTS_SUPPORT_RUN_COMMAND_H_

#include <stdio.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>

namespace qm::testing {

// The command's exit code (-1 when it did not exit); its standard output
// goes to `output` when given.
inline int RunCommand(const std::string& command, std::string* output = nullptr) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  std::string text;
  char buffer[4096];
  for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, got);
  const int status = pclose(pipe);
  if (output != nullptr) *output = std::move(text);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// qmpe with `arguments`; what it writes to either stream goes to `output`.
inline int RunQmpe(const std::string& arguments, std::string* output = nullptr) {
  return RunCommand(std::string(QM_QMPE_PATH) + " " + arguments + " 2>&1", output);
}

inline std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

}  // namespace qm::testing

#endif  // QMPECORE_TESTS_SUPPORT_RUN_COMMAND_H_
