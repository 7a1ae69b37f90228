// Paths as long as Windows takes them without the "\\?\" prefix: a project
// file whose full path fills MAX_PATH opens and lists its files, and one
// unit more is refused as too long, not cut.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "files/file_manager.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

TEST(WindowsFileManagerTest, ProjectPathsUpToMaxPath) {
  testing::TempFolder temp;
  // A folder that leaves room for "\p.qmp" and nothing more: the full path
  // of the project file is MAX_PATH - 1 units, as the system takes it.
  const std::u16string base = temp.Text() + u"\\";
  const size_t folderUnits = MAX_PATH - 1 - base.size() - std::u16string(u"\\p.qmp").size();
  ASSERT_LT(folderUnits, 240u);
  const std::u16string folder = base + std::u16string(folderUnits, u'd');
  ASSERT_TRUE(std::filesystem::create_directory(std::filesystem::path(folder)));
  const std::u16string project = folder + u"\\p.qmp";
  ASSERT_EQ(project.size(), static_cast<size_t>(MAX_PATH - 1));
  std::ofstream(std::filesystem::path(project)).put('x');

  CFileManager manager;
  ASSERT_EQ(manager.Init(project.c_str(), 0), 0);
  FileNameSet files;
  EXPECT_EQ(manager.GetAllFiles(&files, nullptr, nullptr, kFilesFullPaths | kFilesKeepProjectFile),
            1);
  EXPECT_EQ(*files.begin(), project);
  EXPECT_EQ(CFileManager().Init((project + u"x").c_str(), 0), kErrorFilenameExcedRange);
}

}  // namespace
}  // namespace qm
