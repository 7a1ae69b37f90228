// The wildcard match of file requests, as the Windows shell utilities
// (shlwapi) do it, written once over UTF-16 for every platform:
//
// - A pattern text holds one or more patterns separated by ";"; the text
//   matches when any one of them does. Blanks (U+0020) at the start of each
//   pattern are ignored; a ";" at the very end adds no pattern, so the
//   empty text holds none and matches nothing, while a pattern left empty
//   (between two ";", or blanks only) matches only the empty text.
// - "*" matches any run of characters, separators included; "?" matches
//   exactly one character (a surrogate pair counts as one); every other
//   character, "[" and "." included, stands for itself.
// - A pattern must cover the whole text.
// - Letters match without regard to case, through the Unicode simple case
//   folding of platform/text_case.h, code point by code point (so the
//   Kelvin sign matches "k").
// - A pattern that is exactly "*.*" matches every text, dotless names
//   included. That is the only special form: elsewhere ".*" needs a dot, so
//   "a*.*" matches "abc.txt" but not "abc", and "C:\Windows.*" does not
//   match "C:\Windows" (the Windows function answers the same).
//
// Matching takes time proportional to the text times the pattern length
// at worst (never exponential) and allocates nothing.
#ifndef QMPECORE_PLATFORM_PATH_MATCH_H_
#define QMPECORE_PLATFORM_PATH_MATCH_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qm::platform {

// A pattern text folded and split once, to be matched against many texts.
// Immutable after construction; Matches may be called from several threads.
class PathPattern {
 public:
  PathPattern() = default;  // no pattern: matches nothing
  explicit PathPattern(std::u16string_view patternText);

  // `patternText` as one pattern: ";" and blanks are plain characters in
  // it, "*" and "?" still wildcards. For a pattern made from a path, whose
  // folders may hold either.
  static PathPattern Single(std::u16string_view patternText);

  bool Matches(std::u16string_view text) const;

 private:
  // One ";"-separated pattern: a range of units_.
  struct Piece {
    size_t begin;
    size_t end;
    bool matchesAll;  // the pattern is "*.*"
  };

  bool MatchesPiece(const Piece& piece, std::u16string_view text) const;

  // The folded code points of every piece, one after the other. A code
  // point never folds to "*" or "?", so those stay unambiguous wildcards.
  std::u32string units_;
  std::vector<Piece> pieces_;
};

// One-off match; compiles the pattern each time. Prefer PathPattern when the
// same pattern meets many texts.
bool MatchPathPattern(std::u16string_view text, std::u16string_view patternText);

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_PATH_MATCH_H_
