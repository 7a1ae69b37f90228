// The library as the application sees it: this program links only
// libqmpecore and includes only the public header.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "qmpecore/qmpecore.h"
#include "support/run_command.h"
#include "support/temp_folder.h"

namespace {

using qm::testing::TempFolder;

TEST(Exports, NullFirstArgumentsGetTheirFixedAnswers) {
  QmCloseEditorManager(nullptr);
  QmCloseEditor(nullptr);
  EXPECT_EQ(QmOpenEditor(nullptr, u"/tmp/x.qmp", 1), nullptr);
  EXPECT_EQ(QmGetEditorData(nullptr), nullptr);
  qm::FindResultList results;
  EXPECT_EQ(QmFind(nullptr, &results, u"Entire Project", u"x", 0), -1);
  EXPECT_EQ(QmGetAllTables(nullptr, 1), nullptr);
  EXPECT_EQ(QmGetConfigHandleEx(nullptr), 0u);
  EXPECT_EQ(QmSaveConfigEx(nullptr, -1, 0), -1);
  EXPECT_EQ(QmSaveAsConfigEx(nullptr, u"/tmp/y.qmp"), -1);
  qm::FileNameSet files = {u"untouched"};
  EXPECT_EQ(QmGetAllFiles(nullptr, &files, nullptr, nullptr, 0), -1);
  EXPECT_EQ(files.size(), 1u);
  EXPECT_EQ(QmGetEditors(nullptr), -1);
  // A null key is the empty key; no editor has registered it.
  EXPECT_FALSE(QmEditorExists(nullptr));
  EXPECT_FALSE(QmGetEditor(nullptr, nullptr));
  EXPECT_FALSE(QmAddEditor(nullptr, 0));  // id 0 is never added
}

// One editing run over a generated sample, as the application drives it.
class EditingRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(qm::testing::RunQmpe("sample " + folder_.path().string() + "/plant --seed 3"), 0);
    project_ = folder_.Text("plant/plant.qmp");
    manager_ = QmCreateEditorManager();
    ASSERT_NE(manager_, nullptr);
  }
  void TearDown() override { QmCloseEditorManager(manager_); }

  TempFolder folder_;
  std::u16string project_;
  qm::CEditorManager* manager_ = nullptr;
};

TEST_F(EditingRun, OpenReadSaveAndClose) {
  qm::EventHandle event = QmOpenEditor(manager_, project_.c_str(), 0x5EED);
  ASSERT_NE(event, nullptr);
  EXPECT_EQ(QmOpenEditor(manager_, project_.c_str(), 0x5EED), nullptr);  // already open
  qm::EditorData* editor = QmGetEditorData(manager_);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->projectPath, project_);

  qm::ConfigTableSet* working = QmGetAllTables(editor->configManager, 0x100 | 1);
  qm::ConfigTableSet* snapshot = QmGetAllTables(editor->configManager, 0x100);
  ASSERT_NE(working, nullptr);
  EXPECT_NE(working, snapshot);  // only the low byte selects
  ASSERT_FALSE(working->ioPorts->empty());

  auto& port = working->ioPorts->begin()->second;
  port.head.name = u"Renamed port";
  EXPECT_EQ(QmSaveConfigEx(editor->configManager, qm::kTableIo, 0), 0);
  EXPECT_EQ(snapshot->ioPorts->begin()->second.head.name, u"Renamed port");

  EXPECT_NE(QmGetConfigHandleEx(editor->configManager), 0u);
  std::u16string copy = folder_.Text("plant/copy.qmp");
  EXPECT_EQ(QmSaveAsConfigEx(editor->configManager, copy.c_str()), 0);
  EXPECT_TRUE(std::filesystem::exists(folder_ / "plant/copy.qmp"));

  // What the saves and the listing do is the managers' tests' subject;
  // here, that the exports pass their arguments through.
  qm::FileNameSet files;
  qm::PatternList include = {u"*.JS"};
  int32_t count = QmGetAllFiles(editor->fileManager, &files, &include, nullptr, 0);
  EXPECT_GT(count, 0);
  EXPECT_EQ(static_cast<size_t>(count), files.size());
  for (const std::u16string& file : files) {
    EXPECT_TRUE(file.ends_with(u".js") || file.ends_with(u".JS") || file.ends_with(u".Js"));
  }

  QmCloseEditor(manager_);
  EXPECT_EQ(QmGetEditorData(manager_), nullptr);
  QmCloseEditor(manager_);  // harmless twice
  EXPECT_NE(QmOpenEditor(manager_, project_.c_str(), 0x5EED), nullptr);  // open again
}

// A project whose folder and file names lie outside ASCII (and outside any
// one ANSI code page) opens whole, finds in its tables and files, and saves.
TEST_F(EditingRun, NamesOutsideAsciiOpenFindAndSave) {
  const std::filesystem::path folder = folder_.path() / std::filesystem::path(u8"Anlage S\u00FCd \u0416");
  std::filesystem::rename(folder_ / "plant", folder);
  std::filesystem::rename(folder / "plant.qmp", folder / std::filesystem::path(u8"Pr\u00FCfstand.qmp"));
  const std::u16string project = (folder / std::filesystem::path(u8"Pr\u00FCfstand.qmp")).u16string();
  ASSERT_NE(QmOpenEditor(manager_, project.c_str(), 0), nullptr);
  qm::EditorData* editor = QmGetEditorData(manager_);
  ASSERT_FALSE(QmGetAllTables(editor->configManager, 1)->ioTags->empty());  // not opened empty
  qm::FindResultList results;
  ASSERT_GT(QmFind(manager_, &results, u"Entire Project", u"OverflowAlarmResetLatch", 0), 0);
  EXPECT_EQ(results.back().tableNumber, 24);  // the files were read too
  const std::u16string copy = (folder / std::filesystem::path(u8"Kopie \u00FC.qmp")).u16string();
  EXPECT_EQ(QmSaveAsConfigEx(editor->configManager, copy.c_str()), 0);
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(copy)));
}

TEST_F(EditingRun, OpenMovesARegisteredEditorToTheProject) {
  std::u16string elsewhere = folder_.Text("elsewhere.qmp");
  ASSERT_TRUE(QmAddEditor(elsewhere.c_str(), 4711));
  ASSERT_NE(QmOpenEditor(manager_, project_.c_str(), 4711), nullptr);
  int32_t id = 0;
  EXPECT_TRUE(QmGetEditor(project_.c_str(), &id));
  EXPECT_EQ(id, 4711);
  EXPECT_FALSE(QmEditorExists(elsewhere.c_str()));
  qm::EditorMap editors;
  EXPECT_GE(QmGetEditors(&editors), 1);
  // The key is the prepared path (folded where paths ignore case).
  EXPECT_EQ(std::count_if(editors.begin(), editors.end(),
                          [](const auto& entry) { return entry.second == 4711; }),
            1);
  EXPECT_TRUE(QmRemoveEditor(project_.c_str(), 4711));

  // An id that never registered stays unregistered.
  QmCloseEditor(manager_);
  ASSERT_NE(QmOpenEditor(manager_, project_.c_str(), 4712), nullptr);
  EXPECT_FALSE(QmEditorExists(project_.c_str()));
}

TEST_F(EditingRun, FailedOpensLeaveTheManagerIdle) {
  EXPECT_EQ(QmOpenEditor(manager_, nullptr, 1), nullptr);
  EXPECT_EQ(QmOpenEditor(manager_, u"", 1), nullptr);
  std::u16string missing = folder_.Text("plant/missing.qmp");
  EXPECT_EQ(QmOpenEditor(manager_, missing.c_str(), 1), nullptr);  // nothing there
  std::u16string notProject = folder_.Text("plant/notes.txt");
  std::ofstream(folder_ / "plant/notes.txt") << "not a database\n";
  EXPECT_EQ(QmOpenEditor(manager_, notProject.c_str(), 1), nullptr);
  EXPECT_EQ(QmGetEditorData(manager_), nullptr);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "plant/missing.qmp"));
  EXPECT_NE(QmOpenEditor(manager_, project_.c_str(), 1), nullptr);
}

}  // namespace
