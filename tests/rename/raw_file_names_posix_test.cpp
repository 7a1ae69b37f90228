// File names that are not UTF-8, which POSIX allows (names are bytes):
// the file list, the find and the rename each reach the file under its own
// bytes, through the texts that name it (each byte of no well-formed
// sequence as U+DC80 + byte - 0x80), and a result's path given back opens
// the same file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/editor_manager.h"
#include "files/file_manager.h"
#include "rename/record_rename.h"
#include "support/config_sets.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

// Each file by its raw name, the text the library names it by (written
// out here rather than converted, so a wrong mapping shows), and its bytes.
struct RawFile {
  std::string name;
  std::u16string text;
  std::string bytes;
};
const RawFile kFiles[] = {
    {"a\xff.js", u"a\xDCFF.js", "x = Pump.Speed;\n"},
    {"\xc3(.js", u"\xDCC3(.js", "Pump.Speed\n"},
    // The UTF-8 form of a surrogate is no well-formed UTF-8 either.
    {"\xed\xa0\x80.htm", u"\xDCED\xDCA0\xDC80.htm", "<b>Pump.Speed</b>\n"},
    {"sub\xfe\xe2\x82/\xe2\x82\xac.txt", u"sub\xDCFE\xDCE2\xDC82/\u20AC.txt", "Pump.Speed\n"},
    {"caf\xc3\xa9.css", u"caf\u00E9.css", "a{Pump.Speed}\n"},
};

// Every file below `folder` by its raw relative name, with its bytes.
std::map<std::string, std::string> RawSnapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    files[fs::relative(entry.path(), folder).native()] = testing::ReadFileBytes(entry.path());
  }
  return files;
}

class RawFileNamesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ConfigTableSet set;
    set.Renew();
    testing::AddRecord(*set.ioTags, 3, u"Pump.Speed");
    project_ = folder_.Text("plant.qmp");
    ASSERT_EQ(testing::WriteProjectFile(project_, set), kCfgOk);
    for (const RawFile& file : kFiles) testing::WriteFileBytes(folder_.path() / file.name, file.bytes);
    ASSERT_NE(manager_.OpenEditor(project_.c_str(), 0), nullptr);
  }
  std::u16string Folder() const { return folder_.Text() + u"/"; }

  testing::TempFolder folder_;
  std::u16string project_;
  CEditorManager manager_;
};

TEST_F(RawFileNamesTest, ListedFoundAndRenamedUnderTheirOwnBytes) {
  std::vector<std::u16string> texts;
  for (const RawFile& file : kFiles) texts.push_back(file.text);
  std::sort(texts.begin(), texts.end());

  FileNameSet listed;
  manager_.editorData()->fileManager->GetAllFiles(&listed, nullptr, nullptr, 0);
  EXPECT_EQ(std::vector<std::u16string>(listed.begin(), listed.end()), texts);

  FindResultList results;
  manager_.Find(&results, u"All Files", u"Pump.Speed", 0);
  std::vector<std::u16string> locations;
  for (const FindResult& result : results) {
    locations.push_back(result.location);
    EXPECT_EQ(result.label, Folder() + result.location);
    // The full path as the find reports it names the file it read.
    FindResultList again;
    manager_.Find(&again, result.label.c_str(), u"Pump.Speed", 0);
    ASSERT_EQ(again.size(), 1u) << ::testing::PrintToString(result.label);
    EXPECT_EQ(again[0].matchedText, result.matchedText);
  }
  std::sort(locations.begin(), locations.end());
  EXPECT_EQ(locations, texts);

  const RenameOutcome outcome =
      RenameRecord({*manager_.editorData(), 0, kTableIoTags, 3, u"Pump.Rpm", true, nullptr});
  ASSERT_EQ(outcome.status, RenameStatus::kDone);
  EXPECT_EQ(outcome.changes.size(), 1 + std::size(kFiles));
  std::map<std::string, std::string> expected;
  for (const RawFile& file : kFiles) {
    std::string renamed = file.bytes;
    renamed.replace(renamed.find("Pump.Speed"), 10, "Pump.Rpm");
    expected[file.name] = renamed;
  }
  std::map<std::string, std::string> onDisk = RawSnapshot(folder_.path());
  onDisk.erase("plant.qmp");
  EXPECT_EQ(onDisk, expected);
}

}  // namespace
}  // namespace qm
