// The table searchers against a deliberately plain reference on random
// tables: the reference folds with ICU per code point, spells out every
// grid text itself and resolves references by walking the tables.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "find/tables/name_lookup_builders.h"
#include "find/tables/table_searchers.h"
#include "reference_match.h"
#include "reference_text.h"

namespace qm {
namespace {


std::u16string Number(int64_t value) {
  std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string Join(const ValueSet& set) {
  std::u16string text;
  for (uint16_t value : set) {
    if (!text.empty()) text += u',';
    text += Number(value);
  }
  return text;
}

// Variants (and deadbands, the reals among them) come from this list, so
// that their texts can be spelled out; strings are generated.
const std::pair<Variant, std::u16string> kValues[] = {
    {{kVtEmpty, 0, 0.0, u""}, u""},     {{kVtI4, -7, 0.0, u""}, u"-7"},
    {{kVtI4, 12, 0.0, u""}, u"12"},     {{kVtBool, 1, 0.0, u""}, u"True"},
    {{kVtBool, 0, 0.0, u""}, u"False"}, {{kVtR8, 0, 0.0, u""}, u"0"},
    {{kVtR8, 0, 0.25, u""}, u"0.25"},   {{kVtR8, 0, -1.5, u""}, u"-1.5"},
    {{kVtR8, 0, 1e21, u""}, u"1e+21"}};

std::u16string VariantText(const Variant& variant) {
  if (variant.type == kVtBstr) return variant.text;
  for (const auto& [value, text] : kValues) {
    if (value == variant) return text;
  }
  return u"?";
}

std::u16string RealText(double real) { return VariantText({kVtR8, 0, real, u""}); }

std::u16string DateText(double date) {
  using namespace std::chrono;
  if (!(date > -657435.0 && date < 2958466.0)) return u"Invalid DateTime";
  const year_month_day ymd{sys_days{days{static_cast<int64_t>(std::trunc(date)) - 25569}}};
  auto padded = [](int64_t value, size_t width) {
    std::u16string text = Number(value);
    return std::u16string(width - text.size(), u'0') + text;
  };
  return padded(static_cast<unsigned>(ymd.day()), 2) + u"/" +
         padded(static_cast<unsigned>(ymd.month()), 2) + u"/" +
         padded(static_cast<int>(ymd.year()), 4);
}

std::u16string EnumOf(std::u16string_view text) { return std::u16string(text); }

// The Name of the last record in key order whose key field is `number`.
template <class Record, class Key>
std::u16string NameIn(const RecordTable<Record>& table, Key key, int32_t number) {
  std::u16string name;
  for (const auto& [unused, record] : table) {
    if (key(record) == number) name = record.head.name;
  }
  return name;
}

constexpr auto Id = [](const auto& record) { return record.head.id; };

struct Refs {
  const ConfigTableSet& set;
  std::u16string Timer(int32_t id) const { return NameIn(*set.timers, Id, id); }
  std::u16string Tag(int32_t id) const { return NameIn(*set.ioTags, Id, id); }
  std::u16string Database(int32_t group) const {
    return NameIn(*set.databases, [](auto& r) { return r.groupId; }, group);
  }
  std::u16string Output(int32_t number) const {
    return NameIn(*set.outputs, [](auto& r) { return r.outputNo; }, number);
  }
};

struct Cell {
  int32_t column;
  std::u16string title, text;
};
using Cells = std::vector<Cell>;

Cells CellsOf(const TimerRecord& t, const Refs&) {
  return {{4, u"Year", Join(t.year)},      {5, u"Month", Join(t.month)},
          {6, u"Day", Join(t.day)},        {7, u"Day of Week", Join(t.dayOfWeek)},
          {8, u"Hour", Join(t.hour)},      {9, u"Minute", Join(t.minute)},
          {10, u"Second", Join(t.second)}, {11, u"Millisecond", Join(t.millisecond)}};
}
Cells CellsOf(const DatabaseRecord& d, const Refs& refs) {
  return {{4, u"Connection String", d.connectionString},
          {5, u"Log", refs.Timer(d.logTimerId)},
          {6, u"Purge", refs.Timer(d.purgeTimerId)},
          {7, u"Purge Count", Number(d.purgeCount)},
          {8, u"Purge Type",
           d.purgeType == 0   ? u"Day"
           : d.purgeType == 1 ? u"Record"
                              : u""},
          {9, u"Group ID", Number(d.groupId)}};
}
Cells CellsOf(const OutputRecord& o, const Refs&) {
  return {{4, u"Header", o.header}, {5, u"Content", o.content}, {6, u"Footer", o.footer}};
}
Cells CellsOf(const AlarmRecord& a, const Refs& refs) {
  Cells cells = {{4, u"Message", a.message},
                 {5, u"Group Name", a.groupName},
                 {6, u"Log To", refs.Database(a.logTo)},
                 {7, u"Output To", refs.Output(a.outputTo)},
                 {8, u"Tag Name", refs.Tag(a.tagId)},
                 {9, u"Trigger By", EnumOf(EnumText(kCompareItemNames, a.triggerBy))},
                 {10, u"Condition", EnumOf(EnumText(kAlarmConditionNames, a.condition))}};
  const bool both = a.condition >= 6 && a.condition <= 13;
  if (a.triggerBy == 1) {
    cells.push_back({11, u"Compare Item 1", refs.Tag(a.compareTag1)});
    if (both) cells.push_back({12, u"Compare Item 2", refs.Tag(a.compareTag2)});
  } else if (a.triggerBy == 0) {
    cells.push_back({11, u"Compare Item 1", VariantText(a.compareValue1)});
    if (both) cells.push_back({12, u"Compare Item 2", VariantText(a.compareValue2)});
  }
  cells.push_back({13, u"Deadband Type", EnumOf(EnumText(kDeadbandTypeNames, a.deadbandType))});
  cells.push_back({14, u"Deadband", RealText(a.deadband)});
  cells.push_back({15, u"Type", a.type == 0 ? u"Alarm" : a.type == 1 ? u"Audit" : u""});
  return cells;
}
Cells CellsOf(const UserRecord& u, const Refs&) {
  return {{5, u"Expire", DateText(u.expire)}, {6, u"Security", Number(u.security)}};
}
Cells CellsOf(const ScriptRecord& s, const Refs& refs) {
  Cells cells = {{4, u"File Name", s.fileName},
                 {5, u"Trigger By", EnumOf(EnumText(kScriptTriggerNames, s.triggerBy))}};
  if (s.triggerBy == 1) cells.push_back({6, u"Triggerer", refs.Timer(s.triggerer)});
  if (s.triggerBy == 2) cells.push_back({6, u"Triggerer", refs.Tag(s.triggerer)});
  return cells;
}
Cells CellsOf(const IoPortRecord& p, const Refs&) { return {{4, u"Header", p.header}}; }
Cells CellsOf(const IoDeviceRecord& d, const Refs& refs) {
  return {{4, u"Address", Number(d.address)},
          {5, u"Path", d.path},
          {6, u"Timer", refs.Timer(d.timerId)},
          {7, u"Driver", d.driver}};
}
Cells CellsOf(const IoTagRecord& t, const Refs& refs) {
  return {{4, u"Path", t.path},
          {5, u"Address", Number(t.address)},
          {6, u"Batch", Number(t.batch)},
          {7, u"Type", EnumOf(EnumText(kTagDataTypeNames, t.type))},
          {8, u"Startup", VariantText(t.startup)},
          {9, u"Fallback", VariantText(t.fallback)},
          {10, u"R", Number(t.r)},
          {11, u"W", Number(t.w)},
          {12, u"Log", refs.Database(t.logDb)},
          {13, u"Persist", refs.Database(t.persistDb)}};
}

// The owner of a device or tag as (id, name); other records have none.
std::pair<int32_t, std::u16string> OwnerOf(const IoDeviceRecord& d) {
  return {d.portId, d.portName};
}
std::pair<int32_t, std::u16string> OwnerOf(const IoTagRecord& t) {
  return {t.deviceId, t.deviceName};
}
std::pair<int32_t, std::u16string> OwnerOf(const auto&) { return {-1, u""}; }

class Reference {
 public:
  Reference(const ConfigTableSet& set, const std::u16string& needle, const FindOptions& options)
      : refs_{set}, needle_(needle), options_(options) {}

  bool Contains(const std::u16string& field) const {
    return !field.empty() &&
           testing::ReferenceFirstMatch(field, needle_, options_) != std::u16string::npos;
  }

  void General(const GeneralTable& table) {
    const std::pair<std::u16string, std::u16string> keys[] = {{u"project-id", u"Project ID"},
                                                              {u"pre-launch", u"Pre-launch"},
                                                              {u"post-launch", u"Post-launch"}};
    for (const auto& [key, label] : keys) {
      auto found = table.find(key);
      if (found == table.end() || !Contains(found->second)) continue;
      results.push_back({0, u"Grid Table: General", 0, -1, u"", label, found->second, u"", 0});
    }
  }

  template <class Record>
  void Search(TableNumber number, const std::u16string& title, const RecordTable<Record>& table,
              int32_t ownerId = -1) {
    for (const auto& [key, record] : table) {
      const auto [owner, ownerName] = OwnerOf(record);
      if (ownerId >= 0 && owner != ownerId) continue;
      Cells cells = {{2, u"Name", record.head.name}, {3, u"Description", record.head.description}};
      for (const Cell& cell : CellsOf(record, refs_)) cells.push_back(cell);
      for (const Cell& cell : cells) {
        if (!Contains(cell.text)) continue;
        results.push_back({number, u"Grid Table: " + (title.empty() ? ownerName : title),
                           record.head.id, cell.column, cell.title,
                           record.head.name + u" @ " + cell.title, cell.text, u"",
                           title.empty() ? owner : 0});
      }
    }
  }

  FindResultList results;

 private:
  Refs refs_;
  std::u16string needle_;
  FindOptions options_;
};

// The tables in the order of a whole-project find.
FindResultList ReferenceSearch(const ConfigTableSet& set, const std::u16string& needle,
                               const FindOptions& options, int32_t ownerId) {
  Reference r(set, needle, options);
  r.General(*set.general);
  r.Search(kTableTimer, u"Timer", *set.timers);
  r.Search(kTableDatabase, u"Database", *set.databases);
  r.Search(kTableOutput, u"Output", *set.outputs);
  r.Search(kTableAlarm, u"Alarm", *set.alarms);
  r.Search(kTableUser, u"User", *set.users);
  r.Search(kTableScript, u"Script", *set.scripts);
  r.Search(kTableIo, u"IO", *set.ioPorts);
  r.Search(kTableIoDevices, u"", *set.ioDevices, ownerId);
  r.Search(kTableIoTags, u"", *set.ioTags, ownerId);
  return r.results;
}

// Random tables from a few tokens chosen to trip folding (Kelvin sign,
// long s, Deseret letters), numbers, dates and enumeration texts.
class Generator {
 public:
  explicit Generator(uint32_t seed) : random_(seed) {}

  int32_t Int(int32_t low, int32_t high) {
    return std::uniform_int_distribution<int32_t>(low, high)(random_);
  }
  template <class T, size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Int(0, N - 1)];
  }
  std::u16string Text(int maxTokens = 4) {
    static const std::u16string kTokens[] = {
        u"a", u"A", u"b",      u"K",      u"k",      u"\u212A",     u"s",          u"\u017F",
        u"S", u"0", u"1",      u"2",      u"-",      u"/",          u",",          u".",
        u" ", u"e", u"\u00E9", u"\u00C9", u"\u03A3", u"\U00010400", u"\U00010428", u"Level"};
    std::u16string text;
    for (int n = Int(0, maxTokens); n > 0; --n) text += Pick(kTokens);
    return text;
  }
  std::u16string Needle() {
    static const std::u16string kSnippets[] = {
        u"1",   u"0", u"/",   u"-",  u",",   u".",  u"E+",  u"t", u"Tag",   u"int1",
        u"Aud", u"(", u"Inv", u"20", u"/19", u"1,", u"rue", u"k", u"LEVEL", u"\u03C3"};
    return Int(0, 1) ? Pick(kSnippets) : Text(3);
  }
  // Patterns that reach number, date, enumeration and reference texts as
  // well as the text fields.
  std::u16string Pattern() {
    static const std::u16string kPatterns[] = {
        u"^\\d+$", u"1|k",   u"[\u212A\u017F]", u"\\p{Lu}", u"e.?", u"^$",   u"\\w\\W\\w",
        u"/\\d\\d", u"(?i)level", u"\\x{10428}", u"\u03C3", u"E\\+", u"a*",  u"^-"};
    return Pick(kPatterns);
  }
  ValueSet Set() {
    ValueSet set;
    for (int n = Int(0, 3); n > 0; --n) set.insert(static_cast<uint16_t>(Int(0, 30) * Int(1, 3)));
    return set;
  }
  Variant Value() { return Int(0, 3) ? Pick(kValues).first : Variant{kVtBstr, 0, 0.0, Text()}; }
  double Real() {
    static const double kReals[] = {0.0, 0.25, -1.5, 1e21};  // those of kValues
    return Pick(kReals);
  }
  // Whole days and a quarter-day time, so that no time rounds to midnight.
  double Date() {
    if (Int(0, 5) == 0) return NAN;
    const double days = Int(0, 3) == 0 ? Int(-657436, -657433) : Int(-700000, 3000000);
    return days + (days < 0 ? -0.25 : 0.25);
  }
  RecordHead Head() { return {0, Int(1, 6), Text(), 0, Text()}; }
  int32_t Ref() { return Int(0, 6); }

  // Keys need not be ids: repeated ids test "the later one wins". Table
  // sizes vary, so that references are resolved both ways (see
  // FieldTexts::ResolveReference).
  ConfigTableSet Tables() {
    ConfigTableSet set;
    set.Renew();
    for (const char16_t* key : {u"project-id", u"pre-launch", u"post-launch", u"other"}) {
      if (Int(0, 3)) (*set.general)[key] = Text();
    }
    auto fill = [this](auto* table, auto make) {
      for (int32_t i = Int(0, 8); i > 0; --i) (*table)[RecordKey(i)] = make();
    };
    fill(set.timers.get(), [&] {
      return TimerRecord{Head(), Set(), Set(), Set(), Set(), Set(), Set(), Set(), Set()};
    });
    fill(set.databases.get(), [&] {
      return DatabaseRecord{Head(), Int(-1, 4), Text(), Ref(), Ref(), Int(-1, 2), Int(-20, 200)};
    });
    fill(set.users.get(), [&] { return UserRecord{Head(), u"", Int(-5, 300), Date()}; });
    fill(set.ioPorts.get(), [&] { return IoPortRecord{Head(), Text()}; });
    fill(set.ioDevices.get(), [&] {
      return IoDeviceRecord{Head(), Int(-9, 99), Text(), Text(), Int(1, 3), Text(), Ref()};
    });
    fill(set.ioTags.get(), [&] {
      return IoTagRecord{Head(),    Int(-9, 99), Text(),     static_cast<uint16_t>(Int(0, 21)),
                         Int(0, 12), Int(1, 3),  Text(),     Int(-1, 4), Int(-1, 4), Int(0, 1),
                         Int(0, 1),  Value(),    Value()};
    });
    fill(set.outputs.get(),
         [&] { return OutputRecord{Head(), Int(0, 4), 0, Text(), Text(), Text()}; });
    fill(set.alarms.get(), [&] {
      return AlarmRecord{Head(),      Text(), Text(),     Ref(),      Int(-1, 3),
                         Int(-1, 14), Ref(),  Ref(),      Value(),    Value(),
                         Int(-1, 3),  Real(), Int(-1, 2), Int(-1, 4), Int(0, 4)};
    });
    fill(set.scripts.get(), [&] { return ScriptRecord{Head(), Text(), Int(-1, 3), Ref()}; });
    // Tag ids that ascend with the keys, as in a project file, half the
    // time: the walk of the tags then also tells which tag names match.
    if (Int(0, 1)) {
      int32_t id = 0;
      for (auto& [key, tag] : *set.ioTags) tag.head.id = id += Int(1, 2);
    }
    return set;
  }

 private:
  std::mt19937 random_;
};

TEST(TableSearchReferenceTest, AgreesWithAPlainReferenceOnRandomTables) {
  const TableNumber order[] = {kTableGeneral,   kTableTimer, kTableDatabase, kTableOutput,
                               kTableAlarm,     kTableUser,  kTableScript,   kTableIo,
                               kTableIoDevices, kTableIoTags};
  size_t hits = 0;
  NameLookups lookups;  // refilled for each table set, as finds refill them
  for (uint32_t seed = 1; seed <= 150; ++seed) {
    Generator generate(seed);
    const ConfigTableSet set = generate.Tables();
    BuildTimerNames(set, &lookups.timerNames);
    BuildDatabaseNames(set, &lookups.databaseNames);
    BuildOutputNames(set, &lookups.outputNames);
    if (seed % 2 == 1) {
      WalkTags(set, &lookups, SearchNeedle(u"a", 0));
    } else {
      BuildTagNames(set, &lookups.tagNames);
    }
    for (int round = 0; round < 20; ++round) {
      // A third of the rounds whole words, a sixth patterns.
      FindOptions options = FindOptions::FromMatchCase(generate.Int(0, 2));
      options.wholeWord = round % 3 == 1;
      options.regex = round % 6 == 2;
      const std::u16string text = options.regex ? generate.Pattern() : generate.Needle();
      const int32_t ownerId = generate.Int(-1, 3);
      const SearchNeedle needle(text, options);
      FindResultList actual;
      ResultListSink sink(&actual);
      // Half the time the tables are searched as a whole-table find does:
      // one walk of the tags first, which rebuilds the tag names that the
      // next rounds then read too.
      std::optional<TagWalk> walk;
      if (ownerId < 0 && seed % 2 == 1) walk = WalkTags(set, &lookups, needle);
      const NameMatches* matchingTagNames =
          walk && walk->matchingNames ? &*walk->matchingNames : nullptr;
      for (TableNumber table : order) {
        if (table == kTableIoTags && walk) {
          SearchTags(*walk, lookups, needle, sink);
        } else {
          SearchGridTable(table, set, lookups, ownerId, needle, sink, matchingTagNames);
        }
      }
      ASSERT_EQ(actual, ReferenceSearch(set, text, options, ownerId))
          << "seed " << seed << " round " << round << " text " << ::testing::PrintToString(text)
          << " word " << options.wholeWord << " regex " << options.regex << " case "
          << options.matchCase;
      hits += actual.size();
    }
  }
  EXPECT_GT(hits, 5000u);  // the needles do find things
}

}  // namespace
}  // namespace qm
