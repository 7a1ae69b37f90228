// The search text of one find, prepared once and tested against many
// field texts and file lines.
#ifndef QMPECORE_FIND_TABLES_SEARCH_NEEDLE_H_
#define QMPECORE_FIND_TABLES_SEARCH_NEEDLE_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

// A needle is case-sensitive when the find's match-case flag is exactly 1
// and case-blind for any other value. Case-blind means Unicode simple case
// folding per code point (the Kelvin sign matches "k"): the needle and the
// haystack are both folded and compared unit by unit. Folding keeps the
// length, so offsets in the folded haystack are offsets in the haystack.
//
// An empty needle matches nothing. Immutable after construction, so one
// needle may serve any number of searches; FindIn allocates nothing.
class SearchNeedle {
 public:
  static constexpr size_t npos = std::u16string_view::npos;

  SearchNeedle(std::u16string_view text, int32_t matchCase);

  bool empty() const { return compared_.empty(); }
  bool caseSensitive() const { return caseSensitive_; }
  // The needle as given.
  const std::u16string& text() const { return text_; }
  // The needle as compared: folded when case-blind, else as given.
  const std::u16string& compared() const { return compared_; }

  // The offset of the first occurrence in `haystack`, or npos.
  size_t FindIn(std::u16string_view haystack) const;

  // False when no text made only of units of `alphabet` can contain the
  // needle; lets a caller skip making texts of a known alphabet.
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

  template <class Fold, class FirstTest>
  size_t Scan(std::u16string_view haystack, Fold fold, FirstTest isFirst) const;

  std::u16string text_;
  std::u16string compared_;
  bool caseSensitive_;
  bool canOccurInNumberText_;
  const char16_t* foldTable_;
  UnitTest firstTest_;
};

// The one matching rule of the find: whether `field` contains the needle.
inline bool MatchField(std::u16string_view field, const SearchNeedle& needle) {
  return needle.FindIn(field) != SearchNeedle::npos;
}

}  // namespace qm

#endif  // QMPECORE_FIND_TABLES_SEARCH_NEEDLE_H_
