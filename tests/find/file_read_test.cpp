// Reading whole files into a reused buffer, and the failures named.
#include "platform/file_read.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <fstream>
#include <string>

#include "support/temp_folder.h"

namespace qm::platform {
namespace {

TEST(FileRead, ReadsWholeFilesIntoOneBuffer) {
  testing::TempFolder folder;
  const std::string big(70000, 'x');
  std::ofstream(folder / "big") << big;
  std::ofstream(folder / "small", std::ios::binary) << std::string("a\0b", 3);
  std::ofstream(folder / "empty");
  FileBuffer buffer;
  for (int pass = 0; pass < 2; ++pass) {
    ASSERT_TRUE(ReadWholeFile(folder.Text("big"), &buffer).ok());
    EXPECT_EQ(buffer.bytes(), big);
    ASSERT_TRUE(ReadWholeFile(folder.Text("small"), &buffer).ok());
    EXPECT_EQ(buffer.bytes(), std::string_view("a\0b", 3));
    EXPECT_EQ(buffer.bytes().data()[3], '\0');  // the terminator after the bytes
    ASSERT_TRUE(ReadWholeFile(folder.Text("empty"), &buffer).ok());
    EXPECT_EQ(buffer.bytes(), "");
  }
}

TEST(FileRead, NamesTheStepThatFailed) {
  testing::TempFolder folder;
  std::ofstream(folder / "file") << "data";
  ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0600), 0);
  FileBuffer buffer;
  const auto expectFailure = [&](std::u16string_view path, FileReadError error, int systemError) {
    ASSERT_TRUE(ReadWholeFile(folder.Text("file"), &buffer).ok());
    const FileReadStatus status = ReadWholeFile(path, &buffer);
    EXPECT_EQ(status.error, error);
    EXPECT_EQ(status.systemError, systemError);
    EXPECT_EQ(buffer.bytes(), "");  // nothing left from the read before
  };
  expectFailure(folder.Text("missing"), FileReadError::kOpen, ENOENT);
  expectFailure(folder.Text("file") + u"/below", FileReadError::kOpen, ENOTDIR);
  expectFailure(folder.Text(), FileReadError::kNotAFile, 0);
  expectFailure(folder.Text("pipe"), FileReadError::kNotAFile, 0);  // returns, never waits
  expectFailure(std::u16string(u"/tmp\0x", 6), FileReadError::kOpen, EINVAL);
}

}  // namespace
}  // namespace qm::platform
