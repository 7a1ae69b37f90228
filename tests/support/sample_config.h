// A configuration with every table filled and every variant type in it,
// made by hand: what the store's tests write and read back, and the fixed
// project of the fuzz targets.
#ifndef QMPECORE_TESTS_SUPPORT_SAMPLE_CONFIG_H_
#define QMPECORE_TESTS_SUPPORT_SAMPLE_CONFIG_H_

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "qmcfg/qmcfg.h"
#include "support/config_sets.h"

namespace qm::testing {

inline std::u16string Widen(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

inline Variant MakeVariant(uint16_t type, int64_t integer = 0, double real = 0,
                           std::u16string text = {}) {
  return Variant{type, integer, real, std::move(text)};
}

// One value of every VARTYPE of the layout, with edge values where the
// type has edges.
inline std::vector<Variant> EveryVariant() {
  return {MakeVariant(kVtEmpty),           MakeVariant(kVtNull),
          MakeVariant(kVtI2, -32768),      MakeVariant(kVtI4, 2147483647),
          MakeVariant(kVtR4, 0, 1.5),      MakeVariant(kVtR8, 0, -2.718281828459045),
          MakeVariant(kVtDate, 0, 45123.75), MakeVariant(kVtBstr, 0, 0, u"Pumpe \u00c4 \U0001D11E"),
          MakeVariant(kVtBstr, 0, 0, u""), MakeVariant(kVtBool, -1),
          MakeVariant(kVtBool, 0),         MakeVariant(kVtI1, -128),
          MakeVariant(kVtUi1, 255),        MakeVariant(kVtUi2, 65535),
          MakeVariant(kVtUi4, 4294967295), MakeVariant(kVtI8, -(int64_t{1} << 60)),
          MakeVariant(kVtUi8, -1)};  // all 64 bits set
}

template <class Record>
Record& Add(RecordTable<Record>& table, int32_t id, std::u16string name) {
  Record& record = AddRecord(table, id, std::move(name));
  record.head.description = u"about " + record.head.name;
  return record;
}

// A configuration with every table filled; `variant` changes every name,
// so two variants differ in every record. The owner names are those the
// store reads back.
inline ConfigTableSet SampleSet(int variant = 0, int tagCount = 40) {
  const std::u16string v = Widen(std::to_string(variant));
  ConfigTableSet set;
  set.Renew();
  (*set.general)[u"project-id"] = u"plant-" + v;
  (*set.general)[u"pre-launch"] = u"start.bat";
  (*set.general)[u"\u00fcber \U0001F600"] = u"line1\nline2";

  TimerRecord& timer = Add(*set.timers, 1, u"Shift " + v);
  timer.hour = {0, 12};
  timer.minute = {0, 15, 30, 45};
  timer.millisecond = {65535};
  Add(*set.timers, 2, u"Never " + v);

  DatabaseRecord& db = Add(*set.databases, 3, u"History " + v);
  db.groupId = 7;
  db.connectionString = u"Driver={SQL};Server=\u6771\u4eac";
  db.logTimerId = 1;
  db.purgeTimerId = 2;
  db.purgeType = 1;
  db.purgeCount = 1000;

  UserRecord& user = Add(*set.users, 4, u"operator " + v);
  user.passwordHash = u"9f86d081";
  user.security = 500;
  user.expire = 2958465.999988426;
  Add(*set.users, 5, u"guest " + v).expire = -700000.5;  // outside the convertible range

  TrendRecord& trend = Add(*set.trends, 6, u"Flow " + v);
  trend.tagId = 1000;
  trend.periodMs = 250;

  Add(*set.ioPorts, 10, u"COM1 " + v).header = u"9600,8,N,1";
  Add(*set.ioPorts, 11, u"TCP " + v).header = u"10.0.0.1:502";
  for (int32_t i = 0; i < 4; ++i) {
    IoDeviceRecord& device = Add(*set.ioDevices, 100 + i, u"PLC" + Widen(std::to_string(i)) + v);
    device.portId = 10 + i % 2;
    device.portName = (*set.ioPorts)[RecordKey(device.portId)].head.name;
    device.address = i;
    device.path = u"rack/" + Widen(std::to_string(i));
    device.driver = u"modbus";
    device.timerId = 1;
  }
  const std::vector<Variant> variants = EveryVariant();
  for (int32_t i = 0; i < tagCount; ++i) {
    IoTagRecord& tag = Add(*set.ioTags, 1000 + i, u"Tag" + Widen(std::to_string(i)) + v);
    tag.deviceId = 100 + i % 4;
    tag.deviceName = (*set.ioDevices)[RecordKey(tag.deviceId)].head.name;
    tag.address = 40001 + i;
    tag.path = u"%MW" + Widen(std::to_string(i));
    tag.type = kVtR4;
    tag.batch = i % 3;
    tag.logDb = 7;
    tag.persistDb = 8;
    tag.r = 1;
    tag.w = i % 2;
    tag.startup = variants[static_cast<size_t>(i) % variants.size()];
    tag.fallback = variants[static_cast<size_t>(i + 5) % variants.size()];
  }

  OutputRecord& output = Add(*set.outputs, 20, u"Printer " + v);
  output.outputNo = 2;
  output.format = 1;
  output.header = u"== head ==";
  output.content = u"%s\r\n";
  output.footer = u"== foot ==";

  AlarmRecord& alarm = Add(*set.alarms, 30, u"High level " + v);
  alarm.message = u"Level above \u2265 90%";
  alarm.groupName = u"Tanks";
  alarm.tagId = 1000;
  alarm.triggerBy = 0;
  alarm.condition = 9;
  alarm.compareTag1 = 1001;
  alarm.compareTag2 = 1002;
  alarm.compareValue1 = MakeVariant(kVtR8, 0, 90.5);
  alarm.compareValue2 = MakeVariant(kVtBstr, 0, 0, u"max");
  alarm.deadbandType = 2;
  alarm.deadband = 0.25;
  alarm.type = 1;
  alarm.logTo = 7;
  alarm.outputTo = 2;

  ScriptRecord& script = Add(*set.scripts, 40, u"OnStart " + v);
  script.fileName = u"scripts/on start.js";
  script.triggerBy = 1;
  script.triggerer = 1;
  return set;
}

}  // namespace qm::testing

#endif  // QMPECORE_TESTS_SUPPORT_SAMPLE_CONFIG_H_
