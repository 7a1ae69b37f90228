#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/child_process.h"
#include "support/run_command.h"

extern char** environ;

namespace qm::testing {

struct ChildProcess::Handles {
  pid_t pid = -1;
  int input = -1;
  int output = -1;
};

ChildProcess::ChildProcess(const std::vector<std::string>& arguments)
    : handles_(std::make_unique<Handles>()) {
  signal(SIGPIPE, SIG_IGN);  // a child that died must fail a test, not end it
  int toChild[2];
  int fromChild[2];
  if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0) {
    ADD_FAILURE() << "pipe2 failed";
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
  // An emulator opens the program by its path itself, where /proc/self/exe
  // would name the emulator.
  std::vector<std::string> words = EmulatorWords();
  words.push_back(words.empty() ? "/proc/self/exe"
                                : std::filesystem::read_symlink("/proc/self/exe").string());
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  if (posix_spawn(&handles_->pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    ADD_FAILURE() << "posix_spawn failed";
    handles_->pid = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  close(toChild[0]);
  close(fromChild[1]);
  handles_->input = toChild[1];
  handles_->output = fromChild[0];
}

ChildProcess::~ChildProcess() {
  if (handles_->pid > 0) Kill();
  if (handles_->input >= 0) close(handles_->input);
  if (handles_->output >= 0) close(handles_->output);
}

bool ChildProcess::started() const { return handles_->pid > 0; }

bool ChildProcess::Write(std::string_view bytes) {
  return write(handles_->input, bytes.data(), bytes.size()) ==
         static_cast<ssize_t>(bytes.size());
}

size_t ChildProcess::Read(char* buffer, size_t size) {
  const ssize_t got = read(handles_->output, buffer, size);
  return got > 0 ? static_cast<size_t>(got) : 0;
}

void ChildProcess::Kill() {
  kill(handles_->pid, SIGKILL);
  waitpid(handles_->pid, nullptr, 0);
  handles_->pid = -1;
}

bool ChildProcess::Finish() {
  close(handles_->input);
  handles_->input = -1;
  int status = 0;
  waitpid(handles_->pid, &status, 0);
  handles_->pid = -1;
  return WIFEXITED(status);
}

void CrashThisProcess() {
  raise(SIGKILL);
  std::abort();
}

}  // namespace qm::testing
