#include "files/file_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "platform/path_limits.h"
#include "qmpecore/qmpecore.h"
#include "support/native_path.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::u16string>;
using testing::Native;

class FileManagerTest : public ::testing::Test {
 protected:
  void Touch(const std::u16string& relative) { testing::WriteFileBytes(temp_.path() / relative, "x"); }

  std::unique_ptr<CFileManager> Open(const std::u16string& projectFile) {
    int32_t code = -1;
    std::unique_ptr<CFileManager> manager(CreateFileManager(Full(projectFile).c_str(), &code));
    EXPECT_EQ(code, 0);
    return manager;
  }

  static Names List(CFileManager& manager, int32_t flags, const PatternList* include = nullptr,
                    const PatternList* exclude = nullptr) {
    FileNameSet out{u"stale"};
    const int32_t count = manager.GetAllFiles(&out, include, exclude, flags);
    EXPECT_EQ(count, static_cast<int32_t>(out.size()));
    return Names(out.begin(), out.end());
  }

  std::u16string Full(const std::u16string& relative) const {
    return temp_.Text() + Native(u"/" + relative);
  }

  qm::testing::TempFolder temp_;
};

TEST_F(FileManagerTest, ListsSortedShortenedAndFlagged) {
  for (const char16_t* name : {u"proj.qmp", u"b.htm", u"a.htm", u"B.css", u"s/c.txt",
                               u".hidden/h.htm", u"s/t/\U0001F600.txt", u"s/t/\uE000.txt"}) {
    Touch(name);
  }
  auto manager = Open(u"proj.qmp");
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->projectFolder(), Full(u""));

  // Code-unit order: upper case before lower case, an astral character
  // (surrogates) before U+E000.
  Names relative{u".hidden/h.htm", u"B.css", u"a.htm", u"b.htm", u"s/c.txt",
                 u"s/t/\U0001F600.txt", u"s/t/\uE000.txt"};
  for (auto& name : relative) name = Native(name);
  EXPECT_EQ(List(*manager, 0), relative);
  Names full;
  for (const auto& name : relative) full.push_back(Full(name));
  EXPECT_EQ(List(*manager, kFilesFullPaths), full);
  EXPECT_TRUE(fs::exists(fs::path(full.back())));  // the name round-trips

  Names withProject = relative;
  withProject.insert(withProject.begin() + 4, u"proj.qmp");
  EXPECT_EQ(List(*manager, kFilesKeepProjectFile), withProject);

  // The scan is depth-first pre-order: a subfolder's files stay together.
  const auto& files = manager->files();
  const auto inS = [&](const std::u16string& path) { return path.rfind(Full(u"s/"), 0) == 0; };
  const auto first = std::find_if(files.begin(), files.end(), inS);
  EXPECT_EQ(std::count_if(files.begin(), files.end(), inS), 3);
  EXPECT_TRUE(std::all_of(first, first + 3, inS));

  manager->Close();
  EXPECT_TRUE(List(*manager, 0).empty());
  EXPECT_EQ(manager->Init(Full(u"proj.qmp").c_str(), 0), kErrorAlreadyExists);
}

TEST_F(FileManagerTest, FiltersMatchFullPaths) {
  for (const char16_t* name : {u"proj.qmp", u"b.htm", u"a.htm", u"B.css", u"s/c.txt"}) {
    Touch(name);
  }
  auto manager = Open(u"proj.qmp");
  ASSERT_NE(manager, nullptr);
  const Names all = List(*manager, 0);
  ASSERT_EQ(all.size(), 4u);

  const PatternList empty;
  EXPECT_EQ(List(*manager, 0, &empty, &empty), all);
  const PatternList include{u"*.htm", u"*.CSS"};
  const PatternList exclude{Native(u"*/b.*")};
  EXPECT_EQ(List(*manager, 0, &include), (Names{u"B.css", u"a.htm", u"b.htm"}));
  EXPECT_EQ(List(*manager, 0, &include, &exclude), (Names{u"a.htm"}));
  // A relative pattern never covers a full path.
  const PatternList relative{u"a.htm"};
  EXPECT_TRUE(List(*manager, 0, &relative).empty());
  const PatternList project{Full(u"PROJ.QMP")};
  EXPECT_EQ(List(*manager, kFilesKeepProjectFile, &project), (Names{u"proj.qmp"}));
}

TEST_F(FileManagerTest, InitCodes) {
  Touch(u"proj.qmp");
  const std::u16string project = Full(u"proj.qmp");
  CFileManager manager;
  EXPECT_EQ(manager.Init(nullptr, 0), kErrorInvalidName);
  EXPECT_EQ(manager.Init(u"", 0), kErrorInvalidName);
  EXPECT_EQ(manager.Init(Full(u"missing.qmp").c_str(), 0), kErrorFileNotFound);
  const std::u16string tooLong = Full(std::u16string(platform::kPathFieldUnits, u'a'));
  EXPECT_EQ(manager.Init(tooLong.c_str(), 0), kErrorFilenameExcedRange);
  ASSERT_EQ(manager.Init(project.c_str(), 0), 0);
  Touch(u"new.txt");
  EXPECT_EQ(manager.Init(Full(u"new.txt").c_str(), 0), kErrorAlreadyExists);
  EXPECT_EQ(manager.projectPath(), project);
  EXPECT_EQ(manager.files().size(), 1u);  // proj.qmp alone: no second scan

  int32_t code = 0;
  EXPECT_EQ(CreateFileManager(Full(u"missing.qmp").c_str(), &code), nullptr);
  EXPECT_EQ(code, kErrorFileNotFound);
  EXPECT_EQ(CreateFileManager(nullptr, &code), nullptr);
  EXPECT_EQ(code, kErrorInvalidName);
}

// (A null manager's answer is checked with the other exports.)
TEST(FileExportTest, ManagerThatWasNeverInitialisedListsNothing) {
  FileNameSet out{u"stale"};
  CFileManager empty;
  EXPECT_EQ(QmGetAllFiles(&empty, &out, nullptr, nullptr, 0), 0);
  EXPECT_TRUE(out.empty());
}

}  // namespace
}  // namespace qm
