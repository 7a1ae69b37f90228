// The failures of the POSIX backend's whole-file read, each named with the
// step and errno.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <fstream>
#include <string>

#include "platform/file_read.h"
#include "read_failure.h"
#include "support/temp_folder.h"

namespace qm::platform {
namespace {

TEST(FileRead, NamesTheStepThatFailed) {
  testing::TempFolder folder;
  std::ofstream(folder / "file") << "data";
  ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0600), 0);
  FileBuffer buffer;
  const std::u16string file = folder.Text("file");
  const auto expectFailure = [&](std::u16string_view path, FileReadError error, int systemError) {
    ExpectReadFailure(file, path, error, systemError, &buffer);
  };
  expectFailure(folder.Text("missing"), FileReadError::kOpen, ENOENT);
  expectFailure(folder.Text("file") + u"/below", FileReadError::kOpen, ENOTDIR);
  expectFailure(folder.Text(), FileReadError::kNotAFile, 0);
  expectFailure(folder.Text("pipe"), FileReadError::kNotAFile, 0);  // returns, never waits
  expectFailure(std::u16string(u"/tmp\0x", 6), FileReadError::kOpen, EINVAL);
}

// A file that holds fewer bytes than its size says, as one truncated after
// the size was taken does: the read gives the bytes that were there and
// none of what the buffer held before. Files of the kernel's /sys are
// such files at every read (their size is a page, their text shorter).
TEST(FileRead, AFileShorterThanItsSizeGivesOnlyItsBytes) {
  const char* const shortFile = "/sys/devices/system/cpu/online";
  std::string expected;
  if (!std::getline(std::ifstream(shortFile), expected)) GTEST_SKIP() << "no " << shortFile;
  struct stat info;
  ASSERT_EQ(stat(shortFile, &info), 0);
  ASSERT_GT(static_cast<size_t>(info.st_size), expected.size() + 1);
  testing::TempFolder folder;
  std::ofstream(folder / "long") << std::string(static_cast<size_t>(info.st_size), 'x');
  FileBuffer buffer;
  ASSERT_TRUE(ReadFileText(folder.Text("long"), &buffer).ok());
  ASSERT_TRUE(ReadFileText(u"/sys/devices/system/cpu/online", &buffer).ok());
  EXPECT_EQ(buffer.bytes(), expected + "\n");
}

}  // namespace
}  // namespace qm::platform
