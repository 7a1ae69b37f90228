// UTF-8/UTF-16 conversion of texts, where both platforms agree.
#include <gtest/gtest.h>

#include <string>

#include "qmshared/qmshared.h"

namespace qm {
namespace {

std::u16string FromBytes(const char* bytes) {
  std::u16string text = u"stale";
  BytesToText(&text, bytes, kCodePageUtf8, 1);
  return text;
}

// Both converters keep well-formed text and put at least one U+FFFD where
// the bytes are ill-formed; how many is each platform's own rule
// (utf_conversion_*_test.cpp).
TEST(BytesToTextTest, ReplacesIllFormedBytesAndKeepsTheRest) {
  EXPECT_EQ(FromBytes("\xE2\x82" "A"), u"\uFFFDA");
  EXPECT_EQ(FromBytes("\x80\xBF" "x\xBF"), u"\uFFFD\uFFFDx\uFFFD");
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

}  // namespace
}  // namespace qm
