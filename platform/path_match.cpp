#include "platform/path_match.h"

#include "platform/text_case.h"

namespace qm::platform {
namespace {

constexpr size_t kNone = static_cast<size_t>(-1);

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The code point starting at text[at] (a lone surrogate stands for itself)
// and the number of units it takes.
char32_t CodePointAt(std::u16string_view text, size_t at, size_t* width) {
  const char16_t unit = text[at];
  if (IsHighSurrogate(unit) && at + 1 < text.size() && IsLowSurrogate(text[at + 1])) {
    *width = 2;
    return 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (text[at + 1] - 0xDC00);
  }
  *width = 1;
  return unit;
}

// The folded code point at text[at]. BMP text, the usual case, costs one
// table look-up.
char32_t FoldedAt(std::u16string_view text, size_t at, size_t* width) {
  const char16_t unit = text[at];
  if (!IsHighSurrogate(unit)) {
    *width = 1;
    return FoldUnit(unit);
  }
  return FoldCodePoint(CodePointAt(text, at, width));
}

}  // namespace

PathPattern::PathPattern(std::u16string_view patternText) {
  units_.reserve(patternText.size());
  size_t at = 0;
  while (at < patternText.size()) {
    while (at < patternText.size() && patternText[at] == u' ') ++at;
    const size_t begin = units_.size();
    const size_t start = at;
    while (at < patternText.size() && patternText[at] != u';') {
      size_t width;
      units_.push_back(FoldCodePoint(CodePointAt(patternText, at, &width)));
      at += width;
    }
    pieces_.push_back({begin, units_.size(), patternText.substr(start, at - start) == u"*.*"});
    if (at < patternText.size()) ++at;  // the ";"
  }
}

PathPattern PathPattern::Single(std::u16string_view patternText) {
  PathPattern pattern;
  pattern.units_.reserve(patternText.size());
  for (size_t at = 0; at < patternText.size();) {
    size_t width;
    pattern.units_.push_back(FoldCodePoint(CodePointAt(patternText, at, &width)));
    at += width;
  }
  pattern.pieces_.push_back({0, pattern.units_.size(), patternText == u"*.*"});
  return pattern;
}

bool PathPattern::Matches(std::u16string_view text) const {
  for (const Piece& piece : pieces_) {
    if (MatchesPiece(piece, text)) return true;
  }
  return false;
}

// Greedy star with one backtrack point: on a mismatch the latest "*" takes
// one more character and matching resumes after it. Returning to an earlier
// "*" can never help, because whatever the later pieces matched can be
// matched again further right; hence at most text × pattern steps.
bool PathPattern::MatchesPiece(const Piece& piece, std::u16string_view text) const {
  if (piece.matchesAll) return true;
  const char32_t* pattern = units_.data() + piece.begin;
  const size_t patternSize = piece.end - piece.begin;
  size_t p = 0;
  size_t t = 0;
  size_t starP = kNone;
  size_t starT = 0;
  while (t < text.size()) {
    if (p < patternSize && pattern[p] == U'*') {
      starP = p++;
      starT = t;
      continue;
    }
    if (p < patternSize) {
      size_t width;
      const char32_t folded = FoldedAt(text, t, &width);
      if (pattern[p] == U'?' || pattern[p] == folded) {
        ++p;
        t += width;
        continue;
      }
    }
    if (starP == kNone) return false;
    size_t width;
    CodePointAt(text, starT, &width);
    starT += width;
    t = starT;
    p = starP + 1;
  }
  while (p < patternSize && pattern[p] == U'*') ++p;
  return p == patternSize;
}

bool MatchPathPattern(std::u16string_view text, std::u16string_view patternText) {
  return PathPattern(patternText).Matches(text);
}

}  // namespace qm::platform
