// Normalisation, splitting and formatting of texts and paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/path_limits.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

// Writes a path with the platform's separator in place of "/".
std::u16string Native(std::u16string path) {
  for (char16_t& c : path) {
    if (c == u'/') c = platform::kPathSeparator;
  }
  return path;
}

std::u16string Normalized(std::u16string text) {
  NormalizeText(&text, 0, 0);
  return text;
}

std::u16string Key(std::u16string text) {
  NormalizeText(&text, 0, 0);
  NormalizeKey(&text, -1);
  return text;
}

TEST(NormalizeTextTest, CollapsesSeparatorsAndLeavesEverythingElse) {
  for (const std::u16string text : {u"", u" ", u"*.*", u"Entire Project", u" a b ", u"Abc.QMP"}) {
    EXPECT_EQ(Normalized(text), text);
  }
  EXPECT_EQ(Normalized(u"/srv//plant///pages/"), Native(u"/srv/plant/pages/"));
  for (const std::u16string text : {u"//a//b//", u"x/", u"/", u"a/../b"}) {
    EXPECT_EQ(Normalized(Normalized(text)), Normalized(text));
  }
}

TEST(NormalizeKeyTest, ResolvesDotSegmentsLexicallyAndOnce) {
  EXPECT_EQ(Key(u"/p/./a/../b.qmp"), Native(u"/p/b.qmp"));
  EXPECT_EQ(Key(u"../x/.."), u"..");
  EXPECT_EQ(Key(u"/../a"), Native(u"/../a"));
  EXPECT_EQ(Key(u"a/.."), u".");
  EXPECT_EQ(Key(u"./"), Native(u"./"));
  EXPECT_EQ(Key(u""), u"");
  // A prepared key prepared again is unchanged.
  for (const std::u16string text : {u"/p//./a/../b.qmp", u"../../x/./y/..", u"a/b/../../..",
                                    u"/a/./", u".", u"..", u"/", u"//x//", u" ", u"a/./b/."}) {
    const std::u16string once = Key(text);
    EXPECT_EQ(Key(once), once) << std::string(text.begin(), text.end());
  }
}

// The four parts joined by "|", or "refused".
std::u16string SplitOf(std::u16string_view path) {
  auto parts = std::make_unique<PathParts>();
  if (!SetPathPartsPath(parts.get(), path) || !SplitPath(parts.get())) return u"refused";
  return std::u16string(parts->drive) + u"|" + parts->directory + u"|" + parts->fileName + u"|" +
         parts->extension;
}

TEST(SplitPathTest, DirectoryKeepsItsSeparatorAndTooLongPathsAreRefused) {
  EXPECT_EQ(SplitOf(u"/srv/plant/plant.qmp"), u"|/srv/plant/|plant|.qmp");
  EXPECT_EQ(SplitOf(u"/a.b/c.tar.gz"), u"|/a.b/|c.tar|.gz");
  EXPECT_EQ(SplitOf(u"plant"), u"||plant|");
  EXPECT_EQ(SplitOf(u"/"), u"|/||");
  // Deep paths fit; too long ones are refused.
  std::u16string deep;
  while (deep.size() < platform::kDirectoryFieldUnits - 20) deep += u"/level";
  EXPECT_EQ(SplitOf(deep + u"/p.qmp"), u"|" + deep + u"/|p|.qmp");
  EXPECT_EQ(SplitOf(std::u16string(platform::kPathFieldUnits, u'a')), u"refused");
  EXPECT_EQ(SplitOf(std::u16string(u"/a\0b", 4)), u"refused");
  EXPECT_EQ(SplitOf(u"/srv/" + std::u16string(300, u'n')), u"refused");  // name over 255

  // A path field without a terminator is refused, and no field is written
  // beyond its first unit.
  auto parts = std::make_unique<PathParts>();
  std::fill(std::begin(parts->path), std::end(parts->path), u'a');
  std::fill(std::begin(parts->directory), std::end(parts->directory), u'x');
  EXPECT_FALSE(SplitPath(parts.get()));
  EXPECT_EQ(parts->directory[0], u'\0');
  EXPECT_EQ(parts->directory[1], u'x');
}

TEST(SplitTest, WideDropsEmptyPartsNarrowKeepsEveryToken) {
  std::vector<std::u16string> parts{u"stale"};
  const std::vector<std::pair<std::u16string, std::vector<std::u16string>>> wide = {
      {u"|3", {u"3"}}, {u"3|", {u"3"}}, {u"20|4", {u"20", u"4"}}, {u",,a,,", {u"a"}}};
  for (const auto& [source, expected] : wide) {
    SplitText(&parts, source, u",|", 0);
    EXPECT_EQ(parts, expected);
  }
  std::vector<std::string> tokens{"stale"};
  SplitNarrowText(&tokens, "5\n\n", "\n", 1);
  EXPECT_EQ(tokens, (std::vector<std::string>{"5", "", ""}));
  SplitNarrowText(&tokens, "", "\n", 1);
  EXPECT_EQ(tokens, (std::vector<std::string>{""}));
}

TEST(FormatTextTest, InsertsTextsAsTheyStandAndNumbersInFull) {
  std::u16string out = u"old";
  FormatText(&out, u"%s @ Name", std::u16string(u"a%s%d%%"));
  EXPECT_EQ(out, u"a%s%d%% @ Name");
  FormatText(&out, u"port_id = %ld, %d, %ld", INT32_MIN, int32_t{7}, INT64_MIN);
  EXPECT_EQ(out, u"port_id = -2147483648, 7, -9223372036854775808");
  FormatText(&out, u"100%% %q %");
  EXPECT_EQ(out, u"100% %q %");
  out = u"self";
  FormatText(&out, u"<%s>", out);  // an argument that views the output
  EXPECT_EQ(out, u"<self>");
  out = u"a text too long to be stored inline: %s";
  const std::u16string_view whole = out;
  FormatText(&out, whole, whole.substr(2, 4));  // the format and an argument view it
  EXPECT_EQ(out, u"a text too long to be stored inline: text");
}

TEST(FormatTextDeathTest, MismatchIsCaughtInDebugAndHarmlessOtherwise) {
  std::u16string out;
  EXPECT_DEBUG_DEATH(FormatText(&out, u"%d", u"text"), "wrong kind");
  EXPECT_DEBUG_DEATH(FormatText(&out, u"%s and %s", u"one"), "without an argument");
}

}  // namespace
}  // namespace qm
