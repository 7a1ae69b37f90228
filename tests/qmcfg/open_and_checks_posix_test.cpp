// What only a POSIX file system lets a test make: a project file that
// cannot be examined (a link to itself).
#include <filesystem>

#include "store_fixture.h"

namespace qm::test {
namespace {

using OpenTest = StoreTest;

// A file that exists but cannot be looked at is not a missing file: opening
// it as an empty configuration would let the next save overwrite it.
TEST_F(OpenTest, AFileThatCannotBeLookedAtFailsInsteadOfOpeningEmpty) {
  std::filesystem::create_symlink(file_.filename(), file_);  // a link to itself
  EXPECT_EQ(CfgOpenConfig(path_.c_str(), 0), 0u);

  // Missing at the open, unexaminable at the read.
  std::filesystem::remove(file_);
  const ConfigHandle handle = CfgOpenConfig(path_.c_str(), 0);
  ASSERT_NE(handle, 0u);
  std::filesystem::create_symlink(file_.filename(), file_);
  ConfigTableSet set;
  set.Renew();
  EXPECT_EQ(CfgReadAllTables(handle, &set, 115), kCfgCannotExamine);
  EXPECT_EQ(CfgReadTimers(handle, set.timers.get(), 0, 0, nullptr), kCfgCannotExamine);
  EXPECT_EQ(CfgWriteAllTables(handle, &set, 0), kCfgUnreadTable);
  CfgCloseConfig(handle);
}

}  // namespace
}  // namespace qm::test
