// The wildcard match of platform/path_match.h as its contract reads, done
// the obvious way: split the pattern list, then match code point by code
// point, trying every length for each "*". Each state is tried once, so
// even long runs of stars stay quick enough for generated inputs.
#ifndef QMPECORE_TESTS_FILES_PATH_MATCH_REFERENCE_H_
#define QMPECORE_TESTS_FILES_PATH_MATCH_REFERENCE_H_

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/text_case.h"
#include "platform/unicode_units.h"

namespace qm::testing {

// Folded code points; a pair is one, a lone surrogate stands for itself.
inline std::u32string ReferenceFoldedCodePoints(std::u16string_view text) {
  std::u32string points;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (platform::IsLeadSurrogate(c) && i + 1 < text.size() &&
        platform::IsTrailSurrogate(text[i + 1])) {
      c = platform::CodePointOfPair(c, text[++i]);
    }
    points.push_back(platform::FoldCodePoint(c));
  }
  return points;
}

class ReferencePieceMatch {
 public:
  ReferencePieceMatch(std::u32string text, std::u32string pattern)
      : text_(std::move(text)),
        pattern_(std::move(pattern)),
        tried_((text_.size() + 1) * (pattern_.size() + 1), false) {}

  bool From(size_t t, size_t p) {
    if (p == pattern_.size()) return t == text_.size();
    std::vector<bool>::reference tried = tried_[t * (pattern_.size() + 1) + p];
    if (tried) return false;  // tried before, and it failed (a success ends the search)
    tried = true;
    if (pattern_[p] == U'*') {
      for (size_t skip = t; skip <= text_.size(); ++skip) {
        if (From(skip, p + 1)) return true;
      }
      return false;
    }
    if (t == text_.size()) return false;
    return (pattern_[p] == U'?' || pattern_[p] == text_[t]) && From(t + 1, p + 1);
  }

 private:
  std::u32string text_;
  std::u32string pattern_;
  std::vector<bool> tried_;
};

inline bool ReferencePathMatch(std::u16string_view text, std::u16string_view patternText) {
  std::vector<std::u16string_view> pieces;
  for (size_t start = 0; start < patternText.size();) {
    const size_t end = std::min(patternText.find(u';', start), patternText.size());
    pieces.push_back(patternText.substr(start, end - start));
    start = end + 1;  // past the ";": one at the very end adds no piece
  }
  for (std::u16string_view piece : pieces) {
    piece.remove_prefix(std::min(piece.find_first_not_of(u' '), piece.size()));
    if (piece == u"*.*") return true;
    ReferencePieceMatch match(ReferenceFoldedCodePoints(text), ReferenceFoldedCodePoints(piece));
    if (match.From(0, 0)) return true;
  }
  return false;
}

}  // namespace qm::testing

#endif  // QMPECORE_TESTS_FILES_PATH_MATCH_REFERENCE_H_
