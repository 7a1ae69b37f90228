// The texts of a tag list file's cells (UTF-8) for each kind of stored
// value, and their reading back. Every Append* text reads back through
// the matching Parse* to the same value, bit for bit: a file written and
// read again changes nothing. The Parse* functions answer an empty text
// when they took the cell, or a message saying what is wrong with it.
#ifndef QMPECORE_EXCHANGE_CELL_TEXT_H_
#define QMPECORE_EXCHANGE_CELL_TEXT_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "qmpecore/config_records.h"

namespace qm::exchange {

void AppendText(std::u16string_view text, std::string* out);
// A column title or other text of this library as UTF-8.
std::string TitleText(std::u16string_view title);
void AppendInteger(int64_t value, std::string* out);
// The shortest decimal that reads back to `value`; "nan", "inf", "-inf".
void AppendReal(double value, std::string* out);
// "YYYY-MM-DD", with " HH:MM:SS" when the time is not midnight; the
// decimal number of days when the date is outside the years 100 to 9999 or
// holds a fraction of a second.
void AppendDate(double date, std::string* out);
// "0,12": the values ascending, joined by commas, as the grid shows them.
void AppendNumberSet(const ValueSet& set, std::string* out);
// The list's text for `value`, or the number when the list lacks it.
void AppendEnum(std::span<const EnumName> names, int64_t value, std::string* out);
// A variant's value: decimal integers, "true" and "false" for a boolean
// that holds -1 or 0 (any other number as it is), reals, dates and texts
// as above, nothing for empty and null.
void AppendVariantValue(const Variant& value, std::string* out);
// A variant's type: "int32", "real64", "string", ... ; a code without a
// name as its number.
void AppendVariantType(uint16_t type, std::string* out);

std::string ParseText(std::string_view cell, std::u16string* out);
std::string ParseInteger(std::string_view cell, int64_t minimum, int64_t maximum, int64_t* out);
std::string ParseReal(std::string_view cell, double* out);
// Also takes the grid's "DD/MM/YYYY" and a number of days.
std::string ParseDate(std::string_view cell, double* out);
std::string ParseNumberSet(std::string_view cell, ValueSet* out);
// A text of the list (any letter case), or a number that the list holds.
std::string ParseEnum(std::string_view cell, std::span<const EnumName> names, int64_t minimum,
                      int64_t maximum, int64_t* out);
std::string ParseVariantType(std::string_view cell, uint16_t* out);
// The value of a variant of type `type`, which `out` takes.
std::string ParseVariantValue(std::string_view cell, uint16_t type, Variant* out);

}  // namespace qm::exchange

#endif  // QMPECORE_EXCHANGE_CELL_TEXT_H_
