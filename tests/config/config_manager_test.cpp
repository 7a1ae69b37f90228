// The configuration manager over real project files: what each save writes,
// what it reads back into the working and snapshot sets, and what a failure
// leaves behind.
#include "config/config_manager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "support/config_sets.h"
#include "support/sql.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

using testing::TempFolder;

using testing::AddRecord;

// Writes a project with General keys, two ports and three devices.
void WriteProject(const std::u16string& path) {
  ConfigTableSet set;
  set.Renew();
  *set.general = {{u"project-id", u"P-1"}, {u"pre-launch", u"before.bat"}, {u"theme", u"dark"}};
  AddRecord(*set.ioPorts, 1, u"COM1");
  AddRecord(*set.ioPorts, 2, u"COM2");
  AddRecord(*set.ioDevices, 10, u"Pump").portId = 1;
  AddRecord(*set.ioDevices, 11, u"Valve").portId = 1;
  AddRecord(*set.ioDevices, 20, u"Meter").portId = 2;
  ASSERT_EQ(testing::WriteProjectFile(path, set), kCfgOk);
}

// What the file holds now, read by a second manager.
std::unique_ptr<CConfigManagerEx> Reread(const std::u16string& path) {
  auto manager = std::make_unique<CConfigManagerEx>();
  EXPECT_EQ(manager->Open(path.c_str(), 0), 0);
  return manager;
}

class ConfigManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = folder_.Text("plant.qmp");
    WriteProject(path_);
    ASSERT_EQ(manager_.Open(path_.c_str(), 0), 0);
  }
  ConfigTableSet& working() { return *manager_.GetTables(true); }
  ConfigTableSet& snapshot() { return *manager_.GetTables(false); }

  TempFolder folder_;
  std::u16string path_;
  CConfigManagerEx manager_;
};

TEST_F(ConfigManagerTest, GeneralSaveWritesOnlyTheThreeKeys) {
  (*working().general)[u"project-id"] = u"P-2";
  (*working().general)[u"post-launch"] = u"after.bat";
  (*working().general)[u"theme"] = u"light";
  ASSERT_EQ(manager_.Save(kTableGeneral, 0), 0);

  auto stored = Reread(path_);
  const GeneralTable& general = *stored->GetTables(true)->general;
  EXPECT_EQ(general.at(u"project-id"), u"P-2");
  EXPECT_EQ(general.at(u"post-launch"), u"after.bat");
  EXPECT_EQ(general.at(u"theme"), u"dark");  // written with its snapshot value
  // The unsaved change stays in the working set; the snapshot got the keys.
  EXPECT_EQ(working().general->at(u"theme"), u"light");
  EXPECT_EQ(snapshot().general->at(u"theme"), u"dark");
  EXPECT_EQ(snapshot().general->at(u"project-id"), u"P-2");
}

TEST_F(ConfigManagerTest, PerPortSaveRereadsOnlyThatPort) {
  IoDeviceTable& devices = *working().ioDevices;
  devices[RecordKey(10)].head.name = u"Pump A";    // port 1, saved
  devices[RecordKey(20)].head.name = u"Meter X";   // port 2, not saved
  devices[RecordKey(11)].portId = 2;               // moved from port 1 to port 2
  AddRecord(devices, 12, u"New").portId = 1;      // added to port 1
  const IoDeviceTable* tableBefore = &devices;

  ASSERT_EQ(manager_.Save(kTableIoDevices, 1), 0);

  EXPECT_EQ(&*working().ioDevices, tableBefore);  // same table, contents renewed
  EXPECT_EQ(devices.at(RecordKey(10)).head.name, u"Pump A");
  EXPECT_EQ(devices.at(RecordKey(20)).head.name, u"Meter X");  // working change kept
  EXPECT_EQ(devices.at(RecordKey(11)).portId, 2);  // the moved record is not lost
  EXPECT_EQ(devices.at(RecordKey(12)).portName, u"COM1");  // read back with its port name
  // The snapshot holds what was read for port 1 and its old view elsewhere.
  EXPECT_EQ(snapshot().ioDevices->at(RecordKey(10)).head.name, u"Pump A");
  EXPECT_EQ(snapshot().ioDevices->at(RecordKey(20)).head.name, u"Meter");
  EXPECT_EQ(snapshot().ioDevices->at(RecordKey(11)).portId, 1);

  auto stored = Reread(path_);
  const IoDeviceTable& onDisk = *stored->GetTables(true)->ioDevices;
  EXPECT_EQ(onDisk.at(RecordKey(20)).head.name, u"Meter");
  EXPECT_EQ(onDisk.at(RecordKey(11)).portId, 1);  // lands with port 2 when port 2 is saved
  ASSERT_EQ(manager_.Save(kTableIoDevices, 2), 0);
  auto storedAgain = Reread(path_);
  EXPECT_EQ(storedAgain->GetTables(true)->ioDevices->at(RecordKey(11)).portId, 2);
}

TEST_F(ConfigManagerTest, OpenFillsBothSetsAsCopiesAndAWholeTableSaveRenewsTheSnapshot) {
  EXPECT_EQ(*working().ioDevices, *snapshot().ioDevices);
  EXPECT_NE(working().ioDevices.get(), snapshot().ioDevices.get());
  EXPECT_EQ(working().ioDevices->at(RecordKey(20)).portName, u"COM2");
  working().ioDevices->erase(RecordKey(20));
  ASSERT_EQ(manager_.Save(kTableIoDevices, -1), 0);
  EXPECT_EQ(snapshot().ioDevices->count(RecordKey(20)), 0u);
  EXPECT_EQ(*working().ioDevices, *snapshot().ioDevices);
  EXPECT_EQ(Reread(path_)->GetTables(true)->ioDevices->size(), 2u);
}

TEST_F(ConfigManagerTest, UnknownAndRefusedTableNumbersWriteNothing) {
  working().ioPorts->at(RecordKey(1)).head.name = u"changed";
  EXPECT_EQ(manager_.Save(8, 0), 1);
  EXPECT_EQ(manager_.Save(9, 0), -1);
  EXPECT_EQ(manager_.Save(26, 0), -1);
  EXPECT_EQ(manager_.Save(99, 0), 1);
  EXPECT_EQ(Reread(path_)->GetTables(true)->ioPorts->at(RecordKey(1)).head.name, u"COM1");
}

TEST_F(ConfigManagerTest, FullSaveReopensWithANewHandle) {
  ConfigHandle before = manager_.GetConfigHandle();
  ConfigTableSet* workingSet = manager_.GetTables(true);
  working().ioPorts->at(RecordKey(2)).head.name = u"COM9";
  ASSERT_EQ(manager_.Save(kAllTables, 0), 0);
  EXPECT_NE(manager_.GetConfigHandle(), before);
  EXPECT_NE(manager_.GetConfigHandle(), 0u);
  EXPECT_EQ(manager_.GetTables(true), workingSet);  // the set's address stays
  EXPECT_EQ(snapshot().ioPorts->at(RecordKey(2)).head.name, u"COM9");
  // The old handle was released: the store refuses it.
  GeneralTable general;
  EXPECT_NE(CfgReadGeneral(before, &general, 0, 0), 0);
}

TEST_F(ConfigManagerTest, DuplicateIdsFailTheSaveAndKeepBothSets) {
  AddRecord(*working().ioPorts, 3, u"twin of 1").head.id = 1;
  int32_t code = manager_.Save(kTableIo, 0);
  EXPECT_EQ(code, kCfgDuplicateId);
  EXPECT_EQ(working().ioPorts->size(), 3u);  // nothing re-read after a failed write
  EXPECT_EQ(snapshot().ioPorts->size(), 2u);
}

TEST_F(ConfigManagerTest, SaveAsOntoAnUnopenablePathChangesNothing) {
  ConfigHandle before = manager_.GetConfigHandle();
  std::u16string nowhere = folder_.Text("missing-folder/plant.qmp");
  EXPECT_EQ(manager_.SaveAs(nowhere.c_str()), -2);
  EXPECT_EQ(manager_.SaveAs(nullptr), -1);
  EXPECT_EQ(manager_.GetConfigHandle(), before);
  EXPECT_EQ(working().ioDevices->size(), 3u);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "missing-folder"));
}

TEST_F(ConfigManagerTest, SaveAsWritesTheWorkingSetAndMovesThere) {
  working().ioPorts->at(RecordKey(1)).head.name = u"COM7";
  std::u16string copy = folder_.Text("copy.qmp");
  ASSERT_EQ(manager_.SaveAs(copy.c_str()), 0);
  EXPECT_EQ(Reread(copy)->GetTables(true)->ioPorts->at(RecordKey(1)).head.name, u"COM7");
  EXPECT_EQ(Reread(path_)->GetTables(true)->ioPorts->at(RecordKey(1)).head.name, u"COM1");
  // Saving again now writes to the new file.
  working().ioPorts->at(RecordKey(1)).head.name = u"COM8";
  ASSERT_EQ(manager_.Save(kTableIo, 0), 0);
  EXPECT_EQ(Reread(copy)->GetTables(true)->ioPorts->at(RecordKey(1)).head.name, u"COM8");
}

// A cell the open could not take goes along to a new path and stays there.
TEST(ConfigManagerCells, SaveAsStoresTheCellsTheOpenKept) {
  TempFolder folder;
  const std::u16string path = folder.Text("plant.qmp");
  WriteProject(path);
  const std::string damage = "CAST(x'41ff42' AS TEXT)";
  testing::Sql(folder / "plant.qmp", "UPDATE io_ports SET header = " + damage + " WHERE id = 1");
  const auto cell = [&](const char* file) {
    return testing::Sql(folder / file, "SELECT typeof(header) || hex(header) FROM io_ports "
                                       "WHERE id = 1");
  };
  CConfigManagerEx manager;
  ASSERT_EQ(manager.Open(path.c_str(), 0), 0);
  EXPECT_EQ(manager.GetTables(true)->ioPorts->at(RecordKey(1)).header, u"A\uFFFDB");
  ASSERT_EQ(manager.SaveAs(folder.Text("copy.qmp").c_str()), 0);
  EXPECT_EQ(cell("copy.qmp"), "text41FF42");
  ASSERT_EQ(manager.Save(kTableIo, 0), 0);
  EXPECT_EQ(cell("copy.qmp"), "text41FF42");
  manager.GetTables(true)->ioPorts->at(RecordKey(1)).header = u"9600";
  ASSERT_EQ(manager.Save(kAllTables, 0), 0);
  EXPECT_EQ(cell("copy.qmp"), "text39363030");
}

TEST_F(ConfigManagerTest, AFailedRereadAfterATableSaveRefusesTheNextSaveOfIt) {
  // Another writer's trigger leaves a row the layout refuses behind the
  // write, so the read that follows it fails.
  testing::Sql(folder_ / "plant.qmp",
               "CREATE TRIGGER damage AFTER DELETE ON io_ports "
               "BEGIN INSERT INTO io_ports (id) VALUES (0); END");
  working().ioPorts->erase(RecordKey(2));
  EXPECT_EQ(manager_.Save(kTableIo, 0), kCfgBadRecordId);
  EXPECT_EQ(manager_.Save(kTableIo, 0), kCfgUnreadTable);
  EXPECT_EQ(manager_.Save(kAllTables, 0), kCfgUnreadTable);
  // A new path that cannot be opened is told first, as for any set.
  EXPECT_EQ(manager_.SaveAs(folder_.Text("missing-folder/plant.qmp").c_str()), -2);
  EXPECT_EQ(manager_.SaveAs(folder_.Text("copy.qmp").c_str()), kCfgUnreadTable);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "copy.qmp"));
  EXPECT_EQ(testing::Sql(folder_ / "plant.qmp", "SELECT count(*) FROM io_ports WHERE id = 1"),
            "1");
}

TEST_F(ConfigManagerTest, ATableSaveOfANullWorkingSlotIsRefusedAsAWholeSaveIs) {
  working().ioDevices.reset();
  working().general.reset();
  snapshot().general.reset();
  EXPECT_EQ(manager_.Save(kAllTables, 0), kCfgIncompleteSet);
  EXPECT_EQ(manager_.Save(kTableIoDevices, -1), kCfgIncompleteSet);
  EXPECT_EQ(manager_.Save(kTableIoDevices, 1), kCfgIncompleteSet);
  EXPECT_EQ(manager_.Save(kTableGeneral, 0), kCfgIncompleteSet);
  EXPECT_EQ(working().ioDevices, nullptr);
  auto stored = Reread(path_);
  EXPECT_EQ(stored->GetTables(true)->ioDevices->size(), 3u);
  EXPECT_EQ(stored->GetTables(true)->general->size(), 3u);
}

TEST(ConfigManagerLifecycle, ClosedManagerRefusesSavesAndOpenFailsCleanly) {
  TempFolder folder;
  CConfigManagerEx manager;
  EXPECT_EQ(manager.Save(kAllTables, 0), -1);
  EXPECT_EQ(manager.GetConfigHandle(), 0u);
  EXPECT_EQ(manager.GetTables(true)->general, nullptr);
  std::u16string nowhere = folder.Text("no/such/plant.qmp");
  EXPECT_EQ(manager.Open(nowhere.c_str(), 0), -1);
  EXPECT_EQ(CreateConfigManager(nowhere), nullptr);
  // A missing file in an existing folder opens empty and creates nothing.
  std::u16string fresh = folder.Text("fresh.qmp");
  std::unique_ptr<CConfigManagerEx> opened(CreateConfigManager(fresh));
  ASSERT_NE(opened, nullptr);
  EXPECT_TRUE(opened->GetTables(true)->ioTags->empty());
  opened->Close();
  EXPECT_FALSE(std::filesystem::exists(folder / "fresh.qmp"));
}

}  // namespace
}  // namespace qm
