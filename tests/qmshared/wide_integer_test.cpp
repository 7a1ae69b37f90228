// The integer at the start of a text, read as the C runtime's _wtoi reads
// it: the blanks and digits of every script that the runtime takes.
#include "platform/wide_integer.h"

#include <gtest/gtest.h>

#include <climits>
#include <iterator>
#include <string>
#include <utility>

namespace qm::platform {
namespace {

TEST(WideIntegerTest, ReadsSignsDigitsAndSaturates) {
  const std::pair<const char16_t*, int32_t> cases[] = {
      {u"", 0},           {u"abc", 0},        {u"- 5", 0},        {u"+-5", 0},
      {u"12abc34", 12},   {u"-0", 0},         {u" \t\n\v\f\r+7", 7},
      {u"2147483647", INT32_MAX},             {u"2147483648", INT32_MAX},
      {u"-2147483648", INT32_MIN},            {u"-2147483649", INT32_MIN},
      {u"000000000000000000000000042", 42},   {u"99999999999999999999999", INT32_MAX}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(ReadWideInteger(cases[i].first), cases[i].second) << "case " << i;
  }
}

// Each run of ten digits reads from its zero to its nine, and the units
// either side of the run end the number.
TEST(WideIntegerTest, ReadsTheDigitsOfEveryScriptTheRuntimeKnows) {
  const char16_t zeros[] = {0x0030, 0x0660, 0x06F0, 0x0966, 0x09E6, 0x0A66,
                            0x0AE6, 0x0B66, 0x0C66, 0x0CE6, 0x0D66, 0x0E50,
                            0x0ED0, 0x0F20, 0x1040, 0x17E0, 0x1810, 0xFF10};
  for (char16_t zero : zeros) {
    const std::u16string digits = {static_cast<char16_t>(zero + 9), zero,
                                   static_cast<char16_t>(zero + 1)};
    EXPECT_EQ(ReadWideInteger(digits), 901) << std::hex << +zero;
    for (char16_t outside : {static_cast<char16_t>(zero - 1), static_cast<char16_t>(zero + 10)}) {
      EXPECT_EQ(ReadWideInteger(std::u16string{u'4', outside}), 4) << std::hex << +outside;
    }
  }
  EXPECT_EQ(ReadWideInteger(u"5\u0660\uFF11"), 501);             // scripts mixed
  EXPECT_EQ(ReadWideInteger(u"-\u0967\u0968"), -12);            // Devanagari after a sign
  EXPECT_EQ(ReadWideInteger(u"3\u00B2"), 3);                     // superscript two is none
  EXPECT_EQ(ReadWideInteger(u"\uFF19\uFF19\uFF19\uFF19\uFF19\uFF19\uFF19\uFF19\uFF19\uFF19"),
            INT32_MAX);
}

TEST(WideIntegerTest, SkipsUnicodeSpacesButNotNextLineOrByteOrderMark) {
  for (char16_t blank : {u'\u00A0', u'\u1680', u'\u2000', u'\u200A', u'\u2028', u'\u2029',
                         u'\u202F', u'\u205F', u'\u3000'}) {
    EXPECT_EQ(ReadWideInteger(std::u16string{blank, u'-', u'8'}), -8) << std::hex << +blank;
  }
  for (char16_t other : {u'\u0085', u'\uFEFF', u'\u200B', u'\u001C'}) {
    EXPECT_EQ(ReadWideInteger(std::u16string{other, u'8'}), 0) << std::hex << +other;
  }
}

}  // namespace
}  // namespace qm::platform
