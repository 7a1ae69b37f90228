// Every match of a field or line replaced, by the find's rules.
#include "replace/text_replacer.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

struct Case {
  std::u16string needle;
  FindOptions options;
  std::u16string replacement;
  std::u16string subject;
  std::u16string expected;  // with count -1: what error() holds
  int64_t count;
};

TEST(TextReplacer, ReplacesEveryMatchByTheFindsRules) {
  const FindOptions blind{};
  const FindOptions word{false, true, false};
  const FindOptions regex{false, false, true};
  const FindOptions regexCase{true, false, true};
  const Case cases[] = {
      // Case-blind by simple folding, the Kelvin sign as "k"; the
      // replacement as it stands, "$1" too.
      {u"pump", blind, u"$1P", u"Pump pUMP \u212Aump", u"$1P $1P \u212Aump", 2},
      {u"kw", blind, u"x", u"\u212AW kw", u"x x", 2},
      {u"aa", blind, u"b", u"aaaaa", u"bba", 2},  // left to right, no overlap
      {u"Tank", word, u"Vessel", u"Tank Tanks _Tank Tank.1", u"Vessel Tanks _Tank Vessel.1", 2},
      {u"(\\w+)\\.(\\w+)", regex, u"$2.$1", u"a.b, c.d", u"b.a, d.c", 2},
      {u"(?<unit>[a-z]+)(\\d)", regex, u"${unit}-$2$$", u"kw3 x", u"kw-3$ x", 1},
      {u"a(b)?c", regex, u"[$1]", u"ac abc", u"[] [b]", 2},  // a group that took no part
      {u"x*", regex, u"-", u"ab", u"-a-b-", 3},               // empty matches too
      {u"PUMP", regexCase, u"p", u"Pump PUMP", u"Pump p", 1},
      {u"\\d", FindOptions{false, true, true}, u"#", u"1 a2 3", u"# a2 #", 2},
      {u"(a)", regex, u"$2", u"a", u"the replacement cannot be made: unknown substring", -1},
      {u"(a)", regex, u"${x", u"a", u"the replacement cannot be made: ", -1},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(std::string(test.subject.begin(), test.subject.end()));
    const SearchNeedle needle(test.needle, test.options);
    TextReplacer replacer(needle, test.replacement);
    std::u16string result;
    std::vector<ReplacedSpan> spans;
    const int64_t count = replacer.Replace(test.subject, &result, &spans);
    EXPECT_EQ(count, test.count);
    if (count < 0) {
      EXPECT_EQ(replacer.error().rfind(test.expected, 0), 0u);
      continue;
    }
    EXPECT_EQ(result, test.expected);
    // The spans rebuild the result from the subject.
    ASSERT_EQ(spans.size(), static_cast<size_t>(count));
    std::u16string rebuilt;
    size_t copied = 0;
    for (const ReplacedSpan& span : spans) {
      rebuilt.append(test.subject, copied, span.from - copied);
      rebuilt.append(result, span.resultFrom, span.resultTo - span.resultFrom);
      copied = span.to;
    }
    rebuilt.append(test.subject, copied);
    EXPECT_EQ(rebuilt, result);
  }
}

}  // namespace
}  // namespace qm
