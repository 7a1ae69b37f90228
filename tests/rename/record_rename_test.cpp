// Renaming a record in a project on disk: previews, round trips, refusals
// and failures injected into the file operations.
#include "rename/record_rename.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "config/config_manager.h"
#include "core/editor_manager.h"
#include "registry/registry_operations.h"
#include "support/config_sets.h"
#include "support/failing_files.h"
#include "support/native_path.h"
#include "support/stored_tables.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

using testing::AddRecord;
using testing::FailingFiles;
using testing::FailingSaveManager;
namespace fs = std::filesystem;

class RecordRenameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ConfigTableSet set;
    set.Renew();
    AddRecord(*set.ioPorts, 1, u"Line1");
    AddRecord(*set.ioDevices, 2, u"PLC").portId = 1;
    AddRecord(*set.ioTags, 3, u"Pump.Speed").deviceId = 2;
    AddRecord(*set.ioTags, 4, u"Pump.Level").deviceId = 2;
    AddRecord(*set.alarms, 5, u"high").tagId = 3;
    ASSERT_EQ(testing::WriteProjectFile(folder_.Text("plant.qmp"), set), kCfgOk);
    Write("pages/crlf.htm", "<b>Pump.Speed</b>\r\nPump.Speeds\r\n\r\nPump.Speed=Pump.Speed\r\n");
    Write("scripts/lf.js", "x(\"Pump.Speed\");\nlet Pump_Speed;\n");
    Write("pages/bom.html", "\xEF\xBB\xBFPump.Speed\rnext\r");
    Write("bad.txt", "\xff\xfePump.Speed\xc3\n\xc3\xa9Pump.Speed\n");
    Write("zero.css", std::string("a{Pump.Speed}\0Pump.Speed", 24));
    Write("none.js", "nothing here\n");
    project_ = folder_.Text("plant.qmp");
    Open();
  }

  void Write(const std::string& name, const std::string& bytes) {
    testing::WriteFileBytes(folder_ / name, bytes);
  }
  void Open() {
    manager_.CloseEditor();
    ASSERT_NE(manager_.OpenEditor(project_.c_str(), 0), nullptr);
  }
  RenameOutcome Rename(int32_t table, int32_t id, std::u16string name, bool apply,
                       FileOperations* files = nullptr) {
    return RenameRecord({*manager_.editorData(), 0, table, id, std::move(name), apply, files});
  }
  // The tables as stored, read afresh.
  ConfigTableSet Stored() { return testing::StoredTables(project_); }
  void ExpectUnchanged(const std::map<std::string, std::string>& files) {
    EXPECT_EQ(testing::ProjectTextFiles(folder_.path()), files);
    EXPECT_EQ(Stored().ioTags->at(RecordKey(3)).head.name, u"Pump.Speed");
    EXPECT_EQ(manager_.editorData()->configManager->GetTables(true)->ioTags->at(RecordKey(3))
                  .head.name,
              u"Pump.Speed");
  }

  testing::TempFolder folder_;
  std::u16string project_;
  CEditorManager manager_;
};

TEST_F(RecordRenameTest, PreviewListsTheNameAndEachLineAndWritesNothing) {
  const auto before = testing::ProjectTextFiles(folder_.path());
  const RenameOutcome outcome = Rename(kTableIoTags, 3, u"Pump.Rpm", false);
  ASSERT_EQ(outcome.status, RenameStatus::kDone) << std::string(outcome.message.begin(),
                                                                outcome.message.end());
  EXPECT_EQ(testing::ProjectTextFiles(folder_.path()), before);
  EXPECT_EQ(Stored().ioTags->at(RecordKey(3)).head.name, u"Pump.Speed");
  std::vector<std::tuple<std::u16string, int32_t, std::u16string, int32_t>> lines;
  for (const RenameChange& change : outcome.changes) {
    lines.emplace_back(change.location, change.recordId, change.after, change.occurrences);
  }
  const std::vector<std::tuple<std::u16string, int32_t, std::u16string, int32_t>> expected = {
      {u"Grid Table: PLC", 3, u"Pump.Rpm", 1},
      // U+FFFD before and after: ill-formed bytes are no word characters.
      {u"bad.txt", 1, u"\uFFFD\uFFFDPump.Rpm\uFFFD", 1},
      {testing::Native(u"pages/bom.html"), 1, u"\uFEFFPump.Rpm", 1},
      {testing::Native(u"pages/crlf.htm"), 1, u"<b>Pump.Rpm</b>", 1},
      {testing::Native(u"pages/crlf.htm"), 4, u"Pump.Rpm=Pump.Rpm", 2},
      {testing::Native(u"scripts/lf.js"), 1, u"x(\"Pump.Rpm\");", 1},
      // Only the text before the zero byte, as the find reads it.
      {u"zero.css", 1, u"a{Pump.Rpm}", 1},
  };
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(outcome.changes[4].before, u"Pump.Speed=Pump.Speed");
}

TEST_F(RecordRenameTest, RoundTripGivesBackEveryByteAndTheTables) {
  const auto files = testing::ProjectTextFiles(folder_.path());
  const ConfigTableSet stored = Stored();
  ASSERT_EQ(Rename(kTableIoTags, 3, u"Kessel.Drehzahl", true).status, RenameStatus::kDone);
  const auto renamed = testing::ProjectTextFiles(folder_.path());
  EXPECT_EQ(renamed.at("pages/crlf.htm"),
            "<b>Kessel.Drehzahl</b>\r\nPump.Speeds\r\n\r\nKessel.Drehzahl=Kessel.Drehzahl\r\n");
  EXPECT_EQ(renamed.at("bad.txt"), "\xff\xfeKessel.Drehzahl\xc3\n\xc3\xa9Pump.Speed\n");
  EXPECT_EQ(renamed.at("zero.css"), std::string("a{Kessel.Drehzahl}\0Pump.Speed", 29));
  EXPECT_EQ(renamed.at("none.js"), files.at("none.js"));
  EXPECT_EQ(Stored().ioTags->at(RecordKey(3)).head.name, u"Kessel.Drehzahl");
  EXPECT_EQ(files.size(), renamed.size());  // no file left behind

  Open();
  ASSERT_EQ(Rename(kTableIoTags, 3, u"Pump.Speed", true).status, RenameStatus::kDone);
  EXPECT_EQ(testing::ProjectTextFiles(folder_.path()), files);
  const ConfigTableSet back = Stored();
  EXPECT_EQ(*back.ioTags, *stored.ioTags);
  EXPECT_EQ(*back.alarms, *stored.alarms);
  EXPECT_EQ(*back.ioDevices, *stored.ioDevices);
}

TEST_F(RecordRenameTest, RenamingAnOwnerRenamesItInItsRecordsInMemory) {
  ASSERT_EQ(Rename(kTableIoDevices, 2, u"PLC2", true).status, RenameStatus::kDone);
  const ConfigTableSet* working = manager_.editorData()->configManager->GetTables(true);
  EXPECT_EQ(working->ioDevices->at(RecordKey(2)).head.name, u"PLC2");
  EXPECT_EQ(working->ioTags->at(RecordKey(3)).deviceName, u"PLC2");
  EXPECT_EQ(Stored().ioTags->at(RecordKey(4)).deviceName, u"PLC2");
}

TEST_F(RecordRenameTest, RefusalsChangeNothing) {
  const auto files = testing::ProjectTextFiles(folder_.path());
  EXPECT_EQ(Rename(kTableIoTags, 3, u"", true).status, RenameStatus::kRefused);
  EXPECT_EQ(Rename(kTableIoTags, 3, u"Pump.Level", true).status, RenameStatus::kRefused);
  EXPECT_EQ(Rename(kTableIoTags, 3, u"a\nb", true).status, RenameStatus::kRefused);
  EXPECT_EQ(Rename(kTableIoTags, 99, u"X", true).status, RenameStatus::kNoSuchRecord);
  EXPECT_EQ(Rename(kTableGeneral, 1, u"X", true).status, RenameStatus::kNoSuchRecord);
  // Another record's name in another table is no conflict; preview only.
  EXPECT_EQ(Rename(kTableIoTags, 3, u"PLC", false).status, RenameStatus::kDone);
  ExpectUnchanged(files);

  ASSERT_TRUE(AddEditor(project_.c_str(), 77));
  const RenameOutcome open = Rename(kTableIoTags, 3, u"X", true);
  EXPECT_EQ(open.status, RenameStatus::kRefused);
  EXPECT_NE(open.message.find(u"editor 77"), std::u16string::npos);
  ExpectUnchanged(files);
  // The editor that holds it may rename.
  EXPECT_EQ(RenameRecord({*manager_.editorData(), 77, kTableIoTags, 3, u"X", false, nullptr})
                .status,
            RenameStatus::kDone);
  RemoveEditor(project_.c_str(), 77);
}

TEST_F(RecordRenameTest, AFileChangedDuringTheRenameRefusesIt) {
  const fs::path changed = folder_ / "scripts/lf.js";
  FailingFiles files;
  files.onFirstWrite = [&] { testing::WriteFileBytes(changed, "edited elsewhere\n"); };
  const RenameOutcome outcome = Rename(kTableIoTags, 3, u"X", true, &files);
  EXPECT_EQ(outcome.status, RenameStatus::kRefused);
  EXPECT_NE(outcome.message.find(u"changed on disk"), std::u16string::npos);
  auto expected = testing::ProjectTextFiles(folder_.path());
  EXPECT_EQ(expected.at("scripts/lf.js"), "edited elsewhere\n");
  ExpectUnchanged(expected);
}

TEST_F(RecordRenameTest, AFailureAtAnyWriteRenameOrSyncLeavesEveryFileAsItWas) {
  const auto before = testing::ProjectTextFiles(folder_.path());
  for (int n = 1; n <= 5; ++n) {
    FailingFiles failWrite;
    failWrite.failWrite = n;
    const RenameOutcome written = Rename(kTableIoTags, 3, u"X", true, &failWrite);
    EXPECT_EQ(written.status, RenameStatus::kFailed) << n;
    EXPECT_NE(written.message.find(u"cannot write"), std::u16string::npos);
    ExpectUnchanged(before);

    FailingFiles failReplace;
    failReplace.failReplace = n;
    const RenameOutcome replaced = Rename(kTableIoTags, 3, u"X", true, &failReplace);
    EXPECT_EQ(replaced.status, RenameStatus::kFailed) << n;
    EXPECT_NE(replaced.message.find(u"cannot replace"), std::u16string::npos);
    ExpectUnchanged(before);
  }
  // Every file renamed, then their folders cannot be synced: all go back.
  FailingFiles failSync;
  failSync.failSync = true;
  const RenameOutcome unsynced = Rename(kTableIoTags, 3, u"X", true, &failSync);
  EXPECT_EQ(unsynced.status, RenameStatus::kFailed);
  EXPECT_NE(unsynced.message.find(u"durable"), std::u16string::npos);
  ExpectUnchanged(before);
}

// The files follow what the project file holds after a failed save: back
// to their old bytes when the table was not written, renamed when it was.
TEST_F(RecordRenameTest, AFailedSaveLeavesTheFilesAgreeingWithTheProjectFile) {
  const auto before = testing::ProjectTextFiles(folder_.path());
  EditorData& editor = *manager_.editorData();
  CConfigManagerEx* const own = editor.configManager;
  for (const bool written : {false, true}) {
    FailingSaveManager failing(1, written);
    ASSERT_EQ(failing.Open(project_.c_str(), 0), 0);
    editor.configManager = &failing;
    const RenameOutcome outcome = Rename(kTableIoTags, 3, u"Pump.Rpm", true);
    editor.configManager = own;
    if (!written) {
      EXPECT_EQ(outcome.status, RenameStatus::kFailed);
      EXPECT_NE(outcome.message.find(u"cannot save table"), std::u16string::npos);
      ExpectUnchanged(before);
    } else {
      EXPECT_EQ(outcome.status, RenameStatus::kDone);
      EXPECT_NE(outcome.message.find(u"reading it back failed"), std::u16string::npos);
      EXPECT_EQ(Stored().ioTags->at(RecordKey(3)).head.name, u"Pump.Rpm");
      EXPECT_EQ(testing::ProjectTextFiles(folder_.path()).at("scripts/lf.js"),
                "x(\"Pump.Rpm\");\nlet Pump_Speed;\n");
    }
  }
}

// Reads fail for one file, whichever thread asks.
class UnreadableFile final : public FileOperations {
 public:
  explicit UnreadableFile(std::u16string path) : path_(std::move(path)) {}
  platform::FileRewriteStatus ReadWhole(std::u16string_view path, std::string* bytes) override {
    if (path == path_) return {platform::FileRewriteStep::kRead, 13};
    return FileOperations::ReadWhole(path, bytes);
  }

 private:
  const std::u16string path_;
};

// The files are read and planned on several threads; the changes and the
// file a failed read stops at do not depend on how many.
TEST_F(RecordRenameTest, ChangesAndFailuresAreTheSameForEveryThreadCount) {
  for (int file = 0; file < 12; ++file) {
    Write("many/f" + std::to_string(file) + ".txt",
          std::string(file % 3, '\n') + "Pump.Speed " + std::to_string(file) + "\n");
  }
  Open();
  const auto run = [&](uint32_t workers, FileOperations* files) {
    RenameRequest request{*manager_.editorData(), 0, kTableIoTags, 3, u"Pump.Rpm", false, files};
    request.fileWorkers = workers;
    std::vector<std::tuple<std::u16string, int32_t, std::u16string>> changes;
    const RenameOutcome outcome = RenameRecord(request);
    for (const RenameChange& change : outcome.changes) {
      changes.emplace_back(change.location, change.recordId, change.after);
    }
    return std::make_pair(outcome.message, changes);
  };
  UnreadableFile unreadable(folder_.Text("many/f7.txt"));
  const auto all = run(1, nullptr);
  const auto failed = run(1, &unreadable);
  ASSERT_EQ(all.second.size(), 19u);
  ASSERT_NE(failed.first.find(u"cannot read"), std::u16string::npos);
  for (uint32_t workers : {2u, 8u}) {
    EXPECT_EQ(run(workers, nullptr), all) << workers;
    EXPECT_EQ(run(workers, &unreadable), failed) << workers;
  }
}

}  // namespace
}  // namespace qm
