// Reading whole files into a reused buffer, and the failures named.
#include "platform/file_read.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qm::platform
