// A regular expression of a find: PCRE2 in its 16-bit mode, compiled once
// and matched against many field texts and file lines.
#ifndef QMPECORE_FIND_REGEX_PATTERN_H_
#define QMPECORE_FIND_REGEX_PATTERN_H_

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

struct RegexSettings {
  bool matchCase = true;
  // A match must have no word character (find/word_characters.h) just
  // before or just after it; backtracking looks for one that has none.
  bool wholeWord = false;
};

// Why a pattern does not compile, as PCRE2 says it; `offset` is where in
// the pattern (in UTF-16 units) it found the fault.
struct RegexError {
  std::u16string message;
  size_t offset = 0;
};

// The pattern reads and matches code points (a lone surrogate in a text
// matches nothing and is skipped over); \w, \d, \b and the POSIX classes
// follow Unicode properties; case-blind, PCRE2 folds case by Unicode's
// rules. Each match runs under PCRE2's match limit: one that runs past it
// counts as no match and is remembered (limitReached), so that the find
// can stop and say so.
//
// Matching reuses one match block: one thread at a time.
// One replaced match: where it stood in the subject, and where its
// replacement stands in the result; in UTF-16 units.
struct ReplacedSpan {
  size_t from = 0;
  size_t to = 0;
  size_t resultFrom = 0;
  size_t resultTo = 0;
};

class RegexPattern {
 public:
  static constexpr size_t npos = std::u16string_view::npos;

  // A text that every match of `pattern` holds, so that a search for it
  // can pass over what cannot match: the plain letters, digits and
  // underscores that start the pattern, when it has no alternative ("|")
  // anywhere. Case-blind, it stops before a letter that has a case variant
  // outside ASCII (k and s), which a plain case-blind search may treat
  // otherwise than PCRE2. Empty when there is none.
  static std::u16string RequiredPrefix(std::u16string_view pattern, bool matchCase);

  // Null, with `error` filled, when the pattern does not compile.
  static std::unique_ptr<RegexPattern> Compile(std::u16string_view pattern,
                                               const RegexSettings& settings, RegexError* error);
  ~RegexPattern();
  RegexPattern(const RegexPattern&) = delete;
  RegexPattern& operator=(const RegexPattern&) = delete;

  // Where the first match in `subject` starts, or npos; its length goes to
  // `length` when that is not null.
  size_t FirstMatch(std::u16string_view subject, size_t* length = nullptr) const;
  // Every match in `subject`, left to right, replaced by `replacement` as
  // PCRE2 expands it: $1 to $99 and ${name} a group's text ($0 the whole
  // match), $$ a dollar; a group that took no part gives nothing. Writes
  // the replaced text to `result` and each replaced match to `spans` (may
  // be null), and returns how many were replaced; -1 with `error` filled
  // when the replacement names a group the pattern lacks or is malformed,
  // or a match ran past the limit (then also remembered as limitReached).
  int64_t ReplaceAll(std::u16string_view subject, std::u16string_view replacement,
                     std::u16string* result, std::vector<ReplacedSpan>* spans,
                     RegexError* error) const;
  // Whether any match so far, or the last one, ran past the limit.
  bool limitReached() const { return limitReached_; }
  bool lastRanPastLimit() const { return lastRanPastLimit_; }

 private:
  struct Handles;
  explicit RegexPattern(std::unique_ptr<Handles> handles);

  std::unique_ptr<Handles> handles_;
  mutable bool limitReached_ = false;
  mutable bool lastRanPastLimit_ = false;
};

}  // namespace qm

#endif  // QMPECORE_FIND_REGEX_PATTERN_H_
