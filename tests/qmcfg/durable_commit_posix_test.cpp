// What only the POSIX backend's table of system calls shows: the save to a
// new file on a disk that fills at each of SQLite's calls and each of the
// platform's (the rename into place and the sync of its folder), and the
// order in which a save makes its bytes durable.
#include "full_disk_fixture.h"
#include "support/full_disk_posix.h"

namespace qm::test {
namespace {

using testing::Fill;

const Save kNewFile = {"save-as to a new file", "new.qmp",
                       [](ConfigHandle h, const ConfigTableSet& s) {
                         return CfgWriteAllTables(h, &s, 0);
                       },
                       true};

TEST_F(FullDiskTest, ANewFileIsLeftWholeOrNotAtAllWhicheverCallFails) {
  const testing::FullDiskCalls calls;
  testing::SweepFigures total;
  size_t lost = 0;
  for (const Fill fill : {Fill::kOnce, Fill::kStaysFull}) total += SweepSave(kNewFile, fill, &lost);
  EXPECT_EQ(lost, 0u);
  Report("SQLite and platform write, sync and rename of a new file", total, lost);
}

// The position of the first line of `log` from `from` on that is `line`
// (or, with a `line` ending in "*", starts with what comes before it); the
// log's size when there is none.
size_t Find(const std::vector<std::string>& log, const std::string& line, size_t from = 0) {
  const bool prefix = !line.empty() && line.back() == '*';
  const std::string text = prefix ? line.substr(0, line.size() - 1) : line;
  for (size_t i = from; i < log.size(); ++i) {
    if (prefix ? log[i].rfind(text, 0) == 0 : log[i] == text) return i;
  }
  return log.size();
}

std::string Joined(const std::vector<std::string>& log) {
  std::string text;
  for (const std::string& line : log) text += line + "\n";
  return text;
}

// A save over an existing file ends its transaction by deleting the
// journal and syncing the folder (synchronous = EXTRA), after the file
// was synced; a new file is synced, committed, renamed into place and its
// folder synced, in that order.
TEST_F(FullDiskTest, EveryFileIsSyncedBeforeItsRenameAndItsFolderAfter) {
  const testing::FullDiskCalls calls;
  const std::string folder = folder_.path().string();
  const ConfigTableSet newer = SampleSet(1, 20);
  for (const char* name : {"plant.qmp", "new.qmp"}) {
    SCOPED_TRACE(name);
    Restore();
    const std::string file = folder + "/" + name;
    const std::u16string path = folder_.Text(name);
    std::vector<std::string> log;
    const ConfigHandle handle = CfgOpenConfig(path.c_str(), 0);
    FullDisk::Get().log = &log;
    const int32_t code = CfgWriteAllTables(handle, &newer, 0);
    FullDisk::Get().log = nullptr;
    CfgCloseConfig(handle);
    ASSERT_EQ(code, kCfgOk);
    if (std::string(name) == "plant.qmp") {
      const size_t synced = Find(log, "sync " + file);
      const size_t committed = Find(log, "delete-and-sync-folder " + file + "-journal");
      EXPECT_LT(synced, committed) << Joined(log);
      EXPECT_LT(committed, log.size()) << Joined(log);
      continue;
    }
    const size_t renamed = Find(log, "rename " + file + ".new*");
    ASSERT_LT(renamed, log.size()) << Joined(log);
    const std::string temporary = log[renamed].substr(7, log[renamed].find(' ', 7) - 7);
    const size_t synced = Find(log, "sync " + temporary);
    const size_t committed = Find(log, "delete-and-sync-folder " + temporary + "-journal");
    EXPECT_LT(synced, committed) << Joined(log);
    EXPECT_LT(committed, renamed) << Joined(log);
    EXPECT_EQ(log[renamed], "rename " + temporary + " " + file);
    EXPECT_LT(Find(log, "sync " + folder, renamed), log.size()) << Joined(log);
    EXPECT_EQ(Find(log, "sync " + folder, renamed), Find(log, "sync *", renamed)) << Joined(log);
  }
}

}  // namespace
}  // namespace qm::test
