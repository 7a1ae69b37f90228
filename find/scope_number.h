// How a number in a scope item is read: as the platform's _wtoi reads it.
#ifndef QMPECORE_FIND_SCOPE_NUMBER_H_
#define QMPECORE_FIND_SCOPE_NUMBER_H_

#include <cstdint>
#include <string_view>

namespace qm {

// Leading white space is skipped, then an optional sign and the decimal
// digits up to the first other character. No digits read as 0; a value
// beyond 32 bits saturates at INT32_MAX or INT32_MIN. Never throws.
int32_t ReadScopeNumber(std::u16string_view text);

}  // namespace qm

#endif  // QMPECORE_FIND_SCOPE_NUMBER_H_
