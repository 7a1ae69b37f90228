// The folder of the store's full-disk tests: a project, another project
// beside it, and their bytes, put back before each save.
#ifndef QMPECORE_TESTS_QMCFG_FULL_DISK_FIXTURE_H_
#define QMPECORE_TESTS_QMCFG_FULL_DISK_FIXTURE_H_

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <string>

#include "store_fixture.h"
#include "support/full_disk.h"

namespace qm::test {

using testing::FullDisk;

// One way to save, and the file it writes.
struct Save {
  const char* name;
  const char* target;  // the file written: the project, or another
  std::function<int32_t(ConfigHandle, const ConfigTableSet&)> write;
  bool whole;  // the target then holds exactly the set written
};

class FullDiskTest : public StoreTest {
 protected:
  void SetUp() override {
    FullDisk::Get();  // before any connection, so that all go through it
    ASSERT_EQ(WriteAll(SampleSet(0, 300)), kCfgOk);
    ASSERT_EQ(testing::WriteProjectFile(folder_.Text("other.qmp"), SampleSet(2, 50)), kCfgOk);
    originals_ = testing::FolderBytes(folder_.path());
  }

  // The folder as it was before the save.
  void Restore() {
    for (const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
      std::filesystem::remove(entry.path());
    }
    for (const auto& [name, bytes] : originals_) {
      std::ofstream(folder_ / name, std::ios::binary) << bytes;
    }
  }

  // Sweeps `save` over a full disk at each counted call (full_disk.h),
  // checking each outcome; adds the bytes of the originals that a
  // disturbed save changed to *lost.
  testing::SweepFigures SweepSave(const Save& save, testing::Fill fill, size_t* lost) {
    const ConfigTableSet newer = SampleSet(1, 240);  // fewer tags: rows deleted and updated
    size_t& lostBytes = *lost;
    const std::u16string target = folder_.Text(save.target);
    return testing::SweepFullDisk(fill, [&](const auto& arm) {
      Restore();
      const ConfigHandle handle = CfgOpenConfig(target.c_str(), 0);
      ASSERT_NE(handle, 0u);
      arm();  // the open only reads; the save alone is counted
      FullDisk& disk = FullDisk::Get();
      const int32_t code = save.write(handle, newer);
      CfgCloseConfig(handle);
      if (disk.injected() > 0) {
        EXPECT_NE(code, kCfgOk) << "after " << disk.counted() << " calls";
        const auto after = testing::FolderBytes(folder_.path());
        lostBytes += testing::BytesLost(originals_, after);
        EXPECT_EQ(after, originals_) << "after " << disk.counted() << " calls, code " << code;
        return;
      }
      EXPECT_EQ(code, kCfgOk);
      int32_t read = -1;
      const ConfigTableSet stored = ReadBack(target, &read);
      EXPECT_EQ(read, kCfgOk);
      if (save.whole) {
        EXPECT_TRUE(SameTables(stored, newer));
      }
      EXPECT_NE(ReadFileBytes(folder_ / save.target), originals_[save.target]);
    });
  }

  static void Report(const char* what, const testing::SweepFigures& total, size_t lost) {
    std::cout << "full disk at each " << what << ": " << total.attempts << " saves, "
              << total.injected << " failures injected, " << lost << " bytes lost\n";
    ::testing::Test::RecordProperty("attempts", total.attempts);
    ::testing::Test::RecordProperty("failures_injected", total.injected);
    ::testing::Test::RecordProperty("bytes_lost", static_cast<int>(lost));
  }

  std::map<std::string, std::string> originals_;
};

}  // namespace qm::test

#endif  // QMPECORE_TESTS_QMCFG_FULL_DISK_FIXTURE_H_
