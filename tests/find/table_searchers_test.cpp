// The table searchers on a small hand-made project: every table's results
// written out in full, and the edge cases of the grid texts.
#include "find/tables/table_searchers.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "find/tables/name_lookup_builders.h"

namespace qm {
namespace {

RecordHead Head(int32_t id, std::u16string name, std::u16string description = u"") {
  return {0, id, std::move(name), 0, std::move(description)};
}

template <class Record>
void Put(RecordTable<Record>* table, Record record) {
  (*table)[RecordKey(record.head.id)] = std::move(record);
}

Variant Int(int64_t value) { return {kVtI4, value, 0.0, u""}; }
Variant Text(std::u16string text) { return {kVtBstr, 0, 0.0, std::move(text)}; }

// One expected result; location and parentId only for owned tables.
struct Hit {
  int32_t id;
  int32_t column;
  std::u16string title, label, text, location = u"";
  int32_t parentId = 0;
};

FindResultList Expected(TableNumber table, const std::u16string& location,
                        const std::vector<Hit>& hits) {
  FindResultList list;
  for (const Hit& hit : hits) {
    list.push_back({table, hit.location.empty() ? location : hit.location, hit.id, hit.column,
                    hit.title, hit.label, hit.text, u"", hit.parentId});
  }
  return list;
}

class TableSearchersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    set_.Renew();
    *set_.general = {{u"project-id", u"PLANT-18"},
                     {u"pre-launch", u"start.bat"},
                     {u"post-launch", u"stop.bat"},
                     {u"other", u"start.bat"}};
    Put(set_.timers.get(), {Head(1, u"T1"), {}, {}, {}, {}, {8, 18}, {0, 30}, {}, {}});
    Put(set_.timers.get(),
        {Head(2, u"Shift", u"every 18 minutes"), {}, {}, {}, {}, {}, {18}, {}, {}});
    Put(set_.databases.get(), {Head(1, u"Hist", u"history"), 10, u"dsn=plant", 1, 99, 1, 30});
    Put(set_.databases.get(), {Head(2, u"Events"), 20, u"dsn=events", 2, 1, 0, 7});
    Put(set_.users.get(), {Head(1, u"op"), u"hash", 5, 40908.75});
    Put(set_.users.get(), {Head(2, u"admin"), u"hash", 100, 1e9});
    Put(set_.ioPorts.get(), {Head(1, u"COM1", u"serial"), u"\u212Aelvin probe"});
    Put(set_.ioDevices.get(), {Head(1, u"PLC1"), 10, u"/dev/a", u"modbus", 3, u"P3", 1});
    Put(set_.ioDevices.get(), {Head(2, u"PLC2"), 11, u"/dev/b", u"modbus", 4, u"P4", 2});
    Put(set_.ioTags.get(),
        {Head(1, u"Level"), 1, u"40001", 2, 0, 1, u"PLC1", 10, 10, 1, 0, Int(5), Text(u"low")});
    Put(set_.ioTags.get(),
        {Head(2, u"Pressure"), 2, u"40002", 16, 0, 2, u"PLC2", 20, 10, 0, 0, {}, {}});
    Put(set_.ioTags.get(), {Head(3, u"Flow"), 3, u"40003", 4, 0, 1, u"PLC1", 0, 0, 0, 0, {}, {}});
    Put(set_.outputs.get(),
        {Head(1, u"Daily report", u"report of the day"), 5, 0, u"Plant", u"Level report", u"end"});
    AlarmRecord hi{Head(1, u"Hi"), u"Level high", u"Tank", 1,   0, 6,  0, 0,
                   Int(1),         Int(2),        1,       0.5, 1, 10, 5};
    Put(set_.alarms.get(), hi);
    hi.head = Head(2, u"Hi3");
    hi.condition = 3;
    Put(set_.alarms.get(), hi);
    Put(set_.alarms.get(), {Head(3, u"Chg"), u"", u"", 3, 2, 1, 0, 0, {}, {}, 0, 0, 0, 0, 0});
    Put(set_.alarms.get(), {Head(4, u"Cmp"), u"", u"", 2, 1, 10, 2, 1, {}, {}, 0, 0, 0, 99, 0});
    Put(set_.scripts.get(), {Head(1, u"OnLevel"), u"level.js", 2, 1});
    Put(set_.scripts.get(), {Head(2, u"Every"), u"tick.js", 1, 2});
    Put(set_.scripts.get(), {Head(3, u"Boot"), u"boot.js", 0, 1});
  }

  FindResultList Find(TableNumber table, std::u16string_view text, int32_t matchCase = 0,
                      int32_t ownerId = -1) {
    NameLookups lookups;
    BuildTimerNames(set_, &lookups.timerNames);
    BuildDatabaseNames(set_, &lookups.databaseNames);
    BuildOutputNames(set_, &lookups.outputNames);
    BuildTagNames(set_, &lookups.tagNames);
    FindResultList results;
    ResultListSink sink(&results);
    SearchGridTable(table, set_, lookups, ownerId, SearchNeedle(text, matchCase), sink);
    return results;
  }

  ConfigTableSet set_;
};

// One hand-written result list for every table.
TEST_F(TableSearchersTest, EveryTableInColumnOrder) {
  EXPECT_EQ(Find(kTableGeneral, u"BAT"), Expected(kTableGeneral, u"Grid Table: General",
                                                  {{0, -1, u"", u"Pre-launch", u"start.bat"},
                                                   {0, -1, u"", u"Post-launch", u"stop.bat"}}));
  EXPECT_EQ(Find(kTableTimer, u"18"),
            Expected(kTableTimer, u"Grid Table: Timer",
                     {{1, 8, u"Hour", u"T1 @ Hour", u"8,18"},
                      {2, 3, u"Description", u"Shift @ Description", u"every 18 minutes"},
                      {2, 9, u"Minute", u"Shift @ Minute", u"18"}}));
  EXPECT_EQ(Find(kTableDatabase, u"0"),
            Expected(kTableDatabase, u"Grid Table: Database",
                     {{1, 7, u"Purge Count", u"Hist @ Purge Count", u"30"},
                      {1, 9, u"Group ID", u"Hist @ Group ID", u"10"},
                      {2, 9, u"Group ID", u"Events @ Group ID", u"20"}}));
  EXPECT_EQ(Find(kTableOutput, u"report"),
            Expected(kTableOutput, u"Grid Table: Output",
                     {{1, 2, u"Name", u"Daily report @ Name", u"Daily report"},
                      {1, 3, u"Description", u"Daily report @ Description", u"report of the day"},
                      {1, 5, u"Content", u"Daily report @ Content", u"Level report"}}));
  EXPECT_EQ(Find(kTableAlarm, u"Level"),
            Expected(kTableAlarm, u"Grid Table: Alarm",
                     {{1, 4, u"Message", u"Hi @ Message", u"Level high"},
                      {1, 8, u"Tag Name", u"Hi @ Tag Name", u"Level"},
                      {2, 4, u"Message", u"Hi3 @ Message", u"Level high"},
                      {2, 8, u"Tag Name", u"Hi3 @ Tag Name", u"Level"},
                      {4, 12, u"Compare Item 2", u"Cmp @ Compare Item 2", u"Level"}}));
  EXPECT_EQ(Find(kTableUser, u"12/2011"),
            Expected(kTableUser, u"Grid Table: User",
                     {{1, 5, u"Expire", u"op @ Expire", u"31/12/2011"}}));
  EXPECT_EQ(Find(kTableScript, u"Lev"),
            Expected(kTableScript, u"Grid Table: Script",
                     {{1, 2, u"Name", u"OnLevel @ Name", u"OnLevel"},
                      {1, 4, u"File Name", u"OnLevel @ File Name", u"level.js"},
                      {1, 6, u"Triggerer", u"OnLevel @ Triggerer", u"Level"}}));
  EXPECT_EQ(Find(kTableIo, u"kelvin"),
            Expected(kTableIo, u"Grid Table: IO",
                     {{1, 4, u"Header", u"COM1 @ Header", u"\u212Aelvin probe"}}));
  EXPECT_EQ(Find(kTableIoDevices, u"modbus"),
            Expected(kTableIoDevices, u"",
                     {{1, 7, u"Driver", u"PLC1 @ Driver", u"modbus", u"Grid Table: P3", 3},
                      {2, 7, u"Driver", u"PLC2 @ Driver", u"modbus", u"Grid Table: P4", 4}}));
  EXPECT_EQ(
      Find(kTableIoTags, u"Hist"),
      Expected(kTableIoTags, u"",
               {{1, 12, u"Log", u"Level @ Log", u"Hist", u"Grid Table: PLC1", 1},
                {1, 13, u"Persist", u"Level @ Persist", u"Hist", u"Grid Table: PLC1", 1},
                {2, 13, u"Persist", u"Pressure @ Persist", u"Hist", u"Grid Table: PLC2", 2}}));
}

// The edge cases of the grid texts, as (record id, column, matched text).
TEST_F(TableSearchersTest, EdgeCases) {
  using Cells = std::vector<std::tuple<int32_t, int32_t, std::u16string>>;
  struct Case {
    TableNumber table;
    std::u16string text;
    int32_t matchCase, ownerId;
    Cells cells;
  };
  const Case cases[] = {
      {kTableDatabase, u"T1", 1, -1, {{1, 5, u"T1"}, {2, 6, u"T1"}}},  // Log, Purge; 99 is no timer
      {kTableDatabase, u"rec", 0, -1, {{1, 8, u"Record"}}},
      {kTableAlarm, u"2", 0, -1, {{1, 12, u"2"}}},  // condition 3 leaves item 2 out
      {kTableAlarm, u"Daily", 0, -1, {{1, 7, u"Daily report"}, {2, 7, u"Daily report"}}},
      {kTableAlarm, u"Hist", 0, -1, {{1, 6, u"Hist"}, {2, 6, u"Hist"}}},
      {kTableAlarm, u"aud", 0, -1, {{1, 15, u"Audit"}, {2, 15, u"Audit"}}},
      {kTableAlarm, u"0.5", 0, -1, {{1, 14, u"0.5"}, {2, 14, u"0.5"}}},
      {kTableAlarm, u"Change", 0, -1, {{3, 9, u"On Change"}}},
      {kTableAlarm, u"(<>)", 0, -1, {{3, 10, u"Not Equal (<>)"}}},
      {kTableAlarm, u"Outside", 0, -1, {{4, 10, u"Outside ()()"}}},
      {kTableUser, u"invalid", 0, -1, {{2, 5, u"Invalid DateTime"}}},
      {kTableUser, u"100", 0, -1, {{2, 6, u"100"}}},
      {kTableScript, u"Shift", 0, -1, {{2, 6, u"Shift"}}},
      {kTableScript, u"Auto", 0, -1, {{3, 5, u"Auto"}}},  // an Auto script has no triggerer
      {kTableIo, u"kelvin", 1, -1, {}},
      {kTableIoDevices, u"modbus", 0, 3, {{1, 7, u"modbus"}}},
      {kTableIoDevices, u"modbus", 0, 7, {}},
      {kTableIoDevices, u"T1", 0, -1, {{1, 6, u"T1"}}},
      {kTableIoTags, u"int1", 0, -1, {{1, 7, u"int16"}}},
      {kTableIoTags, u"int", 0, -1, {{1, 7, u"int16"}, {2, 7, u"int8"}}},
      {kTableIoTags, u"REAL", 0, -1, {{3, 7, u"real32"}}},
      {kTableIoTags, u"lo", 0, -1, {{1, 9, u"low"}, {3, 2, u"Flow"}}},
      {kTableIoTags, u"5", 0, 2, {}},
  };
  for (const Case& c : cases) {
    Cells cells;
    for (const FindResult& r : Find(c.table, c.text, c.matchCase, c.ownerId)) {
      cells.emplace_back(r.recordId, r.column, r.matchedText);
    }
    EXPECT_EQ(cells, c.cells) << c.table << " " << std::string(c.text.begin(), c.text.end());
  }
}

TEST_F(TableSearchersTest, MatchCaseIsExactlyOneAndOneResultPerField) {
  set_.ioPorts->begin()->second.head.description = u"ab ab ab";
  for (int32_t matchCase : {0, 1, 2, -1}) {
    EXPECT_EQ(Find(kTableIo, u"AB", matchCase).size(), matchCase == 1 ? 0u : 1u) << matchCase;
  }
  EXPECT_TRUE(Find(kTableIo, u"").empty());
}

// Results already in the list stay in front; General keeps the record id
// and column of a fresh result whatever ran before it.
TEST_F(TableSearchersTest, EachTableStartsFromAFreshResult) {
  FindResultList results(5);
  ResultListSink sink(&results);
  NameLookups lookups;
  const SearchNeedle needle(u"18", 0);
  SearchGridTable(kTableTimer, set_, lookups, -1, needle, sink);
  set_.general->erase(u"project-id");  // the other two are still searched
  (*set_.general)[u"post-launch"] = u"stop18.bat";
  SearchGridTable(kTableGeneral, set_, lookups, -1, needle, sink);
  ASSERT_EQ(results.size(), 5u + 3u + 1u);
  EXPECT_EQ(results[0], FindResult());
  EXPECT_EQ(results.back(), Expected(kTableGeneral, u"Grid Table: General",
                                     {{0, -1, u"", u"Post-launch", u"stop18.bat"}})[0]);
}

TEST_F(TableSearchersTest, MissingTablesAddNothing) {
  set_.alarms.reset();
  EXPECT_TRUE(Find(kTableAlarm, u"Hi").empty());
  EXPECT_TRUE(Find(static_cast<TableNumber>(9), u"Hi").empty());
}

}  // namespace
}  // namespace qm
