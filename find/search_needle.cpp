#include "find/search_needle.h"

#include <bit>

#include "find/simd_lanes.h"
#include "find/word_characters.h"
#include "platform/text_case.h"
#include "platform/unicode_units.h"

namespace qm {
namespace {

// The unit at `i` as compared: the haystack unchanged.
struct RawUnit {
  char16_t operator()(std::u16string_view text, size_t i) const { return text[i]; }
};

// The unit at `i` of the folded form of the whole text. A BMP unit folds
// through the table; the two units of a surrogate pair fold together, so a
// unit's fold depends on its neighbour; a lone surrogate stays as it is.
struct FoldedUnit {
  const char16_t* table;

  char16_t operator()(std::u16string_view text, size_t i) const {
    const char16_t unit = text[i];
    if (!platform::IsSurrogate(unit)) [[likely]]
      return table[unit];
    return FoldSurrogate(text, i);
  }

  static char16_t FoldSurrogate(std::u16string_view text, size_t i) {
    const char16_t unit = text[i];
    if (platform::IsLeadSurrogate(unit) && i + 1 < text.size() && platform::IsTrailSurrogate(text[i + 1])) {
      return platform::LeadSurrogateOf(platform::FoldCodePoint(platform::CodePointOfPair(unit, text[i + 1])));
    }
    if (platform::IsTrailSurrogate(unit) && i > 0 && platform::IsLeadSurrogate(text[i - 1])) {
      return platform::TrailSurrogateOf(platform::FoldCodePoint(platform::CodePointOfPair(text[i - 1], unit)));
    }
    return unit;
  }
};

}  // namespace

SearchNeedle::SearchNeedle(std::u16string_view text, const FindOptions& options)
    : text_(text),
      options_(options),
      caseSensitive_(options.matchCase),
      foldTable_(platform::BmpFoldTable()) {
  if (caseSensitive_ || options.regex) {
    compared_ = text_;
  } else {
    platform::AppendFolded(text_, &compared_);
  }
  if (options.regex && !text_.empty()) {
    auto error = std::make_shared<RegexError>();
    regex_ = RegexPattern::Compile(text_, {options.matchCase, options.wholeWord}, error.get());
    if (regex_ == nullptr) patternError_ = std::move(error);
    requiredText_ = RegexPattern::RequiredPrefix(text_, options.matchCase);
  }
  canOccurInNumberText_ = CanOccurIn(u"0123456789-,");
  for (size_t i = 0; i < compared_.size(); ++i) {
    const UnitTest test = ExactTestOf(compared_[i], caseSensitive_);
    if (!test.exact) continue;
    if (!anchors_.exact) anchors_ = {i, i, test, test, true};
    anchors_.back = i;
    anchors_.backTest = test;
  }
}

// Case-sensitive, a unit compares equal only to itself. Case-blind, a unit
// u that is no surrogate compares equal to the units that fold to it: the
// test is exact when those are u alone, or u and one other unit that
// differs from it in one bit. A haystack surrogate never compares equal
// to such a u, since no supplementary character folds into the BMP.
SearchNeedle::UnitTest SearchNeedle::ExactTestOf(char16_t compared, bool caseSensitive) {
  if (caseSensitive) return {0, compared, true};
  if (platform::IsSurrogate(compared)) return {};
  const std::u16string others = platform::UnitsFoldingTo(compared);
  if (others.empty()) return {0, compared, true};
  const char16_t bit = static_cast<char16_t>(others[0] ^ compared);
  if (others.size() > 1 || (bit & (bit - 1)) != 0) return {};
  return {bit, static_cast<char16_t>(compared | bit), true};
}

// Most positions fail on the anchors, two units of the needle far apart
// whose tests are exact: they stand in for folding each position's unit,
// and eight starts are tested at a time. A field with fewer starts than
// that goes one start at a time; the last, partial block of a longer one
// is tested again from lastStart - 7, without the starts already tested.
// Only a start that passes both is compared whole, each haystack unit
// folded where it is read: no folded copy of the haystack is ever made.
template <class Fold>
size_t SearchNeedle::ScanAnchored(std::u16string_view haystack, size_t from, Fold fold) const {
  constexpr size_t kBlock = 8;
  const size_t length = compared_.size();
  if (length == 0 || length > haystack.size() || from > haystack.size() - length) return npos;
  const size_t lastStart = haystack.size() - length;
  const char16_t* text = haystack.data();
  const auto matchesAt = [&](size_t at) {
    for (size_t k = 0; k < length; ++k) {
      if (fold(haystack, at + k) != compared_[k]) return false;
    }
    return true;
  };
  const Anchors& anchors = anchors_;
  size_t at = from;
  if (lastStart - from < kBlock - 1) {
    for (; at <= lastStart; ++at) {
      if (anchors.frontTest(text[at + anchors.front]) &&
          anchors.backTest(text[at + anchors.back]) && matchesAt(at))
        return at;
    }
    return npos;
  }
  const EightUnitTest frontLanes(anchors.frontTest.orBits, anchors.frontTest.target);
  const EightUnitTest backLanes(anchors.backTest.orBits, anchors.backTest.target);
  const auto firstMatchIn = [&](size_t block, uint32_t candidates) {
    for (; candidates != 0; candidates &= candidates - 1) {
      const size_t start = block + static_cast<size_t>(std::countr_zero(candidates));
      if (matchesAt(start)) return start;
    }
    return npos;
  };
  for (; at + (kBlock - 1) <= lastStart; at += kBlock) {
    const uint32_t candidates =
        frontLanes(text + at + anchors.front) & backLanes(text + at + anchors.back);
    if (candidates != 0) {
      const size_t found = firstMatchIn(at, candidates);
      if (found != npos) return found;
    }
  }
  if (at > lastStart) return npos;
  const size_t block = lastStart - (kBlock - 1);
  const uint32_t candidates =
      frontLanes(text + block + anchors.front) & backLanes(text + block + anchors.back);
  return firstMatchIn(block, candidates & (~0u << (at - block)));
}

// A needle without an exact unit (every unit one that three or more units
// fold to, as "k" or "s"): each start's first unit is folded and compared.
template <class Fold>
size_t SearchNeedle::Scan(std::u16string_view haystack, size_t from, Fold fold) const {
  const size_t length = compared_.size();
  if (length == 0 || length > haystack.size()) return npos;
  const char16_t* needle = compared_.data();
  const size_t lastStart = haystack.size() - length;
  for (size_t at = from; at <= lastStart; ++at) {
    if (fold(haystack, at) != needle[0]) continue;
    size_t k = 1;
    while (k < length && fold(haystack, at + k) == needle[k]) ++k;
    if (k >= length) return at;
  }
  return npos;
}

size_t SearchNeedle::FindFrom(std::u16string_view haystack, size_t from) const {
  if (caseSensitive_) return ScanAnchored(haystack, from, RawUnit{});
  const FoldedUnit fold{foldTable_};
  if (anchors_.exact) return ScanAnchored(haystack, from, fold);
  return Scan(haystack, from, fold);
}

// Folding keeps the length, so an occurrence spans the needle's length in
// the haystack too.
size_t SearchNeedle::FindIn(std::u16string_view haystack, size_t* length) const {
  if (options_.regex) return regex_ == nullptr ? npos : regex_->FirstMatch(haystack, length);
  if (length != nullptr) *length = compared_.size();
  return FindPlainFrom(haystack, 0);
}

size_t SearchNeedle::FindPlainFrom(std::u16string_view haystack, size_t from) const {
  size_t at = FindFrom(haystack, from);
  if (!options_.wholeWord) return at;
  while (at != npos && !IsWholeWordAt(haystack, at, compared_.size())) {
    at = FindFrom(haystack, at + 1);
  }
  return at;
}

bool SearchNeedle::CanOccurIn(std::u16string_view alphabet) const {
  if (empty()) return false;
  if (options_.regex) return true;
  for (char16_t unit : compared_) {
    bool inAlphabet = false;
    for (size_t i = 0; i < alphabet.size() && !inAlphabet; ++i) {
      inAlphabet =
          (caseSensitive_ ? RawUnit{}(alphabet, i) : FoldedUnit{foldTable_}(alphabet, i)) == unit;
    }
    if (!inAlphabet) return false;
  }
  return true;
}

}  // namespace qm
