// UTF-8/UTF-16 conversion of texts and of POSIX file names.
#include <gtest/gtest.h>

#include <string>

#include "platform/file_names.h"
#include "shared_lib/qmshared.h"

namespace qm {
namespace {

std::u16string FromBytes(const char* bytes) {
  std::u16string text = u"stale";
  BytesToText(&text, bytes, kCodePageUtf8, 1);
  return text;
}

// Each maximal ill-formed subsequence gives one U+FFFD (the answers of the
// Unicode standard's "U+FFFD substitution of maximal subparts").
TEST(BytesToTextTest, SubstitutesEachMaximalIllFormedSubsequence) {
  EXPECT_EQ(FromBytes("\xE2\x82" "A"), u"\uFFFDA");
  EXPECT_EQ(FromBytes("\xF0\x80\x80"), u"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(FromBytes("\xC0\xAF"), u"\uFFFD\uFFFD");
  EXPECT_EQ(FromBytes("\x80\xBF" "x\xBF"), u"\uFFFD\uFFFDx\uFFFD");
  EXPECT_EQ(FromBytes("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(FromBytes("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(FromBytes("\xF1\x80\x80" "z\xE1\x80"), u"\uFFFDz\uFFFD");
  EXPECT_EQ(FromBytes("a\xC3\xA9\xF0\x9F\x98\x80"), u"a\u00E9\U0001F600");
}

TEST(BytesToTextTest, StopsAtZeroKeepsBomAndSpeaksOnlyUtf8) {
  EXPECT_EQ(FromBytes("ab\0cd"), u"ab");
  EXPECT_EQ(FromBytes("\xEF\xBB\xBFline"), u"\uFEFFline");
  std::u16string text;
  BytesToTextN(&text, std::string_view("ab\0c\xFF", 5));
  EXPECT_EQ(text, std::u16string(u"ab\0c\uFFFD", 5));
  BytesToText(&text, "abc", 1252, 1);
  EXPECT_EQ(text, u"");
  BytesToText(&text, nullptr, kCodePageUtf8, 1);
  EXPECT_EQ(text, u"");
}

TEST(TextToBytesTest, RoundTripsAndReplacesUnpairedSurrogates) {
  const std::u16string text = u"A\u00E9\u20AC\U0001F600\U00010400\uFEFF";
  std::string bytes;
  TextToBytes(&bytes, text, kCodePageUtf8, 1);
  EXPECT_EQ(bytes, "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF0\x90\x90\x80\xEF\xBB\xBF");
  std::u16string back;
  BytesToTextN(&back, bytes);
  EXPECT_EQ(back, text);
  TextToBytes(&bytes, u"\xD800x\xDC00\xDBFF", kCodePageUtf8, 1);
  EXPECT_EQ(bytes, "\xEF\xBF\xBDx\xEF\xBF\xBD\xEF\xBF\xBD");
  TextToBytes(&bytes, u"abc", 1252, 1);
  EXPECT_EQ(bytes, "");
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
