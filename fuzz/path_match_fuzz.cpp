// The wildcard match against the plain recursive reference: any text, any
// pattern list, any units (lone surrogates, pairs, letters that fold).
#include "files/path_match_reference.h"
#include "fuzz_support.h"
#include "platform/path_match.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Past this the reference's table of states grows large for no new case.
  constexpr size_t kMostUnits = 48;
  qm::fuzz::InputReader input(data, size);
  const std::u16string text = input.UnitsToZero();
  const std::u16string pattern = input.UnitsToZero();
  if (text.size() > kMostUnits || pattern.size() > kMostUnits) return 0;
  const bool matches = qm::platform::PathPattern(pattern).Matches(text);
  qm::fuzz::Require(matches == qm::testing::ReferencePathMatch(text, pattern),
                    "the match agrees with the reference");
  return 0;
}
