#include <windows.h>

#include <gtest/gtest.h>

#include "support/child_process.h"

namespace qm::testing {
namespace {

// The exit code of a process ended by Kill or CrashThisProcess, which a
// helper never exits with by itself.
constexpr UINT kKilledExitCode = 0xDEAD;

// Each argument in double quotes, as the C runtime splits a command line
// (the test arguments hold no quote or backslash before a quote).
std::wstring CommandLine(const std::wstring& program, const std::vector<std::string>& arguments) {
  std::wstring line = L"\"" + program + L"\"";
  for (const std::string& argument : arguments) {
    line += L" \"" + std::wstring(argument.begin(), argument.end()) + L"\"";
  }
  return line;
}

}  // namespace

struct ChildProcess::Handles {
  HANDLE process = nullptr;
  HANDLE input = nullptr;
  HANDLE output = nullptr;
};

ChildProcess::ChildProcess(const std::vector<std::string>& arguments)
    : handles_(std::make_unique<Handles>()) {
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  HANDLE childInput = nullptr;
  HANDLE childOutput = nullptr;
  if (!::CreatePipe(&childInput, &handles_->input, &inherited, 0) ||
      !::CreatePipe(&handles_->output, &childOutput, &inherited, 0)) {
    ADD_FAILURE() << "CreatePipe failed: " << ::GetLastError();
    return;
  }
  // Only the child's ends are inherited; another child must not hold ours.
  ::SetHandleInformation(handles_->input, HANDLE_FLAG_INHERIT, 0);
  ::SetHandleInformation(handles_->output, HANDLE_FLAG_INHERIT, 0);
  wchar_t self[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring line = CommandLine(std::wstring(self, length), arguments);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = childInput;
  startup.hStdOutput = childOutput;
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process = {};
  if (::CreateProcessW(self, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &process)) {
    ::CloseHandle(process.hThread);
    handles_->process = process.hProcess;
  } else {
    ADD_FAILURE() << "CreateProcessW failed: " << ::GetLastError();
  }
  ::CloseHandle(childInput);
  ::CloseHandle(childOutput);
}

ChildProcess::~ChildProcess() {
  if (handles_->process != nullptr) Kill();
  if (handles_->input != nullptr) ::CloseHandle(handles_->input);
  if (handles_->output != nullptr) ::CloseHandle(handles_->output);
}

bool ChildProcess::started() const { return handles_->process != nullptr; }

bool ChildProcess::Write(std::string_view bytes) {
  DWORD written = 0;
  return ::WriteFile(handles_->input, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
         written == bytes.size();
}

size_t ChildProcess::Read(char* buffer, size_t size) {
  DWORD got = 0;
  if (!::ReadFile(handles_->output, buffer, static_cast<DWORD>(size), &got, nullptr)) return 0;
  return got;
}

void ChildProcess::Kill() {
  ::TerminateProcess(handles_->process, kKilledExitCode);
  ::WaitForSingleObject(handles_->process, INFINITE);
  ::CloseHandle(handles_->process);
  handles_->process = nullptr;
}

bool ChildProcess::Finish() {
  ::CloseHandle(handles_->input);
  handles_->input = nullptr;
  ::WaitForSingleObject(handles_->process, INFINITE);
  DWORD code = 0;
  ::GetExitCodeProcess(handles_->process, &code);
  ::CloseHandle(handles_->process);
  handles_->process = nullptr;
  return code != kKilledExitCode;
}

void CrashThisProcess() {
  ::TerminateProcess(::GetCurrentProcess(), kKilledExitCode);
  std::abort();
}

}  // namespace qm::testing
