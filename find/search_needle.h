// The search text of one find with its options, prepared once and tested
// against many field texts and file lines: the one matching rule of every
// searcher.
#ifndef QMPECORE_FIND_SEARCH_NEEDLE_H_
#define QMPECORE_FIND_SEARCH_NEEDLE_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "find/find_options.h"
#include "find/regex_pattern.h"

namespace qm {

// A needle is case-sensitive when the find's match-case flag is exactly 1
// and case-blind for any other value. Case-blind means Unicode simple case
// folding per code point (the Kelvin sign matches "k"): the needle and the
// haystack are both folded and compared unit by unit. Folding keeps the
// length, so offsets in the folded haystack are offsets in the haystack.
//
// Whole word, an occurrence counts only where no word character stands
// just before or after it (find/word_characters.h). As a regular
// expression, the text is a pattern (find/regex_pattern.h) with the same
// case rule and word rule; the position of a match is where it starts.
//
// An empty needle matches nothing, and so does one whose pattern does not
// compile (patternError() says why). A plain needle is immutable after
// construction and FindIn allocates nothing; a pattern reuses one match
// block, so a needle serves one thread at a time.
class SearchNeedle {
 public:
  static constexpr size_t npos = std::u16string_view::npos;

  SearchNeedle(std::u16string_view text, const FindOptions& options);
  SearchNeedle(std::u16string_view text, int32_t matchCase)
      : SearchNeedle(text, FindOptions::FromMatchCase(matchCase)) {}

  bool empty() const { return compared_.empty() || (options_.regex && regex_ == nullptr); }
  const FindOptions& options() const { return options_; }
  // Set when the text is a pattern that does not compile.
  const RegexError* patternError() const { return patternError_.get(); }
  // True once a pattern's matching ran past the match limit.
  bool matchLimitReached() const { return regex_ != nullptr && regex_->limitReached(); }
  bool lastMatchRanPastLimit() const { return regex_ != nullptr && regex_->lastRanPastLimit(); }
  bool caseSensitive() const { return caseSensitive_; }
  // The needle as given.
  const std::u16string& text() const { return text_; }
  // The needle as compared: folded when case-blind, else as given.
  const std::u16string& compared() const { return compared_; }

  // A text that every match holds (the needle itself, unless it is a
  // pattern), searched for first where that is faster; may be empty.
  const std::u16string& requiredText() const { return options_.regex ? requiredText_ : text_; }

  // The offset of the first occurrence in `haystack`, or npos; its length
  // goes to `length` when that is not null.
  size_t FindIn(std::u16string_view haystack, size_t* length = nullptr) const;
  // The first occurrence of a plain needle (no pattern) that starts at or
  // after `from`, by the same rule; its length is the needle's.
  size_t FindPlainFrom(std::u16string_view haystack, size_t from) const;
  // The compiled pattern; null for a plain needle or one that does not compile.
  const RegexPattern* pattern() const { return regex_.get(); }

  // False when no text made only of units of `alphabet` can contain the
  // needle; lets a caller skip making texts of a known alphabet. A pattern
  // may match any text.
  bool CanOccurIn(std::u16string_view alphabet) const;
  // CanOccurIn of the decimal texts of numbers and number sets
  // ("-12", "1,5,12"), kept from construction.
  bool CanOccurInNumberText() const { return canOccurInNumberText_; }

 private:
  // A test of one haystack unit that says exactly whether it compares
  // equal to a needle unit: (unit | orBits) == target. Not every needle
  // unit has one (the "k" that three units fold to has none).
  struct UnitTest {
    char16_t orBits = 0;
    char16_t target = 0;
    bool exact = false;
    bool operator()(char16_t unit) const { return static_cast<char16_t>(unit | orBits) == target; }
  };
  static UnitTest ExactTestOf(char16_t compared, bool caseSensitive);

  // The needle units at `front` and `back` have exact tests, and no exact
  // unit lies before `front` or after `back` (they are one unit when only
  // one is exact). Without any, `exact` is false.
  struct Anchors {
    size_t front = 0;
    size_t back = 0;
    UnitTest frontTest;
    UnitTest backTest;
    bool exact = false;
  };

  template <class Fold>
  size_t ScanAnchored(std::u16string_view haystack, size_t from, Fold fold) const;
  template <class Fold>
  size_t Scan(std::u16string_view haystack, size_t from, Fold fold) const;
  // Any occurrence, whole word or not.
  size_t FindFrom(std::u16string_view haystack, size_t from) const;

  std::u16string text_;
  std::u16string compared_;
  FindOptions options_;
  std::shared_ptr<const RegexPattern> regex_;
  std::shared_ptr<const RegexError> patternError_;
  std::u16string requiredText_;  // of a pattern
  bool caseSensitive_;
  bool canOccurInNumberText_;
  const char16_t* foldTable_;
  Anchors anchors_;
};

// The one matching rule of the find: whether `field` contains the needle.
inline bool MatchField(std::u16string_view field, const SearchNeedle& needle) {
  return needle.FindIn(field) != SearchNeedle::npos;
}

}  // namespace qm

#endif  // QMPECORE_FIND_SEARCH_NEEDLE_H_
