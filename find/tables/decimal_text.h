// Decimal digits written straight into UTF-16, for the number texts that
// the find tests: "%ld" and "%d" give the same digits, a minus sign for
// negatives and no padding.
#ifndef QMPECORE_FIND_TABLES_DECIMAL_TEXT_H_
#define QMPECORE_FIND_TABLES_DECIMAL_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

// Room for any 64-bit number with its sign.
inline constexpr size_t kDecimalTextUnits = 20;

// Writes `value` into `buffer` and returns a view of the text written.
inline std::u16string_view WriteDecimal(int64_t value, char16_t (&buffer)[kDecimalTextUnits]) {
  char16_t* end = buffer + kDecimalTextUnits;
  char16_t* begin = end;
  // Works on the magnitude as unsigned, so that INT64_MIN has one too.
  uint64_t rest = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  do {
    *--begin = static_cast<char16_t>(u'0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  if (value < 0) *--begin = u'-';
  return std::u16string_view(begin, static_cast<size_t>(end - begin));
}

inline void AppendDecimal(int64_t value, std::u16string* out) {
  char16_t buffer[kDecimalTextUnits];
  out->append(WriteDecimal(value, buffer));
}

// Appends `value` with at least `width` digits, zeros in front (values are
// not negative).
inline void AppendDecimalPadded(uint32_t value, size_t width, std::u16string* out) {
  char16_t buffer[kDecimalTextUnits];
  std::u16string_view digits = WriteDecimal(value, buffer);
  if (digits.size() < width) out->append(width - digits.size(), u'0');
  out->append(digits);
}

}  // namespace qm

#endif  // QMPECORE_FIND_TABLES_DECIMAL_TEXT_H_
