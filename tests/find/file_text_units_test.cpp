// The pieces the file search counts with, against independent answers:
// the UTF-8 decoder and counters against BytesToTextN (ICU), the one-pass
// break rule against the four replacements done literally.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "find/files/line_breaks.h"
#include "find/files/text_stretch.h"
#include "find/files/utf8_decode.h"
#include "platform/utf_conversion.h"
#include "reference_text.h"
#include "shared_lib/qmshared.h"

namespace qm {
namespace {

// Bytes at the edges of the UTF-8 ranges, so that random strings are
// mostly ill-formed in every way; runs of ASCII reach the block loops.
std::string RandomBytes(std::mt19937& random) {
  static const unsigned char kEdges[] = {0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0,
                                         0xC1, 0xC2, 0xDF, 0xE0, 0xE1, 0xEC, 0xED, 0xEE, 0xEF,
                                         0xF0, 0xF1, 0xF3, 0xF4, 0xF5, 0xFF, 0x0A};
  std::string bytes;
  const size_t length = random() % 48;
  while (bytes.size() < length) {
    if (random() % 8 == 0) {
      bytes.append(random() % 40, 'a');
    } else {
      bytes.push_back(static_cast<char>(kEdges[random() % sizeof kEdges]));
    }
  }
  return bytes;
}

TEST(FileTextUnits, DecoderAgreesWithTheConverterOnAnyBytes) {
  if (!platform::kConverterReplacesMaximalSubparts) {
    GTEST_SKIP() << "the converter has its own rule for ill-formed bytes here; the file search "
                    "hands such text to it (file_search_reference_test)";
  }
  std::mt19937 random(5);
  for (int round = 0; round < 20000; ++round) {
    const std::string bytes = RandomBytes(random);
    std::u16string expected;
    BytesToTextN(&expected, bytes);
    std::u16string decoded(bytes.size(), u'?');
    decoded.resize(DecodeUtf8(bytes, decoded.data()));
    ASSERT_EQ(decoded, expected) << ::testing::PrintToString(bytes);
    ASSERT_EQ(MeasureStretch(bytes.data(), 0, bytes.size()).units,
              expected.size() + std::count(bytes.begin(), bytes.end(), '\n'))
        << ::testing::PrintToString(bytes);
  }
}

using testing::FourReplacements;

// The lines of the normalised text are the raw text cut at each break of
// the one-pass rule, and the counts agree, for bytes and for units alike.
template <class Char>
void CheckBreaks(const std::u16string& raw) {
  const std::basic_string<Char> text(raw.begin(), raw.end());
  const std::u16string normalised = FourReplacements(raw);
  std::u16string rebuilt;
  for (size_t start = 0;;) {
    const size_t found = FindBreak(text.data(), start, text.size());
    rebuilt.append(raw, start, found - start);
    if (found == text.size()) break;
    ASSERT_EQ(FindLastBreak(text.data(), start, found), SIZE_MAX);
    ASSERT_EQ(FindLastBreak(text.data(), start, found + 1), found);
    rebuilt += u"\r\n";
    start = BreakEnd(text.data(), found, text.size());
  }
  ASSERT_EQ(rebuilt, normalised);
  const Stretch stretch = MeasureStretch(text.data(), 0, text.size());
  ASSERT_EQ(stretch.units, normalised.size());
  size_t crLfs = 0;
  for (size_t at = normalised.find(u"\r\n"); at != normalised.npos;
       at = normalised.find(u"\r\n", at + 2)) {
    ++crLfs;
  }
  ASSERT_EQ(stretch.breaks, crLfs);
  const size_t lastBreak = raw.find_last_of(u"\r\n");
  ASSERT_EQ(stretch.lastBreak, lastBreak == raw.npos ? SIZE_MAX : lastBreak);
}

TEST(FileTextUnits, OnePassGivesTheFourReplacements) {
  std::mt19937 random(7);
  for (int round = 0; round < 20000; ++round) {
    // Mostly short dense runs; some long ones, dense or sparse, so that
    // breaks fall inside blocks, at their edges, between them, and apart
    // by more than the runs of plain text that go four blocks at once.
    const bool long_ = round % 10 < 3;
    const unsigned sparseness = round % 10 == 1 ? 24 : round % 10 == 2 ? 120 : 3;
    std::u16string raw;
    const size_t length = random() % (long_ ? 400 : 12);
    for (size_t i = 0; i < length; ++i) {
      const unsigned pick = random() % sparseness;
      raw.push_back(pick == 0 ? u'\r' : pick == 1 ? u'\n' : u'x');
    }
    CheckBreaks<char>(raw);
    CheckBreaks<char16_t>(raw);
    if (::testing::Test::HasFatalFailure()) {
      FAIL() << ::testing::PrintToString(std::string(raw.begin(), raw.end()));
    }
  }
}

}  // namespace
}  // namespace qm
