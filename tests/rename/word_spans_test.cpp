// The whole-word spans in raw bytes against a reference that decodes the
// whole text forward first, on random texts built from awkward pieces.
#include "rename/word_spans.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "find/word_characters.h"
#include "platform/unicode_units.h"

namespace qm {
namespace {

// Decodes every code point with its byte offset, then keeps the
// occurrences whose neighbours are no word characters, left to right.
std::vector<size_t> ReferenceSpans(std::string_view bytes, std::string_view word) {
  const std::string_view text = bytes.substr(0, bytes.find('\0'));
  std::vector<size_t> starts;
  std::vector<char32_t> points;
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  for (size_t at = 0; at < text.size();) {
    const platform::Utf8Step step = platform::DecodeUtf8Step(p + at, p + text.size());
    starts.push_back(at);
    points.push_back(step.wellFormed ? step.codePoint : U'\uFFFD');
    at += step.length;
  }
  std::vector<size_t> spans;
  size_t from = 0;
  for (size_t i = 0; i < starts.size(); ++i) {
    const size_t at = starts[i];
    if (at < from || text.substr(at, word.size()) != word) continue;
    const size_t end = at + word.size();
    size_t next = i;
    while (next < starts.size() && starts[next] < end) ++next;
    if (next < starts.size() && starts[next] != end) continue;  // ends inside a sequence
    const bool before = i == 0 || !IsWordCharacter(points[i - 1]);
    const bool after = next == starts.size() || !IsWordCharacter(points[next]);
    if (before && after) {
      spans.push_back(at);
      from = end;
    }
  }
  return spans;
}

TEST(WordSpans, MatchTheForwardDecodingReference) {
  const std::vector<std::string> pieces = {
      "Tag", "Tag", "Tag", "a", "_", ".", " ", "\r\n", "\n", "\r", "1", "\xc3\xa9", "\xc3",
      "\xa9", "\xe2\x82", "\xe2\x82\xac", "\xf0\x9f\x98\x80", "\xff", "\xef\xbb\xbf",
      "\xe2\x80\xbf" /* U+203F, connector punctuation */, std::string(1, '\0')};
  std::mt19937 random(7);
  size_t found = 0;
  for (const std::string word : {"Tag", "\xc3\xa9t\xc3\xa9", "--"}) {
    for (int round = 0; round < 4000; ++round) {
      std::string text;
      const int count = std::uniform_int_distribution<>(0, 12)(random);
      for (int i = 0; i < count; ++i) {
        text += random() % 4 == 0 ? word : pieces[random() % pieces.size()];
      }
      const std::vector<size_t> spans = FindWholeWordSpans(text, word);
      ASSERT_EQ(spans, ReferenceSpans(text, word)) << "round " << round;
      found += spans.size();
    }
  }
  EXPECT_GT(found, 3000u);
}

TEST(WordSpans, LetterNeighboursAndLineBreaksInTheWordGiveNone) {
  EXPECT_EQ(FindWholeWordSpans("\xc3\xa9Tag", "Tag"), std::vector<size_t>{});
  EXPECT_EQ(FindWholeWordSpans("Tag\xe2\x80\xbf", "Tag"), std::vector<size_t>{});
  EXPECT_EQ(FindWholeWordSpans("a\r\nb", "a\r\nb"), std::vector<size_t>{});
  EXPECT_EQ(FindWholeWordSpans("---", "--"), std::vector<size_t>{0});
  EXPECT_EQ(FindWholeWordSpans("Tag", ""), std::vector<size_t>{});
}

}  // namespace
}  // namespace qm
