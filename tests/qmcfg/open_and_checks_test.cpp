// Opening (identity, missing files and folders), handles, and the checks
// that refuse a write before anything is written.
#include <array>

#include "store_fixture.h"

namespace qm::test {
namespace {

using OpenTest = StoreTest;

TEST_F(OpenTest, MissingFileOpensEmptyAndIsCreatedOnlyByTheFirstWrite) {
  ConfigHandle handle = CfgOpenConfig(path_.c_str(), 0);
  ASSERT_NE(handle, 0u);
  ConfigTableSet set;
  set.Renew();
  EXPECT_EQ(CfgReadAllTables(handle, &set, 115), kCfgOk);
  ConfigTableSet empty;
  empty.Renew();
  EXPECT_TRUE(SameTables(set, empty));
  EXPECT_EQ(CfgCloseConfig(handle), kCfgOk);
  EXPECT_FALSE(std::filesystem::exists(file_));

  // The first write, of one table only, creates the whole layout.
  handle = CfgOpenConfig(path_.c_str(), 0);
  TimerTable timers;
  Add(timers, 1, u"T");
  EXPECT_EQ(CfgWriteTimers(handle, &timers, 1), kCfgOk);
  CfgCloseConfig(handle);
  EXPECT_EQ(Sql(file_, "SELECT count(*) FROM sqlite_master WHERE type = 'table'"), "11");
  EXPECT_EQ(Sql(file_, "SELECT count(*) FROM pragma_table_info('alarms') "
                       "WHERE name IN ('compare_value1_vt', 'compare_value2_vt')"),
            "2");
  int32_t code = -1;
  EXPECT_EQ(*ReadBack(path_, &code).timers, timers);
}

TEST_F(OpenTest, NonAsciiPathsWork) {
  const std::filesystem::path folder = folder_.path() / u8"Anlage \u00c4\u00d6 \U0001D11E";
  std::filesystem::create_directory(folder);
  const std::u16string path = folder_.Text() + u"/Anlage \u00c4\u00d6 \U0001D11E/p.qmp";
  const ConfigHandle handle = CfgOpenConfig(path.c_str(), 0);
  ASSERT_NE(handle, 0u);
  const ConfigTableSet set = SampleSet();
  EXPECT_EQ(CfgWriteAllTables(handle, &set, 0), kCfgOk);
  CfgCloseConfig(handle);
  EXPECT_TRUE(std::filesystem::exists(folder / "p.qmp"));
}

TEST_F(OpenTest, MissingFolderAndForeignFilesAreRefusedAndLeftUntouched) {
  EXPECT_EQ(CfgOpenConfig((folder_.Text() + u"/no such folder/p.qmp").c_str(), 0), 0u);
  EXPECT_EQ(CfgOpenConfig(nullptr, 0), 0u);
  EXPECT_EQ(CfgOpenConfig(u"", 0), 0u);
  EXPECT_EQ(CfgOpenConfig(folder_.Text().c_str(), 0), 0u);  // a folder

  const std::string tamper[] = {
      "PRAGMA application_id = 1234",  // foreign application
      "PRAGMA user_version = 2",       // a newer layout of ours
      "PRAGMA application_id = 0",     // not marked, but has tables
  };
  for (const std::string& sql : tamper) {
    std::filesystem::remove(file_);
    ASSERT_EQ(WriteAll(SampleSet()), kCfgOk);
    Sql(file_, sql);
    const std::string before = ReadFileBytes(file_);
    EXPECT_EQ(CfgOpenConfig(path_.c_str(), 0), 0u) << sql;
    EXPECT_EQ(ReadFileBytes(file_), before) << sql;
  }
  std::ofstream(file_, std::ios::binary | std::ios::trunc) << "plain text, not a database";
  EXPECT_EQ(CfgOpenConfig(path_.c_str(), 0), 0u);
  EXPECT_EQ(ReadFileBytes(file_), "plain text, not a database");
}

TEST_F(OpenTest, HandlesNotGivenOutOrClosedAreRefused) {
  ConfigTableSet set = SampleSet();
  const ConfigHandle handle = CfgOpenConfig(path_.c_str(), 0);
  ASSERT_NE(handle, 0u);
  ASSERT_EQ(CfgCloseConfig(handle), kCfgOk);
  for (ConfigHandle bad : {ConfigHandle{0}, handle, handle + 1000,
                           reinterpret_cast<ConfigHandle>(&set)}) {
    EXPECT_EQ(CfgCloseConfig(bad), kCfgBadHandle);
    EXPECT_EQ(CfgReadAllTables(bad, &set, 115), kCfgBadHandle);
    EXPECT_EQ(CfgReadIoTags(bad, set.ioTags.get(), 0, 0, nullptr), kCfgBadHandle);
    EXPECT_EQ(CfgWriteAllTables(bad, &set, 0), kCfgBadHandle);
    EXPECT_EQ(CfgWriteGeneral(bad, set.general.get(), 0), kCfgBadHandle);
    EXPECT_EQ(CfgPrepareSave(bad, &set, -1, -1), kCfgBadHandle);
  }
  EXPECT_FALSE(std::filesystem::exists(file_));
}

TEST_F(OpenTest, RefusedWritesWriteNothing) {
  const ConfigTableSet original = SampleSet();
  ASSERT_EQ(WriteAll(original), kCfgOk);
  const std::string before = ReadFileBytes(file_);
  const ConfigHandle handle = CfgOpenConfig(path_.c_str(), 0);

  ConfigTableSet set = SampleSet(1);
  (*set.alarms)[RecordKey(31)] = set.alarms->at(RecordKey(30));  // same head.id twice
  EXPECT_EQ(CfgPrepareSave(handle, &set, -1, -1), kCfgDuplicateId);
  EXPECT_EQ(CfgPrepareSave(handle, &set, kTableAlarm, -1), kCfgDuplicateId);
  EXPECT_EQ(CfgPrepareSave(handle, &set, kTableTimer, -1), kCfgOk);
  EXPECT_EQ(CfgWriteAllTables(handle, &set, 0), kCfgDuplicateId);
  EXPECT_EQ(CfgWriteAlarms(handle, set.alarms.get(), 1), kCfgDuplicateId);

  set = SampleSet(1);
  set.ioTags->begin()->second.head.id = 0;
  EXPECT_EQ(CfgPrepareSave(handle, &set, kTableIoTags, 100), kCfgBadRecordId);
  EXPECT_EQ(CfgWriteAllTables(handle, &set, 0), kCfgBadRecordId);
  set = SampleSet(1);
  set.ioTags->begin()->second.startup.type = 14;  // VT_DECIMAL: not in the layout
  EXPECT_EQ(CfgWriteIoTags(handle, set.ioTags.get(), -1, 1), kCfgBadValue);
  set.users.reset();
  EXPECT_EQ(CfgPrepareSave(handle, &set, kTableTimer, -1), kCfgIncompleteSet);
  EXPECT_EQ(CfgWriteAllTables(handle, &set, 0), kCfgIncompleteSet);
  EXPECT_EQ(CfgReadAllTables(handle, &set, 115), kCfgIncompleteSet);
  EXPECT_EQ(CfgPrepareSave(handle, &set, 9, -1), kCfgIncompleteSet);
  set.users = std::make_unique<UserTable>();
  EXPECT_EQ(CfgPrepareSave(handle, &set, 9, -1), kCfgBadArgument);
  EXPECT_EQ(CfgWriteTimers(handle, nullptr, 1), kCfgBadArgument);
  EXPECT_EQ(CfgReadAllTables(handle, nullptr, 115), kCfgBadArgument);
  CfgCloseConfig(handle);
  EXPECT_EQ(ReadFileBytes(file_), before);

  // A refused first write creates no file.
  std::filesystem::remove(file_);
  set = SampleSet();
  (*set.timers)[RecordKey(7)] = set.timers->at(RecordKey(1));
  EXPECT_EQ(WriteAll(set), kCfgDuplicateId);
  EXPECT_FALSE(std::filesystem::exists(file_));
}

TEST_F(OpenTest, StoredIdsOutsideTheRangeFailTheRead) {
  ASSERT_EQ(WriteAll(SampleSet()), kCfgOk);
  for (const char* id : {"0", "-5", "2147483648"}) {
    Sql(file_, std::string("DELETE FROM scripts WHERE id <> 40; ") +
                   "INSERT INTO scripts (id) VALUES (" + id + ")");
    const ConfigHandle handle = CfgOpenConfig(path_.c_str(), 0);
    ScriptTable scripts;
    EXPECT_EQ(CfgReadScripts(handle, &scripts, 0, 0, nullptr), kCfgBadRecordId) << id;
    ConfigTableSet set;
    set.Renew();
    EXPECT_EQ(CfgReadAllTables(handle, &set, 115), kCfgBadRecordId) << id;
    CfgCloseConfig(handle);
  }
}

// Tables that other tools damaged: the rest is read, and no write may
// replace a damaged table with the incomplete copy in memory.
TEST_F(OpenTest, DamagedTablesAreReadAroundAndNeverWrittenOver) {
  const ConfigTableSet original = SampleSet();
  ASSERT_EQ(WriteAll(original), kCfgOk);
  Sql(file_, "INSERT INTO timers (id) VALUES (0); ALTER TABLE io_tags RENAME COLUMN id TO k");
  const std::string damaged = ReadFileBytes(file_);
  const ConfigHandle handle = CfgOpenConfig(path_.c_str(), 0);
  ConfigTableSet set;
  set.Renew();
  EXPECT_EQ(CfgReadAllTables(handle, &set, 115), kCfgBadRecordId);
  EXPECT_EQ(*set.general, *original.general);
  EXPECT_EQ(*set.ioDevices, *original.ioDevices);
  EXPECT_EQ(*set.scripts, *original.scripts);  // read after both damaged tables
  std::array<int32_t, kSlotCount> codes{}, expected{};
  expected[kSlotTimers] = kCfgBadRecordId;
  expected[kSlotIoTags] = kCfgSqliteBase + SQLITE_ERROR;
  ASSERT_EQ(CfgGetUnreadTables(handle, codes.data()), kCfgOk);
  EXPECT_EQ(codes, expected);

  EXPECT_EQ(CfgPrepareSave(handle, &set, kAllTables, -1), kCfgUnreadTable);
  EXPECT_EQ(CfgPrepareSave(handle, &set, kTableTimer, -1), kCfgUnreadTable);
  EXPECT_EQ(CfgPrepareSave(handle, &set, kTableIoDevices, -1), kCfgOk);
  EXPECT_EQ(CfgWriteAllTables(handle, &set, 0), kCfgUnreadTable);
  EXPECT_EQ(CfgWriteTimers(handle, set.timers.get(), 1), kCfgUnreadTable);
  EXPECT_EQ(CfgWriteIoTags(handle, set.ioTags.get(), -1, 1), kCfgUnreadTable);
  EXPECT_EQ(CfgWriteIoTags(handle, set.ioTags.get(), 100, 1), kCfgUnreadTable);
  EXPECT_EQ(ReadFileBytes(file_), damaged);
  EXPECT_EQ(CfgWriteScripts(handle, set.scripts.get(), 1), kCfgOk);  // read whole: writable

  // A whole read that succeeds makes the table writable again; a failed
  // filtered read makes it unwritable.
  Sql(file_, "DELETE FROM timers WHERE id = 0");
  set.timers->clear();
  EXPECT_EQ(CfgReadTimers(handle, set.timers.get(), 0, 0, nullptr), kCfgOk);
  EXPECT_EQ(CfgWriteTimers(handle, set.timers.get(), 1), kCfgOk);
  Sql(file_, "INSERT INTO io_devices (id, port_id) VALUES (0, 10)");
  IoDeviceTable devices;
  EXPECT_NE(CfgReadIoDevices(handle, &devices, 0, 0, u"port_id = 10"), kCfgOk);
  EXPECT_EQ(CfgWriteIoDevices(handle, set.ioDevices.get(), 11, 1), kCfgUnreadTable);
  CfgCloseConfig(handle);
  EXPECT_EQ(Sql(file_, "SELECT count(*) FROM io_tags"), "40");
}

// A file that another tool wrote with tables or columns of the layout
// missing, and an older layout number, holds nothing there: it reads as
// empty tables and default fields, and the first write completes it.
TEST_F(OpenTest, MissingTablesAndColumnsReadAsEmptyAndAreAddedByTheFirstWrite) {
  const ConfigTableSet original = SampleSet();
  ASSERT_EQ(WriteAll(original), kCfgOk);
  Sql(file_, "DROP TABLE alarms; DROP TABLE io_ports; ALTER TABLE io_tags DROP COLUMN path; "
             "ALTER TABLE io_tags DROP COLUMN startup; ALTER TABLE io_tags DROP COLUMN startup_vt; "
             "ALTER TABLE general DROP COLUMN value; PRAGMA user_version = 0");
  ConfigTableSet expected = SampleSet();
  expected.alarms->clear();
  expected.ioPorts->clear();
  for (auto& [key, device] : *expected.ioDevices) device.portName.clear();
  for (auto& [key, tag] : *expected.ioTags) {
    tag.path.clear();
    tag.startup = Variant();
  }
  for (auto& [key, value] : *expected.general) value.clear();

  const ConfigHandle handle = CfgOpenConfig(path_.c_str(), 0);
  ASSERT_NE(handle, 0u);
  ConfigTableSet set;
  set.Renew();
  EXPECT_EQ(CfgReadAllTables(handle, &set, 115), kCfgOk);
  EXPECT_TRUE(SameTables(set, expected));
  IoDeviceTable devices;
  EXPECT_EQ(CfgReadIoDevices(handle, &devices, 0, 0, u"port_id = 10"), kCfgOk);
  EXPECT_FALSE(devices.empty());
  EXPECT_EQ(CfgPrepareSave(handle, &set, kAllTables, -1), kCfgOk);
  EXPECT_EQ(CfgWriteIoTags(handle, set.ioTags.get(), 100, 1), kCfgOk);
  CfgCloseConfig(handle);
  EXPECT_EQ(Sql(file_, "PRAGMA user_version"), "1");
  EXPECT_EQ(Sql(file_, "SELECT count(*) FROM pragma_table_info('io_tags') "
                       "WHERE name IN ('path', 'startup', 'startup_vt')"),
            "3");
  EXPECT_EQ(WriteAll(original), kCfgOk);
  int32_t code = -1;
  EXPECT_TRUE(SameTables(ReadBack(path_, &code), original));
  EXPECT_EQ(code, kCfgOk);
}

TEST_F(OpenTest, AFailedFirstWriteLeavesNoFile) {
  // A record that the layout refuses (id 0) fails the write after the new
  // file was begun.
  const ConfigHandle handle = CfgOpenConfig(path_.c_str(), 0);
  ConfigTableSet set = SampleSet();
  (*set.timers)[RecordKey(0)].head.id = 0;
  EXPECT_NE(CfgWriteAllTables(handle, &set, 0), kCfgOk);
  EXPECT_NE(CfgWriteTimers(handle, set.timers.get(), 1), kCfgOk);
  EXPECT_FALSE(std::filesystem::exists(file_));
  EXPECT_TRUE(std::filesystem::is_empty(folder_.path()));  // no temporary file either

  set.timers->erase(RecordKey(0));  // the same handle writes once the fault is gone
  EXPECT_EQ(CfgWriteAllTables(handle, &set, 0), kCfgOk);
  CfgCloseConfig(handle);
  int32_t code = -1;
  EXPECT_TRUE(SameTables(ReadBack(path_, &code), set));
}

}  // namespace
}  // namespace qm::test
