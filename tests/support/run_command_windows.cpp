#include <stdio.h>
#include <windows.h>

#include "support/run_command.h"

namespace qm::testing {

// The command (UTF-8) goes to cmd.exe /c as wide text, so that names
// outside the ANSI code page pass. cmd.exe drops the first and the last
// quote of a line that holds more than two; the outer pair here is what it
// drops.
int RunCommand(const std::string& command, std::string* output) {
  std::string line = "\"";
  line.append(command).push_back('"');
  std::wstring wide(line.size(), L'\0');
  wide.resize(static_cast<size_t>(::MultiByteToWideChar(
      CP_UTF8, 0, line.data(), static_cast<int>(line.size()), wide.data(),
      static_cast<int>(wide.size()))));
  FILE* pipe = _wpopen(wide.c_str(), L"rb");
  if (pipe == nullptr) return -1;
  std::string text;
  char buffer[4096];
  for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, got);
  const int status = _pclose(pipe);
  if (output != nullptr) *output = std::move(text);
  return status;
}

// qmpe.exe stands beside the test programs, with the DLLs it loads.
std::string QmpeCommand(const std::string& arguments) {
  wchar_t self[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  const auto qmpe = std::filesystem::path(std::wstring(self, length)).parent_path() / "qmpe.exe";
  return ProgramCommand(qmpe) + " " + arguments + " 2>&1";
}

std::string Quoted(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  std::string quoted = "\"";
  quoted.append(utf8.begin(), utf8.end());
  quoted += '"';
  return quoted;
}

}  // namespace qm::testing
