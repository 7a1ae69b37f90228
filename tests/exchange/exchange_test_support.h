// Random table sets for the tag list tests: every table, every field kind,
// texts with every character a file format must carry, and references
// that all resolve (so that a table made anew from its file must come out
// as it was).
#ifndef QMPECORE_TESTS_EXCHANGE_EXCHANGE_TEST_SUPPORT_H_
#define QMPECORE_TESTS_EXCHANGE_EXCHANGE_TEST_SUPPORT_H_

#include <random>
#include <string>

#include "exchange/cell_text.h"
#include "exchange/import_preview.h"
#include "exchange/table_export.h"
#include "support/sample_config.h"

namespace qm::testing {

inline constexpr int32_t kExchangedTables[] = {kTableTimer,  kTableIo,        kTableDatabase,
                                               kTableUser,   kTableOutput,    kTableAlarm,
                                               kTableScript, kTableIoDevices, kTableIoTags,
                                               kTableTrend};

inline std::u16string RandomText(std::mt19937& random) {
  static const std::u16string pieces[] = {
      u"a",  u"Tank 1", u",",  u";", u"\"", u"\"\"", u"\r\n", u"\n", u"\r", u"\t", u" ",
      u"\\", u"{}",     u"[",  u"\u00e4", u"\u6771", u"\U0001F600", u"=1+2", u"null", u"0"};
  std::u16string text;
  const int count = static_cast<int>(random() % 5);
  for (int i = 0; i < count; ++i) text += pieces[random() % std::size(pieces)];
  return text;
}

template <class Table>
int32_t PickId(const Table& table, std::mt19937& random) {
  auto at = table.begin();
  std::advance(at, random() % table.size());
  return at->second.head.id;
}

inline double RandomReal(std::mt19937& random) {
  static const double edges[] = {0.0, -0.0, 1e-310, 1.5, -2.718281828459045, 1e300,
                                 std::numeric_limits<double>::infinity(), 0.1, 45123.75};
  if (random() % 2 == 0) return edges[random() % std::size(edges)];
  return std::uniform_real_distribution<double>(-1e6, 1e6)(random);
}

inline Variant RandomVariant(std::mt19937& random) {
  const std::vector<Variant> every = EveryVariant();
  Variant value = every[random() % every.size()];
  if (value.type == kVtR8 || value.type == kVtDate) value.real = RandomReal(random);
  if (value.type == kVtDate && !std::isfinite(value.real)) value.real = 2.5;
  if (value.type == kVtBstr) value.text = RandomText(random);
  return value;
}

template <size_t N>
int32_t RandomEnum(const EnumName (&names)[N], std::mt19937& random) {
  return names[random() % N].value;
}

// Every table filled with `count` random records; names unique in each.
inline ConfigTableSet RandomSet(uint32_t seed, int count) {
  std::mt19937 random(seed);
  ConfigTableSet set;
  set.Renew();
  auto name = [&](const char16_t* kind, int i) {
    return kind + Widen(std::to_string(i)) + u"#" + RandomText(random);
  };
  auto describe = [&](RecordHead& head) { head.description = RandomText(random); };
  auto numberSet = [&] {
    ValueSet values;
    for (int i = static_cast<int>(random() % 4); i > 0; --i) values.insert(random() % 65536);
    return values;
  };
  for (int i = 0; i < count; ++i) {
    TimerRecord& timer = AddRecord(*set.timers, 1 + i * 3, name(u"Timer", i));
    describe(timer.head);
    timer.hour = numberSet();
    timer.millisecond = numberSet();
    timer.dayOfWeek = numberSet();
    IoPortRecord& port = AddRecord(*set.ioPorts, 500 + i, name(u"Port", i));
    port.header = RandomText(random);
    OutputRecord& output = AddRecord(*set.outputs, 900 + i, name(u"Output", i));
    output.outputNo = i;
    output.format = static_cast<int32_t>(random());
    output.header = RandomText(random);
    output.content = RandomText(random);
    DatabaseRecord& db = AddRecord(*set.databases, 700 + i, name(u"Db", i));
    db.groupId = 10 * i;
    db.connectionString = RandomText(random);
  }
  for (auto& [key, db] : *set.databases) {
    db.logTimerId = PickId(*set.timers, random);
    db.purgeTimerId = random() % 2 ? PickId(*set.timers, random) : 0;
    db.purgeType = RandomEnum(kPurgeTypeNames, random);
    db.purgeCount = static_cast<int32_t>(random());
  }
  for (int i = 0; i < count; ++i) {
    IoDeviceRecord& device = AddRecord(*set.ioDevices, 1000 + i, name(u"Device", i));
    device.portId = PickId(*set.ioPorts, random);
    device.portName = set.ioPorts->at(RecordKey(device.portId)).head.name;
    device.address = static_cast<int32_t>(random());
    device.path = RandomText(random);
    device.driver = RandomText(random);
    device.timerId = PickId(*set.timers, random);
  }
  for (int i = 0; i < count * 3; ++i) {
    IoTagRecord& tag = AddRecord(*set.ioTags, 5000 + i * 7, name(u"Tag", i));
    describe(tag.head);
    tag.deviceId = PickId(*set.ioDevices, random);
    tag.deviceName = set.ioDevices->at(RecordKey(tag.deviceId)).head.name;
    tag.address = static_cast<int32_t>(random());
    tag.path = RandomText(random);
    tag.type = static_cast<uint16_t>(RandomEnum(kTagDataTypeNames, random));
    tag.batch = static_cast<int32_t>(random() % 100) - 50;
    tag.logDb = set.databases->begin()->second.groupId;
    tag.persistDb = std::prev(set.databases->end())->second.groupId;
    tag.r = 1;
    tag.w = static_cast<int32_t>(random() % 2);
    tag.startup = RandomVariant(random);
    tag.fallback = RandomVariant(random);
  }
  for (int i = 0; i < count; ++i) {
    UserRecord& user = AddRecord(*set.users, 1 + i, name(u"User", i));
    user.passwordHash = RandomText(random);
    user.security = static_cast<int32_t>(random() % 1000);
    user.expire = RandomReal(random);
    TrendRecord& trend = AddRecord(*set.trends, 1 + i, name(u"Trend", i));
    trend.tagId = PickId(*set.ioTags, random);
    trend.periodMs = static_cast<int32_t>(random() % 10000);
    AlarmRecord& alarm = AddRecord(*set.alarms, 1 + i, name(u"Alarm", i));
    alarm.message = RandomText(random);
    alarm.groupName = RandomText(random);
    alarm.tagId = PickId(*set.ioTags, random);
    alarm.triggerBy = RandomEnum(kCompareItemNames, random);
    alarm.condition = RandomEnum(kAlarmConditionNames, random);
    alarm.compareTag1 = PickId(*set.ioTags, random);
    alarm.compareTag2 = random() % 2 ? PickId(*set.ioTags, random) : 0;
    alarm.compareValue1 = RandomVariant(random);
    alarm.compareValue2 = RandomVariant(random);
    alarm.deadbandType = RandomEnum(kDeadbandTypeNames, random);
    alarm.deadband = RandomReal(random);
    alarm.type = RandomEnum(kAlarmKindNames, random);
    alarm.logTo = set.databases->begin()->second.groupId;
    alarm.outputTo = set.outputs->begin()->second.outputNo;
    ScriptRecord& script = AddRecord(*set.scripts, 1 + i, name(u"Script", i));
    script.fileName = RandomText(random);
    script.triggerBy = RandomEnum(kScriptTriggerNames, random);
    script.triggerer = script.triggerBy == 1   ? PickId(*set.timers, random)
                       : script.triggerBy == 2 ? PickId(*set.ioTags, random)
                                               : static_cast<int32_t>(random() % 50);
  }
  return set;
}

inline std::string Exported(const ConfigTableSet& set, int32_t table,
                            exchange::FileFormat format) {
  std::string bytes;
  exchange::ExportTable(set, table, format,
                        [&](std::string_view piece) {
                          bytes.append(piece);
                          return true;
                        },
                        {});
  return bytes;
}

inline exchange::ImportPreview Checked(const ConfigTableSet& set, int32_t table,
                                       std::string_view bytes, bool replace = false) {
  return exchange::CheckImport({set, table, bytes, u"file", replace, u"", {}});
}

// The problems of a preview, one "LINE:POSITION: COLUMN: message" a line.
inline std::string ProblemLines(const exchange::ImportPreview& preview) {
  std::string lines;
  for (const exchange::ImportProblem& problem : preview.problems) {
    std::string text;
    exchange::AppendText(problem.column + u": " + problem.message, &text);
    lines += std::to_string(problem.line) + ":" + std::to_string(problem.position) + ": " +
             text + "\n";
  }
  return lines;
}

}  // namespace qm::testing

#endif  // QMPECORE_TESTS_EXCHANGE_EXCHANGE_TEST_SUPPORT_H_
