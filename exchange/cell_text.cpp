#include "exchange/cell_text.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstring>

#include "platform/ole_date.h"
#include "platform/unicode_units.h"
#include "platform/utf_conversion.h"

namespace qm::exchange {
namespace {

constexpr long kOleDayOfUnixEpoch = 25569;
constexpr double kSecondsPerDay = 86400.0;

std::string Quoted(std::string_view cell) {
  std::string text = "\"";
  text.append(cell.substr(0, 60));
  if (cell.size() > 60) text.append("...");
  return text + "\"";
}

std::string_view Trimmed(std::string_view cell) {
  const size_t first = cell.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return cell.substr(first, cell.find_last_not_of(" \t") - first + 1);
}

bool SameLetters(std::string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char32_t c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    if (lower(static_cast<unsigned char>(a[i])) != lower(b[i])) return false;
  }
  return true;
}

// Reads digits, a sign and nothing else.
bool ReadInteger(std::string_view text, int64_t* out) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *out);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool ReadUnsigned(std::string_view text, uint64_t* out) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *out);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool ReadReal(std::string_view text, double* out) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text == "nan" || text == "NaN") {
    *out = std::nan("");
    return true;
  }
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *out);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// Whole days since 30 December 1899 and the seconds of the day, read as
// the OLE date that OleDateToCalendar turns into the same calendar time.
double OleDate(int year, int month, int day, long seconds) {
  using namespace std::chrono;
  const sys_days days{year_month_day{std::chrono::year{year}, std::chrono::month{unsigned(month)},
                                     std::chrono::day{unsigned(day)}}};
  const long oleDay = static_cast<long>(days.time_since_epoch().count()) + kOleDayOfUnixEpoch;
  const double fraction = static_cast<double>(seconds) / kSecondsPerDay;
  return oleDay < 0 ? oleDay - fraction : oleDay + fraction;
}

bool ValidDay(int year, int month, int day) {
  using namespace std::chrono;
  return year >= 100 && year <= 9999 &&
         year_month_day{std::chrono::year{year}, std::chrono::month{unsigned(month)},
                        std::chrono::day{unsigned(day)}}
             .ok();
}

// Fixed-width decimal fields: "2027-03-31", "31/03/2027", "12:30:05".
bool ReadField(std::string_view text, size_t at, size_t width, int* out) {
  if (at + width > text.size()) return false;
  int64_t value = 0;
  for (size_t i = at; i < at + width; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  *out = static_cast<int>(value);
  return true;
}

bool ReadCalendarDate(std::string_view text, double* out) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  size_t timeAt;
  if (text.size() >= 10 && text[4] == '-' && text[7] == '-') {
    if (!ReadField(text, 0, 4, &year) || !ReadField(text, 5, 2, &month) ||
        !ReadField(text, 8, 2, &day)) {
      return false;
    }
    timeAt = 10;
  } else if (text.size() >= 10 && text[2] == '/' && text[5] == '/') {
    if (!ReadField(text, 0, 2, &day) || !ReadField(text, 3, 2, &month) ||
        !ReadField(text, 6, 4, &year)) {
      return false;
    }
    timeAt = 10;
  } else {
    return false;
  }
  if (timeAt < text.size()) {
    const std::string_view time = text.substr(timeAt);
    if (time.size() != 6 && time.size() != 9) return false;
    if ((time[0] != ' ' && time[0] != 'T') || time[3] != ':') return false;
    if (!ReadField(time, 1, 2, &hour) || !ReadField(time, 4, 2, &minute)) return false;
    if (time.size() == 9 && (time[6] != ':' || !ReadField(time, 7, 2, &second))) return false;
    if (hour > 23 || minute > 59 || second > 59) return false;
  }
  if (!ValidDay(year, month, day)) return false;
  *out = OleDate(year, month, day, hour * 3600L + minute * 60L + second);
  return true;
}

struct VariantTypeName {
  uint16_t type;
  std::string_view name;
};
constexpr VariantTypeName kVariantTypeNames[] = {
    {kVtEmpty, "empty"},  {kVtNull, "null"},    {kVtI1, "int8"},     {kVtI2, "int16"},
    {kVtI4, "int32"},     {kVtI8, "int64"},     {kVtUi1, "uint8"},   {kVtUi2, "uint16"},
    {kVtUi4, "uint32"},   {kVtUi8, "uint64"},   {kVtR4, "real32"},   {kVtR8, "real64"},
    {kVtDate, "date"},    {kVtBstr, "string"},  {kVtBool, "boolean"}};

// The range of the integer variant types; false for the others.
bool IntegerRange(uint16_t type, int64_t* minimum, int64_t* maximum) {
  switch (type) {
    case kVtI1: *minimum = INT8_MIN, *maximum = INT8_MAX; return true;
    case kVtI2: *minimum = INT16_MIN, *maximum = INT16_MAX; return true;
    case kVtI4: *minimum = INT32_MIN, *maximum = INT32_MAX; return true;
    case kVtI8: *minimum = INT64_MIN, *maximum = INT64_MAX; return true;
    case kVtUi1: *minimum = 0, *maximum = UINT8_MAX; return true;
    case kVtUi2: *minimum = 0, *maximum = UINT16_MAX; return true;
    case kVtUi4: *minimum = 0, *maximum = UINT32_MAX; return true;
    default: return false;
  }
}

}  // namespace

void AppendText(std::u16string_view text, std::string* out) {
  // Most cells are ASCII: the converter costs more per call than such a
  // cell takes to copy.
  for (char16_t unit : text) {
    if (unit >= 0x80) {
      platform::AppendUtf16AsUtf8(text, out);
      return;
    }
  }
  const size_t at = out->size();
  out->resize(at + text.size());
  for (size_t i = 0; i < text.size(); ++i) (*out)[at + i] = static_cast<char>(text[i]);
}

std::string TitleText(std::u16string_view title) {
  std::string text;
  AppendText(title, &text);
  return text;
}

void AppendInteger(int64_t value, std::string* out) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out->append(digits, result.ptr);
}

void AppendReal(double value, std::string* out) {
  if (std::isnan(value)) {
    out->append("nan");
    return;
  }
  char digits[32];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out->append(digits, result.ptr);
}

void AppendDate(double date, std::string* out) {
  platform::CalendarTime time;
  if (OleDateToCalendar(date, &time)) {
    char text[24];
    const bool midnight = time.hour == 0 && time.minute == 0 && time.second == 0;
    std::snprintf(text, sizeof text, midnight ? "%04d-%02d-%02d" : "%04d-%02d-%02d %02d:%02d:%02d",
                  time.year, time.month, time.day, time.hour, time.minute, time.second);
    double back = 0;
    if (ReadCalendarDate(text, &back) && std::memcmp(&back, &date, sizeof date) == 0) {
      out->append(text);
      return;
    }
  }
  AppendReal(date, out);
}

void AppendNumberSet(const ValueSet& set, std::string* out) {
  bool first = true;
  for (uint16_t value : set) {
    if (!first) out->push_back(',');
    first = false;
    AppendInteger(value, out);
  }
}

void AppendEnum(std::span<const EnumName> names, int64_t value, std::string* out) {
  for (const EnumName& name : names) {
    if (name.value == value) {
      AppendText(name.text, out);
      return;
    }
  }
  AppendInteger(value, out);
}

void AppendVariantValue(const Variant& value, std::string* out) {
  switch (value.type) {
    case kVtEmpty:
    case kVtNull:
      return;
    case kVtBool:
      if (value.integer == -1 || value.integer == 0) {
        out->append(value.integer == 0 ? "false" : "true");
      } else {
        AppendInteger(value.integer, out);
      }
      return;
    case kVtUi8:
      out->append(std::to_string(static_cast<uint64_t>(value.integer)));
      return;
    case kVtR4:
    case kVtR8:
      AppendReal(value.real, out);
      return;
    case kVtDate:
      AppendDate(value.real, out);
      return;
    case kVtBstr:
      AppendText(value.text, out);
      return;
    default:
      AppendInteger(value.integer, out);
      return;
  }
}

void AppendVariantType(uint16_t type, std::string* out) {
  for (const VariantTypeName& name : kVariantTypeNames) {
    if (name.type == type) {
      out->append(name.name);
      return;
    }
  }
  AppendInteger(type, out);
}

std::string ParseText(std::string_view cell, std::u16string* out) {
  out->clear();
  if (std::all_of(cell.begin(), cell.end(), [](char c) { return (c & 0x80) == 0; })) {
    out->assign(cell.begin(), cell.end());
    return {};
  }
  if (!platform::IsWellFormedUtf8(cell)) return "is not valid UTF-8";
  platform::AppendUtf8AsUtf16(cell, out);
  return {};
}

std::string ParseInteger(std::string_view cell, int64_t minimum, int64_t maximum, int64_t* out) {
  const std::string_view text = Trimmed(cell);
  if (text.empty()) return "is empty; a whole number is needed";
  int64_t value = 0;
  if (!ReadInteger(text, &value)) return Quoted(cell) + " is not a whole number";
  if (value < minimum || value > maximum) {
    return std::to_string(value) + " is out of range (" + std::to_string(minimum) + " to " +
           std::to_string(maximum) + ")";
  }
  *out = value;
  return {};
}

std::string ParseReal(std::string_view cell, double* out) {
  const std::string_view text = Trimmed(cell);
  if (text.empty()) return "is empty; a number is needed";
  if (!ReadReal(text, out)) return Quoted(cell) + " is not a number";
  return {};
}

std::string ParseDate(std::string_view cell, double* out) {
  const std::string_view text = Trimmed(cell);
  if (text.empty()) return "is empty; a date is needed";
  if (ReadCalendarDate(text, out) || ReadReal(text, out)) return {};
  return Quoted(cell) +
         " is not a date (YYYY-MM-DD, YYYY-MM-DD HH:MM:SS, DD/MM/YYYY or a number of days)";
}

std::string ParseNumberSet(std::string_view cell, ValueSet* out) {
  out->clear();
  std::string_view rest = cell;
  if (Trimmed(rest).empty()) return {};
  while (true) {
    const size_t comma = rest.find(',');
    const std::string_view piece = Trimmed(rest.substr(0, comma));
    int64_t value = 0;
    if (!ReadInteger(piece, &value) || value < 0 || value > UINT16_MAX) {
      return Quoted(cell) + " is not a list of numbers 0 to 65535 joined by commas";
    }
    out->insert(static_cast<uint16_t>(value));
    if (comma == std::string_view::npos) return {};
    rest.remove_prefix(comma + 1);
  }
}

std::string ParseEnum(std::string_view cell, std::span<const EnumName> names, int64_t minimum,
                      int64_t maximum, int64_t* out) {
  const std::string_view text = Trimmed(cell);
  for (const EnumName& name : names) {
    if (SameLetters(text, name.text)) {
      *out = name.value;
      return {};
    }
  }
  int64_t value = 0;
  if (ReadInteger(text, &value) && value >= minimum && value <= maximum) {
    for (const EnumName& name : names) {
      if (name.value == value) {
        *out = value;
        return {};
      }
    }
  }
  std::string known;
  for (const EnumName& name : names) {
    known += known.empty() ? "" : ", ";
    AppendText(name.text, &known);
  }
  return Quoted(cell) + " is none of: " + known;
}

std::string ParseVariantType(std::string_view cell, uint16_t* out) {
  const std::string_view text = Trimmed(cell);
  for (const VariantTypeName& name : kVariantTypeNames) {
    if (SameLetters(text, std::u16string(name.name.begin(), name.name.end()))) {
      *out = name.type;
      return {};
    }
  }
  std::string known;
  for (const VariantTypeName& name : kVariantTypeNames) {
    known += known.empty() ? "" : ", ";
    known += name.name;
  }
  return Quoted(cell) + " is not a value type; the types: " + known;
}

std::string ParseVariantValue(std::string_view cell, uint16_t type, Variant* out) {
  Variant value;
  value.type = type;
  const std::string_view text = Trimmed(cell);
  int64_t minimum = 0, maximum = 0;
  std::string problem;
  switch (type) {
    case kVtEmpty:
    case kVtNull:
      if (!cell.empty()) problem = "must be empty for a value of type empty or null";
      break;
    case kVtBool:
      if (SameLetters(text, u"true")) {
        value.integer = -1;
      } else if (SameLetters(text, u"false")) {
        value.integer = 0;
      } else if (!ReadInteger(text, &value.integer)) {
        problem = Quoted(cell) + " is not true or false";
      }
      break;
    case kVtUi8: {
      uint64_t unsignedValue = 0;
      if (!ReadUnsigned(text, &unsignedValue)) {
        problem = Quoted(cell) + " is not a whole number 0 to 18446744073709551615";
      }
      value.integer = static_cast<int64_t>(unsignedValue);
      break;
    }
    case kVtR4:
    case kVtR8:
      problem = ParseReal(cell, &value.real);
      if (problem.empty() && type == kVtR4 && std::isfinite(value.real) &&
          std::fabs(value.real) > 3.4028234663852886e38) {
        problem = Quoted(cell) + " is out of range for real32";
      }
      break;
    case kVtDate:
      problem = ParseDate(cell, &value.real);
      break;
    case kVtBstr:
      problem = ParseText(cell, &value.text);
      break;
    default:
      if (!IntegerRange(type, &minimum, &maximum)) {
        problem = "a value of type " + std::to_string(type) + " cannot be given in a file";
      } else {
        problem = ParseInteger(cell, minimum, maximum, &value.integer);
      }
      break;
  }
  if (problem.empty()) *out = std::move(value);
  return problem;
}

}  // namespace qm::exchange
