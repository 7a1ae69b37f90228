// A needle of bytes or UTF-16 units with a case bit per element, found by
// a prefilter on two of its elements and a check of the whole.
#ifndef QMPECORE_FIND_FILES_MASKED_PATTERN_H_
#define QMPECORE_FIND_FILES_MASKED_PATTERN_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "find/files/wide_pair_scan.h"

namespace qm {

// Element i of the pattern matches a text element e when
// (e | orBits[i]) == elements[i]. An ASCII lower-case letter with orBits
// 0x20 so matches either case of the letter; orBits 0 asks for equality.
// Immutable after construction; Find allocates nothing.
template <class Char>
class MaskedPattern {
 public:
  static constexpr size_t npos = SIZE_MAX;

  // The empty pattern, which is never found.
  MaskedPattern() = default;
  // `orBits` is as long as `elements`, and elements[i] | orBits[i] equals
  // elements[i] (else that element could never match).
  MaskedPattern(std::basic_string<Char> elements, std::basic_string<Char> orBits);

  size_t size() const { return elements_.size(); }

  // The start of the first match lying wholly inside text[from, end), or
  // npos.
  size_t Find(const Char* text, size_t from, size_t end) const;
  // The same with a chosen wide scan of bytes, or none: the tests compare
  // the processor's with none.
  size_t Find(const Char* text, size_t from, size_t end, WidePairScan wide) const;

 private:
  bool MatchesAt(const Char* at) const;

  std::basic_string<Char> elements_;
  std::basic_string<Char> orBits_;
};

}  // namespace qm

#endif  // QMPECORE_FIND_FILES_MASKED_PATTERN_H_
