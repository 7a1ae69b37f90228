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

}  // namespace
}  // namespace qm::platform
