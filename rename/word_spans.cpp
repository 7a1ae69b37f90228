#include "rename/word_spans.h"

#include <algorithm>
#include <functional>

#include "find/word_characters.h"
#include "platform/unicode_units.h"

namespace qm {
namespace {

const unsigned char* Bytes(std::string_view text) {
  return reinterpret_cast<const unsigned char*>(text.data());
}

// The code point that ends just before `at`: the well-formed sequence of
// one to four bytes that ends there, else U+FFFD.
char32_t CodePointBefore(std::string_view text, size_t at) {
  const unsigned char* end = Bytes(text) + at;
  for (size_t length = 1; length <= 4 && length <= at; ++length) {
    const platform::Utf8Step step = platform::DecodeUtf8Step(end - length, end);
    if (step.wellFormed && step.length == length) return step.codePoint;
  }
  return U'\uFFFD';
}

char32_t CodePointAt(std::string_view text, size_t at) {
  const platform::Utf8Step step =
      platform::DecodeUtf8Step(Bytes(text) + at, Bytes(text) + text.size());
  return step.wellFormed ? step.codePoint : U'\uFFFD';
}

}  // namespace

std::vector<size_t> FindWholeWordSpans(std::string_view text, std::string_view word) {
  std::vector<size_t> spans;
  if (word.empty() || word.find_first_of("\r\n") != std::string_view::npos) return spans;
  text = text.substr(0, text.find('\0'));
  const std::boyer_moore_horspool_searcher searcher(word.begin(), word.end());
  size_t from = 0;
  while (from + word.size() <= text.size()) {
    const auto found = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(),
                                   searcher);
    if (found == text.end()) break;
    const size_t at = static_cast<size_t>(found - text.begin());
    const size_t after = at + word.size();
    const bool wholeBefore = at == 0 || !IsWordCharacter(CodePointBefore(text, at));
    const bool wholeAfter = after == text.size() || !IsWordCharacter(CodePointAt(text, after));
    if (wholeBefore && wholeAfter) {
      spans.push_back(at);
      from = after;
    } else {
      from = at + 1;
    }
  }
  return spans;
}

}  // namespace qm
