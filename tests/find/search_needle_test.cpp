// Offsets and alphabets of the prepared needle; whether fields match is
// checked against a reference in table_search_reference_test.cpp.
#include "find/search_needle.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

constexpr size_t npos = SearchNeedle::npos;

TEST(SearchNeedleTest, FindsTheFirstOccurrenceInUnits) {
  EXPECT_EQ(SearchNeedle(u"aba", 0).FindIn(u"xxABABA"), 2u);
  EXPECT_EQ(SearchNeedle(u"ab", 1).FindIn(u"AbaB ab"), 5u);
  EXPECT_EQ(SearchNeedle(u"k", 0).FindIn(u"\U00010400x\u212A"), 3u);  // Kelvin sign
  // Deseret capital and small letters: surrogate pairs that fold together.
  EXPECT_EQ(SearchNeedle(u"a\U00010400", 2).FindIn(u"xA\U00010428"), 1u);
  EXPECT_EQ(SearchNeedle(u"\U00010428", 0).FindIn(u"\U00010400"), 0u);
  EXPECT_EQ(SearchNeedle(u"\U00010428", 1).FindIn(u"\U00010400"), npos);
  EXPECT_EQ(SearchNeedle(u"aba", 0).FindIn(u"ab"), npos);
  EXPECT_EQ(SearchNeedle(u"", 0).FindIn(u"abc"), npos);
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
