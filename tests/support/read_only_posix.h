// A project made read-only the three ways a person meets one: the project
// file's mode, its folder's mode, and a read-only mount (a bind mount of
// the folder onto itself, in the test's own mount namespace). File modes
// do not stop root, nor a process that is root in a user namespace (as the
// editor tests are, support/private_registry.sh); a mount needs a mount
// namespace of the test's own. Where the way cannot be had, whyNot() says
// why, for the test to skip with it.
#ifndef QMPECORE_TESTS_SUPPORT_READ_ONLY_POSIX_H_
#define QMPECORE_TESTS_SUPPORT_READ_ONLY_POSIX_H_

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace qm::testing {

enum class ReadOnlyWay { kFileMode, kFolderMode, kMount };
const char* NameOf(ReadOnlyWay way);
// The way as the name of a test instantiated with it.
inline std::string WayParamName(const ::testing::TestParamInfo<ReadOnlyWay>& info) {
  constexpr const char* kNames[] = {"FileMode", "FolderMode", "Mount"};
  return kNames[static_cast<int>(info.param)];
}

class ReadOnlyProject {
 public:
  // Makes the project file `file` in `folder` read-only by `way` until the
  // object goes.
  ReadOnlyProject(ReadOnlyWay way, const std::filesystem::path& folder,
                  const std::filesystem::path& file);
  ~ReadOnlyProject();
  ReadOnlyProject(const ReadOnlyProject&) = delete;
  ReadOnlyProject& operator=(const ReadOnlyProject&) = delete;

  // Empty when the project is read-only now.
  const std::string& whyNot() const { return whyNot_; }

 private:
  ReadOnlyWay way_;
  std::filesystem::path folder_;
  std::filesystem::path file_;
  bool mounted_ = false;
  std::string whyNot_;
};

}  // namespace qm::testing

#endif  // QMPECORE_TESTS_SUPPORT_READ_ONLY_POSIX_H_
