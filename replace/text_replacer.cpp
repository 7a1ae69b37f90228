#include "replace/text_replacer.h"

namespace qm {

int64_t TextReplacer::Replace(std::u16string_view subject, std::u16string* result,
                              std::vector<ReplacedSpan>* spans) {
  if (spans != nullptr) spans->clear();
  if (const RegexPattern* pattern = needle_.pattern()) {
    RegexError error;
    const int64_t count = pattern->ReplaceAll(subject, replacement_, result, spans, &error);
    if (count < 0) {
      error_ = pattern->lastRanPastLimit()
                   ? u"the pattern's matching ran past the match limit"
                   : u"the replacement cannot be made: " + error.message;
    }
    return count;
  }
  result->clear();
  const size_t length = needle_.compared().size();
  int64_t count = 0;
  size_t copied = 0;
  for (size_t at = needle_.FindPlainFrom(subject, 0); at != SearchNeedle::npos;
       at = needle_.FindPlainFrom(subject, at + length)) {
    result->append(subject.substr(copied, at - copied));
    if (spans != nullptr) {
      spans->push_back({at, at + length, result->size(), result->size() + replacement_.size()});
    }
    result->append(replacement_);
    copied = at + length;
    ++count;
  }
  result->append(subject.substr(copied));
  return count;
}

}  // namespace qm
