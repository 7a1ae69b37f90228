// What the POSIX backend's UTF-8 conversions do that the Windows one does
// its own way: ill-formed UTF-8 as ICU replaces it, and file names, which
// are bytes here.
#include <gtest/gtest.h>

#include <random>
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


// Over random names: any bytes read as a text that writes back the same
// bytes, each byte of no well-formed sequence as one unit U+DC80..U+DCFF.
// Back the other way, a text of characters and such units writes bytes
// that read as the same text, as long as its escaped bytes spell no
// well-formed sequence; where they do, they are that character's bytes,
// and both texts name the one file.
TEST(FileNamesTest, RandomNamesAndTextsRoundTrip) {
  std::mt19937_64 random(11);
  for (int round = 0; round < 50000; ++round) {
    // ASCII, continuation bytes and lead bytes alike, so that sequences
    // form and break.
    std::string bytes;
    for (size_t i = 0, n = random() % 12; i < n; ++i) {
      bytes.push_back(static_cast<char>(random() % 3 == 0 ? random() % 0x80 : 0x80 + random() % 0x80));
    }
    const std::u16string text = platform::NativeNameToText(bytes);
    ASSERT_EQ(platform::TextToNativeName(text), bytes) << ::testing::PrintToString(bytes);
    for (size_t i = 0; i < text.size(); ++i) {
      const char16_t unit = text[i];
      if (unit >= 0xD800 && unit <= 0xDBFF) {
        ASSERT_TRUE(i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF);
        ++i;
      } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
        ASSERT_TRUE(unit >= 0xDC80 && unit <= 0xDCFF) << ::testing::PrintToString(bytes);
      }
    }
  }
  const auto character = [&random](std::u16string* text) {
    switch (random() % 3) {
      case 0:
        text->push_back(static_cast<char16_t>(1 + random() % 0x7F));
        break;
      case 1: {
        char16_t unit = 0;
        while (unit < 0x80 || (unit >= 0xD800 && unit <= 0xDFFF)) unit = random() % 0x10000;
        text->push_back(unit);
        break;
      }
      default: {
        const char32_t c = 0x10000 + random() % 0x100000;
        text->push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
        text->push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
      }
    }
  };
  for (int round = 0; round < 50000; ++round) {
    std::u16string text;
    for (size_t i = 0, n = random() % 8; i < n; ++i) {
      switch (random() % 3) {
        case 0:
          character(&text);
          break;
        case 1: {  // a byte that begins no sequence: a continuation byte, C0, C1, F5..FF
          const uint64_t byte = 0x80 + random() % 0x80;
          if (byte >= 0xC2 && byte <= 0xF4) continue;
          text.push_back(static_cast<char16_t>(0xDC00 + byte));
          break;
        }
        default:  // a lead byte whose sequence a character breaks off
          text.push_back(static_cast<char16_t>(0xDC00 + 0xC2 + random() % (0xF5 - 0xC2)));
          character(&text);
      }
    }
    ASSERT_EQ(platform::NativeNameToText(platform::TextToNativeName(text)), text)
        << ::testing::PrintToString(text);
  }
  EXPECT_EQ(platform::NativeNameToText(platform::TextToNativeName(u"\xDCC3\xDCA9")), u"\u00E9");
}

}  // namespace
}  // namespace qm
