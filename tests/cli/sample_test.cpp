// `qmpe sample`, run as a child process: same seed same bytes, the content
// that the find and the benchmarks rely on, and refusals.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <span>
#include <string>

#include "cli/sample_files.h"
#include "cli/sample_words.h"
#include "config/qmcfg.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

// Runs qmpe; its standard output goes to `output`. Returns the exit code.
int RunQmpe(const std::string& arguments, const std::string& output = "/dev/null") {
  const std::string command =
      std::string(QM_QMPE_PATH) + " " + arguments + " >'" + output + "' 2>/dev/null";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quoted(const fs::path& path) {
  std::string quoted(1, '\'');
  quoted += path.string();
  quoted += '\'';
  return quoted;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// FNV-1a of every file under root, by relative path.
std::map<std::string, uint64_t> HashTree(const fs::path& root) {
  std::map<std::string, uint64_t> hashes;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    uint64_t hash = 1469598103934665603ull;
    for (unsigned char byte : ReadBytes(entry.path())) hash = (hash ^ byte) * 1099511628211ull;
    hashes[fs::relative(entry.path(), root).string()] = hash;
  }
  return hashes;
}

// A CR followed by neither LF nor another CR.
bool HasLoneCr(const std::string& bytes) {
  for (size_t at = bytes.find('\r'); at != std::string::npos; at = bytes.find('\r', at + 1)) {
    if (at + 1 < bytes.size() && bytes[at + 1] != '\n' && bytes[at + 1] != '\r') return true;
  }
  return false;
}

bool HoldsCaseBlind(std::string bytes, std::string_view needle) {
  for (char& c : bytes) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return bytes.find(needle) != std::string::npos;
}

TEST(SampleCommand, SameSeedGivesSameBytesAndAnotherSeedDiffers) {
  testing::TempFolder folder;
  ASSERT_EQ(RunQmpe("sample " + Quoted(folder / "a") + " --seed 7"), 0);
  ASSERT_EQ(RunQmpe("sample " + Quoted(folder / "b") + " --seed 7"), 0);
  ASSERT_EQ(RunQmpe("sample " + Quoted(folder / "c") + " --seed 8"), 0);
  const auto a = HashTree(folder / "a");
  const auto c = HashTree(folder / "c");
  ASSERT_TRUE(a.contains("plant.qmp"));
  EXPECT_EQ(a, HashTree(folder / "b"));
  ASSERT_EQ(a.size(), c.size());
  EXPECT_NE(a.at("plant.qmp"), c.at("plant.qmp"));
  size_t differing = 0;
  for (const auto& [name, hash] : a) differing += c.contains(name) && c.at(name) != hash;
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
  const auto first = HashTree(dir);
  std::ofstream(dir / "plant.qmp", std::ios::app) << "user data";
  const std::string changed = ReadBytes(dir / "plant.qmp");
  EXPECT_EQ(RunQmpe("sample " + Quoted(dir)), 2);
  EXPECT_EQ(ReadBytes(dir / "plant.qmp"), changed);

  // A sample file of the same name is not replaced silently either.
  fs::remove(dir / "plant.qmp");
  EXPECT_EQ(RunQmpe("sample " + Quoted(dir)), 2);
  EXPECT_FALSE(fs::exists(dir / "plant.qmp"));

  EXPECT_EQ(RunQmpe("sample " + Quoted(dir) + " --force"), 0);
  EXPECT_EQ(HashTree(dir), first);
}

// One small sample, read back through the store.
class SampleContent : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new testing::TempFolder();
    summary_ = new std::string();
    const fs::path output = fs::temp_directory_path() / ("qmpe-sample-" + std::to_string(getpid()));
    const int code = RunQmpe("sample " + Quoted(folder_->path()), output.string());
    *summary_ = ReadBytes(output);
    fs::remove(output);
    ASSERT_EQ(code, 0);
    set_ = new ConfigTableSet();
    set_->Renew();
    const ConfigHandle handle = CfgOpenConfig(folder_->Text("plant.qmp").c_str(), 0);
    ASSERT_NE(handle, 0u);
    ASSERT_EQ(CfgReadAllTables(handle, set_, 115), kCfgOk);
    CfgCloseConfig(handle);
  }
  static void TearDownTestSuite() {
    delete set_;
    delete summary_;
    delete folder_;
  }

  template <class Table, class Field>
  static std::set<int64_t> Values(const Table& table, Field field) {
    std::set<int64_t> values;
    for (const auto& entry : table) values.insert(entry.second.*field);
    return values;
  }

  // Every listed value occurs, and so does at least one unlisted value.
  static void ExpectCovers(const std::set<int64_t>& seen, std::span<const EnumName> names) {
    std::set<int64_t> unlisted = seen;
    for (const EnumName& name : names) {
      EXPECT_TRUE(seen.contains(name.value)) << "missing value " << name.value;
      unlisted.erase(name.value);
    }
    EXPECT_FALSE(unlisted.empty()) << "no unlisted value";
  }

  static testing::TempFolder* folder_;
  static std::string* summary_;
  static ConfigTableSet* set_;
};

testing::TempFolder* SampleContent::folder_ = nullptr;
std::string* SampleContent::summary_ = nullptr;
ConfigTableSet* SampleContent::set_ = nullptr;

// Every table has records, and the summary's line for a table
// ("    timers    16") shows its record count.
TEST_F(SampleContent, SummaryShowsTheRecordCountsOfTheFile) {
  const std::pair<std::string, size_t> tables[] = {
      {"general", set_->general->size()},      {"timers", set_->timers->size()},
      {"databases", set_->databases->size()},  {"users", set_->users->size()},
      {"trends", set_->trends->size()},        {"io_ports", set_->ioPorts->size()},
      {"io_devices", set_->ioDevices->size()}, {"io_tags", set_->ioTags->size()},
      {"outputs", set_->outputs->size()},      {"alarms", set_->alarms->size()},
      {"scripts", set_->scripts->size()},
  };
  for (const auto& [name, count] : tables) {
    const size_t at = summary_->find("    " + name + " ");
    ASSERT_NE(at, std::string::npos) << name;
    EXPECT_GT(count, 0u) << name;
    EXPECT_EQ(std::stoul(summary_->substr(at + 4 + name.size())), count) << name;
  }
  EXPECT_NE(summary_->find(cli::kRareNeedle), std::string::npos);
  EXPECT_NE(summary_->find("\"" + std::string(cli::kCommonNeedle) + "\""), std::string::npos);
}

TEST_F(SampleContent, CoversEveryEnumerationValueAndUnlistedOnes) {
  ExpectCovers(Values(*set_->alarms, &AlarmRecord::triggerBy), kCompareItemNames);
  ExpectCovers(Values(*set_->alarms, &AlarmRecord::condition), kAlarmConditionNames);
  ExpectCovers(Values(*set_->alarms, &AlarmRecord::deadbandType), kDeadbandTypeNames);
  ExpectCovers(Values(*set_->alarms, &AlarmRecord::type), kAlarmKindNames);
  ExpectCovers(Values(*set_->scripts, &ScriptRecord::triggerBy), kScriptTriggerNames);
  ExpectCovers(Values(*set_->databases, &DatabaseRecord::purgeType), kPurgeTypeNames);
  ExpectCovers(Values(*set_->ioTags, &IoTagRecord::type), kTagDataTypeNames);
}

TEST_F(SampleContent, StartupAndFallbackCoverEveryVariantType) {
  const std::set<uint16_t> layout = {kVtEmpty, kVtNull, kVtI2,   kVtI4,   kVtR4,
                                     kVtR8,    kVtDate, kVtBstr, kVtBool, kVtI1,
                                     kVtUi1,   kVtUi2,  kVtUi4,  kVtI8,   kVtUi8};
  std::set<uint16_t> startup, fallback;
  for (const auto& [key, tag] : *set_->ioTags) {
    startup.insert(tag.startup.type);
    fallback.insert(tag.fallback.type);
  }
  EXPECT_EQ(startup, layout);
  EXPECT_EQ(fallback, layout);
}

TEST_F(SampleContent, HoldsDanglingReferencesRepeatedNamesOddDatesAndOtherScripts) {
  std::set<int64_t> tagIds, timerIds;
  for (const auto& [key, tag] : *set_->ioTags) tagIds.insert(tag.head.id);
  for (const auto& [key, timer] : *set_->timers) timerIds.insert(timer.head.id);
  bool danglingAlarmTag = false, danglingLogTimer = false, orphanDevice = false, orphanTag = false;
  for (const auto& [key, alarm] : *set_->alarms) danglingAlarmTag |= !tagIds.contains(alarm.tagId);
  for (const auto& [key, db] : *set_->databases)
    danglingLogTimer |= !timerIds.contains(db.logTimerId);
  for (const auto& [key, device] : *set_->ioDevices) orphanDevice |= device.portName.empty();
  for (const auto& [key, tag] : *set_->ioTags) orphanTag |= tag.deviceName.empty();
  EXPECT_TRUE(danglingAlarmTag && danglingLogTimer && orphanDevice && orphanTag);

  std::set<std::u16string> tagNames;
  bool repeated = false;
  for (const auto& [key, tag] : *set_->ioTags) repeated |= !tagNames.insert(tag.head.name).second;
  bool astral = false, kelvin = false;
  auto scan = [&](const auto& table) {
    for (const auto& entry : table) {
      for (char16_t unit : entry.second.head.name) {
        astral |= unit >= 0xD800 && unit <= 0xDFFF;
        kelvin |= unit == 0x212A;
      }
    }
  };
  scan(*set_->ioPorts);
  scan(*set_->ioDevices);
  scan(*set_->ioTags);
  EXPECT_TRUE(repeated && astral && kelvin);

  // OLE dates: years 100 to 9999 are days -657434 to 2958465 and a bit.
  bool inside = false, outside = false;
  for (const auto& [key, user] : *set_->users) {
    const bool convertible = user.expire >= -657434.0 && user.expire < 2958466.0;
    (convertible ? inside : outside) = true;
  }
  EXPECT_TRUE(inside && outside);
}

TEST_F(SampleContent, FilesCarryTheAwkwardCasesAndTheNeedlesAsPrinted) {
  const std::set<std::string> searched = {".htm", ".html", ".bat", ".js", ".svg", ".txt", ".css"};
  bool bom = false, zero = false, utf16 = false, empty = false, loneCr = false, crCrLf = false;
  bool spaceName = false, upperName = false, foreignName = false, otherType = false;
  uint32_t rareLines = 0;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder_->path())) {
    if (!entry.is_regular_file() || entry.path().filename() == "plant.qmp") continue;
    const std::string name = fs::relative(entry.path(), folder_->path()).string();
    std::string extension = entry.path().extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string bytes = ReadBytes(entry.path());
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
    const bool cutDifferently = bytes.find('\0') != std::string::npos ||
                                bytes.find('\n') == std::string::npos || HasLoneCr(bytes) ||
                                name.starts_with(".");
    if (cutDifferently) {
      EXPECT_FALSE(HoldsCaseBlind(bytes, cli::kCommonNeedle)) << name;
    }
    for (size_t at = bytes.find(cli::kRareNeedle); at != std::string::npos;
         at = bytes.find(cli::kRareNeedle, at + 1)) {
      ++rareLines;
    }
  }
  EXPECT_TRUE(bom && zero && utf16 && empty && loneCr && crCrLf);
  EXPECT_TRUE(spaceName && upperName && foreignName && otherType);
  EXPECT_EQ(rareLines, cli::kSmallFilesSize.rareNeedleLines);
}

}  // namespace
}  // namespace qm
