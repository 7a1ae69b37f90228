// A read-only project (its file's mode, its folder's mode, a read-only
// mount): the editor opens it, finds in it and lists its files as usual;
// every save (whole, one table, one owner's records, save-as onto it) and a
// rename's apply answer that the project is read-only, and nothing is left
// in the folder. A way that cannot be had here is skipped with the reason.
#include <gtest/gtest.h>

#include <filesystem>

#include "config/config_manager.h"
#include "core/editor_manager.h"
#include "files/file_manager.h"
#include "qmcfg/qmcfg.h"
#include "rename/record_rename.h"
#include "support/config_sets.h"
#include "support/full_disk.h"
#include "support/read_only_posix.h"
#include "support/sample_config.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

using testing::ReadOnlyWay;

class ReadOnlyProjectTest : public ::testing::TestWithParam<ReadOnlyWay> {
 protected:
  void SetUp() override {
    ASSERT_EQ(testing::WriteProjectFile(folder_.Text("plant.qmp"), testing::SampleSet(0, 40)),
              kCfgOk);
    testing::WriteFileBytes(folder_ / "main.js", "run(\"Tag10\");\n");
    testing::WriteFileBytes(folder_ / "pages/a.htm", "<b>Tag10</b>\n");
  }

  testing::TempFolder folder_;
  CEditorManager manager_;
};

// What the editor finds and lists in the project: the same read-only as not.
struct Seen {
  int32_t found = -1;
  FileNameSet files;
  size_t tags = 0;
  bool operator==(const Seen&) const = default;
};

Seen Look(CEditorManager& manager) {
  Seen seen;
  FindResultList results;
  seen.found = manager.Find(&results, u"Entire Project", u"Tag10", 0);
  manager.editorData()->fileManager->GetAllFiles(&seen.files, nullptr, nullptr, 0);
  seen.tags = manager.editorData()->configManager->GetTables(true)->ioTags->size();
  return seen;
}

TEST_P(ReadOnlyProjectTest, OpensFindsAndListsAndRefusesEverySave) {
  const std::u16string project = folder_.Text("plant.qmp");
  ASSERT_NE(manager_.OpenEditor(project.c_str(), 0), nullptr);
  const Seen usual = Look(manager_);
  manager_.CloseEditor();
  ASSERT_GT(usual.found, 2);  // the tag and both lines at least
  ASSERT_EQ(usual.files.size(), 2u);  // the two text files

  const testing::ReadOnlyProject readOnly(GetParam(), folder_.path(), folder_ / "plant.qmp");
  if (!readOnly.whyNot().empty()) GTEST_SKIP() << NameOf(GetParam()) << ": " << readOnly.whyNot();
  const auto before = testing::FolderBytes(folder_.path());
  ASSERT_NE(manager_.OpenEditor(project.c_str(), 0), nullptr);
  EXPECT_TRUE(Look(manager_) == usual);
  CConfigManagerEx& config = *manager_.editorData()->configManager;

  EXPECT_EQ(config.Save(kAllTables, -1), kCfgReadOnly);
  EXPECT_EQ(config.Save(kTableTimer, -1), kCfgReadOnly);
  EXPECT_EQ(config.Save(kTableIoTags, 101), kCfgReadOnly);
  EXPECT_EQ(config.SaveAs(project.c_str()), kCfgReadOnly);
  if (GetParam() != ReadOnlyWay::kFileMode) {  // the folder itself may not be written
    EXPECT_EQ(config.SaveAs(folder_.Text("new.qmp").c_str()), kCfgReadOnly);
  }
  const RenameOutcome renamed =
      RenameRecord({*manager_.editorData(), 0, kTableIoTags, 1001, u"Tag10b", true});
  EXPECT_EQ(renamed.status, RenameStatus::kReadOnly)
      << std::string(renamed.message.begin(), renamed.message.end());
  EXPECT_EQ(testing::FolderBytes(folder_.path()), before) << "a file was written or left behind";
  EXPECT_EQ(config.GetTables(true)->ioTags->at(RecordKey(1001)).head.name, u"Tag10");
}

INSTANTIATE_TEST_SUITE_P(Ways, ReadOnlyProjectTest,
                         ::testing::Values(ReadOnlyWay::kFileMode, ReadOnlyWay::kFolderMode,
                                           ReadOnlyWay::kMount),
                         testing::WayParamName);

}  // namespace
}  // namespace qm
