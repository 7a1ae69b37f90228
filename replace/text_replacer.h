// The replacement of one find's matches in a text: every match that the
// find's needle finds in it (not only the first, which is all a find
// reports), left to right and without overlap.
#ifndef QMPECORE_REPLACE_TEXT_REPLACER_H_
#define QMPECORE_REPLACE_TEXT_REPLACER_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "find/regex_pattern.h"
#include "find/search_needle.h"

namespace qm {

class TextReplacer {
 public:
  // `needle` must outlive the replacer and must not be empty. For a plain
  // needle the replacement is taken as it stands; for a pattern, as PCRE2
  // expands it (find/regex_pattern.h).
  TextReplacer(const SearchNeedle& needle, std::u16string replacement)
      : needle_(needle), replacement_(std::move(replacement)) {}

  // Writes `subject` with its matches replaced to `result` and each
  // replaced match to `spans` (may be null); returns how many there were,
  // or -1 when the replacement cannot be made (error() says why: it names
  // a group the pattern lacks, or the matching ran past the limit).
  int64_t Replace(std::u16string_view subject, std::u16string* result,
                  std::vector<ReplacedSpan>* spans);

  const std::u16string& error() const { return error_; }

 private:
  const SearchNeedle& needle_;
  std::u16string replacement_;
  std::u16string error_;
};

}  // namespace qm

#endif  // QMPECORE_REPLACE_TEXT_REPLACER_H_
