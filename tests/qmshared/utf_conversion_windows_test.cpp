// The Windows backend converts UTF-8 with the system's converter, whose rule
// for ill-formed bytes is its own: whatever it gives, ours is the same,
// piece by piece and whole.
#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>

#include "platform/file_names.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

std::u16string SystemConversion(const std::string& bytes) {
  if (bytes.empty()) return {};
  std::wstring text(bytes.size(), L'\0');
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                           text.data(), static_cast<int>(text.size()));
  return std::u16string(text.begin(), text.begin() + length);
}

TEST(BytesToTextTest, IsTheSystemsConversionOfAnyBytes) {
  const char pieces[][5] = {"a", "\xC3\xA9", "\xE2\x82", "\xF0\x80\x80", "\xC0\xAF", "\x80",
                            "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF0\x9F\x98\x80", "\xFF"};
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    for (int n = random() % 6; n > 0; --n) bytes += pieces[random() % std::size(pieces)];
    std::u16string ours;
    BytesToTextN(&ours, bytes);
    ASSERT_EQ(ours, SystemConversion(bytes)) << ::testing::PrintToString(bytes);
  }
}

TEST(FileNamesTest, RelativePathsAsTheShellSaysThem) {
  EXPECT_TRUE(platform::IsRelativePath(u"pages\\a.html"));
  EXPECT_FALSE(platform::IsRelativePath(u"C:\\srv"));
  EXPECT_FALSE(platform::IsRelativePath(u"\\\\server\\share"));
}

}  // namespace
}  // namespace qm
