#include "find/search_needle.h"

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
  if (!compared_.empty()) firstTest_ = ExactTestOf(compared_[0], caseSensitive_);
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

// Fields and lines are short and most positions fail on their first unit,
// so the scan tests the needle's first unit, then its last, and only then
// the units between. Each haystack unit is folded where it is read: no
// folded copy of the haystack is ever made. Where the first unit has an
// exact test, that test stands in for folding each position's unit.
// (Testing sixteen starts at a time, as the file search does, was slower
// here: most fields are shorter than a block.)
template <class Fold, class FirstTest>
size_t SearchNeedle::Scan(std::u16string_view haystack, size_t from, Fold fold,
                          FirstTest isFirst) const {
  const size_t length = compared_.size();
  if (length == 0 || length > haystack.size()) return npos;
  const char16_t* needle = compared_.data();
  const char16_t last = needle[length - 1];
  const size_t lastStart = haystack.size() - length;
  for (size_t at = from; at <= lastStart; ++at) {
    if (!isFirst(haystack, at)) continue;
    if (fold(haystack, at + length - 1) != last) continue;
    size_t k = 1;
    while (k + 1 < length && fold(haystack, at + k) == needle[k]) ++k;
    if (k + 1 >= length) return at;
  }
  return npos;
}

size_t SearchNeedle::FindFrom(std::u16string_view haystack, size_t from) const {
  const auto exactFirst = [test = firstTest_](std::u16string_view text, size_t i) {
    return test(text[i]);
  };
  if (caseSensitive_) return Scan(haystack, from, RawUnit{}, exactFirst);
  const FoldedUnit fold{foldTable_};
  if (firstTest_.exact) return Scan(haystack, from, fold, exactFirst);
  return Scan(haystack, from, fold,
              [fold, first = compared_[0]](std::u16string_view text, size_t i) {
                return fold(text, i) == first;
              });
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
