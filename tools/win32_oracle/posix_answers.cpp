#include "tools/win32_oracle/posix_answers.h"

#include "find/tables/format_short_date.h"
#include "platform/file_names.h"
#include "platform/ole_date.h"
#include "platform/path_match.h"
#include "platform/text_case.h"
#include "platform/utf_conversion.h"
#include "platform/wide_integer.h"
#include "tools/win32_oracle/case_text.h"

namespace qm::oracle {
namespace {

std::u16string Text(const std::string& field) { return UnescapeText(field).value(); }

std::string Offset(size_t found) {
  return found == std::u16string_view::npos ? "-1" : std::to_string(found);
}

std::string CompareIgnoringCase(std::span<const std::string> inputs) {
  const int order = platform::CompareTextIgnoreCase(Text(inputs[0]), Text(inputs[1]));
  return std::to_string(order < 0 ? -1 : order > 0 ? 1 : 0);
}

std::string SearchIgnoringCase(std::span<const std::string> inputs) {
  return Offset(platform::FindTextIgnoreCase(Text(inputs[0]), Text(inputs[1])));
}

std::string SearchMatchingCase(std::span<const std::string> inputs) {
  return Offset(platform::FindText(Text(inputs[0]), Text(inputs[1])));
}

std::string MatchPath(std::span<const std::string> inputs) {
  return platform::MatchPathPattern(Text(inputs[0]), Text(inputs[1])) ? "1" : "0";
}

std::string ReadNumber(std::span<const std::string> inputs) {
  return std::to_string(platform::ReadWideInteger(Text(inputs[0])));
}

std::string SplitDate(std::span<const std::string> inputs) {
  const double date = UnescapeDate(inputs[0]).value();
  platform::CalendarTime time;
  if (!platform::OleDateToCalendar(date, &time)) return FormatCalendarAnswer(std::nullopt);
  return FormatCalendarAnswer(CalendarAnswer{
      time.year, time.month, time.day, time.hour, time.minute, time.second, 0, time.dayOfWeek,
      time.dayOfYear, FormatShortDate(date, DateStatus::kValid)});
}

std::string IsRelative(std::span<const std::string> inputs) {
  return platform::IsRelativePath(Text(inputs[0])) ? "1" : "0";
}

std::string Utf8ToUtf16(std::span<const std::string> inputs) {
  std::u16string text;
  platform::AppendUtf8AsUtf16(UnescapeBytes(inputs[0]).value(), &text);
  return EscapeText(text);
}

std::string Utf16ToUtf8(std::span<const std::string> inputs) {
  std::string bytes;
  platform::AppendUtf16AsUtf8(Text(inputs[0]), &bytes);
  return EscapeBytes(bytes);
}

constexpr PosixAnswer kAnswers[] = {
    {"lstrcmpiW", "CompareTextIgnoreCase", CompareIgnoringCase},
    {"StrStrIW", "FindTextIgnoreCase", SearchIgnoringCase},
    {"StrStrW", "FindText", SearchMatchingCase},
    {"PathMatchSpecW", "MatchPathPattern", MatchPath},
    {"_wtoi", "ReadWideInteger", ReadNumber},
    {"VarUdateFromDate", "OleDateToCalendar + FormatShortDate", SplitDate},
    {"PathIsRelativeW", "IsRelativePath", IsRelative},
    {"MultiByteToWideChar", "AppendUtf8AsUtf16", Utf8ToUtf16},
    {"WideCharToMultiByte", "AppendUtf16AsUtf8", Utf16ToUtf8},
};

}  // namespace

const PosixAnswer* PosixAnswerFor(std::string_view function) {
  for (const PosixAnswer& entry : kAnswers) {
    if (entry.function == function) return &entry;
  }
  return nullptr;
}

}  // namespace qm::oracle
