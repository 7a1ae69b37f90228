// Reads and writes of one owner's records: the filters the readers accept
// (and refuse), and per-owner writes that must not lose a moved record.
#include "store_fixture.h"

namespace qm::test {
namespace {

class OwnerIoTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    set_ = SampleSet();
    ASSERT_EQ(WriteAll(set_), kCfgOk);
    handle_ = CfgOpenConfig(path_.c_str(), 0);
    ASSERT_NE(handle_, 0u);
  }
  void TearDown() override {
    CfgCloseConfig(handle_);
    StoreTest::TearDown();
  }

  IoDeviceTable StoredDevices() {
    IoDeviceTable devices;
    EXPECT_EQ(CfgReadIoDevices(handle_, &devices, 0, 0, nullptr), kCfgOk);
    return devices;
  }

  ConfigTableSet set_;
  ConfigHandle handle_ = 0;
};

TEST_F(OwnerIoTest, FilterReadsOnlyThatOwnersRecordsWithTheOwnersName) {
  IoDeviceTable devices;
  ASSERT_EQ(CfgReadIoDevices(handle_, &devices, 0, 0, u"port_id = 11"), kCfgOk);
  ASSERT_EQ(devices.size(), 2u);
  for (const auto& [key, device] : devices) {
    EXPECT_EQ(device, set_.ioDevices->at(key));
    EXPECT_EQ(device.portName, set_.ioPorts->at(RecordKey(11)).head.name);
  }
  IoTagTable tags;
  ASSERT_EQ(CfgReadIoTags(handle_, &tags, 0, 0, u"device_id = 102"), kCfgOk);
  EXPECT_EQ(tags.size(), 10u);
  for (const auto& [key, tag] : tags) EXPECT_EQ(tag, set_.ioTags->at(key));
  tags.clear();
  ASSERT_EQ(CfgReadIoTags(handle_, &tags, 0, 0, u"device_id = -2147483648"), kCfgOk);
  EXPECT_TRUE(tags.empty());
}

TEST_F(OwnerIoTest, AnyOtherFilterTextIsRefusedAndReadsNothing) {
  const char16_t* refused[] = {
      u"port_id = 11 OR 1=1", u"port_id=11",          u"port_id = 11 ",
      u" port_id = 11",       u"port_id =  11",       u"PORT_ID = 11",
      u"port_id = ",          u"port_id = -",         u"port_id = 2147483648",
      u"port_id = 1x",        u"port_id = 11; DROP TABLE io_devices",
      u"device_id = 11",      u"",
  };
  for (const char16_t* filter : refused) {
    IoDeviceTable devices;
    EXPECT_EQ(CfgReadIoDevices(handle_, &devices, 0, 0, filter), kCfgRefusedFilter);
    EXPECT_TRUE(devices.empty());
  }
  IoTagTable tags;
  EXPECT_EQ(CfgReadIoTags(handle_, &tags, 0, 0, u"port_id = 10"), kCfgRefusedFilter);
  TimerTable timers;
  EXPECT_EQ(CfgReadTimers(handle_, &timers, 0, 0, u"port_id = 1"), kCfgRefusedFilter);
  EXPECT_TRUE(tags.empty() && timers.empty());
  EXPECT_EQ(StoredDevices().size(), 4u);
}

TEST_F(OwnerIoTest, DeviceMovedBetweenPortsIsNotLost) {
  // Port 10 holds devices 100 and 102, port 11 holds 101 and 103.
  IoDeviceTable devices = *set_.ioDevices;
  devices[RecordKey(102)].portId = 11;     // moved to port 11
  devices.erase(RecordKey(100));           // deleted
  Add(devices, 104, u"New").portId = 10;   // added to port 10
  devices[RecordKey(101)].head.name = u"Renamed";  // port 11, not written yet
  devices.erase(RecordKey(103));           // port 11, not written yet

  ASSERT_EQ(CfgWriteIoDevices(handle_, &devices, 10, 1), kCfgOk);
  IoDeviceTable stored = StoredDevices();
  EXPECT_EQ(stored.count(RecordKey(100)), 0u);
  EXPECT_EQ(stored.at(RecordKey(104)).head.name, u"New");
  EXPECT_EQ(stored.at(RecordKey(102)).portId, 10);  // still where the file had it
  EXPECT_EQ(stored.at(RecordKey(101)), set_.ioDevices->at(RecordKey(101)));
  EXPECT_EQ(stored.count(RecordKey(103)), 1u);

  ASSERT_EQ(CfgWriteIoDevices(handle_, &devices, 11, 1), kCfgOk);
  stored = StoredDevices();
  for (auto& [key, device] : devices) {
    device.portName = set_.ioPorts->at(RecordKey(device.portId)).head.name;
  }
  EXPECT_EQ(stored, devices);
}

TEST_F(OwnerIoTest, TagsOfOneDeviceAreWrittenAloneAndCheckedWhole) {
  IoTagTable tags = *set_.ioTags;
  tags[RecordKey(1000)].path = u"changed";  // device 100
  tags[RecordKey(1001)].path = u"changed";  // device 101, not written
  ASSERT_EQ(CfgWriteIoTags(handle_, &tags, 100, 1), kCfgOk);
  IoTagTable stored;
  ASSERT_EQ(CfgReadIoTags(handle_, &stored, 0, 0, nullptr), kCfgOk);
  EXPECT_EQ(stored.at(RecordKey(1000)).path, u"changed");
  EXPECT_EQ(stored.at(RecordKey(1001)).path, u"%MW1");

  // A duplicate anywhere in the table refuses even another owner's write.
  tags[RecordKey(9999)] = tags[RecordKey(1001)];
  tags[RecordKey(1004)].path = u"not written";
  EXPECT_EQ(CfgWriteIoTags(handle_, &tags, 100, 1), kCfgDuplicateId);
  stored.clear();
  ASSERT_EQ(CfgReadIoTags(handle_, &stored, 0, 0, u"device_id = 100"), kCfgOk);
  EXPECT_EQ(stored.at(RecordKey(1004)).path, u"%MW4");
}

}  // namespace
}  // namespace qm::test
