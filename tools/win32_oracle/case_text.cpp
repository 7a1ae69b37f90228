#include "tools/win32_oracle/case_text.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace qm::oracle {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool StandsForItself(uint32_t unit) { return unit >= 0x21 && unit <= 0x7E && unit != '\\'; }

void AppendHex(uint64_t value, int digits, std::string* out) {
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
    out->push_back(kHexDigits[(value >> shift) & 0xF]);
  }
}

std::optional<uint64_t> ParseHex(std::string_view digits) {
  uint64_t value = 0;
  for (char c : digits) {
    const char* at = std::strchr(kHexDigits, c);
    if (c == '\0' || at == nullptr) return std::nullopt;
    value = value << 4 | static_cast<uint64_t>(at - kHexDigits);
  }
  return value;
}

// The units of a field escaped with `marker` ('u' or 'x') and `digits` hex
// digits per escape.
template <class Units>
std::optional<Units> Unescape(std::string_view field, char marker, size_t digits) {
  Units units;
  for (size_t at = 0; at < field.size();) {
    const auto c = static_cast<unsigned char>(field[at]);
    if (c != '\\') {
      if (!StandsForItself(c)) return std::nullopt;
      units.push_back(static_cast<typename Units::value_type>(c));
      ++at;
      continue;
    }
    if (at + 2 + digits > field.size() || field[at + 1] != marker) return std::nullopt;
    const std::optional<uint64_t> unit = ParseHex(field.substr(at + 2, digits));
    if (!unit) return std::nullopt;
    units.push_back(static_cast<typename Units::value_type>(*unit));
    at += 2 + digits;
  }
  return units;
}

}  // namespace

std::string EscapeText(std::u16string_view text) {
  std::string field;
  for (char16_t unit : text) {
    if (StandsForItself(unit)) {
      field.push_back(static_cast<char>(unit));
    } else {
      field += "\\u";
      AppendHex(unit, 4, &field);
    }
  }
  return field;
}

std::string EscapeBytes(std::string_view bytes) {
  std::string field;
  for (char byte : bytes) {
    const auto unit = static_cast<unsigned char>(byte);
    if (StandsForItself(unit)) {
      field.push_back(byte);
    } else {
      field += "\\x";
      AppendHex(unit, 2, &field);
    }
  }
  return field;
}

std::string EscapeDate(double date) {
  uint64_t bits;
  std::memcpy(&bits, &date, sizeof bits);
  std::string field;
  AppendHex(bits, 16, &field);
  return field;
}

std::optional<std::u16string> UnescapeText(std::string_view field) {
  return Unescape<std::u16string>(field, 'u', 4);
}

std::optional<std::string> UnescapeBytes(std::string_view field) {
  return Unescape<std::string>(field, 'x', 2);
}

std::optional<double> UnescapeDate(std::string_view field) {
  if (field.size() != 16) return std::nullopt;
  const std::optional<uint64_t> bits = ParseHex(field);
  if (!bits) return std::nullopt;
  double date;
  std::memcpy(&date, &*bits, sizeof date);
  return date;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (size_t tab; (tab = line.find(kFieldSeparator, start)) != std::string_view::npos;
       start = tab + 1) {
    fields.push_back(line.substr(start, tab - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

std::string FormatCalendarAnswer(const std::optional<CalendarAnswer>& answer) {
  if (!answer) return "fail";
  char text[96];
  const int length =
      std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d dow=%d doy=%d ",
                    answer->year, answer->month, answer->day, answer->hour, answer->minute,
                    answer->second, answer->milliseconds, answer->dayOfWeek, answer->dayOfYear);
  return std::string(text, static_cast<size_t>(length)) + EscapeText(answer->shortDate);
}

}  // namespace qm::oracle
