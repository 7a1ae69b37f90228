// What the POSIX file system allows that Windows does not, or only to
// some users: names of any bytes, wildcard characters in names, links.
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>

#include "files/file_manager.h"
#include "platform/file_names.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::u16string>;

class PosixFileManagerTest : public ::testing::Test {
 protected:
  void Touch(const std::u16string& relative) {
    testing::WriteFileBytes(platform::TextToNativeName(temp_.Text() + u"/" + relative), "x");
  }
  static std::u16string AsText(const char* name) { return platform::NativeNameToText(name); }

  std::unique_ptr<CFileManager> Open(const std::u16string& projectFile) {
    int32_t code = -1;
    std::unique_ptr<CFileManager> manager(
        CreateFileManager((temp_.Text() + u"/" + projectFile).c_str(), &code));
    EXPECT_EQ(code, 0);
    return manager;
  }

  static Names List(CFileManager& manager, int32_t flags) {
    FileNameSet out;
    manager.GetAllFiles(&out, nullptr, nullptr, flags);
    return Names(out.begin(), out.end());
  }

  qm::testing::TempFolder temp_;
};

// Bytes that are no UTF-8 become U+DCxx, and back again on the disk.
TEST_F(PosixFileManagerTest, NamesOfAnyBytesRoundTrip) {
  Touch(u"proj.qmp");
  Touch(AsText("\xFF\xFE.txt"));
  auto manager = Open(u"proj.qmp");
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(List(*manager, 0), Names{u"\xDCFF\xDCFE.txt"});
  const Names full = List(*manager, kFilesFullPaths);
  EXPECT_TRUE(fs::exists(platform::TextToNativeName(full.back())));
}

// The project path is one wildcard pattern, never a pattern list: "?"
// stands for one character, while ";" and a leading blank are plain.
TEST_F(PosixFileManagerTest, TheProjectPathLeavesOutWhatItMatches) {
  for (const char* name :
       {" a;b/p?.qmp", " a;b/p1.QMP", " a;b/p12.qmp", " a;b/sub/p2.qmp", " a;b/keep.txt"}) {
    Touch(AsText(name));
  }
  auto manager = Open(u" a;b/p?.qmp");
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(List(*manager, 0), (Names{u"keep.txt", u"p12.qmp", u"sub/p2.qmp"}));
  EXPECT_EQ(List(*manager, kFilesKeepProjectFile),
            (Names{u"keep.txt", u"p1.QMP", u"p12.qmp", u"p?.qmp", u"sub/p2.qmp"}));
}

// A folder lists its files under every path that reaches it, relative
// and absolute links included, but a link back up the path is a cycle and
// is not followed; a link that leads nowhere is listed as it stands.
TEST_F(PosixFileManagerTest, LinksAreFollowedUnderEachNameButNotRoundACycle) {
  Touch(u"proj.qmp");
  Touch(u"real/f.txt");
  fs::create_directory_symlink("real", temp_.path() / "l1");
  fs::create_directory_symlink(temp_.path() / "real", temp_.path() / "l2");
  fs::create_directory_symlink("..", temp_.path() / "real/up");
  fs::create_directory_symlink(".", temp_.path() / "real/self");
  fs::create_symlink("missing", temp_.path() / "dangling");
  auto manager = Open(u"proj.qmp");
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(List(*manager, 0), (Names{u"dangling", u"l1/f.txt", u"l2/f.txt", u"real/f.txt"}));
}

// Two links from each level to the next would give 2^levels paths to the
// last folder if every path were walked; each folder's own path is walked
// whatever the links reached first.
TEST_F(PosixFileManagerTest, LinksThatShareTargetsDoNotMultiplyTheScan) {
  constexpr int kLevels = 30;
  Touch(u"proj.qmp");
  for (int level = 0; level < kLevels; ++level) {
    const std::string name = "d" + std::to_string(level);
    Touch(AsText((name + "/f.txt").c_str()));
    const std::string next = "../d" + std::to_string(level + 1);
    fs::create_directory_symlink(next, temp_.path() / name / "a");
    fs::create_directory_symlink(next, temp_.path() / name / "b");
  }
  auto manager = Open(u"proj.qmp");
  ASSERT_NE(manager, nullptr);
  const Names listed = List(*manager, 0);
  EXPECT_LE(listed.size(), static_cast<size_t>(kLevels * 17));
  for (int level = 0; level < kLevels; ++level) {
    const std::string own = "d" + std::to_string(level) + "/f.txt";
    EXPECT_NE(std::find(listed.begin(), listed.end(), AsText(own.c_str())), listed.end()) << own;
  }
  EXPECT_NE(std::find(listed.begin(), listed.end(), u"d0/a/a/a/f.txt"), listed.end());
}

TEST_F(PosixFileManagerTest, ADanglingLinkIsAProjectThatExists) {
  fs::create_symlink("missing.qmp", temp_.path() / "dangling.qmp");
  EXPECT_EQ(CFileManager().Init((temp_.Text() + u"/dangling.qmp").c_str(), 0), 0);
}

// A folder that cannot be read lists nothing and is kept with its error,
// so that it never passes for an empty one; the walk goes on past it.
TEST_F(PosixFileManagerTest, AFolderThatCannotBeOpenedIsKeptWithItsError) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads a folder of mode 000 all the same";
  Touch(u"proj.qmp");
  Touch(u"locked/hidden.txt");
  Touch(u"open/seen.txt");
  fs::permissions(temp_.path() / "locked", fs::perms::none);
  auto manager = Open(u"proj.qmp");
  fs::permissions(temp_.path() / "locked", fs::perms::owner_all);
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(List(*manager, 0), Names{u"open/seen.txt"});
  EXPECT_EQ(manager->unreadFolders(),
            (std::vector<UnreadFolder>{
                {temp_.Text() + u"/locked/", platform::FsStatus::kAccessDenied, EACCES}}));
}

// Each level of the walk holds its folder open, so a tree deeper than the
// free descriptors runs out of them, for root as for anyone: the folder
// where that happens is kept as unread, and what lies above it is listed.
TEST_F(PosixFileManagerTest, AFolderPastTheFreeDescriptorsIsKeptAsUnread) {
  Touch(u"proj.qmp");
  Touch(u"a/top.txt");
  Touch(u"a/b/c/d/deep.txt");
  rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
  rlimit lowered = saved;
  lowered.rlim_cur = std::min<rlim_t>(saved.rlim_cur, 256);
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &lowered), 0);
  std::vector<int> fillers;
  for (int fd; (fd = open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) fillers.push_back(fd);
  constexpr size_t kFree = 3;  // the project folder, a/ and a/b/
  for (size_t i = 0; i < kFree && !fillers.empty(); ++i) {
    close(fillers.back());
    fillers.pop_back();
  }
  auto manager = Open(u"proj.qmp");
  for (int fd : fillers) close(fd);
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &saved), 0);
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(List(*manager, 0), Names{u"a/top.txt"});
  EXPECT_EQ(manager->unreadFolders(),
            (std::vector<UnreadFolder>{
                {temp_.Text() + u"/a/b/c/", platform::FsStatus::kTooManyOpenFiles, EMFILE}}));
}

}  // namespace
}  // namespace qm
