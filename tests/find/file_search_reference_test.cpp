// The file search against the deliberately simple one of
// reference_file_search.h. Many generated texts, every configuration; the
// results must agree exactly.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "find/files/file_search.h"
#include "reference_file_search.h"

namespace qm {
namespace {

using testing::ReferenceSearch;

// Pieces of text: breaks of every kind, letters with foreign case variants,
// non-ASCII and astral characters, ill-formed bytes, zero, long runs.
const std::vector<std::string> kPieces = {
    "a", "b", "c", "k", "K", "s", "S", "x", " ", "ab", "abc", "AZ",
    "\r", "\n", "\r\n", "\r\r\n", "\n\r",
    "\xC3\xA9", "\xC3\x89", "\xCE\xA3", "\xCF\x83", "\xCF\x82",
    "\xF0\x90\x90\x80", "\xF0\x90\x90\xA8", "\xF0\x9F\x98\x80", "\xE2\x84\xAA", "\xC5\xBF",
    "\xEF\xBB\xBF", "\xE2\x82", "\xC0", "\xF0\x90", "\xED\xA0\x80", "\xFF", "\x80",
    std::string(20, 'a'), std::string(37, 'b') + "\xCF\x83", std::string(40, 'Z') + "\xC3\xA9",
    std::string(1, '\0')};

const std::vector<std::u16string> kNeedles = {
    u"a", u"ab", u"abc", u"AB", u"za", u"k", u"K", u"s", u"Sk",
    u"\u212A", u"\u017F", u"\u017Fa", u"\u00E9", u"\u00C9b", u"\u03C3", u"\u03A3", u"\u03C2",
    u"\U00010400", u"\U00010428", u"\uFFFD", u"a\uFFFD", std::u16string(30, u'a'),
    std::u16string(u"\xD801", 1), std::u16string(u"\xDC28", 1), u"x a", u"\uFEFF", u"b\r", u"",
    u"bbbb\u03A3", std::u16string(36, u'z') + u"\u00C9"};

// Patterns that the texts above often match, in every part of the syntax
// that reads characters: classes, Unicode properties, anchors, repeats,
// astral characters, empty matches.
const std::vector<std::u16string> kPatterns = {
    u"a+", u"ab|b", u"[ks]", u"\\w+", u"\\W", u"k.", u"^a", u"b$", u"a*", u"\\bab", u"[^a]b",
    u"\\x{10400}", u"\u03C3", u"\\s", u"\u00E9", u"\\p{Lu}", u"\uFFFD", u"^$", u"a{3,}",
    u"b\\W*a", u"x a", u"\\d", u"(?-i)K", u"[\u017F\u212A]"};

std::string RandomText(std::mt19937& random) {
  std::string text;
  const size_t pieces = random() % (random() % 4 == 0 ? 400 : 30);
  for (size_t i = 0; i < pieces; ++i) {
    const size_t pick = random() % kPieces.size();
    if (kPieces[pick][0] == '\0' && random() % 4 != 0) continue;  // zero is rarer
    text += kPieces[pick];
  }
  return text;
}

// A run of the text as decoded, breaks and all, so that needles often hit.
std::u16string RandomNeedle(std::mt19937& random, const std::string& text) {
  if (random() % 2 == 0) return kNeedles[random() % kNeedles.size()];
  const std::u16string decoded = testing::ReferenceDecode(text.substr(0, text.find('\0')));
  if (decoded.empty()) return u"a";
  const size_t start = random() % decoded.size();
  return decoded.substr(start, 1 + random() % 6);
}

TEST(FileSearchReference, AgreesOnGeneratedTexts) {
  const std::u16string folder = u"/project/";
  const std::u16string paths[] = {u"/project/a.txt", u"/project/sub/b.js", u"/other/c.css"};
  const size_t sliceSizes[] = {1, 2, 3, 8, 64, FileTextMatcher::kDefaultSliceBytes};
  std::mt19937 random(11);
  for (int round = 0; round < 4500; ++round) {
    // One searcher serves several texts in a row, as a find does.
    std::vector<std::string> texts(4);
    for (std::string& text : texts) text = RandomText(random);
    // A third of the rounds whole words, a third patterns (half of them
    // whole words too).
    const int32_t matchCase = static_cast<int32_t>(random() % 3);
    FindOptions options = FindOptions::FromMatchCase(matchCase);
    options.regex = round % 3 == 2;
    options.wholeWord = round % 3 == 1 || (options.regex && random() % 2 == 0);
    const std::u16string needle = options.regex ? kPatterns[random() % kPatterns.size()]
                                                : RandomNeedle(random, texts[0]);
    const size_t slice = sliceSizes[random() % std::size(sliceSizes)];
    FindResultList expected;
    FindResultList actual;
    ResultListSink sink(&actual);
    FileSearcher searcher(SearchNeedle(needle, options), slice);
    for (size_t i = 0; i < texts.size(); ++i) {
      const std::u16string& path = paths[i % std::size(paths)];
      ReferenceSearch(texts[i], needle, options, path, folder, &expected);
      // A heap block of the text's own size, so that a sanitizer build sees
      // any read past its end.
      const std::vector<char> exact(texts[i].begin(), texts[i].end());
      searcher.SearchBytes({exact.data(), exact.size()}, path, folder, sink);
    }
    ASSERT_EQ(actual, expected) << "round " << round << ", case " << matchCase << ", word "
                                << options.wholeWord << ", regex " << options.regex << ", slice "
                                << slice << ", needle " << ::testing::PrintToString(needle)
                                << ", texts " << ::testing::PrintToString(texts);
  }
}

}  // namespace
}  // namespace qm
