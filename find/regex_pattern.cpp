#include "find/regex_pattern.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <iterator>
#include <new>

namespace qm {
namespace {

// Letters, digits and connector punctuation: the word characters.
constexpr std::u16string_view kWordClass = u"[\\p{L}\\p{N}\\p{Pc}]";

// PCRE2's own default, stated so that the bound does not move with the
// library's build.
constexpr uint32_t kMatchLimit = 10'000'000;

RegexError ErrorOf(int code, PCRE2_SIZE offset) {
  PCRE2_UCHAR16 message[256];
  const int length = pcre2_get_error_message(code, message, std::size(message));
  RegexError error;
  if (length > 0) error.message.assign(reinterpret_cast<const char16_t*>(message), length);
  error.offset = offset;
  return error;
}

pcre2_code* CompileText(std::u16string_view pattern, uint32_t options, RegexError* error) {
  int code = 0;
  PCRE2_SIZE offset = 0;
  pcre2_code* compiled = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()),
                                       pattern.size(), options, &code, &offset, nullptr);
  if (compiled == nullptr && error != nullptr) *error = ErrorOf(code, offset);
  return compiled;
}

// The pattern in a group between two look-arounds that refuse a word
// character. "\E" ends a quote that the pattern leaves open, which would
// otherwise take in the closing parenthesis.
std::u16string WholeWordPattern(std::u16string_view pattern) {
  std::u16string wrapped = u"(?<!";
  wrapped.append(kWordClass).append(u")(?:").append(pattern).append(u"\\E)(?!");
  wrapped.append(kWordClass).append(u")");
  return wrapped;
}

}  // namespace

std::u16string RegexPattern::RequiredPrefix(std::u16string_view pattern, bool matchCase) {
  if (pattern.find(u'|') != std::u16string_view::npos) return {};
  const auto plain = [matchCase](char16_t c) {
    const char16_t lower = c | 0x20;
    const bool letter = lower >= u'a' && lower <= u'z';
    if (letter && !matchCase && (lower == u'k' || lower == u's')) return false;
    return letter || (c >= u'0' && c <= u'9') || c == u'_';
  };
  size_t length = 0;
  while (length < pattern.size() && plain(pattern[length])) ++length;
  // A quantifier that allows none takes the last character out.
  if (length > 0 && length < pattern.size() &&
      std::u16string_view(u"?*{").find(pattern[length]) != std::u16string_view::npos) {
    --length;
  }
  return std::u16string(pattern.substr(0, length));
}

struct RegexPattern::Handles {
  pcre2_code* code = nullptr;
  pcre2_match_data* match = nullptr;
  pcre2_match_context* context = nullptr;
  ~Handles() {
    pcre2_match_context_free(context);
    pcre2_match_data_free(match);
    pcre2_code_free(code);
  }
};

std::unique_ptr<RegexPattern> RegexPattern::Compile(std::u16string_view pattern,
                                                    const RegexSettings& settings,
                                                    RegexError* error) {
  uint32_t options = PCRE2_UTF | PCRE2_UCP | PCRE2_MATCH_INVALID_UTF;
  if (!settings.matchCase) options |= PCRE2_CASELESS;
  auto handles = std::make_unique<Handles>();
  handles->code = CompileText(pattern, options, error);
  if (handles->code == nullptr) return nullptr;
  if (settings.wholeWord) {
    // The faults are reported as in the pattern itself; one that only the
    // wrapping brings out (an extended-mode comment that runs to the
    // pattern's end and takes in the closing group) is reported at 0.
    pcre2_code_free(handles->code);
    handles->code = CompileText(WholeWordPattern(pattern), options, nullptr);
    if (handles->code == nullptr) {
      if (error != nullptr) {
        *error = {u"the pattern cannot be wrapped to match whole words only", 0};
      }
      return nullptr;
    }
  }
  // Without the JIT (a platform that lacks it) PCRE2 interprets the same
  // pattern with the same answers.
  pcre2_jit_compile(handles->code, PCRE2_JIT_COMPLETE);
  handles->match = pcre2_match_data_create_from_pattern(handles->code, nullptr);
  handles->context = pcre2_match_context_create(nullptr);
  if (handles->match == nullptr || handles->context == nullptr) throw std::bad_alloc();
  pcre2_set_match_limit(handles->context, kMatchLimit);
  return std::unique_ptr<RegexPattern>(new RegexPattern(std::move(handles)));
}

RegexPattern::RegexPattern(std::unique_ptr<Handles> handles) : handles_(std::move(handles)) {}
RegexPattern::~RegexPattern() = default;

size_t RegexPattern::FirstMatch(std::u16string_view subject, size_t* length) const {
  const int found = pcre2_match(handles_->code, reinterpret_cast<PCRE2_SPTR>(subject.data()),
                                subject.size(), 0, 0, handles_->match, handles_->context);
  lastRanPastLimit_ = found == PCRE2_ERROR_MATCHLIMIT || found == PCRE2_ERROR_DEPTHLIMIT ||
                      found == PCRE2_ERROR_HEAPLIMIT || found == PCRE2_ERROR_JIT_STACKLIMIT;
  limitReached_ = limitReached_ || lastRanPastLimit_;
  if (found >= 0) {
    const PCRE2_SIZE* span = pcre2_get_ovector_pointer(handles_->match);
    // \K can set the start after the end; such a match is empty.
    if (length != nullptr) *length = span[1] > span[0] ? span[1] - span[0] : 0;
    return span[0];
  }
  if (found == PCRE2_ERROR_NOMEMORY) throw std::bad_alloc();
  return npos;
}

namespace {

// Collects, for each substitution, the match's place in the subject and
// the replacement's in the output.
int CollectSpan(pcre2_substitute_callout_block* block, void* data) {
  auto* spans = static_cast<std::vector<ReplacedSpan>*>(data);
  spans->push_back({block->ovector[0], block->ovector[1], block->output_offsets[0],
                    block->output_offsets[1]});
  return 0;
}

bool RanPastLimit(int code) {
  return code == PCRE2_ERROR_MATCHLIMIT || code == PCRE2_ERROR_DEPTHLIMIT ||
         code == PCRE2_ERROR_HEAPLIMIT || code == PCRE2_ERROR_JIT_STACKLIMIT;
}

}  // namespace

int64_t RegexPattern::ReplaceAll(std::u16string_view subject, std::u16string_view replacement,
                                 std::u16string* result, std::vector<ReplacedSpan>* spans,
                                 RegexError* error) const {
  std::vector<ReplacedSpan> collected;
  constexpr uint32_t kOptions = PCRE2_SUBSTITUTE_GLOBAL | PCRE2_SUBSTITUTE_UNSET_EMPTY |
                                PCRE2_SUBSTITUTE_OVERFLOW_LENGTH;
  // A result rarely outgrows the subject by much; when it does, PCRE2 says
  // how long it is and the substitution runs once more.
  PCRE2_SIZE capacity = subject.size() + subject.size() / 4 + replacement.size() + 16;
  int code = 0;
  for (int attempt = 0; attempt < 2; ++attempt) {
    collected.clear();
    pcre2_set_substitute_callout(handles_->context, spans != nullptr ? CollectSpan : nullptr,
                                 &collected);
    result->resize(capacity);
    PCRE2_SIZE length = capacity;
    code = pcre2_substitute(handles_->code, reinterpret_cast<PCRE2_SPTR>(subject.data()),
                            subject.size(), 0, kOptions, handles_->match, handles_->context,
                            reinterpret_cast<PCRE2_SPTR>(replacement.data()), replacement.size(),
                            reinterpret_cast<PCRE2_UCHAR*>(result->data()), &length);
    pcre2_set_substitute_callout(handles_->context, nullptr, nullptr);
    if (code >= 0) {
      result->resize(length);
      if (spans != nullptr) *spans = std::move(collected);
      return code;
    }
    if (code != PCRE2_ERROR_NOMEMORY || length <= capacity) break;
    capacity = length;
  }
  result->clear();
  if (code == PCRE2_ERROR_NOMEMORY) throw std::bad_alloc();
  lastRanPastLimit_ = RanPastLimit(code);
  limitReached_ = limitReached_ || lastRanPastLimit_;
  if (error != nullptr) *error = ErrorOf(code, 0);
  return -1;
}

}  // namespace qm
