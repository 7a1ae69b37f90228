// The project check: each kind of finding on a project made to have it and
// nothing else, none on a clean one, the word rule of unused tags against
// the files, and every finding on the bundled sample shown to be real.
#include "check/project_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "files/file_manager.h"
#include "find/word_characters.h"
#include "support/config_sets.h"
#include "support/run_command.h"
#include "support/stored_tables.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

using testing::AddRecord;
using testing::TempFolder;
using testing::WriteFileBytes;

// What a finding is about; messages are for people and only spot-checked.
using Found = std::tuple<CheckKind, int32_t, int32_t, std::u16string, std::u16string>;

class Collect final : public FindingSink {
 public:
  bool Take(const CheckFinding& finding) override {
    found.emplace_back(finding.kind, finding.table, finding.recordId, std::u16string(finding.field),
                       std::u16string(finding.file));
    messages.push_back(finding.message);
    return true;
  }
  std::vector<Found> found;
  std::vector<std::u16string> messages;
};

// A project where every reference resolves, every name is its own, the
// script's file is there and every tag is used: by an alarm, a trend, a
// script, or by a page that names it.
class ProjectCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    set_.Renew();
    AddRecord(*set_.timers, 1, u"Every second");
    AddRecord(*set_.databases, 1, u"History").groupId = 40;
    AddRecord(*set_.outputs, 1, u"Printer").outputNo = 3;
    AddRecord(*set_.ioPorts, 1, u"COM1");
    IoDeviceRecord& device = AddRecord(*set_.ioDevices, 1, u"PLC");
    device.portId = 1;
    device.timerId = 1;
    for (int32_t id = 1; id <= 5; ++id) {
      IoTagRecord& tag = AddRecord(*set_.ioTags, id, u"T" + std::u16string(1, u'0' + id));
      tag.deviceId = 1;
      tag.logDb = 40;
    }
    (*set_.ioTags)[RecordKey(5)].head.name = u"HX218.Pressure";
    AlarmRecord& alarm = AddRecord(*set_.alarms, 1, u"High");
    alarm.tagId = 1;
    alarm.triggerBy = 1;  // compares with tags
    alarm.condition = 6;  // a range: both compare tags count
    alarm.compareTag1 = 2;
    alarm.compareTag2 = 3;
    alarm.logTo = 40;
    alarm.outputTo = 3;
    AddRecord(*set_.trends, 1, u"Trend").tagId = 1;
    ScriptRecord& script = AddRecord(*set_.scripts, 1, u"Startup");
    script.fileName = u"scripts/startup.js";
    script.triggerBy = 2;
    script.triggerer = 4;
    AddRecord(*set_.users, 1, u"operator");
    WriteFileBytes(folder_ / "plant.qmp", "");  // the file manager scans the folder of a project file
    WriteFileBytes(folder_ / "scripts/startup.js", "start();\n");
    WriteFileBytes(folder_ / "pages/index.htm", "<p>value = HX218.Pressure;</p>\n");
  }

  std::vector<Found> Check(Collect* collect = nullptr) {
    Collect own;
    Collect& sink = collect != nullptr ? *collect : own;
    CFileManager files;
    EXPECT_EQ(files.Init(folder_.Text("plant.qmp").c_str(), 0), 0);
    EXPECT_TRUE(CheckProject({set_, &files}, &sink));
    return sink.found;
  }

  TempFolder folder_;
  ConfigTableSet set_;
};

TEST_F(ProjectCheck, CleanProjectHasNoFinding) { EXPECT_EQ(Check(), std::vector<Found>{}); }

// Each case spoils the clean project in one way and names exactly the
// findings that this must give.
struct Spoiled {
  const char* what;
  std::function<void(ConfigTableSet&)> spoil;
  std::vector<Found> expected;
};

class SpoiledProject : public ProjectCheck, public ::testing::WithParamInterface<Spoiled> {};

constexpr auto kMissing = CheckKind::kMissingRecord;

const Spoiled kSpoiled[] = {
    {"tag's device", [](ConfigTableSet& s) { (*s.ioTags)[RecordKey(2)].deviceId = 7; },
     {{kMissing, kTableIoTags, 2, u"Device", u""}}},
    {"owner 0 is no owner", [](ConfigTableSet& s) { (*s.ioDevices)[RecordKey(1)].portId = 0; },
     {{kMissing, kTableIoDevices, 1, u"Port", u""}}},
    {"device's timer", [](ConfigTableSet& s) { (*s.ioDevices)[RecordKey(1)].timerId = 9; },
     {{kMissing, kTableIoDevices, 1, u"Timer", u""}}},
    {"tag's database by Group ID, not by id",
     [](ConfigTableSet& s) { (*s.ioTags)[RecordKey(3)].persistDb = 1; },
     {{kMissing, kTableIoTags, 3, u"Persist", u""}}},
    {"reference 0 is none", [](ConfigTableSet& s) { (*s.alarms)[RecordKey(1)].logTo = 0; }, {}},
    {"alarm's tag, which then goes unused",
     [](ConfigTableSet& s) {
       (*s.alarms)[RecordKey(1)].tagId = 99;
       (*s.trends)[RecordKey(1)].tagId = 2;
     },
     {{kMissing, kTableAlarm, 1, u"Tag Name", u""},
      {CheckKind::kUnusedTag, kTableIoTags, 1, u"", u""}}},
    {"alarm's output by number", [](ConfigTableSet& s) { (*s.alarms)[RecordKey(1)].outputTo = 1; },
     {{kMissing, kTableAlarm, 1, u"Output To", u""}}},
    {"second compare tag of a range",
     [](ConfigTableSet& s) { (*s.alarms)[RecordKey(1)].compareTag2 = 50; },
     {{kMissing, kTableAlarm, 1, u"Compare Tag 2", u""},
      {CheckKind::kUnusedTag, kTableIoTags, 3, u"", u""}}},
    // Compare items that hold values leave their tags unused, and what
    // the tag fields hold then is never a reference.
    {"compare tags of an alarm that compares values",
     [](ConfigTableSet& s) {
       (*s.alarms)[RecordKey(1)].triggerBy = 0;
       (*s.alarms)[RecordKey(1)].compareTag1 = 50;
     },
     {{CheckKind::kUnusedTag, kTableIoTags, 2, u"", u""},
      {CheckKind::kUnusedTag, kTableIoTags, 3, u"", u""}}},
    {"second compare tag outside a range",
     [](ConfigTableSet& s) { (*s.alarms)[RecordKey(1)].condition = 2; },
     {{CheckKind::kUnusedTag, kTableIoTags, 3, u"", u""}}},
    {"trend's tag", [](ConfigTableSet& s) { (*s.trends)[RecordKey(1)].tagId = 8; },
     {{kMissing, kTableTrend, 1, u"Tag", u""}}},
    {"script's tag triggerer",
     [](ConfigTableSet& s) { (*s.scripts)[RecordKey(1)].triggerer = 6; },
     {{kMissing, kTableScript, 1, u"Triggerer", u""},
      {CheckKind::kUnusedTag, kTableIoTags, 4, u"", u""}}},
    {"script's timer triggerer: a tag id is no timer id",
     [](ConfigTableSet& s) { (*s.scripts)[RecordKey(1)].triggerBy = 1; },
     {{kMissing, kTableScript, 1, u"Triggerer", u""},
      {CheckKind::kUnusedTag, kTableIoTags, 4, u"", u""}}},
    {"an Auto script's triggerer means nothing",
     [](ConfigTableSet& s) {
       (*s.scripts)[RecordKey(1)].triggerBy = 0;
       (*s.scripts)[RecordKey(1)].triggerer = 77;
     },
     {{CheckKind::kUnusedTag, kTableIoTags, 4, u"", u""}}},
    {"database's purge timer",
     [](ConfigTableSet& s) { (*s.databases)[RecordKey(1)].purgeTimerId = 2; },
     {{kMissing, kTableDatabase, 1, u"Purge", u""}}},
    {"shared name, across devices too",
     [](ConfigTableSet& s) {
       (*s.ioTags)[RecordKey(4)].head.name = u"T2";
       AddRecord(*s.ioDevices, 2, u"Other").portId = 1;
       (*s.ioTags)[RecordKey(4)].deviceId = 2;
     },
     {{CheckKind::kSharedName, kTableIoTags, 4, u"Name", u""}}},
    {"names differ by case only: no finding",
     [](ConfigTableSet& s) { AddRecord(*s.users, 2, u"Operator"); }, {}},
    {"empty name", [](ConfigTableSet& s) { AddRecord(*s.users, 2, u""); },
     {{CheckKind::kBadName, kTableUser, 2, u"Name", u""}}},
    {"names with line breaks, twice",
     [](ConfigTableSet& s) {
       AddRecord(*s.users, 2, u"a\nb");
       AddRecord(*s.users, 3, u"a\nb");
       AddRecord(*s.timers, 2, u"x\r");
     },
     {{CheckKind::kBadName, kTableTimer, 2, u"Name", u""},
      {CheckKind::kBadName, kTableUser, 2, u"Name", u""},
      {CheckKind::kBadName, kTableUser, 3, u"Name", u""},
      {CheckKind::kSharedName, kTableUser, 3, u"Name", u""}}},
    {"id out of range",
     [](ConfigTableSet& s) { (*s.outputs)[RecordKey(0)].head = {0, -4, u"Bad", 0, u""}; },
     {{CheckKind::kBadId, kTableOutput, -4, u"ID", u""}}},
    {"record under another key, sharing its id",
     [](ConfigTableSet& s) {
       UserRecord& user = (*s.users)[u"zz"];
       user.head.id = 1;
       user.head.name = u"guest";
     },
     {{CheckKind::kBadId, kTableUser, 1, u"ID", u""},
      {CheckKind::kBadId, kTableUser, 1, u"ID", u""}}},
    {"script's file missing",
     [](ConfigTableSet& s) { (*s.scripts)[RecordKey(1)].fileName = u"scripts/gone.js"; },
     {{CheckKind::kMissingFile, kTableScript, 1, u"File Name", u"scripts/gone.js"}}},
    {"a doubled separator names no file of the folder",
     [](ConfigTableSet& s) { (*s.scripts)[RecordKey(1)].fileName = u"scripts//startup.js"; },
     {{CheckKind::kMissingFile, kTableScript, 1, u"File Name", u"scripts//startup.js"}}},
    {"script without a file",
     [](ConfigTableSet& s) { (*s.scripts)[RecordKey(1)].fileName.clear(); },
     {{CheckKind::kMissingFile, kTableScript, 1, u"File Name", u""}}},
    {"tag named in no file", [](ConfigTableSet& s) {
       (*s.ioTags)[RecordKey(5)].head.name = u"HX218.Pressur";
     },
     {{CheckKind::kUnusedTag, kTableIoTags, 5, u"", u""}}},
};

TEST_P(SpoiledProject, GivesExactlyItsFindings) {
  GetParam().spoil(set_);
  EXPECT_EQ(Check(), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(EachKind, SpoiledProject, ::testing::ValuesIn(kSpoiled));

TEST_F(ProjectCheck, MessagesNameTheMissingRecord) {
  (*set_.ioTags)[RecordKey(2)].deviceId = 7;
  (*set_.alarms)[RecordKey(1)].logTo = 41;
  Collect collect;
  Check(&collect);
  ASSERT_EQ(collect.messages.size(), 2u);
  EXPECT_EQ(collect.messages[0], u"refers to database (by Group ID) 41, which does not exist");
  EXPECT_EQ(collect.messages[1], u"refers to IO device #7, which does not exist");
}

TEST_F(ProjectCheck, SinkEndsTheCheck) {
  for (int32_t id = 1; id <= 5; ++id) (*set_.ioTags)[RecordKey(id)].deviceId = 9;
  struct StopAfterTwo final : FindingSink {
    bool Take(const CheckFinding&) override { return ++taken < 2; }
    int taken = 0;
  } sink;
  CFileManager files;
  ASSERT_EQ(files.Init(folder_.Text("plant.qmp").c_str(), 0), 0);
  EXPECT_FALSE(CheckProject({set_, &files}, &sink));
  EXPECT_EQ(sink.taken, 2);
}

// The usages' rule for a tag's name in a file: a whole word, the same
// letter case, in a file of a searched type.
struct Named {
  std::u16string name;
  const char* file;
  std::string bytes;
  bool used;
};

class NamedInFile : public ProjectCheck, public ::testing::WithParamInterface<Named> {};

const Named kNamed[] = {
    {u"HX218.Pressure", "a.js", "x = HX218.Pressure;", true},
    {u"HX218.Pressure", "a.js", "HX218.Pressure", true},
    {u"HX218.Pressure", "a.js", "x = HX218.PressureHigh;", false},
    {u"HX218.Pressure", "a.js", "x = AHX218.Pressure;", false},
    {u"HX218.Pressure", "a.js", "x = hx218.pressure;", false},
    {u"HX218.Pressure", "a.js", "HX218.Flow HX218 .Pressure", false},
    {u"HX218.Pressure", "a.js", "HX218.PressureX HX218.Pressure", true},  // the second one
    {u"HX218.Pressure", "a.dat", "HX218.Pressure", false},                  // not a text file
    {u"HX218.Pressure", "a.JS", "HX218.Pressure", true},                    // types ignore case
    {u".Pressure", "a.txt", "HX218.Pressure", false},  // a word character before the dot
    {u".Pressure", "a.txt", "a .Pressure", true},
    {u"Pressure.", "a.txt", "Pressure.x", false},  // a word character after the dot
    {u"Pressure.", "a.txt", "Pressure. x", true},
    {u"--", "a.css", "a -- b", true},
    {u"--", "a.css", "a ---b", true},
    {u"Ölstand", "a.htm", "Behälter Ölstand", true},
    {u"Ölstand", "a.htm", "ÜÖlstand", false},  // a letter beyond ASCII is a word character
    {u"Öl", "a.htm", "\xef\xbb\xbfÖl", true},  // a byte-order mark is no word character
    {u"Stand", "a.htm", "Öl\xff" "Stand", true},  // an ill-formed byte is U+FFFD, no letter
    {u"T9", "a.bat", "echo T9\r\nT2", true},
    {u"T9", "a.bat", "T9_x T9x xT9", false},
    {u"T9", "a.svg", std::string("before\0T9", 9), false},  // nothing after a zero byte counts
};

TEST_P(NamedInFile, CountsAsUseOnlyAsAWholeWordWithItsCase) {
  const Named& named = GetParam();
  (*set_.ioTags)[RecordKey(5)].head.name = named.name;
  std::filesystem::remove(folder_ / "pages/index.htm");
  WriteFileBytes(folder_ / named.file, named.bytes);
  const std::vector<Found> found = Check();
  const bool unused =
      found == std::vector<Found>{{CheckKind::kUnusedTag, kTableIoTags, 5, u"", u""}};
  EXPECT_EQ(!unused, named.used) << named.bytes;
  EXPECT_TRUE(found.empty() || unused) << found.size();
}

INSTANTIATE_TEST_SUITE_P(WordRule, NamedInFile, ::testing::ValuesIn(kNamed));

// Many tags of which a file names some, names sharing first words and
// names without any: each tag is found or not as a plain search of the
// text for that one name, kept where it stands as a whole word, finds it.
TEST_F(ProjectCheck, ManyNamesAgreeWithOneSearchPerName) {
  std::filesystem::remove(folder_ / "pages/index.htm");
  const std::u16string names[] = {u"P",     u"P.Q",  u"Q.P1", u"P_Q",  u"\u00c4",  u"P..Q3",
                                  u"..",    u"P.Q.R", u"P.Q.R7", u"Q",  u"\u00c42", u"P..Q",
                                  u"P_Q4",  u"(P",   u"R7",   u"Q.P", u"x",      u"P.Q1)",
                                  u"Q.P12", u"P_Q4.P.", u"\u00c4P", u"PP", u"P.Q.R7 "};
  const std::u16string text =
      u"P.Q.R Q.P1 P..Q3 ..x \u00c42 P_Q4.P\n(P.Q1) \u00c4 P_Q P..Q .. P.Q.R7\n";
  std::string bytes;
  for (char16_t c : text) {
    if (c < 0x80) {
      bytes += static_cast<char>(c);
    } else {
      bytes += "\xc3\x84";  // the one letter beyond ASCII here
    }
  }
  WriteFileBytes(folder_ / "all.txt", bytes);
  std::vector<Found> expected;
  int32_t id = 10;
  for (const std::u16string& name : names) {
    AddRecord(*set_.ioTags, id, name).deviceId = 1;
    bool named = false;
    for (size_t at = text.find(name); at != text.npos && !named; at = text.find(name, at + 1)) {
      named = IsWholeWordAt(text, at, name.size());
    }
    if (!named) expected.emplace_back(CheckKind::kUnusedTag, kTableIoTags, id, u"", u"");
    ++id;
  }
  std::vector<Found> found = Check();
  // Tag 5's name is in no file now; the others of the clean project are
  // referred to.
  std::erase_if(found, [](const Found& f) { return std::get<2>(f) < 10; });
  EXPECT_EQ(found, expected);
  EXPECT_GT(expected.size(), 4u);
  EXPECT_LT(expected.size(), std::size(names) - 2);
}

// The bundled sample has findings of its own: each must be real, checked
// here against the project as stored and its files on disk.
TEST(SampleCheck, EveryFindingIsReal) {
  TempFolder folder;
  ASSERT_EQ(testing::RunQmpe("sample " + folder.path().string() + "/p --seed 3"), 0);
  const std::u16string project = folder.Text("p/plant.qmp");
  ConfigTableSet set = testing::StoredTables(project);
  CFileManager files;
  ASSERT_EQ(files.Init(project.c_str(), 0), 0);
  Collect collect;
  ASSERT_TRUE(CheckProject({set, &files}, &collect));
  std::map<CheckKind, int> kinds;
  std::string pages;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder / "p")) {
    const std::string extension = entry.path().extension().string();
    for (const char* type : {".htm", ".html", ".bat", ".js", ".svg", ".txt", ".css"}) {
      std::string lower = extension;
      std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
      if (lower == type) pages += testing::ReadFileBytes(entry.path()).c_str() + std::string("\n");
    }
  }
  for (size_t i = 0; i < collect.found.size(); ++i) {
    const auto& [kind, table, id, field, file] = collect.found[i];
    const std::u16string& message = collect.messages[i];
    ++kinds[kind];
    switch (kind) {
      case CheckKind::kMissingRecord: {
        // The sample's dangling references are 9000000 and above; its ids
        // and numbers are all small.
        const size_t digits = message.find_first_of(u"0123456789");
        ASSERT_NE(digits, message.npos);
        EXPECT_GE(std::stoll(std::string(message.begin() + digits, message.end())), 9000000)
            << table << " " << id;
        break;
      }
      case CheckKind::kSharedName: {
        const size_t hash = message.find(u'#');
        const int32_t first = std::stoi(std::string(message.begin() + hash + 1, message.end()));
        const RecordHead* a = nullptr;
        const RecordHead* b = nullptr;
        auto find = [&](auto& records) {
          for (auto& [key, record] : records) {
            if (record.head.id == first) a = &record.head;
            if (record.head.id == id) b = &record.head;
          }
        };
        if (table == kTableIoTags) find(*set.ioTags);
        if (table == kTableIoDevices) find(*set.ioDevices);
        if (table == kTableAlarm) find(*set.alarms);
        if (table == kTableScript) find(*set.scripts);
        if (table == kTableTimer) find(*set.timers);
        if (table == kTableIo) find(*set.ioPorts);
        if (a != nullptr && b != nullptr) {
          EXPECT_EQ(a->name, b->name);
          EXPECT_LT(first, id);
        } else {
          EXPECT_TRUE(table != kTableIoTags && table != kTableIoDevices && table != kTableAlarm &&
                      table != kTableScript && table != kTableTimer && table != kTableIo)
              << table;
        }
        break;
      }
      case CheckKind::kMissingFile:
        EXPECT_FALSE(std::filesystem::exists(folder / "p" / std::filesystem::path(file)));
        break;
      case CheckKind::kUnusedTag: {
        const IoTagRecord& tag = set.ioTags->at(RecordKey(id));
        for (const auto& [key, alarm] : *set.alarms) EXPECT_NE(alarm.tagId, id);
        for (const auto& [key, trend] : *set.trends) EXPECT_NE(trend.tagId, id);
        for (const auto& [key, script] : *set.scripts) {
          EXPECT_FALSE(script.triggerBy == 2 && script.triggerer == id);
        }
        std::string name;
        for (char16_t c : tag.head.name) name += static_cast<char>(c < 0x80 ? c : '?');
        if (name.find('?') == std::string::npos) {
          // A plain ASCII name: no occurrence of it in the pages stands
          // alone as a word.
          for (size_t at = pages.find(name); at != std::string::npos; at = pages.find(name, at + 1)) {
            const auto word = [](unsigned char c) { return c >= 0x80 || std::isalnum(c) || c == '_'; };
            EXPECT_TRUE((at > 0 && word(pages[at - 1])) ||
                        (at + name.size() < pages.size() && word(pages[at + name.size()])))
                << name;
          }
        }
        break;
      }
      default:
        ADD_FAILURE() << "the sample has no finding of kind " << static_cast<int>(kind);
    }
  }
  EXPECT_GT(kinds[CheckKind::kMissingRecord], 0);
  EXPECT_GT(kinds[CheckKind::kSharedName], 0);
  EXPECT_GT(kinds[CheckKind::kMissingFile], 0);
  EXPECT_GT(kinds[CheckKind::kUnusedTag], 0);
}

}  // namespace
}  // namespace qm
