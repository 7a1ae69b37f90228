#include <stdio.h>
#include <sys/wait.h>

#include "support/run_command.h"

namespace qm::testing {

int RunCommand(const std::string& command, std::string* output) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  std::string text;
  char buffer[4096];
  for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, got);
  const int status = pclose(pipe);
  if (output != nullptr) *output = std::move(text);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string QmpeCommand(const std::string& arguments) {
  return ProgramCommand(QM_QMPE_PATH) + " " + arguments + " 2>&1";
}

std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

}  // namespace qm::testing
