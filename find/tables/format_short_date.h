// The short date text of the User grid's Expire column: "31/12/2011".
#ifndef QMPECORE_FIND_TABLES_FORMAT_SHORT_DATE_H_
#define QMPECORE_FIND_TABLES_FORMAT_SHORT_DATE_H_

#include <string>
#include <string_view>

namespace qm {

// The three states of an OLE date value.
enum class DateStatus { kValid, kInvalid, kNull };

// What an invalid date, or one that the calendar conversion refuses, shows.
inline constexpr std::u16string_view kInvalidDateText = u"Invalid DateTime";

// The date of `date` (an OLE Automation date) as "%d/%m/%Y": day and month
// with two digits, the year with four, zeros in front; the time of day is
// not shown (a time that rounds up to midnight shows the next day, as the
// platform conversion rounds). Status null gives the empty text; status
// invalid, and a date outside the years 100 to 9999 or NaN, give
// kInvalidDateText. The digits are written here rather than by the C
// runtime, so the text does not depend on the locale.
std::u16string FormatShortDate(double date, DateStatus status);

// The same text, replacing the contents of `out`.
void AssignShortDate(double date, DateStatus status, std::u16string* out);

}  // namespace qm

#endif  // QMPECORE_FIND_TABLES_FORMAT_SHORT_DATE_H_
