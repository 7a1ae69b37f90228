// The usages of a record against a deliberately plain reference on random
// configurations, and on a hand-made project with files.
#include "find/usages/record_usages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "core/editor_manager.h"
#include "find/usages/record_lookup.h"
#include "support/config_sets.h"
#include "support/native_path.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

using testing::AddRecord;

// What identifies a usage besides its label and location's owner text.
using Usage = std::tuple<int32_t, int32_t, std::u16string, std::u16string, int32_t>;

class Collect final : public ResultSink {
 public:
  void Take(const FindResult& result) override { results.push_back(result); }
  FindResultList results;
};

std::vector<Usage> Usages(const FindResultList& results) {
  std::vector<Usage> usages;
  for (const FindResult& r : results) {
    usages.emplace_back(r.tableNumber, r.recordId, r.columnName, r.matchedText, r.parentId);
  }
  return usages;
}

// Small id ranges so that references hit, miss and dangle; repeated Group
// IDs and output numbers so that a lookup shows the last of several.
ConfigTableSet RandomSet(std::mt19937& random) {
  auto pick = [&](int low, int high) { return std::uniform_int_distribution<>(low, high)(random); };
  ConfigTableSet set;
  set.Renew();
  auto name = [&](const char16_t* stem, int id) {
    return std::u16string(stem) + static_cast<char16_t>(u'A' + id % 26);
  };
  for (int id = 1; id <= 5; ++id) {
    if (pick(0, 4) != 0) AddRecord(*set.timers, id, name(u"timer", id));
    if (pick(0, 4) != 0) AddRecord(*set.ioPorts, id, name(u"port", id));
    DatabaseRecord& database = AddRecord(*set.databases, id, name(u"db", id));
    database.groupId = pick(1, 4);
    database.logTimerId = pick(0, 6);
    database.purgeTimerId = pick(0, 6);
    AddRecord(*set.outputs, id, name(u"out", id)).outputNo = pick(1, 4);
    AddRecord(*set.users, id, name(u"user", id));
  }
  for (int id = 1; id <= 12; ++id) {
    IoDeviceRecord& device = AddRecord(*set.ioDevices, id, name(u"dev", id));
    device.portId = pick(0, 6);
    device.portName = u"port of " + name(u"", device.portId);
    device.timerId = pick(0, 6);
    IoTagRecord& tag = AddRecord(*set.ioTags, id, name(u"tag", id));
    tag.deviceId = pick(0, 13);
    tag.deviceName = u"device of " + name(u"", tag.deviceId);
    tag.logDb = pick(0, 5);
    tag.persistDb = pick(0, 5);
  }
  for (int id = 1; id <= 15; ++id) {
    AlarmRecord& alarm = AddRecord(*set.alarms, id, name(u"alarm", id));
    alarm.tagId = pick(0, 13);
    alarm.triggerBy = pick(0, 2);
    alarm.condition = pick(0, 13);
    alarm.compareTag1 = pick(0, 13);
    alarm.compareTag2 = pick(0, 13);
    alarm.logTo = pick(0, 5);
    alarm.outputTo = pick(0, 5);
    ScriptRecord& script = AddRecord(*set.scripts, id, name(u"script", id));
    script.triggerBy = pick(0, 2);
    script.triggerer = pick(0, 13);
    AddRecord(*set.trends, id, name(u"trend", id)).tagId = pick(0, 13);
  }
  return set;
}

// The name a grid shows for `key` among `table`'s records keyed by `keyOf`:
// the last record in key order that has it.
template <class Table, class KeyOf>
std::u16string ShownName(const Table& table, int32_t key, KeyOf keyOf) {
  std::u16string shown;
  for (const auto& [k, record] : table) {
    if (keyOf(record) == key) shown = record.head.name;
  }
  return shown;
}

// The reference, written out table by table without the layouts.
std::vector<Usage> ReferenceUsages(const ConfigTableSet& set, int32_t table, int32_t id) {
  std::vector<Usage> usages;
  auto add = [&](int32_t t, int32_t rid, const char16_t* column, std::u16string text,
                 int32_t parent = 0) { usages.emplace_back(t, rid, column, text, parent); };
  if (table == kTableTimer) {
    const std::u16string shown = set.timers->at(RecordKey(id)).head.name;
    for (const auto& [k, d] : *set.databases) {
      if (d.logTimerId == id) add(kTableDatabase, d.head.id, u"Log", shown);
      if (d.purgeTimerId == id) add(kTableDatabase, d.head.id, u"Purge", shown);
    }
    for (const auto& [k, s] : *set.scripts) {
      if (s.triggerBy == 1 && s.triggerer == id) add(kTableScript, s.head.id, u"Triggerer", shown);
    }
    for (const auto& [k, d] : *set.ioDevices) {
      if (d.timerId == id) add(kTableIoDevices, d.head.id, u"Timer", shown, d.portId);
    }
  } else if (table == kTableDatabase) {
    const int32_t group = set.databases->at(RecordKey(id)).groupId;
    const std::u16string shown =
        ShownName(*set.databases, group, [](const DatabaseRecord& d) { return d.groupId; });
    for (const auto& [k, a] : *set.alarms) {
      if (a.logTo == group) add(kTableAlarm, a.head.id, u"Log To", shown);
    }
    for (const auto& [k, t] : *set.ioTags) {
      if (t.logDb == group) add(kTableIoTags, t.head.id, u"Log", shown, t.deviceId);
      if (t.persistDb == group) add(kTableIoTags, t.head.id, u"Persist", shown, t.deviceId);
    }
  } else if (table == kTableOutput) {
    const int32_t number = set.outputs->at(RecordKey(id)).outputNo;
    const std::u16string shown =
        ShownName(*set.outputs, number, [](const OutputRecord& o) { return o.outputNo; });
    for (const auto& [k, a] : *set.alarms) {
      if (a.outputTo == number) add(kTableAlarm, a.head.id, u"Output To", shown);
    }
  } else if (table == kTableIoTags) {
    const std::u16string shown = set.ioTags->at(RecordKey(id)).head.name;
    for (const auto& [k, a] : *set.alarms) {
      if (a.tagId == id) add(kTableAlarm, a.head.id, u"Tag Name", shown);
      const bool tags = a.triggerBy == 1;
      const bool range = a.condition >= 6 && a.condition <= 13;
      if (tags && a.compareTag1 == id) add(kTableAlarm, a.head.id, u"Compare Item 1", shown);
      if (tags && range && a.compareTag2 == id) {
        add(kTableAlarm, a.head.id, u"Compare Item 2", shown);
      }
    }
    for (const auto& [k, s] : *set.scripts) {
      if (s.triggerBy == 2 && s.triggerer == id) add(kTableScript, s.head.id, u"Triggerer", shown);
    }
    for (const auto& [k, t] : *set.trends) {
      if (t.tagId == id) add(kTableTrend, t.head.id, u"Tag", shown);
    }
  } else if (table == kTableIo) {
    for (const auto& [k, d] : *set.ioDevices) {
      if (d.portId == id) add(kTableIoDevices, d.head.id, u"Port", d.portName, d.portId);
    }
  } else if (table == kTableIoDevices) {
    for (const auto& [k, t] : *set.ioTags) {
      if (t.deviceId == id) add(kTableIoTags, t.head.id, u"Device", t.deviceName, t.deviceId);
    }
  }
  return usages;
}

TEST(RecordUsages, MatchThePlainReferenceOnRandomConfigurations) {
  std::mt19937 random(20240613);
  const EditorData noFiles{u"/nowhere/plant.qmp", nullptr, nullptr};
  size_t total = 0;
  for (int round = 0; round < 300; ++round) {
    const ConfigTableSet set = RandomSet(random);
    NameLookups lookups;
    for (int32_t table : {kTableTimer, kTableDatabase, kTableOutput, kTableIoTags, kTableIo,
                          kTableIoDevices, kTableUser, kTableAlarm, kTableScript, kTableTrend}) {
      for (int32_t id = 1; id <= 15; ++id) {
        Collect sink;
        const UsagesStatus status = FindUsages({noFiles, set, &lookups, table, id}, sink);
        const bool exists = FindRecordHead(set, table, id) != nullptr;
        ASSERT_EQ(status == UsagesStatus::kDone, exists) << table << " " << id;
        if (!exists) continue;
        EXPECT_EQ(Usages(sink.results), ReferenceUsages(set, table, id))
            << "round " << round << " table " << table << " id " << id;
        total += sink.results.size();
      }
    }
  }
  EXPECT_GT(total, 10000u);  // the rounds do exercise references
}

// A tag used by an alarm, a trend and three files, in a project on disk.
class RecordUsagesOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    ConfigTableSet set;
    set.Renew();
    AddRecord(*set.ioPorts, 1, u"Line 1");
    AddRecord(*set.ioDevices, 2, u"PLC").portId = 1;
    AddRecord(*set.ioTags, 3, u"TagA").deviceId = 2;
    AddRecord(*set.ioTags, 4, u"TagAB").deviceId = 2;
    AlarmRecord& alarm = AddRecord(*set.alarms, 5, u"TagA high");
    alarm.tagId = 3;
    AddRecord(*set.trends, 6, u"TagA trend").tagId = 3;
    ASSERT_EQ(testing::WriteProjectFile(folder_.Text("plant.qmp"), set), kCfgOk);
    std::filesystem::create_directories(folder_ / "pages");
    const auto binary = std::ios::binary;
    std::ofstream(folder_ / "pages/a.htm", binary)
        << "TagAB taga\r\nvalue(TagA.Hi)\r\nx_TagA TagA1\n\xc3\xa9TagA \xffTagA\n";
    std::ofstream(folder_ / "b.js", binary) << "var t = \"TagA\";";
    std::ofstream(folder_ / "c.json", binary) << "TagA";  // not a searched type
    const std::u16string project = folder_.Text("plant.qmp");
    ASSERT_NE(manager_.OpenEditor(project.c_str(), 0), nullptr);
  }

  testing::TempFolder folder_;
  CEditorManager manager_;
};

TEST_F(RecordUsagesOnDisk, TablesInFindOrderThenWholeWordLinesMatchingCase) {
  Collect sink;
  ASSERT_EQ(manager_.FindUsages(kTableIoTags, 3, 1, sink), UsagesStatus::kDone);
  Collect threaded;
  ASSERT_EQ(manager_.FindUsages(kTableIoTags, 3, 3, threaded), UsagesStatus::kDone);
  EXPECT_EQ(threaded.results, sink.results);
  const FindResultList& r = sink.results;
  ASSERT_EQ(r.size(), 5u);
  EXPECT_EQ(r[0].tableNumber, kTableAlarm);
  EXPECT_EQ(r[0].location, u"Grid Table: Alarm");
  EXPECT_EQ(r[0].label, u"TagA high @ Tag Name");
  EXPECT_EQ(r[0].column, 8);
  EXPECT_EQ(r[0].matchedText, u"TagA");
  EXPECT_EQ(r[1].tableNumber, kTableTrend);
  EXPECT_EQ(r[1].location, u"Trends");
  EXPECT_EQ(r[1].label, u"TagA trend @ Tag");
  // Line 2 (before a dot) and line 4 (whose first occurrence follows a
  // letter, its second an invalid byte, read as U+FFFD, no word
  // character); not line 1 (a longer word, other case) nor line 3
  // (connector punctuation before, a digit after).
  EXPECT_EQ(r[2].tableNumber, kTableFile);
  EXPECT_EQ(r[2].location, testing::Native(u"b.js"));
  EXPECT_EQ(r[3].location, testing::Native(u"pages/a.htm"));
  EXPECT_EQ(r[3].recordId, 2);
  EXPECT_EQ(r[3].matchedText, u"value(TagA.Hi)");
  EXPECT_EQ(r[4].recordId, 4);
}

TEST_F(RecordUsagesOnDisk, OwnersReportTheirOwnedRecordsAndUnknownRecordsNothing) {
  Collect sink;
  ASSERT_EQ(manager_.FindUsages(kTableIoDevices, 2, 0, sink), UsagesStatus::kDone);
  ASSERT_EQ(sink.results.size(), 2u);
  EXPECT_EQ(sink.results[0].location, u"Grid Table: PLC");
  EXPECT_EQ(sink.results[0].columnName, u"Device");
  EXPECT_EQ(sink.results[0].column, -1);
  EXPECT_EQ(sink.results[0].label, u"TagA @ Device");
  EXPECT_EQ(sink.results[1].recordId, 4);

  Collect none;
  EXPECT_EQ(manager_.FindUsages(kTableIoTags, 99, 0, none), UsagesStatus::kNoSuchRecord);
  EXPECT_EQ(manager_.FindUsages(kTableGeneral, 1, 0, none), UsagesStatus::kNoSuchRecord);
  EXPECT_TRUE(none.results.empty());
}

}  // namespace
}  // namespace qm
