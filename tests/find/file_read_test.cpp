// Reading the texts of files into a reused buffer, and the failures named.
#include "platform/file_read.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/temp_folder.h"

namespace qm::platform {
namespace {

TEST(FileRead, ReadsTextsUpToTheirFirstZeroIntoOneBuffer) {
  testing::TempFolder folder;
  const std::string big(70000, 'x');
  std::ofstream(folder / "big") << big;
  std::ofstream(folder / "small", std::ios::binary) << std::string("ab\0c", 4);
  std::ofstream(folder / "empty");
  // A zero far beyond the first piece the read takes, and one at the start.
  std::string binary(3'500'000, 'y');
  binary[2'600'000] = '\0';
  std::ofstream(folder / "binary", std::ios::binary) << binary;
  std::ofstream(folder / "zero", std::ios::binary) << std::string("\0abc", 4);
  FileBuffer buffer;
  for (int pass = 0; pass < 2; ++pass) {
    ASSERT_TRUE(ReadFileText(folder.Text("big"), &buffer).ok());
    EXPECT_EQ(buffer.bytes(), big);
    ASSERT_TRUE(ReadFileText(folder.Text("small"), &buffer).ok());
    EXPECT_EQ(buffer.bytes(), "ab");
    EXPECT_EQ(buffer.bytes().data()[2], '\0');  // the terminator after the bytes
    ASSERT_TRUE(ReadFileText(folder.Text("empty"), &buffer).ok());
    EXPECT_EQ(buffer.bytes(), "");
    ASSERT_TRUE(ReadFileText(folder.Text("binary"), &buffer).ok());
    EXPECT_EQ(buffer.bytes(), std::string_view(binary).substr(0, 2'600'000));
    ASSERT_TRUE(ReadFileText(folder.Text("zero"), &buffer).ok());
    EXPECT_EQ(buffer.bytes(), "");
  }
}

}  // namespace
}  // namespace qm::platform
