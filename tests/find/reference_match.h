// The find's matching rule done the plain way, for the reference tests:
// each occurrence of a plain text tried in turn against the word rule,
// and a pattern tried at each start with PCRE2's other matcher (the DFA
// one, which lists every match at a start, so the first start with any
// match on word bounds is plain to see).
#ifndef QMPECORE_TESTS_FIND_REFERENCE_MATCH_H_
#define QMPECORE_TESTS_FIND_REFERENCE_MATCH_H_

#include <string>
#include <string_view>

#include "find/find_options.h"

namespace qm::testing {

inline bool IsLead(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
inline bool IsTrail(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Letters, digits and connector punctuation (reference_platform_*.cpp).
bool ReferenceIsWordCharacter(char32_t codePoint);

// Where `needle` first matches in `text` by the find's rule, or npos.
size_t ReferenceFirstMatch(std::u16string_view text, std::u16string_view needle,
                           const FindOptions& options);

}  // namespace qm::testing

#endif  // QMPECORE_TESTS_FIND_REFERENCE_MATCH_H_
