// A process that stops while it holds an object's creation lock (the lock
// that orders opening and closing a named object across processes) must
// not stall registry calls past their wait: they fail as a timed-out wait
// for the registry's mutex does.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "platform/named_object_files.h"
#include "qmpecore/qmpecore.h"
#include "registry/registry_lock.h"
#include "registry/registry_test_support.h"

namespace qm::testing {
namespace {

using std::chrono::steady_clock;

// A child that takes the lock file's flock and then stays stuck for five
// seconds, far past the registry's wait, before it dies; killed when done.
class StuckLockHolder {
 public:
  explicit StuckLockHolder(const std::string& lockFile) {
    int ready[2];
    EXPECT_EQ(pipe(ready), 0);
    pid_ = fork();
    if (pid_ == 0) {
      const int fd = open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
      if (fd < 0 || flock(fd, LOCK_EX) != 0) _exit(1);
      if (write(ready[1], "1", 1) != 1) _exit(1);
      sleep(5);
      _exit(0);
    }
    close(ready[1]);
    char reply = 0;
    locked_ = read(ready[0], &reply, 1) == 1;
    close(ready[0]);
  }
  ~StuckLockHolder() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  StuckLockHolder(const StuckLockHolder&) = delete;
  StuckLockHolder& operator=(const StuckLockHolder&) = delete;

  bool locked() const { return locked_; }

 private:
  pid_t pid_ = -1;
  bool locked_ = false;
};

using CreationLockWait = RegistryTest;

void ExpectAddFailsWithinTheWait(const std::string& registry, platform::NamedObjectKind kind,
                                 const char16_t* name) {
  StuckLockHolder holder(registry + "/lock." + platform::NamedObjectFileName(kind, name));
  ASSERT_TRUE(holder.locked());
  const auto start = steady_clock::now();
  EXPECT_FALSE(QmAddEditor(u"/p", 1));
  const auto waited = steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(kRegistryWaitMs));
  EXPECT_LT(waited, std::chrono::seconds(3));
}

TEST_F(CreationLockWait, ACallGivesUpOnTheSegmentsLock) {
  ExpectAddFailsWithinTheWait(registry(), platform::NamedObjectKind::kMapping,
                              kRegistrySegmentName);
  EXPECT_TRUE(QmAddEditor(u"/p", 1));  // usable again once the holder has gone
}

TEST_F(CreationLockWait, ACallGivesUpOnTheMutexsLock) {
  ExpectAddFailsWithinTheWait(registry(), platform::NamedObjectKind::kMutex, kRegistryMutexName);
  EXPECT_TRUE(QmAddEditor(u"/p", 1));
}

}  // namespace
}  // namespace qm::testing
