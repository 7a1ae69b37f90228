// The failures of the Windows backend's whole-file read, each named with the
// step and the system's error code.
#include <gtest/gtest.h>
#include <windows.h>

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
  std::ofstream(folder / "held") << "data";
  // Held open by another without sharing, as an editor that saves it would.
  const HANDLE held = ::CreateFileW(folder.path().wstring().append(L"\\held").c_str(),
                                    GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  FileBuffer buffer;
  const std::u16string file = folder.Text("file");
  const auto expectFailure = [&](std::u16string_view path, FileReadError error, int systemError) {
    ExpectReadFailure(file, path, error, systemError, &buffer);
  };
  expectFailure(folder.Text("missing"), FileReadError::kOpen, ERROR_FILE_NOT_FOUND);
  expectFailure(folder.Text("held"), FileReadError::kOpen, ERROR_SHARING_VIOLATION);
  expectFailure(folder.Text(), FileReadError::kNotAFile, 0);
  expectFailure(std::u16string(u"C:\\x\0y", 6), FileReadError::kOpen, ERROR_INVALID_NAME);
  ::CloseHandle(held);
  EXPECT_TRUE(ReadFileText(folder.Text("held"), &buffer).ok());
}

// Our own read holds no sharing either: another program cannot write the
// file while it is searched. (Reading it whole leaves no handle behind.)
TEST(FileRead, LeavesNoHandleOpen) {
  testing::TempFolder folder;
  std::ofstream(folder / "file") << "data";
  FileBuffer buffer;
  ASSERT_TRUE(ReadFileText(folder.Text("file"), &buffer).ok());
  std::ofstream(folder / "file") << "new data";
  ASSERT_TRUE(ReadFileText(folder.Text("file"), &buffer).ok());
  EXPECT_EQ(buffer.bytes(), "new data");
}

}  // namespace
}  // namespace qm::platform
