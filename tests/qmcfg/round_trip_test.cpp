// What the store writes reads back as it was, and how stored values that
// other tools may have written are read.
#include "store_fixture.h"

namespace qm::test {
namespace {

using RoundTripTest = StoreTest;

TEST_F(RoundTripTest, EveryTableAndEveryVariantTypeReadsBackUnchanged) {
  const ConfigTableSet written = SampleSet();
  ASSERT_EQ(WriteAll(written), kCfgOk);
  int32_t code = -1;
  const ConfigTableSet read = ReadBack(path_, &code);
  ASSERT_EQ(code, kCfgOk);
  EXPECT_TRUE(SameTables(read, written));
  // The layout as other tools see it.
  EXPECT_EQ(Sql(file_, "PRAGMA application_id"), "1363365955");
  EXPECT_EQ(Sql(file_, "PRAGMA user_version"), "1");
  EXPECT_EQ(Sql(file_, "SELECT hour || '|' || minute || '|' || day FROM timers WHERE id = 1"),
            "0,12|0,15,30,45|");
  EXPECT_EQ(Sql(file_, "SELECT typeof(startup) || startup_vt FROM io_tags WHERE id = 1007"),
            "text8");
}

TEST_F(RoundTripTest, SingleTableReadsAndWritesMatchTheWholeSet) {
  const ConfigTableSet set = SampleSet();
  ASSERT_EQ(WriteAll(set), kCfgOk);
  const ConfigHandle handle = CfgOpenConfig(path_.c_str(), 0);
  ConfigTableSet one;
  one.Renew();
  EXPECT_EQ(CfgReadGeneral(handle, one.general.get(), 0, 0), kCfgOk);
  EXPECT_EQ(CfgReadTimers(handle, one.timers.get(), 0, 0, nullptr), kCfgOk);
  EXPECT_EQ(CfgReadDatabases(handle, one.databases.get(), 0, 0, nullptr), kCfgOk);
  EXPECT_EQ(CfgReadUsers(handle, one.users.get(), 0, 0, nullptr), kCfgOk);
  EXPECT_EQ(CfgReadIoPorts(handle, one.ioPorts.get(), 0, 0, nullptr), kCfgOk);
  EXPECT_EQ(CfgReadIoDevices(handle, one.ioDevices.get(), 0, 0, nullptr), kCfgOk);
  EXPECT_EQ(CfgReadIoTags(handle, one.ioTags.get(), 0, 0, nullptr), kCfgOk);
  EXPECT_EQ(CfgReadOutputs(handle, one.outputs.get(), 0, 0, nullptr), kCfgOk);
  EXPECT_EQ(CfgReadAlarms(handle, one.alarms.get(), 0, 0, nullptr), kCfgOk);
  EXPECT_EQ(CfgReadScripts(handle, one.scripts.get(), 0, 0, nullptr), kCfgOk);
  *one.trends = *set.trends;  // read only with the whole set
  EXPECT_TRUE(SameTables(one, set));

  // Each single-table write replaces its table and leaves the others.
  const ConfigTableSet next = SampleSet(1);
  EXPECT_EQ(CfgWriteGeneral(handle, next.general.get(), 0), kCfgOk);
  EXPECT_EQ(CfgWriteTimers(handle, next.timers.get(), 1), kCfgOk);
  EXPECT_EQ(CfgWriteDatabases(handle, next.databases.get(), 1), kCfgOk);
  EXPECT_EQ(CfgWriteUsers(handle, next.users.get(), 1), kCfgOk);
  EXPECT_EQ(CfgWriteIoPorts(handle, next.ioPorts.get(), 1), kCfgOk);
  EXPECT_EQ(CfgWriteIoDevices(handle, next.ioDevices.get(), -1, 1), kCfgOk);
  EXPECT_EQ(CfgWriteIoTags(handle, next.ioTags.get(), -1, 1), kCfgOk);
  EXPECT_EQ(CfgWriteOutputs(handle, next.outputs.get(), 1), kCfgOk);
  EXPECT_EQ(CfgWriteAlarms(handle, next.alarms.get(), 1), kCfgOk);
  EXPECT_EQ(CfgWriteScripts(handle, next.scripts.get(), 1), kCfgOk);
  CfgCloseConfig(handle);
  int32_t code = -1;
  ConfigTableSet read = ReadBack(path_, &code);
  ASSERT_EQ(code, kCfgOk);
  EXPECT_EQ(*read.trends, *set.trends);
  *read.trends = *next.trends;
  EXPECT_TRUE(SameTables(read, next));
}

TEST_F(RoundTripTest, WholeTableWriteDeletesGoneRowsAndKeepsUnknownColumns) {
  ConfigTableSet set = SampleSet();
  ASSERT_EQ(WriteAll(set), kCfgOk);
  Sql(file_, "ALTER TABLE io_tags ADD COLUMN future TEXT; UPDATE io_tags SET future = 'kept'");

  set.ioTags->erase(RecordKey(1003));
  set.ioTags->erase(RecordKey(1039));
  (*set.ioTags)[RecordKey(1010)].path = u"changed";
  Add(*set.ioTags, 5000, u"New").deviceName = u"";
  const ConfigHandle handle = CfgOpenConfig(path_.c_str(), 0);
  EXPECT_EQ(CfgWriteIoTags(handle, set.ioTags.get(), -1, 1), kCfgOk);
  IoTagTable read;
  EXPECT_EQ(CfgReadIoTags(handle, &read, 0, 0, nullptr), kCfgOk);
  CfgCloseConfig(handle);
  EXPECT_EQ(read, *set.ioTags);
  EXPECT_EQ(Sql(file_, "SELECT count(*) FROM io_tags WHERE future = 'kept'"), "38");
}

// Values as another SQLite client may store them: X_vt NULL follows the
// storage class; anything that does not fit its stated type is VT_EMPTY.
TEST_F(RoundTripTest, StoredVariantsFollowTheirTypeOrReadAsEmpty) {
  struct Case {
    const char* value;
    const char* type;
    Variant expected;
  };
  const Case cases[] = {
      {"42", "NULL", MakeVariant(kVtI4, 42)},    {"2.5", "NULL", MakeVariant(kVtR8, 0, 2.5)},
      {"5000000000", "NULL", MakeVariant(kVtI8, 5000000000)},
      {"'abc'", "NULL", MakeVariant(kVtBstr, 0, 0, u"abc")},
      {"NULL", "NULL", MakeVariant(kVtEmpty)},   {"x'00ff'", "NULL", MakeVariant(kVtEmpty)},
      {"x'00ff'", "8", MakeVariant(kVtEmpty)},
      {"'12'", "3", MakeVariant(kVtEmpty)},       // text where a number is stated
      {"12", "8", MakeVariant(kVtEmpty)},         // a number where text is stated
      {"128", "16", MakeVariant(kVtEmpty)},       // out of VT_I1
      {"-1", "19", MakeVariant(kVtEmpty)},        // out of VT_UI4
      {"4294967295", "19", MakeVariant(kVtUi4, 4294967295)},
      {"7.0", "3", MakeVariant(kVtI4, 7)},        // a whole real fits an integer type
      {"7.5", "3", MakeVariant(kVtEmpty)},
      {"1e300", "4", MakeVariant(kVtEmpty)},      // out of VT_R4
      {"3", "7", MakeVariant(kVtDate, 0, 3.0)},  {"5", "11", MakeVariant(kVtBool, 5)},
      {"5", "99", MakeVariant(kVtEmpty)},         // unknown type
      {"5", "'abc'", MakeVariant(kVtEmpty)},      // a type that is not a number
      {"NULL", "1", MakeVariant(kVtNull)},       {"NULL", "3", MakeVariant(kVtEmpty)},
  };
  ConfigTableSet set = SampleSet();
  ASSERT_EQ(WriteAll(set), kCfgOk);
  Sql(file_, "DELETE FROM io_tags");
  int32_t id = 1;
  for (const Case& c : cases) {
    Sql(file_, "INSERT INTO io_tags (id, device_id, startup, startup_vt) VALUES (" +
                   std::to_string(id++) + ", 100, " + c.value + ", " + c.type + ")");
  }
  IoTagTable read;
  const ConfigHandle handle = CfgOpenConfig(path_.c_str(), 0);
  ASSERT_EQ(CfgReadIoTags(handle, &read, 0, 0, nullptr), kCfgOk);
  CfgCloseConfig(handle);
  ASSERT_EQ(read.size(), std::size(cases));
  id = 1;
  for (const Case& c : cases) {
    const IoTagRecord& tag = read[RecordKey(id++)];
    EXPECT_EQ(tag.startup, c.expected) << c.value << " stated as " << c.type;
    EXPECT_EQ(tag.fallback, Variant());  // both NULL
    EXPECT_EQ(tag.deviceName, set.ioDevices->at(RecordKey(100)).head.name);
  }
}

TEST_F(RoundTripTest, WritersStoreIntegersAtTheirTypeWidth) {
  ConfigTableSet set = SampleSet();
  IoTagRecord& tag = set.ioTags->begin()->second;
  tag.startup = MakeVariant(kVtI2, 70000);
  tag.fallback = MakeVariant(kVtUi1, -1);
  ASSERT_EQ(WriteAll(set), kCfgOk);
  int32_t code = -1;
  const ConfigTableSet read = ReadBack(path_, &code);
  const IoTagRecord& back = read.ioTags->begin()->second;
  EXPECT_EQ(back.startup, MakeVariant(kVtI2, static_cast<int16_t>(70000)));
  EXPECT_EQ(back.fallback, MakeVariant(kVtUi1, 255));
}

TEST_F(RoundTripTest, StoredSetsTextsAndRealsFromOtherWritersRead) {
  ASSERT_EQ(WriteAll(SampleSet()), kCfgOk);
  Sql(file_, "UPDATE timers SET hour = '3,,x,70000,5,-1' WHERE id = 1;"
             "UPDATE users SET expire = NULL WHERE id = 4;"
             "UPDATE io_ports SET header = CAST(x'41ff42' AS TEXT) WHERE id = 10;"
             "UPDATE io_devices SET port_id = 99 WHERE id = 100");
  int32_t code = -1;
  const ConfigTableSet read = ReadBack(path_, &code);
  ASSERT_EQ(code, kCfgOk);
  EXPECT_EQ(read.timers->at(RecordKey(1)).hour, (ValueSet{3, 5}));
  EXPECT_EQ(read.users->at(RecordKey(4)).expire, 0.0);
  EXPECT_EQ(read.ioPorts->at(RecordKey(10)).header, u"A\uFFFDB");
  EXPECT_EQ(read.ioDevices->at(RecordKey(100)).portName, u"");  // port 99 does not exist
}

// What the file holds in one cell: its storage class and bytes.
std::string Cell(const std::filesystem::path& file, const std::string& table, int id,
                 const std::string& column) {
  return Sql(file, "SELECT typeof(" + column + ") || ' ' || hex(" + column + ") FROM " + table +
                       " WHERE id = " + std::to_string(id));
}

// A cell the record cannot hold reads as the nearest the field can hold,
// and every save stores it again while the field keeps what the read gave.
TEST_F(RoundTripTest, CellsTheRecordCannotHoldAreStoredAgain) {
  struct Case {
    const char* table;
    int id;
    const char* column;
    const char* stored;
  };
  const Case cases[] = {
      {"users", 4, "expire", "'not a date'"},           // a text in a date column
      {"users", 4, "expire", "NULL"},                   // NULL where a number is written
      {"alarms", 30, "deadband", "'abc'"},              // a text in a number column
      {"io_devices", 101, "address", "5000000000"},     // beyond 32 bits
      {"io_devices", 101, "address", "-2147483649"},
      {"io_devices", 101, "address", "2.5"},            // a fraction
      {"io_tags", 1001, "type", "65536"},               // beyond 16 bits
      {"io_tags", 1001, "type", "'x'"},
      {"io_ports", 10, "header", "CAST(x'41ff42' AS TEXT)"},  // not UTF-8
      {"io_ports", 10, "header", "CAST(x'EDA0BDEDB880' AS TEXT)"},  // a pair in two halves
      {"io_ports", 10, "name", "x'41ff'"},              // a BLOB in a text column
      {"io_ports", 10, "description", "42"},            // a number in a text column
      {"timers", 1, "hour", "'3,,x,70000,5,-1'"},       // value set members that are not
      {"timers", 1, "minute", "'15,0'"},                // a value set out of order
      {"io_tags", 1001, "startup_vt", "99"},            // a variant type the layout lacks
      {"io_tags", 1001, "startup", "x'00ff'"},          // a BLOB variant
      {"io_tags", 1001, "fallback_vt", "NULL"},         // a variant typed by its storage
      {"alarms", 30, "compare_value1", "CAST(x'61ff' AS TEXT)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.table) + "." + c.column + " = " + c.stored);
    std::filesystem::remove(file_);
    ASSERT_EQ(WriteAll(SampleSet()), kCfgOk);
    Sql(file_, std::string("UPDATE ") + c.table + " SET " + c.column + " = " + c.stored +
                   " WHERE id = " + std::to_string(c.id));
    const std::string before = Cell(file_, c.table, c.id, c.column);
    const ConfigHandle handle = CfgOpenConfig(path_.c_str(), 0);
    ConfigTableSet set;
    set.Renew();
    ASSERT_EQ(CfgReadAllTables(handle, &set, 115), kCfgOk);
    EXPECT_EQ(CfgWriteAllTables(handle, &set, 0), kCfgOk);
    EXPECT_EQ(Cell(file_, c.table, c.id, c.column), before);
    // A save of the table alone, and one of its owner's records alone.
    set.ioTags->at(RecordKey(1001)).head.description = u"changed elsewhere in the record";
    EXPECT_EQ(CfgWriteIoTags(handle, set.ioTags.get(), -1, 1), kCfgOk);
    EXPECT_EQ(CfgWriteIoDevices(handle, set.ioDevices.get(), 10, 1), kCfgOk);
    EXPECT_EQ(Cell(file_, c.table, c.id, c.column), before);
    CfgCloseConfig(handle);
  }
}

// Once the application changes such a field, the save stores its value.
TEST_F(RoundTripTest, AChangedFieldReplacesTheCellItCouldNotHold) {
  ASSERT_EQ(WriteAll(SampleSet()), kCfgOk);
  Sql(file_, "UPDATE users SET expire = 'not a date' WHERE id = 4;"
             "UPDATE io_tags SET startup_vt = 99 WHERE id = 1001");
  const ConfigHandle handle = CfgOpenConfig(path_.c_str(), 0);
  ConfigTableSet set;
  set.Renew();
  ASSERT_EQ(CfgReadAllTables(handle, &set, 115), kCfgOk);
  EXPECT_EQ(set.users->at(RecordKey(4)).expire, 0.0);
  EXPECT_EQ(set.ioTags->at(RecordKey(1001)).startup, Variant());
  set.users->at(RecordKey(4)).expire = 45000.5;
  set.ioTags->at(RecordKey(1001)).startup = MakeVariant(kVtI4, 7);
  EXPECT_EQ(CfgWriteAllTables(handle, &set, 0), kCfgOk);
  CfgCloseConfig(handle);
  EXPECT_EQ(Cell(file_, "users", 4, "expire"), "real " + Sql(file_, "SELECT hex(45000.5)"));
  EXPECT_EQ(Sql(file_, "SELECT startup || ' ' || startup_vt FROM io_tags WHERE id = 1001"),
            "7 3");
}

// General rows that other tools stored and a read cannot give back as they
// are: a BLOB value, a key that is not UTF-8, and two keys that read as one.
// Saves that leave their entries alone store them as they were, under the
// same path or a new one; a changed or removed entry replaces them.
TEST_F(RoundTripTest, GeneralRowsTheTableCannotHoldAreStoredAgain) {
  ASSERT_EQ(WriteAll(SampleSet()), kCfgOk);
  Sql(file_, "INSERT INTO general VALUES ('blob', x'414243'), (CAST(x'6B6579FF' AS TEXT), 'a'),"
             " (CAST(x'6B6579EFBFBD' AS TEXT), 'b'), (CAST(x'7AFF' AS TEXT), 'z')");
  const std::string kRows = "SELECT group_concat(r, ' ') FROM (SELECT hex(key) || ':' || "
                            "typeof(value) || ':' || hex(value) AS r FROM general ORDER BY key)";
  const std::string before = Sql(file_, kRows);
  const std::filesystem::path copy = folder_ / "copy.qmp";
  const ConfigHandle handle = CfgOpenConfig(path_.c_str(), 0);
  ConfigTableSet set;
  set.Renew();
  ASSERT_EQ(CfgReadAllTables(handle, &set, 115), kCfgOk);
  EXPECT_EQ(CfgWriteAllTables(handle, &set, 0), kCfgOk);
  EXPECT_EQ(CfgWriteGeneral(handle, set.general.get(), 0), kCfgOk);
  EXPECT_EQ(Sql(file_, kRows), before);
  const ConfigHandle target = CfgOpenConfig(folder_.Text("copy.qmp").c_str(), 0);
  ASSERT_EQ(CfgCopyKeptCells(target, handle), kCfgOk);
  EXPECT_EQ(CfgWriteAllTables(target, &set, 0), kCfgOk);
  CfgCloseConfig(target);
  EXPECT_EQ(Sql(copy, kRows), before);

  set.general->at(u"blob") = u"text";
  set.general->at(u"key\uFFFD") = u"c";
  set.general->erase(u"z\uFFFD");
  EXPECT_EQ(CfgWriteGeneral(handle, set.general.get(), 0), kCfgOk);
  CfgCloseConfig(handle);
  EXPECT_EQ(Sql(file_, "SELECT group_concat(key || '=' || value, ' ') FROM (SELECT * FROM general"
                       " WHERE key IN ('blob', 'key\uFFFD') OR key LIKE 'z%' ORDER BY key)"),
            "blob=text key\uFFFD=c");
  EXPECT_EQ(Sql(file_, "SELECT count(*) FROM general WHERE key LIKE 'key%'"), "1");
}

TEST_F(RoundTripTest, UnpairedSurrogatesReadBackUnchanged) {
  const std::u16string texts[] = {
      std::u16string(u"end ") + char16_t(0xD83D), char16_t(0xDE00) + std::u16string(u" start"),
      {char16_t(0xDC00), char16_t(0xD800)},  // a pair in the wrong order
      {u'a', char16_t(0xDBFF), u'b', char16_t(0xD800), char16_t(0xDC00)},  // lone, then a pair
  };
  ConfigTableSet set = SampleSet();
  int32_t id = 50;
  for (const std::u16string& text : texts) {
    Add(*set.scripts, id++, text).fileName = text;
    (*set.general)[text] = text;
  }
  set.ioTags->begin()->second.startup = MakeVariant(kVtBstr, 0, 0, texts[0]);
  ASSERT_EQ(WriteAll(set), kCfgOk);
  int32_t code = -1;
  EXPECT_TRUE(SameTables(ReadBack(path_, &code), set));
  EXPECT_EQ(code, kCfgOk);
}

}  // namespace
}  // namespace qm::test
