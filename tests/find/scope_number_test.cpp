// Numbers in scope items read as the platform's _wtoi reads them.
#include "find/scope_number.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(ScopeNumber, ReadsLikeWtoi) {
  EXPECT_EQ(ReadScopeNumber(u"3"), 3);
  EXPECT_EQ(ReadScopeNumber(u"  \t20"), 20);
  EXPECT_EQ(ReadScopeNumber(u"-1"), -1);
  EXPECT_EQ(ReadScopeNumber(u"+7x"), 7);
  EXPECT_EQ(ReadScopeNumber(u"12abc34"), 12);
  EXPECT_EQ(ReadScopeNumber(u"abc"), 0);
  EXPECT_EQ(ReadScopeNumber(u""), 0);
  EXPECT_EQ(ReadScopeNumber(u"- 5"), 0);  // the sign must touch the digits
  EXPECT_EQ(ReadScopeNumber(u"*.js"), 0);
}

TEST(ScopeNumber, SaturatesInsteadOfOverflowing) {
  EXPECT_EQ(ReadScopeNumber(u"2147483647"), 2147483647);
  EXPECT_EQ(ReadScopeNumber(u"2147483648"), 2147483647);
  EXPECT_EQ(ReadScopeNumber(u"-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ReadScopeNumber(u"-2147483649"), -2147483647 - 1);
  EXPECT_EQ(ReadScopeNumber(u"99999999999999999999999999999"), 2147483647);
  EXPECT_EQ(ReadScopeNumber(u"00000000000000000000000000021"), 21);
}

}  // namespace
}  // namespace qm
