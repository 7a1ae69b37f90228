// `qmpe sample`, run as a child process: same seed same bytes, the content
// that the find and the benchmarks rely on, and refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <span>
#include <string>

#include "sample/sample_files.h"
#include "sample/sample_words.h"
#include "qmcfg/qmcfg.h"
#include "support/run_command.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

namespace fs = std::filesystem;
using testing::FolderBytes;
using testing::Quoted;
using testing::ReadFileBytes;
using testing::RunQmpe;

// A CR followed by neither LF nor another CR.
bool HasLoneCr(const std::string& bytes) {
  for (size_t at = bytes.find('\r'); at != std::string::npos; at = bytes.find('\r', at + 1)) {
    if (at + 1 < bytes.size() && bytes[at + 1] != '\n' && bytes[at + 1] != '\r') return true;
  }
  return false;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

TEST(SampleCommand, SameSeedGivesSameBytesAndAnotherSeedDiffers) {
  testing::TempFolder folder;
  for (const char* run : {"a --seed 7", "b --seed 7", "c --seed 8"}) {
    ASSERT_EQ(RunQmpe("sample " + Quoted(folder.path()) + "/" + run), 0);
  }
  const auto a = FolderBytes(folder / "a");
  const auto c = FolderBytes(folder / "c");
  ASSERT_TRUE(a.contains("plant.qmp"));
  EXPECT_TRUE(a == FolderBytes(folder / "b"));  // not printed: whole files
  ASSERT_EQ(a.size(), c.size());
  EXPECT_TRUE(a.at("plant.qmp") != c.at("plant.qmp"));
  size_t differing = 0;
  for (const auto& [name, bytes] : a) differing += c.contains(name) && c.at(name) != bytes;
  EXPECT_GT(differing, a.size() / 2);
}

TEST(SampleCommand, RefusesWhatItCannotWriteOrMustNotReplace) {
  testing::TempFolder folder;
  std::ofstream(folder / "file") << "not a folder";
  EXPECT_EQ(RunQmpe("sample " + Quoted(folder / "file")), 2);
  EXPECT_EQ(RunQmpe("sample " + Quoted(folder / "file" / "below")), 2);
  EXPECT_EQ(RunQmpe("sample " + Quoted(folder / "x") + " --scale huge"), 2);
  EXPECT_EQ(RunQmpe("sample"), 2);
  EXPECT_FALSE(fs::exists(folder / "x"));

  const fs::path dir = folder / "made" / "when" / "missing";
  ASSERT_EQ(RunQmpe("sample " + Quoted(dir)), 0);
  const auto first = FolderBytes(dir);
  std::ofstream(dir / "plant.qmp", std::ios::app) << "user data";
  const std::string changed = ReadFileBytes(dir / "plant.qmp");
  EXPECT_EQ(RunQmpe("sample " + Quoted(dir)), 2);
  EXPECT_EQ(ReadFileBytes(dir / "plant.qmp"), changed);

  // A sample file of the same name is not replaced silently either.
  fs::remove(dir / "plant.qmp");
  EXPECT_EQ(RunQmpe("sample " + Quoted(dir)), 2);
  EXPECT_FALSE(fs::exists(dir / "plant.qmp"));

  EXPECT_EQ(RunQmpe("sample " + Quoted(dir) + " --force"), 0);
  EXPECT_TRUE(FolderBytes(dir) == first);
}

// One small sample, read back through the store once for all its tests.
struct Sample {
  Sample() {
    set.Renew();
    EXPECT_EQ(RunQmpe("sample " + Quoted(folder.path())), 0);
    const ConfigHandle handle = CfgOpenConfig(folder.Text("plant.qmp").c_str(), 0);
    EXPECT_EQ(CfgReadAllTables(handle, &set, 115), kCfgOk);
    CfgCloseConfig(handle);
  }
  testing::TempFolder folder;
  ConfigTableSet set;
};

const Sample& TheSample() {
  static const Sample sample;
  return sample;
}

// Every listed value occurs, and so does at least one unlisted value.
template <class Table, class Field>
void ExpectCovers(const Table& table, Field field, std::span<const EnumName> names) {
  std::set<int64_t> unlisted;
  for (const auto& entry : table) unlisted.insert(entry.second.*field);
  for (const EnumName& name : names) EXPECT_EQ(unlisted.erase(name.value), 1u) << name.value;
  EXPECT_FALSE(unlisted.empty()) << "no unlisted value";
}

TEST(SampleContent, FillsEveryTableAndCoversEveryEnumerationAndVariantType) {
  const ConfigTableSet& set = TheSample().set;
  for (size_t count : {set.general->size(), set.timers->size(), set.databases->size(),
                       set.users->size(), set.trends->size(), set.ioPorts->size(),
                       set.ioDevices->size(), set.ioTags->size(), set.outputs->size(),
                       set.alarms->size(), set.scripts->size()}) {
    EXPECT_GT(count, 0u);
  }
  ExpectCovers(*set.alarms, &AlarmRecord::triggerBy, kCompareItemNames);
  ExpectCovers(*set.alarms, &AlarmRecord::condition, kAlarmConditionNames);
  ExpectCovers(*set.alarms, &AlarmRecord::deadbandType, kDeadbandTypeNames);
  ExpectCovers(*set.alarms, &AlarmRecord::type, kAlarmKindNames);
  ExpectCovers(*set.scripts, &ScriptRecord::triggerBy, kScriptTriggerNames);
  ExpectCovers(*set.databases, &DatabaseRecord::purgeType, kPurgeTypeNames);
  ExpectCovers(*set.ioTags, &IoTagRecord::type, kTagDataTypeNames);

  const std::set<uint16_t> layout = {kVtEmpty, kVtNull, kVtI2,  kVtI4,  kVtR4,
                                     kVtR8,    kVtDate, kVtBstr, kVtBool, kVtI1,
                                     kVtUi1,   kVtUi2,  kVtUi4,  kVtI8,   kVtUi8};
  std::set<uint16_t> startup, fallback;
  for (const auto& [key, tag] : *set.ioTags) {
    startup.insert(tag.startup.type);
    fallback.insert(tag.fallback.type);
  }
  EXPECT_EQ(startup, layout);
  EXPECT_EQ(fallback, layout);
}

template <class Table, class Test>
bool Any(const Table& table, Test test) {
  return std::any_of(table.begin(), table.end(),
                     [&](const auto& entry) { return test(entry.second); });
}

TEST(SampleContent, HoldsDanglingReferencesRepeatedNamesAndOddDates) {
  const ConfigTableSet& set = TheSample().set;
  std::set<int64_t> tagIds, timerIds;
  for (const auto& [key, tag] : *set.ioTags) tagIds.insert(tag.head.id);
  for (const auto& [key, timer] : *set.timers) timerIds.insert(timer.head.id);
  EXPECT_TRUE(Any(*set.alarms, [&](auto& alarm) { return !tagIds.contains(alarm.tagId); }));
  EXPECT_TRUE(Any(*set.databases, [&](auto& db) { return !timerIds.contains(db.logTimerId); }));
  EXPECT_TRUE(Any(*set.ioDevices, [](auto& device) { return device.portName.empty(); }));
  EXPECT_TRUE(Any(*set.ioTags, [](auto& tag) { return tag.deviceName.empty(); }));

  std::set<std::u16string> tagNames;
  EXPECT_TRUE(Any(*set.ioTags, [&](auto& tag) { return !tagNames.insert(tag.head.name).second; }));
  bool astral = false, kelvin = false;
  auto scan = [&](const auto& table) {
    for (const auto& entry : table) {
      for (char16_t unit : entry.second.head.name) {
        astral |= unit >= 0xD800 && unit <= 0xDFFF;
        kelvin |= unit == 0x212A;
      }
    }
  };
  scan(*set.ioPorts);
  scan(*set.ioDevices);
  scan(*set.ioTags);
  EXPECT_TRUE(astral && kelvin);

  // OLE dates: years 100 to 9999 are days -657434 to 2958465 and a bit.
  auto convertible = [](auto& user) { return user.expire >= -657434.0 && user.expire < 2958466.0; };
  EXPECT_TRUE(Any(*set.users, convertible));
  EXPECT_TRUE(Any(*set.users, [&](auto& user) { return !convertible(user); }));
}

TEST(SampleContent, FilesCarryTheAwkwardCasesAndTheRareNeedle) {
  const fs::path& root = TheSample().folder.path();
  const std::set<std::string> searched = {".htm", ".html", ".bat", ".js", ".svg", ".txt", ".css"};
  bool bom = false, zero = false, utf16 = false, empty = false, loneCr = false, crCrLf = false;
  bool spaceName = false, upperName = false, foreignName = false, otherType = false;
  uint32_t rareLines = 0;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file() || entry.path().filename() == "plant.qmp") continue;
    const std::string name = fs::relative(entry.path(), root).string();
    const std::string extension = Lower(entry.path().extension().string());
    const std::string bytes = ReadFileBytes(entry.path());
    spaceName |= name.find(' ') != std::string::npos;
    upperName |= extension != entry.path().extension().string();
    foreignName |= std::any_of(name.begin(), name.end(), [](char c) { return c & 0x80; });
    if (!searched.contains(extension)) {
      otherType = true;
      continue;
    }
    bom |= bytes.starts_with("\xEF\xBB\xBF");
    utf16 |= bytes.starts_with("\xFF\xFE");
    zero |= bytes.find('\0') != std::string::npos && !bytes.starts_with("\xFF\xFE");
    empty |= bytes.empty();
    crCrLf |= bytes.find("\r\r\n") != std::string::npos;
    loneCr |= HasLoneCr(bytes);
    // Files whose lines other tools would cut differently hold no common
    // needle, so line counts of the find and of such tools agree.
    if (bytes.find('\0') != std::string::npos || bytes.find('\n') == std::string::npos ||
        HasLoneCr(bytes) || name.starts_with(".")) {
      EXPECT_EQ(Lower(bytes).find(sample::kCommonNeedle), std::string::npos) << name;
    }
    for (size_t at = bytes.find(sample::kRareNeedle); at != std::string::npos;
         at = bytes.find(sample::kRareNeedle, at + 1)) {
      ++rareLines;
    }
  }
  EXPECT_TRUE(bom && zero && utf16 && empty && loneCr && crCrLf);
  EXPECT_TRUE(spaceName && upperName && foreignName && otherType);
  EXPECT_EQ(rareLines, sample::kSmallFilesSize.rareNeedleLines);
}

}  // namespace
}  // namespace qm
