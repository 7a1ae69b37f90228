// The line format that the oracle writes and the comparer reads: one case
// a line, "function<TAB>input...<TAB>answer". Every field is escaped so
// that any code unit survives the trip through a text pipe: the printable
// ASCII characters other than "\" stand for themselves, and every other
// UTF-16 unit is written "\uXXXX", every other byte "\xXX" (hex digits in
// upper case). A date is the 16 hex digits of its bits, so that NaN and
// -0.0 arrive as they left.
#ifndef QMPECORE_TOOLS_WIN32_ORACLE_CASE_TEXT_H_
#define QMPECORE_TOOLS_WIN32_ORACLE_CASE_TEXT_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::oracle {

inline constexpr char kFieldSeparator = '\t';

std::string EscapeText(std::u16string_view text);
std::string EscapeBytes(std::string_view bytes);
std::string EscapeDate(double date);

// Nothing when the field is not of the escaped form.
std::optional<std::u16string> UnescapeText(std::string_view field);
std::optional<std::string> UnescapeBytes(std::string_view field);
std::optional<double> UnescapeDate(std::string_view field);

// The fields of one line (a line without separator is one field).
std::vector<std::string_view> SplitFields(std::string_view line);

// The answer of a function that reports a calendar time: "fail", or the
// fields followed by the short date text that the time formats to.
struct CalendarAnswer {
  int year, month, day, hour, minute, second, milliseconds, dayOfWeek, dayOfYear;
  std::u16string shortDate;
};
std::string FormatCalendarAnswer(const std::optional<CalendarAnswer>& answer);

}  // namespace qm::oracle

#endif  // QMPECORE_TOOLS_WIN32_ORACLE_CASE_TEXT_H_
