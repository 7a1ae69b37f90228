#include "reference_match.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "reference_text.h"

namespace qm::testing {
namespace {

constexpr size_t npos = std::u16string_view::npos;

// A lone surrogate is no character, let alone a word character.
bool WordCharacterBefore(std::u16string_view text, size_t end) {
  if (end == 0) return false;
  const char16_t last = text[end - 1];
  if (IsTrail(last) && end >= 2 && IsLead(text[end - 2])) {
    return ReferenceIsWordCharacter(0x10000 + ((text[end - 2] - 0xD800) << 10) + (last - 0xDC00));
  }
  return !IsLead(last) && !IsTrail(last) && ReferenceIsWordCharacter(last);
}

bool WordCharacterAt(std::u16string_view text, size_t at) {
  if (at >= text.size()) return false;
  const char16_t first = text[at];
  if (IsLead(first) && at + 1 < text.size() && IsTrail(text[at + 1])) {
    return ReferenceIsWordCharacter(0x10000 + ((first - 0xD800) << 10) + (text[at + 1] - 0xDC00));
  }
  return !IsLead(first) && !IsTrail(first) && ReferenceIsWordCharacter(first);
}

bool OnWordBounds(std::u16string_view text, size_t start, size_t end) {
  return !WordCharacterBefore(text, start) && !WordCharacterAt(text, end);
}

size_t FirstText(std::u16string_view text, std::u16string_view needle,
                 const FindOptions& options) {
  for (size_t from = 0; from <= text.size();) {
    size_t at = npos;
    if (options.matchCase) {
      at = text.find(needle, from);
    } else {
      at = ReferenceFindIgnoringCase(text.substr(from), needle);
      if (at != npos) at += from;
    }
    if (at == npos || !options.wholeWord || OnWordBounds(text, at, at + needle.size())) return at;
    from = at + 1;
  }
  return npos;
}

struct CodeFree {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct DataFree {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};

size_t FirstPattern(std::u16string_view text, std::u16string_view pattern,
                    const FindOptions& options) {
  int error = 0;
  PCRE2_SIZE offset = 0;
  // The DFA matcher takes well-formed texts only; the generated texts
  // hold no lone surrogate.
  const uint32_t flags = PCRE2_UTF | PCRE2_UCP | (options.matchCase ? 0 : PCRE2_CASELESS);
  std::unique_ptr<pcre2_code, CodeFree> code(pcre2_compile(
      reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), flags, &error, &offset,
      nullptr));
  if (code == nullptr) return npos;
  constexpr int kMatches = 64;
  std::unique_ptr<pcre2_match_data, DataFree> data(pcre2_match_data_create(kMatches, nullptr));
  std::vector<int> workspace(4096);
  for (size_t start = 0; start <= text.size(); ++start) {
    if (start > 0 && start < text.size() && IsTrail(text[start]) && IsLead(text[start - 1])) {
      continue;  // inside a character
    }
    const int found = pcre2_dfa_match(code.get(), reinterpret_cast<PCRE2_SPTR>(text.data()),
                                      text.size(), start, PCRE2_ANCHORED, data.get(), nullptr,
                                      workspace.data(), workspace.size());
    if (found == PCRE2_ERROR_NOMATCH) continue;
    if (found < 0) throw std::logic_error("the reference matcher failed on a text");
    const PCRE2_SIZE* ends = pcre2_get_ovector_pointer(data.get());
    const int listed = found == 0 ? kMatches : found;
    for (int i = 0; i < listed; ++i) {
      if (!options.wholeWord || OnWordBounds(text, start, ends[2 * i + 1])) return start;
    }
  }
  return npos;
}

}  // namespace

size_t ReferenceFirstMatch(std::u16string_view text, std::u16string_view needle,
                           const FindOptions& options) {
  if (needle.empty()) return npos;
  return options.regex ? FirstPattern(text, needle, options) : FirstText(text, needle, options);
}

}  // namespace qm::testing
