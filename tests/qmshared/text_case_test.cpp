// Case-blind comparison and search.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/text_case.h"
#include "platform/unicode_units.h"

namespace qm::platform {
namespace {

// Where the platforms agree; text_case_*_test.cpp pins where they part.
TEST(TextCaseTest, FoldingPerCodePoint) {
  EXPECT_EQ(CompareTextIgnoreCase(u"\u212Aelvin", u"KELVIN"), 0);  // Kelvin sign
  EXPECT_EQ(CompareTextIgnoreCase(u"\u03A3\u0391\u03A3", u"\u03C3\u03B1\u03C2"), 0);
  EXPECT_LT(CompareTextIgnoreCase(u"a", u"B"), 0);
  EXPECT_GT(CompareTextIgnoreCase(u"abc", u"AB"), 0);
  EXPECT_NE(CompareTextIgnoreCase(u"\xD801", u"\xD801\xDC00"), 0);
}

TEST(TextCaseTest, FoldingKeepsLengthAndIsStable) {
  std::u16string folded = u">";
  AppendFolded(u"A\U00010400\xD800z\xDC00", &folded);
  const char32_t deseret = FoldCodePoint(0x10400);  // 0x10428 where the platform folds it
  EXPECT_EQ(folded, std::u16string(u">a") + LeadSurrogateOf(deseret) + TrailSurrogateOf(deseret) +
                        u"\xD800z\xDC00");
  const char16_t* table = BmpFoldTable();
  for (char32_t u = 0; u <= 0xFFFF; ++u) {
    ASSERT_EQ(table[table[u]], table[u]) << std::hex << static_cast<uint32_t>(u);
    ASSERT_EQ(table[u] >= 0xD800 && table[u] <= 0xDFFF, u >= 0xD800 && u <= 0xDFFF);
  }
}

TEST(TextCaseTest, FindEdges) {
  EXPECT_EQ(FindText(u"abc", u""), std::u16string_view::npos);
  EXPECT_EQ(FindTextIgnoreCase(u"abc", u""), std::u16string_view::npos);
  EXPECT_EQ(FindTextIgnoreCase(u"Pump KELVIN", u"\u212Aelvin"), 5u);
  EXPECT_EQ(FindTextIgnoreCase(u"ab", u"abc"), std::u16string_view::npos);
  const std::u16string longNeedle(300, u'Q');
  EXPECT_EQ(FindTextIgnoreCase(u"--" + std::u16string(300, u'q'), longNeedle), 2u);
}

// The scan against the plain answer: fold both texts whole, then search.
TEST(TextCaseTest, FindIgnoreCaseAgreesWithFoldThenFind) {
  const char16_t alphabet[] = {u'k', u'K', u'\u212A', u's', u'\u017F', u'S', u'\xD801',
                               u'\xDC00', u'\xDC28', u'\u03C2', u'\u03A3'};
  std::mt19937 random(20240611);
  auto make = [&](size_t length) {
    std::u16string text;
    for (size_t i = 0; i < length; ++i) text.push_back(alphabet[random() % std::size(alphabet)]);
    return text;
  };
  for (int round = 0; round < 3000; ++round) {
    const std::u16string haystack = make(random() % 24);
    const std::u16string needle = make(1 + random() % 4);
    std::u16string foldedHaystack, foldedNeedle;
    AppendFolded(haystack, &foldedHaystack);
    AppendFolded(needle, &foldedNeedle);
    ASSERT_EQ(FindTextIgnoreCase(haystack, needle), foldedHaystack.find(foldedNeedle));
  }
}

}  // namespace
}  // namespace qm::platform
