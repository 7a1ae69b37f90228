// The word characters of the whole-word find against ICU's general
// categories, for every code point both know.
#include <gtest/gtest.h>
#include <unicode/uchar.h>

#include <cstring>

#include "find/word_characters.h"

namespace qm {
namespace {

// Letters, digits and connector punctuation, for every character assigned
// by Unicode 14 (what PCRE2 10.42 knows; a newer ICU knows more).
TEST(WordCharacters, AreLettersDigitsAndConnectorsAsIcuHasThem) {
  const UVersionInfo known = {14, 0, 0, 0};
  size_t words = 0;
  for (UChar32 c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    UVersionInfo age;
    u_charAge(c, age);
    if (u_getIntPropertyValue(c, UCHAR_GENERAL_CATEGORY) == U_UNASSIGNED ||
        std::memcmp(age, known, sizeof age) > 0) {
      continue;
    }
    const bool expected = (U_GET_GC_MASK(c) & (U_GC_L_MASK | U_GC_N_MASK | U_GC_PC_MASK)) != 0;
    ASSERT_EQ(IsWordCharacter(static_cast<char32_t>(c)), expected) << std::hex << c;
    words += expected;
  }
  EXPECT_GT(words, 100000u);
  EXPECT_FALSE(IsWordCharacter(0x110000));
}

TEST(WordCharacters, WholeWordsStopAtAnythingElse) {
  struct Case {
    std::u16string_view text;
    size_t start, length;
    bool whole;
  };
  const Case cases[] = {
      {u"tank", 0, 4, true},          {u"tank1", 0, 4, false},      {u"_tank", 1, 4, false},
      {u"a\u00E9tank", 2, 4, false},  {u"\u203Ftank", 1, 4, false},  // U+203F is Pc
      {u"-tank.", 1, 4, true},        {u"tank\u0660", 0, 4, false},  // Arabic-Indic digit
      {u"\U00010400tank", 2, 4, false}, {u"\U0001F600tank", 2, 4, true},
      {std::u16string_view(u"\xDC00tank\xD801", 6), 1, 4, true},  // lone surrogates
      {u"tank\u2163", 0, 4, false},   // a Roman numeral (Nl)
      {u"tank\u0301", 0, 4, true},    // a combining mark is not a word character
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsWholeWordAt(c.text, c.start, c.length), c.whole)
        << ::testing::PrintToString(std::u16string(c.text));
  }
}

}  // namespace
}  // namespace qm
