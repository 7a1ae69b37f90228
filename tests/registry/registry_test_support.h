// What the registry tests share: a private registry for each test (so tests
// never meet the user's own registry or each other's leftovers), and helper
// processes, which are this test program re-run with --registry-helper and
// driven line by line through their standard input and output (see
// registry_test_main.cpp for their commands).
#ifndef QMPECORE_TESTS_REGISTRY_REGISTRY_TEST_SUPPORT_H_
#define QMPECORE_TESTS_REGISTRY_REGISTRY_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "qmpecore/editor_map.h"
#include "support/child_process.h"

namespace qm::testing {

inline constexpr char kHelperFlag[] = "--registry-helper";

// A registry of one test alone, by backend (registry_backend_*.cpp): a
// folder of its own on POSIX, a tag on the object names on Windows. The
// token names it to helper processes, which join it.
std::string MakePrivateRegistry();
void JoinPrivateRegistry(const std::string& token);
void RemovePrivateRegistry(const std::string& token);
bool RegistrySegmentExists(const std::string& token);
// Drops this process to another user and group; false where it cannot.
bool BecomeUser(uint32_t id);
// Whether the system hands a lock whose holder died to the next waiter, as
// the registry's mutex needs: qemu's user-mode emulation, which runs the
// 32-bit Linux build, keeps no robust futex list for the program.
bool AbandonedLocksAreHandedOn();
inline constexpr char kNoAbandonedLocks[] =
    "a lock whose holder died is never handed on here (no robust futex list: qemu user-mode)";

// Runs the helper's command loop; the process's main calls it.
int RunRegistryHelper(const std::string& token);

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  const std::string& registry() const { return registry_; }
  bool SegmentExists() const { return RegistrySegmentExists(registry_); }
  EditorMap Editors();  // QmGetEditors' list; fails the test on -1

 private:
  std::string registry_;
};

class Helper {
 public:
  explicit Helper(const std::string& registry);

  void Send(const std::string& command);
  std::string ReadLine();  // empty once the helper has ended
  std::string Ask(const std::string& command) {
    Send(command);
    return ReadLine();
  }
  void Kill() { process_.Kill(); }  // as a crash would
  // Closes its input and waits for it; true when it exited by itself.
  bool Finish() { return process_.Finish(); }

 private:
  ChildProcess process_;
  std::string buffered_;
};

}  // namespace qm::testing

#endif  // QMPECORE_TESTS_REGISTRY_REGISTRY_TEST_SUPPORT_H_
