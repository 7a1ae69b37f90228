#include "registry/registry_test_support.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/named_object_files.h"
#include "qmpecore/qmpecore.h"
#include "registry/registry_lock.h"

extern char** environ;

namespace qm::testing {

void RegistryTest::SetUp() {
  char pattern[] = "/dev/shm/qmpe-test-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  folder_ = pattern;
  platform::SetNamedObjectFolder(folder_);
}

void RegistryTest::TearDown() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

bool RegistryTest::SegmentFileExists() const {
  return std::filesystem::exists(
      folder_ + "/" +
      platform::NamedObjectFileName(platform::NamedObjectKind::kMapping, kRegistrySegmentName));
}

EditorMap RegistryTest::Editors() {
  EditorMap list;
  EXPECT_GE(QmGetEditors(&list), 0);
  return list;
}

Helper::Helper(const std::string& folder) {
  int toHelper[2];
  int fromHelper[2];
  if (pipe2(toHelper, O_CLOEXEC) != 0 || pipe2(fromHelper, O_CLOEXEC) != 0) {
    ADD_FAILURE() << "pipe2 failed";
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, toHelper[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, fromHelper[1], STDOUT_FILENO);
  std::string program = "/proc/self/exe";
  std::string flag = kHelperFlag;
  std::string folderArgument = folder;
  char* argv[] = {program.data(), flag.data(), folderArgument.data(), nullptr};
  if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, environ) != 0) {
    ADD_FAILURE() << "posix_spawn failed";
    pid_ = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  close(toHelper[0]);
  close(fromHelper[1]);
  input_ = toHelper[1];
  output_ = fromHelper[0];
}

Helper::~Helper() {
  if (pid_ > 0) Kill();
  if (input_ >= 0) close(input_);
  if (output_ >= 0) close(output_);
}

void Helper::Send(const std::string& command) {
  const std::string line = command + "\n";
  ASSERT_EQ(write(input_, line.data(), line.size()), static_cast<ssize_t>(line.size()));
}

std::string Helper::ReadLine() {
  size_t end;
  while ((end = buffered_.find('\n')) == std::string::npos) {
    char chunk[4096];
    const ssize_t n = read(output_, chunk, sizeof chunk);
    if (n <= 0) return std::exchange(buffered_, {});
    buffered_.append(chunk, static_cast<size_t>(n));
  }
  std::string line = buffered_.substr(0, end);
  buffered_.erase(0, end + 1);
  return line;
}

void Helper::Kill() {
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

int Helper::Finish() {
  close(input_);
  input_ = -1;
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  return status;
}

}  // namespace qm::testing
