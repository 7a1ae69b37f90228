// Offsets and alphabets of the prepared needle; whether fields match is
// checked against a reference in table_search_reference_test.cpp.
#include "find/search_needle.h"

#include <gtest/gtest.h>

#include "platform/text_case.h"

namespace qm {
namespace {

constexpr size_t npos = SearchNeedle::npos;

TEST(SearchNeedleTest, FindsTheFirstOccurrenceInUnits) {
  EXPECT_EQ(SearchNeedle(u"aba", 0).FindIn(u"xxABABA"), 2u);
  EXPECT_EQ(SearchNeedle(u"ab", 1).FindIn(u"AbaB ab"), 5u);
  EXPECT_EQ(SearchNeedle(u"k", 0).FindIn(u"\U00010400x\u212A"), 3u);  // Kelvin sign
  // Deseret capital and small letters: surrogate pairs that fold together
  // where the platform folds them (text_case_*_test.cpp).
  const bool pairsFold = platform::FoldCodePoint(0x10400) == 0x10428;
  EXPECT_EQ(SearchNeedle(u"a\U00010400", 2).FindIn(u"xA\U00010428"), pairsFold ? 1u : npos);
  EXPECT_EQ(SearchNeedle(u"\U00010428", 0).FindIn(u"\U00010400"), pairsFold ? 0u : npos);
  EXPECT_EQ(SearchNeedle(u"\U00010428", 1).FindIn(u"\U00010400"), npos);
  EXPECT_EQ(SearchNeedle(u"aba", 0).FindIn(u"ab"), npos);
  EXPECT_EQ(SearchNeedle(u"", 0).FindIn(u"abc"), npos);
}

// The scan tests a haystack unit against the needle's first unit without
// folding it where it can; that test must accept exactly the units that
// fold to it. Checked over every BMP unit for needles whose first unit has
// no other unit folding to it, one other (one bit apart or not), several,
// and for surrogates and non-letters.
TEST(SearchNeedleTest, FirstUnitMatchesExactlyTheUnitsFoldingToIt) {
  const std::u16string toK = platform::UnitsFoldingTo(u'k');  // more on Windows
  EXPECT_NE(toK.find(u'K'), std::u16string::npos);
  EXPECT_NE(toK.find(u'\u212A'), std::u16string::npos);
  EXPECT_EQ(platform::UnitsFoldingTo(u'K'), u"");
  const char16_t* fold = platform::BmpFoldTable();
  for (char16_t first : {u'a', u'k', u's', u'7', u' ', u'\u00E5', u'\u03C3', u'\u03B8', u'\u0131',
                         u'\u0561', u'\u1E9E', char16_t{0xD801}, char16_t{0xDC28}, u'\uFFFD'}) {
    for (int32_t matchCase : {0, 1}) {
      const std::u16string needle{first, u'x'};
      const SearchNeedle prepared(needle, matchCase);
      for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
        const std::u16string haystack{static_cast<char16_t>(unit), u'x'};
        const bool expected =
            matchCase == 1 ? unit == first
                           : (unit < 0xD800 || unit > 0xDFFF ? fold[unit] == fold[first]
                                                             : unit == first);
        ASSERT_EQ(prepared.FindIn(haystack) == 0, expected)
            << "first " << int{first} << " unit " << static_cast<uint32_t>(unit) << " matchCase " << matchCase;
      }
    }
  }
}

TEST(SearchNeedleTest, KnowsWhichAlphabetsCanHoldIt) {
  EXPECT_TRUE(SearchNeedle(u"-12,3", 0).CanOccurInNumberText());
  EXPECT_FALSE(SearchNeedle(u"1.5", 0).CanOccurInNumberText());
  EXPECT_FALSE(SearchNeedle(u"", 0).CanOccurInNumberText());
  EXPECT_TRUE(SearchNeedle(u"E+", 0).CanOccurIn(u"0123456789e+"));
  EXPECT_FALSE(SearchNeedle(u"E+", 1).CanOccurIn(u"0123456789e+"));
}

}  // namespace
}  // namespace qm
