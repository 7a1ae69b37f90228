// The packed copies a handle keeps: what is unpacked equals what was packed
// or read, member for member, and the copy answers bad arguments by code.
#include "store_fixture.h"

namespace qm::test {
namespace {

using PackedCopyTest = StoreTest;

// Fills the members that a read never sets and the forms a packing could
// get wrong: application bookkeeping, a key that is not the id's, variants
// with more than their type's member, wide and astral texts, and a record
// larger than a whole block of the copy.
ConfigTableSet UnusualSet() {
  ConfigTableSet set = SampleSet();
  set.timers->begin()->second.head.ownerTable = 7;
  set.ioTags->begin()->second.head.editState = -3;
  IoTagRecord& tag = (*set.ioTags)[u"not an id key"];
  tag.head.id = 99999;
  tag.startup = MakeVariant(kVtI4, -5, 2.5, u"left over");
  tag.fallback = MakeVariant(kVtR8, INT64_MIN, -1e300);
  tag.path = std::u16string(300000, u'\u20ac');  // 600 KB, beyond one block
  tag.deviceName = u"\U0001F600\xFF";
  set.alarms->begin()->second.deadband = -0.0;
  set.timers->begin()->second.year = {0, 127, 128, 65535};
  return set;
}

ConfigTableSet Unpacked(ConfigHandle handle) {
  ConfigTableSet set;
  set.Renew();
  for (int slot = kSlotTimers; slot < kSlotCount; ++slot) {
    EXPECT_EQ(CfgUnpackTable(handle, &set, slot), kCfgOk) << "slot " << slot;
  }
  return set;
}

TEST_F(PackedCopyTest, EveryRecordOfEveryTableUnpacksAsPacked) {
  const ConfigTableSet set = UnusualSet();
  const ConfigHandle handle = CfgOpenConfig(path_.c_str(), 0);
  for (int slot = kSlotTimers; slot < kSlotCount; ++slot) {
    ASSERT_EQ(CfgPackTable(handle, &set, slot), kCfgOk) << "slot " << slot;
  }
  ConfigTableSet unpacked = Unpacked(handle);
  *unpacked.general = *set.general;
  EXPECT_TRUE(SameTables(unpacked, set));
  EXPECT_EQ(unpacked.ioTags->at(u"not an id key").path, set.ioTags->at(u"not an id key").path);

  // Unpacking adds to what a table holds; a key present takes the copy's.
  (*unpacked.ioPorts)[RecordKey(10)].header = u"changed";
  ASSERT_EQ(CfgUnpackTable(handle, &unpacked, kSlotIoPorts), kCfgOk);
  EXPECT_EQ(*unpacked.ioPorts, *set.ioPorts);
  CfgCloseConfig(handle);
}

TEST_F(PackedCopyTest, APackedReadKeepsExactlyWhatItRead) {
  ASSERT_EQ(WriteAll(SampleSet()), kCfgOk);
  const ConfigHandle handle = CfgOpenConfig(path_.c_str(), 0);
  ConfigTableSet read;
  read.Renew();
  ASSERT_EQ(CfgReadAllTablesPacked(handle, &read, 115), kCfgOk);
  ConfigTableSet unpacked = Unpacked(handle);
  *unpacked.general = *read.general;
  EXPECT_TRUE(SameTables(unpacked, read));

  // A second packed read replaces the copies; a dropped copy unpacks empty.
  Sql(file_, "DELETE FROM io_tags WHERE id > 1000");
  read.Renew();
  ASSERT_EQ(CfgReadAllTablesPacked(handle, &read, 115), kCfgOk);
  ASSERT_EQ(CfgDropPackedTable(handle, kSlotAlarms), kCfgOk);
  unpacked = Unpacked(handle);
  EXPECT_EQ(*unpacked.ioTags, *read.ioTags);
  EXPECT_EQ(unpacked.ioTags->size(), 1u);
  EXPECT_TRUE(unpacked.alarms->empty());
  ASSERT_EQ(CfgDropPackedTable(handle, kAllTables), kCfgOk);
  EXPECT_TRUE(Unpacked(handle).ioTags->empty());
  CfgCloseConfig(handle);
}

// An update of the copy ends as the same update of a table would: erased
// keys go (also when nothing comes back under them), a key that stays keeps
// its record, and new keys land in order, before, between and after.
TEST_F(PackedCopyTest, AnUpdateEndsAsTheSameUpdateOfTheTable) {
  const ConfigTableSet set = SampleSet();
  IoTagTable model = *set.ioTags;
  const ConfigHandle handle = CfgOpenConfig(path_.c_str(), 0);
  ASSERT_EQ(CfgPackTable(handle, &set, kSlotIoTags), kCfgOk);
  const std::vector<std::u16string> erased = {RecordKey(5), RecordKey(1000), RecordKey(1001),
                                              RecordKey(1039)};
  ConfigTableSet inserted;
  inserted.ioTags = std::make_unique<IoTagTable>();
  Add(*inserted.ioTags, 1, u"first");
  Add(*inserted.ioTags, 1001, u"back under an erased key");
  Add(*inserted.ioTags, 1002, u"not erased, so not taken");
  Add(*inserted.ioTags, 1500, u"between");
  Add(*inserted.ioTags, 90000, u"last");
  for (const std::u16string& key : erased) model.erase(key);
  model.insert(inserted.ioTags->begin(), inserted.ioTags->end());

  ASSERT_EQ(CfgUpdatePackedTable(handle, kSlotIoTags, erased.data(),
                                 static_cast<int32_t>(erased.size()), &inserted),
            kCfgOk);
  ConfigTableSet unpacked = Unpacked(handle);
  EXPECT_EQ(*unpacked.ioTags, model);

  const std::vector<std::u16string> unsorted = {RecordKey(2), RecordKey(1)};
  EXPECT_EQ(CfgUpdatePackedTable(handle, kSlotIoTags, unsorted.data(), 2, &inserted),
            kCfgBadArgument);
  CfgCloseConfig(handle);
}

TEST_F(PackedCopyTest, BadArgumentsAreRefusedByCode) {
  const ConfigHandle handle = CfgOpenConfig(path_.c_str(), 0);
  ConfigTableSet set;
  set.Renew();
  ConfigTableSet empty;
  struct Case {
    int32_t got, expected;
  };
  const Case cases[] = {
      {CfgPackTable(handle, &set, kSlotGeneral), kCfgBadArgument},
      {CfgPackTable(handle, &set, kSlotCount), kCfgBadArgument},
      {CfgPackTable(handle, nullptr, kSlotIoTags), kCfgBadArgument},
      {CfgPackTable(handle, &empty, kSlotIoTags), kCfgIncompleteSet},
      {CfgUnpackTable(handle, &empty, kSlotIoTags), kCfgIncompleteSet},
      {CfgUnpackTable(handle, &set, -1), kCfgBadArgument},
      {CfgDropPackedTable(handle, kSlotGeneral), kCfgBadArgument},
      {CfgReadAllTablesPacked(handle, &empty, 115), kCfgIncompleteSet},
      {CfgPackTable(handle + 1000, &set, kSlotIoTags), kCfgBadHandle},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].got, cases[i].expected) << "case " << i;
  }
  CfgCloseConfig(handle);
}

}  // namespace
}  // namespace qm::test
