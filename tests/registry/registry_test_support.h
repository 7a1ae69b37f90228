// What the registry tests share: a private folder for the named objects of
// each test (so tests never meet the user's own registry or each other's
// leftovers), and helper processes, which are this test program re-run
// with --registry-helper and driven line by line through their standard
// input and output (see registry_test_main.cpp for their commands).
#ifndef QMPECORE_TESTS_REGISTRY_REGISTRY_TEST_SUPPORT_H_
#define QMPECORE_TESTS_REGISTRY_REGISTRY_TEST_SUPPORT_H_

#include <gtest/gtest.h>
#include <sys/types.h>

#include <string>

#include "qmpecore/editor_map.h"

namespace qm::testing {

inline constexpr char kHelperFlag[] = "--registry-helper";

// Runs the helper's command loop; the process's main calls it.
int RunRegistryHelper(const std::string& folder);

// A test whose named objects live in a fresh folder under /dev/shm,
// removed with everything in it afterwards.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  const std::string& folder() const { return folder_; }
  bool SegmentFileExists() const;
  EditorMap Editors();  // QmGetEditors' list; fails the test on -1

 private:
  std::string folder_;
};

class Helper {
 public:
  explicit Helper(const std::string& folder);
  ~Helper();  // kills the helper if it still runs
  Helper(const Helper&) = delete;
  Helper& operator=(const Helper&) = delete;

  void Send(const std::string& command);
  std::string ReadLine();  // empty once the helper has ended
  std::string Ask(const std::string& command) {
    Send(command);
    return ReadLine();
  }
  void Kill();  // SIGKILL, then reap
  int Finish();  // closes its input and reaps it; the wait status

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  std::string buffered_;
};

}  // namespace qm::testing

#endif  // QMPECORE_TESTS_REGISTRY_REGISTRY_TEST_SUPPORT_H_
