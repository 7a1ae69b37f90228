#include <iterator>
#include <sstream>

#include "support/run_command.h"

namespace qm::testing {

int RunQmpe(const std::string& arguments, std::string* output) {
  return RunCommand(QmpeCommand(arguments), output);
}

std::vector<std::string> EmulatorWords() {
  std::istringstream words(QM_TEST_EMULATOR);
  return {std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()};
}

std::string ProgramCommand(const std::filesystem::path& program) {
  std::string command;
  for (const std::string& word : EmulatorWords()) command += Quoted(word) + " ";
  return command + Quoted(program);
}

}  // namespace qm::testing
