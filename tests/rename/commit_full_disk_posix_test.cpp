// A rename's apply on a disk that fills at each of its writes, syncs,
// links and renames in turn (the text files through the platform's table
// of system calls, the table's save through SQLite's VFS): it makes every
// change or none, never a mix, and a disturbed one answers with a reason.
// Then the order in which a file's new bytes become durable.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>

#include "config/config_manager.h"
#include "core/editor_manager.h"
#include "rename/record_rename.h"
#include "support/config_sets.h"
#include "support/full_disk.h"
#include "support/full_disk_posix.h"
#include "support/stored_tables.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

using testing::AddRecord;
using testing::Fill;
using testing::FullDisk;

class CommitFullDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FullDisk::Get();  // before any connection, so that all go through it
    ConfigTableSet set;
    set.Renew();
    AddRecord(*set.ioPorts, 1, u"Line1");
    AddRecord(*set.ioDevices, 2, u"PLC").portId = 1;
    AddRecord(*set.ioTags, 3, u"Pump.Speed").deviceId = 2;
    AddRecord(*set.ioTags, 4, u"Pump.Level").deviceId = 2;
    ASSERT_EQ(testing::WriteProjectFile(folder_.Text("plant.qmp"), set), kCfgOk);
    Write("pages/a.htm", "<b>Pump.Speed</b>\r\n");
    Write("pages/b.html", std::string(20000, 'x') + " Pump.Speed\n");
    Write("c.js", "x(\"Pump.Speed\");\n");
    before_ = testing::FolderBytes(folder_.path());
  }

  void Write(const std::string& name, const std::string& bytes) {
    testing::WriteFileBytes(folder_ / name, bytes);
  }
  void Restore() {
    manager_.CloseEditor();
    std::filesystem::remove_all(folder_.path());
    for (const auto& [name, bytes] : before_) Write(name, bytes);
    ASSERT_NE(manager_.OpenEditor(folder_.Text("plant.qmp").c_str(), 0), nullptr);
  }
  RenameOutcome Rename() {
    return RenameRecord({*manager_.editorData(), 0, kTableIoTags, 3, u"Pump.Rpm", true});
  }
  std::u16string StoredName() {
    const ConfigTableSet set = testing::StoredTables(folder_.Text("plant.qmp"));
    return set.ioTags->count(RecordKey(3)) ? set.ioTags->at(RecordKey(3)).head.name : u"";
  }

  testing::TempFolder folder_;
  std::map<std::string, std::string> before_;
  CEditorManager manager_;
};

TEST_F(CommitFullDiskTest, EveryChangeOrNoneWhicheverCallFails) {
  const testing::FullDiskCalls calls;
  testing::SweepFigures total;
  size_t lost = 0;
  int refused = 0;
  for (const Fill fill : {Fill::kOnce, Fill::kStaysFull}) {
    total += testing::SweepFullDisk(fill, [&](const auto& arm) {
      Restore();
      arm();
      const RenameOutcome outcome = Rename();
      const auto after = testing::FolderBytes(folder_.path());
      if (outcome.status == RenameStatus::kDone) {
        EXPECT_EQ(StoredName(), u"Pump.Rpm");
        EXPECT_EQ(after.at("c.js"), "x(\"Pump.Rpm\");\n");
        EXPECT_EQ(after.size(), before_.size()) << "a file left beside the others";
        return;
      }
      ++refused;
      EXPECT_FALSE(outcome.message.empty());
      lost += testing::BytesLost(before_, after);
      EXPECT_EQ(after, before_) << std::string(outcome.message.begin(), outcome.message.end());
      EXPECT_EQ(StoredName(), u"Pump.Speed");
    });
  }
  EXPECT_GT(refused, 0);
  EXPECT_EQ(lost, 0u);
  std::cout << "full disk at each write, sync, link and rename of a rename's apply: "
            << total.attempts << " applies, " << total.injected << " failures injected, "
            << refused << " answered with a reason, " << lost << " bytes lost\n";
  RecordProperty("attempts", total.attempts);
  RecordProperty("failures_injected", total.injected);
  RecordProperty("bytes_lost", static_cast<int>(lost));
}

// Each new file is synced before it is renamed over its original, and its
// folder after the rename and before the table is saved, once for all the
// files renamed in it.
TEST_F(CommitFullDiskTest, EachNewFileIsSyncedBeforeItsRenameAndItsFolderAfter) {
  const testing::FullDiskCalls calls;
  Restore();
  std::vector<std::string> log;
  FullDisk::Get().log = &log;
  const RenameOutcome outcome = Rename();
  FullDisk::Get().log = nullptr;
  ASSERT_EQ(outcome.status, RenameStatus::kDone);
  std::string text;
  for (const std::string& line : log) text += line + "\n";
  int renames = 0;
  for (size_t i = 0; i < log.size(); ++i) {
    if (log[i].rfind("rename ", 0) != 0) continue;
    const size_t space = log[i].find(' ', 7);
    const std::string from = log[i].substr(7, space - 7);
    const std::string to = log[i].substr(space + 1);
    if (from.find(".new") == std::string::npos) continue;  // not a new file put in place
    ++renames;
    const auto synced = std::find(log.begin(), log.begin() + static_cast<ptrdiff_t>(i),
                                  "sync " + from);
    EXPECT_NE(synced, log.begin() + static_cast<ptrdiff_t>(i)) << from << "\n" << text;
    const auto save = std::find_if(log.begin(), log.end(), [](const std::string& line) {
      return line.find("plant.qmp") != std::string::npos;
    });
    const std::string folderSync = "sync " + std::filesystem::path(to).parent_path().string();
    EXPECT_NE(std::find(log.begin() + static_cast<ptrdiff_t>(i), save, folderSync), save) << text;
    EXPECT_EQ(std::count(log.begin(), log.end(), folderSync), 1) << text;
  }
  EXPECT_EQ(renames, 3) << text;
}

}  // namespace
}  // namespace qm
