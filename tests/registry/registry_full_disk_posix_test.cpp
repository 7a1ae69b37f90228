// The registry on a full disk: its lock files and objects made on a disk
// that fills at each of those calls in turn, and a real tmpfs that is
// full, where a mapping whose pages were only promised would kill the
// process with SIGBUS at its first store. Every call answers; none crashes;
// no entry is lost.
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "platform/named_object_files.h"
#include "qmpecore/qmpecore.h"
#include "registry/registry_test_support.h"
#include "support/full_disk.h"
#include "support/full_disk_posix.h"

namespace qm::testing {
namespace {

using FullRegistry = RegistryTest;

TEST_F(FullRegistry, EveryCreatingStepThatFailsLeavesTheRegistryAsItWas) {
  const FullDiskCalls calls;
  SweepFigures total;
  for (const Fill fill : {Fill::kOnce, Fill::kStaysFull}) {
    total += SweepFullDisk(fill, [&](const auto& arm) {
      arm();
      const bool added = QmAddEditor(u"/plant.qmp", 1);
      if (!added) {
        // What was made before the failure may stay, as after any failed
        // call, but it holds no entry, and the next call goes on from it.
        EditorMap list;
        EXPECT_LE(QmGetEditors(&list), 0);
        EXPECT_TRUE(list.empty());
        return;
      }
      EXPECT_EQ(Editors(), (EditorMap{{u"/plant.qmp", 1}}));
      EXPECT_TRUE(QmRemoveEditor(u"/plant.qmp", 1));  // empty again, for the next run
    });
  }
  EXPECT_GT(total.injected, 0);
  std::cout << "full disk at each step that makes the registry: " << total.attempts
            << " runs, " << total.injected << " failures injected\n";

  // The registry works again once there is room.
  ASSERT_TRUE(QmAddEditor(u"/plant.qmp", 1));
  const FullDiskCalls stillCounted;
  FullDisk::Get().Arm(1, Fill::kStaysFull);
  EXPECT_TRUE(QmAddEditor(u"/other.qmp", 2));  // the segment exists: nothing more to make
  FullDisk::Get().Disarm();
  EXPECT_EQ(Editors(), (EditorMap{{u"/plant.qmp", 1}, {u"/other.qmp", 2}}));
}

// The child's answers.
constexpr int kAdded = 10;
constexpr int kRefused = 11;
constexpr int kNoNamespace = 77;

// Makes this (child) process a mount namespace of its own, whose mounts
// reach no other process; false where the system allows none.
bool OwnMounts() {
  if (geteuid() != 0) {
    const uid_t uid = geteuid();
    const gid_t gid = getegid();
    if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
    std::ofstream("/proc/self/setgroups") << "deny";
    std::ofstream("/proc/self/uid_map") << "0 " << uid << " 1";
    std::ofstream("/proc/self/gid_map") << "0 " << gid << " 1";
  } else if (unshare(CLONE_NEWNS) != 0) {
    return false;
  }
  return mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

// In a child: a small tmpfs filled to the last byte holds the registry.
[[noreturn]] void AddOnAFullTmpfs(const std::string& mountPoint) {
  if (!OwnMounts()) _exit(kNoNamespace);
  if (mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=256k,mode=0700") != 0) {
    _exit(kNoNamespace);
  }
  {
    std::ofstream filler(mountPoint + "/filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) {
    }
  }
  const std::string folder = mountPoint + "/registry";
  if (mkdir(folder.c_str(), 0700) != 0) _exit(kNoNamespace);
  platform::SetNamedObjectFolder(folder);
  _exit(QmAddEditor(u"/plant.qmp", 1) ? kAdded : kRefused);
}

TEST(FullShm, AFullTmpfsRefusesTheCallInsteadOfKillingTheProcess) {
  const std::string mountPoint = std::filesystem::temp_directory_path() /
                                 ("qmpe-full-shm-" + std::to_string(getpid()));
  ASSERT_TRUE(std::filesystem::create_directory(mountPoint));
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) AddOnAFullTmpfs(mountPoint);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  std::filesystem::remove(mountPoint);
  ASSERT_FALSE(WIFSIGNALED(status)) << "killed by signal " << WTERMSIG(status) << " ("
                                    << strsignal(WTERMSIG(status)) << ")";
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == kNoNamespace) {
    GTEST_SKIP() << "no mount namespace can be made here, so no small tmpfs to fill";
  }
  EXPECT_EQ(WEXITSTATUS(status), kRefused);
}

}  // namespace
}  // namespace qm::testing
