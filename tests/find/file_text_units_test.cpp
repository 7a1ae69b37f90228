// The pieces the file search counts with, against independent answers:
// the UTF-8 decoder and counters against BytesToTextN (ICU), the one-pass
// break rule against the four replacements done literally.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "find/files/line_breaks.h"
#include "find/files/text_stretch.h"
#include "find/files/utf8_decode.h"
#include "platform/utf_conversion.h"
#include "reference_text.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

// Bytes at the edges of the UTF-8 ranges, so that random strings are
// mostly ill-formed in every way; runs of ASCII and of well-formed
// sequences of every length (with breaks among them) reach the block
// loops. Text that is mostly well-formed has a stray edge byte now and
// then, for the wide runs to stop at.
std::string RandomBytes(std::mt19937& random, size_t maxLength, bool mostlyWellFormed = false) {
  static const unsigned char kEdges[] = {0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0,
                                         0xC1, 0xC2, 0xDF, 0xE0, 0xE1, 0xEC, 0xED, 0xEE, 0xEF,
                                         0xF0, 0xF1, 0xF3, 0xF4, 0xF5, 0xFF, 0x0A};
  static const char* const kWellFormed[] = {"\xC2\x80",
                                            "\xDF\xBF",
                                            "\xE1\x80\x80",
                                            "\xE2\x80\x93",
                                            "\xEF\xBF\xBD",
                                            "\xF1\x80\x80\x80",
                                            "\xF3\xBF\xBF\xBF",
                                            "\xE0\xA0\x80",
                                            "\xED\x9F\xBF",
                                            "\xF0\x90\x80\x80",
                                            "\xF4\x8F\xBF\xBF",
                                            "a",
                                            "\n"};
  std::string bytes;
  const size_t length = random() % maxLength;
  while (bytes.size() < length) {
    const unsigned odds = random() % 64;
    const unsigned pick = !mostlyWellFormed ? odds % 8 : odds < 31 ? 0 : odds < 63 ? 1 : 2;
    if (pick == 0) {
      for (size_t i = random() % 40; i > 0; --i) bytes.push_back("aaaaaa\r\n"[random() % 8]);
    } else if (pick == 1) {
      for (size_t i = random() % 24; i > 0; --i) {
        bytes += kWellFormed[random() % std::size(kWellFormed)];
      }
    } else {
      bytes.push_back(static_cast<char>(kEdges[random() % sizeof kEdges]));
    }
  }
  return bytes;
}

// Every way this processor can count a stretch: the wide counter of plain
// ASCII chunks where it has one, and the sixteen-byte code alone.
std::vector<WideRunCounter> ChunkCounters() {
  std::vector<WideRunCounter> counters = {nullptr};
  if (ProcessorWideRunCounter() != nullptr) counters.push_back(ProcessorWideRunCounter());
  return counters;
}

TEST(FileTextUnits, DecoderAgreesWithTheConverterOnAnyBytes) {
  if (!platform::kConverterReplacesMaximalSubparts) {
    GTEST_SKIP() << "the converter has its own rule for ill-formed bytes here; the file search "
                    "hands such text to it (file_search_reference_test)";
  }
  std::mt19937 random(5);
  for (int round = 0; round < 20000; ++round) {
    // Some texts long enough for runs of ASCII bytes, whole or cut.
    const std::string bytes =
        round % 2 == 1 ? RandomBytes(random, 700, true) : RandomBytes(random, round % 4 == 0 ? 400 : 64);
    std::u16string expected;
    BytesToTextN(&expected, bytes);
    std::u16string decoded(bytes.size(), u'?');
    decoded.resize(DecodeUtf8(bytes, decoded.data()));
    ASSERT_EQ(decoded, expected) << ::testing::PrintToString(bytes);
    for (WideRunCounter counter : ChunkCounters()) {
      ASSERT_EQ(MeasureStretch(bytes.data(), 0, bytes.size(), bytes.size(), counter).units,
                testing::FourReplacements(expected).size())
          << ::testing::PrintToString(bytes);
    }
  }
}

// A stretch that ends inside the text, where the blocks may read past its
// end, measures as the same bytes do alone.
TEST(FileTextUnits, AStretchMeasuresAlikeWhateverFollowsIt) {
  static const char* const kPieces[] = {"a",
                                        "abcdefgh",
                                        "\r",
                                        "\n",
                                        "\r\n",
                                        "\xC3\xA9",
                                        "\xE2\x80\x93",
                                        "\xF0\x9D\x84\x9E",
                                        "\xF1\x80\x80\x80",
                                        "\xE0\xA0\x80",
                                        "                                                    "};
  std::mt19937 random(9);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    std::vector<size_t> boundaries = {0};
    for (size_t i = random() % 60; i > 0; --i) {
      text += kPieces[random() % std::size(kPieces)];
      boundaries.push_back(text.size());
    }
    const size_t from = boundaries[random() % boundaries.size()];
    for (size_t to : boundaries) {
      if (to < from || (to > 0 && to < text.size() && text[to - 1] == '\r' && text[to] == '\n')) {
        continue;
      }
      const std::string alone = text.substr(0, to);
      const Stretch expected = MeasureStretch(alone.data(), from, to, to, nullptr);
      for (WideRunCounter counter : ChunkCounters()) {
        const Stretch inside = MeasureStretch(text.data(), from, to, text.size(), counter);
        ASSERT_EQ(inside.units, expected.units) << ::testing::PrintToString(text) << " " << to;
        ASSERT_EQ(inside.breaks, expected.breaks) << ::testing::PrintToString(text) << " " << to;
        ASSERT_EQ(inside.lastBreak, expected.lastBreak) << ::testing::PrintToString(text);
      }
    }
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
  size_t crLfs = 0;
  for (size_t at = normalised.find(u"\r\n"); at != normalised.npos;
       at = normalised.find(u"\r\n", at + 2)) {
    ++crLfs;
  }
  const size_t lastBreak = raw.find_last_of(u"\r\n");
  const auto check = [&](const Stretch& stretch) {
    ASSERT_EQ(stretch.units, normalised.size());
    ASSERT_EQ(stretch.breaks, crLfs);
    ASSERT_EQ(stretch.lastBreak, lastBreak == raw.npos ? SIZE_MAX : lastBreak);
  };
  if constexpr (sizeof(Char) == 1) {
    for (WideRunCounter counter : ChunkCounters()) {
      check(MeasureStretch(text.data(), 0, text.size(), text.size(), counter));
    }
  } else {
    check(MeasureStretch(text.data(), 0, text.size(), text.size()));
  }
}

TEST(FileTextUnits, OnePassGivesTheFourReplacements) {
  std::mt19937 random(7);
  for (int round = 0; round < 20000; ++round) {
    // Mostly short dense runs; some long ones, dense or sparse, so that
    // breaks fall inside blocks, at their edges, between them, and apart
    // by more than the runs of plain text that go four blocks at once, and
    // than the wide chunks.
    const bool long_ = round % 10 < 3;
    const unsigned sparseness = round % 10 == 1 ? 24 : round % 10 == 2 ? 120 : 3;
    std::u16string raw;
    const size_t length = random() % (long_ ? 1400 : 12);
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

// The wide runs take well-formed text and must leave everything else to
// the sixteen-byte code: each sequence, well-formed or not, whole or cut,
// at every place in and across the runs of plain text around it, measures
// as it does without them.
TEST(FileTextUnits, WideRunsMeasureAsTheSixteenByteCodeAroundAnySequence) {
  if (ProcessorWideRunCounter() == nullptr) GTEST_SKIP() << "no wide counter on this processor";
  static const char* const kSequences[] = {
      "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xED\x9F\xBF", "\xEF\xBF\xBD",
      "\xF0\x90\x80\x80", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF", "\xF1\x80\x80\x80",
      // never well-formed
      "\xC0\x80", "\xC1\xBF", "\xE0\x80\x80", "\xE0\x9F\xBF", "\xED\xA0\x80",
      "\xED\xBF\xBF", "\xF0\x80\x80\x80", "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80",
      "\xF5\x80\x80\x80", "\xFF", "\x80", "\xBF", "\xC2\x80\x80", "\xE2\x80\x93\x93",
      // cut short
      "\xC2", "\xE1\x80", "\xE0\xA0", "\xF1\x80\x80", "\xF0\x90", "\xF4\x8F\xBF"};
  const std::string plain = "line one\r\nline two\nthree\rfour\r\r\nfive\n\r";
  std::string filler;
  while (filler.size() < 400) filler += plain;
  for (const char* sequence : kSequences) {
    for (const char* after : {"a", "\n", "\r\n", "\xC3\xA9"}) {
      for (size_t at = 0; at < 140; ++at) {
        const std::string text = filler.substr(0, at) + sequence + after + filler;
        // From the text's start, and from each character the decoder
        // finds in the sequence, a stray continuation among them.
        std::vector<size_t> starts = {0};
        const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
        for (size_t b = at; b < at + std::strlen(sequence);) {
          starts.push_back(b);
          b += DecodeUtf8Step(bytes + b, bytes + text.size()).length;
        }
        for (size_t from : starts) {
          const Stretch expected =
              MeasureStretch(text.data(), from, text.size(), text.size(), nullptr);
          const Stretch wide = MeasureStretch(text.data(), from, text.size(), text.size(),
                                              ProcessorWideRunCounter());
          ASSERT_TRUE(wide.units == expected.units && wide.breaks == expected.breaks &&
                      wide.lastBreak == expected.lastBreak)
              << ::testing::PrintToString(std::string(sequence)) << " at " << at << " before "
              << ::testing::PrintToString(std::string(after)) << " from " << from;
        }
      }
    }
  }
}

// Text of nothing but breaks fills the counters' lanes fastest: they must
// be summed before they overflow.
TEST(FileTextUnits, LongRunsOfBreaksCountInFull) {
  for (const std::u16string pattern : {u"\n", u"\r", u"\r\n", u"\n\r", u"\r\r\n"}) {
    std::u16string raw;
    while (raw.size() < 40000) raw += pattern;
    CheckBreaks<char>(raw);
    if (::testing::Test::HasFatalFailure()) FAIL() << ::testing::PrintToString(pattern);
  }
}

}  // namespace
}  // namespace qm
