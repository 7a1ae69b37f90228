// The word characters of the whole-word find against ICU's general
// categories (through the reference), for every code point.
#include <gtest/gtest.h>

#include "find/word_characters.h"
#include "reference_match.h"

namespace qm {
namespace {

// Letters, digits and connector punctuation as ICU has them, for every
// character that PCRE2's tables know; what Unicode added after them is
// no word character on any platform.
TEST(WordCharacters, AreLettersDigitsAndConnectorsAsIcuHasThem) {
  size_t words = 0;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const bool expected = testing::ReferenceIsWordCharacter(c);
    ASSERT_EQ(IsWordCharacter(c), expected) << std::hex << static_cast<uint32_t>(c);
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
