// Numbers in scope items read as the platform's _wtoi reads them.
#include "find/scope_number.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>

namespace qm {
namespace {

TEST(ScopeNumber, ReadsLikeWtoiButSaturatesInsteadOfOverflowing) {
  const std::pair<const char16_t*, int32_t> cases[] = {
      {u"3", 3},          {u"  \t20", 20},    {u"-1", -1}, {u"+7x", 7},  {u"12abc34", 12},
      {u"abc", 0},        {u"", 0},           {u"- 5", 0},  // the sign must touch the digits
      {u"*.js", 0},       {u"2147483647", 2147483647},      {u"2147483648", 2147483647},
      {u"-2147483648", INT32_MIN},            {u"-2147483649", INT32_MIN},
      {u"99999999999999999999999999999", INT32_MAX},
      {u"00000000000000000000000000021", 21}};
  for (const auto& c : cases) {
    EXPECT_EQ(ReadScopeNumber(c.first), c.second) << "case " << (&c - cases);
  }
}

}  // namespace
}  // namespace qm
