// The store on a project that may not be written: a read-only file, or a
// folder where neither a journal nor a new file can be made. Reads work;
// every write and the check of a save answer kCfgReadOnly and leave
// nothing in the folder. File modes do not stop root: skipped then, with
// the reason (the editor's tests cover a read-only mount, which does).
#include "store_fixture.h"
#include "support/full_disk.h"
#include "support/read_only_posix.h"

namespace qm::test {
namespace {

using testing::ReadOnlyWay;

class ReadOnlyStoreTest : public StoreTest, public ::testing::WithParamInterface<ReadOnlyWay> {};

TEST_P(ReadOnlyStoreTest, ReadsAndRefusesEveryWrite) {
  const ConfigTableSet stored = SampleSet(0, 40);
  ASSERT_EQ(WriteAll(stored), kCfgOk);
  const testing::ReadOnlyProject readOnly(GetParam(), folder_.path(), file_);
  if (!readOnly.whyNot().empty()) GTEST_SKIP() << NameOf(GetParam()) << ": " << readOnly.whyNot();
  const auto before = testing::FolderBytes(folder_.path());
  const ConfigTableSet newer = SampleSet(1, 30);

  int32_t read = -1;
  EXPECT_TRUE(SameTables(ReadBack(path_, &read), stored));
  EXPECT_EQ(read, kCfgOk);
  const ConfigHandle handle = CfgOpenConfig(path_.c_str(), 0);
  ASSERT_NE(handle, 0u);
  ConfigTableSet set;
  set.Renew();
  ASSERT_EQ(CfgReadAllTables(handle, &set, 115), kCfgOk);
  // The check knows a file that SQLite could open only for reading; a
  // folder shows in the write alone.
  EXPECT_EQ(CfgPrepareSave(handle, &newer, kAllTables, 0),
            GetParam() == ReadOnlyWay::kFileMode ? kCfgReadOnly : kCfgOk);
  EXPECT_EQ(CfgWriteAllTables(handle, &newer, 0), kCfgReadOnly);
  EXPECT_EQ(CfgWriteGeneral(handle, newer.general.get(), 0), kCfgReadOnly);
  EXPECT_EQ(CfgWriteTimers(handle, newer.timers.get(), 1), kCfgReadOnly);
  EXPECT_EQ(CfgWriteIoTags(handle, newer.ioTags.get(), 101, 1), kCfgReadOnly);
  CfgCloseConfig(handle);
  if (GetParam() == ReadOnlyWay::kFolderMode) {  // a new file in that folder
    const std::u16string other = folder_.Text("new.qmp");
    const ConfigHandle created = CfgOpenConfig(other.c_str(), 0);
    ASSERT_NE(created, 0u);
    EXPECT_EQ(CfgWriteAllTables(created, &newer, 0), kCfgReadOnly);
    CfgCloseConfig(created);
  }
  EXPECT_EQ(testing::FolderBytes(folder_.path()), before) << "a file was written or left behind";
}

INSTANTIATE_TEST_SUITE_P(Ways, ReadOnlyStoreTest,
                         ::testing::Values(ReadOnlyWay::kFileMode, ReadOnlyWay::kFolderMode),
                         testing::WayParamName);

}  // namespace
}  // namespace qm::test
