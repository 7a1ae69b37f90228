// What the POSIX backend's UTF-8 conversions do that the Windows one does
// its own way: ill-formed UTF-8 as ICU replaces it, and file names, which
// are bytes here.
#include <gtest/gtest.h>

#include <string>

#include "platform/file_names.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

std::u16string FromBytes(const char* bytes) {
  std::u16string text;
  BytesToText(&text, bytes, kCodePageUtf8, 1);
  return text;
}

// Each maximal ill-formed subsequence gives one U+FFFD (the answers of the
// Unicode standard's "U+FFFD substitution of maximal subparts").
TEST(BytesToTextTest, SubstitutesEachMaximalIllFormedSubsequence) {
  EXPECT_EQ(FromBytes("\xF0\x80\x80"), u"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(FromBytes("\xC0\xAF"), u"\uFFFD\uFFFD");
  EXPECT_EQ(FromBytes("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(FromBytes("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
}

TEST(FileNamesTest, EveryByteSequenceRoundTrips) {
  const std::string names[] = {"plain.txt", "caf\xC3\xA9 \xF0\x9F\x98\x80", "bad\xFF\xFE",
                               "\xED\xA0\x80", "\xE2\x82", "\xC0\xAF", "\xF0\x9F\x98"};
  for (const std::string& name : names) {
    EXPECT_EQ(platform::TextToNativeName(platform::NativeNameToText(name)), name);
  }
  for (int byte = 1; byte < 256; ++byte) {
    const std::string name(1, static_cast<char>(byte));
    EXPECT_EQ(platform::TextToNativeName(platform::NativeNameToText(name)), name);
  }
  EXPECT_EQ(platform::NativeNameToText("a\xFF\xC3\xA9"), u"a\xDCFF\u00E9");
  // Surrogates that no name on disk gives still give distinct names.
  EXPECT_NE(platform::TextToNativeName(u"\xD800"), platform::TextToNativeName(u"\xD801"));
  EXPECT_TRUE(platform::IsRelativePath(u"pages/a.html"));
  EXPECT_TRUE(platform::IsRelativePath(u""));
  EXPECT_FALSE(platform::IsRelativePath(u"/srv"));
}

}  // namespace
}  // namespace qm
