#include "platform/wide_integer.h"

#include <limits>

namespace qm::platform {
namespace {

bool IsWhiteSpace(char16_t c) {
  return (c >= u'\t' && c <= u'\r') || c == u' ' || c == 0x00A0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
         c == 0x205F || c == 0x3000;
}

// The zero of each run of ten digits that the runtime reads, ascending.
constexpr char16_t kDigitZeros[] = {0x0030, 0x0660, 0x06F0, 0x0966, 0x09E6, 0x0A66,
                                    0x0AE6, 0x0B66, 0x0C66, 0x0CE6, 0x0D66, 0x0E50,
                                    0x0ED0, 0x0F20, 0x1040, 0x17E0, 0x1810, 0xFF10};

// The value of the digit `c`, or -1.
int DigitValue(char16_t c) {
  for (char16_t zero : kDigitZeros) {
    if (c < zero) break;
    if (c <= zero + 9) return c - zero;
  }
  return -1;
}

}  // namespace

int32_t ReadWideInteger(std::u16string_view text) {
  size_t at = 0;
  while (at < text.size() && IsWhiteSpace(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
    negative = text[at] == u'-';
    ++at;
  }
  // The magnitude grows in 64 bits and stops once it is past every 32-bit
  // value, so that any number of digits is safe.
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t magnitude = 0;
  for (int digit; at < text.size() && (digit = DigitValue(text[at])) >= 0; ++at) {
    if (magnitude <= kLimit) magnitude = magnitude * 10 + digit;
  }
  if (negative) {
    return magnitude >= kLimit ? std::numeric_limits<int32_t>::min()
                               : static_cast<int32_t>(-magnitude);
  }
  return magnitude >= kLimit ? std::numeric_limits<int32_t>::max()
                             : static_cast<int32_t>(magnitude);
}

}  // namespace qm::platform
