// The integer at the start of a UTF-16 text, read as the C runtime's _wtoi
// reads it, written once for every platform.
#ifndef QMPECORE_PLATFORM_WIDE_INTEGER_H_
#define QMPECORE_PLATFORM_WIDE_INTEGER_H_

#include <cstdint>
#include <string_view>

namespace qm::platform {

// Skips leading white space, takes an optional "+" or "-" right before the
// digits, then reads decimal digits up to the first other unit. White
// space is what the runtime's iswspace calls so: tab to carriage return,
// the space separators of Unicode (U+00A0, U+3000 and the others) and the
// line and paragraph separators, but not U+0085. Digits are those of every
// script the runtime reads as digits: ASCII, Arabic-Indic, the Indic
// scripts, Thai, Lao, Tibetan, Myanmar, Khmer, Mongolian and fullwidth,
// mixed freely. No digits read as 0; a value beyond 32 bits saturates at
// INT32_MAX or INT32_MIN. A pure function; never throws.
int32_t ReadWideInteger(std::u16string_view text);

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_WIDE_INTEGER_H_
