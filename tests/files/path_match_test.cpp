#include "platform/path_match.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "files/path_match_reference.h"

namespace qm::platform {
namespace {

struct Case {
  const char16_t* text;
  const char16_t* pattern;
  bool matches;
};

TEST(PathMatchTest, Cases) {
  const Case cases[] = {
      {u"a.HTM", u"*.htm", true},          {u"/p/sub/a.htm", u"*.htm", true},  // "*" crosses "/"
      {u"a.html", u"*.htm", false},        {u"xa.htm", u"a.htm", false},  // the whole text
      {u"README", u"*.*", true},           {u"/p/README", u"*.*", true},
      {u"abc", u"a*.*", false},            {u"abc.txt", u"a*.*", true},  // only "*.*" is special
      {u"C:\\Windows", u"C:\\Windows.*", false},
      {u"ab", u"a?", true},                {u"a", u"a?", false},
      {u"abc", u"a?", false},              {u"a\U0001F600", u"a?", true},  // a pair: one character
      {u"[a].txt", u"[a].txt", true},      {u"a.txt", u"[a].txt", false},
      {u"x.txt", u"   *.txt", true},       {u"x.txt", u"x.txt ", false},  // trailing blanks stay
      {u"b.css", u"*.htm; *.css", true},   {u"b.js", u"*.htm;*.css", false},
      {u"a", u"a;", true},                 {u"a", u"", false},
      {u"\u212A.txt", u"k.TXT", true},     {u"k.txt", u"\u212A.TXT", true},  // Kelvin sign: k
      {u"\U00010400", u"\U00010400", true}, {u"\U00010400", u"\U00010401", false},  // astral
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchPathPattern(c.text, c.pattern), c.matches) << "case " << (&c - cases);
  }
}

// Stars everywhere and a text that almost matches: a matcher that retries
// every split would never finish.
TEST(PathMatchTest, LongPatternsDoNotBlowUp) {
  std::u16string pattern;
  for (int i = 0; i < 40; ++i) pattern += u"*a";
  const std::u16string text(2000, u'a');
  EXPECT_FALSE(MatchPathPattern(text, pattern + u"*b"));
  EXPECT_TRUE(MatchPathPattern(text + u"b", pattern + u"*b"));
}

TEST(PathMatchTest, AgreesWithTheReference) {
  std::mt19937 random(12345);
  const std::u16string textAlphabet = u"aAb./\u212A\xD801\xDC00";
  const std::u16string patternAlphabet = u"aBb./*?; k\xD801\xDC00";
  for (int round = 0; round < 20000; ++round) {
    std::u16string text(random() % 9, u' ');
    for (char16_t& unit : text) unit = textAlphabet[random() % textAlphabet.size()];
    std::u16string pattern(random() % 7, u' ');
    for (char16_t& unit : pattern) unit = patternAlphabet[random() % patternAlphabet.size()];
    ASSERT_EQ(PathPattern(pattern).Matches(text), testing::ReferencePathMatch(text, pattern))
        << "round " << round;
  }
}

}  // namespace
}  // namespace qm::platform
