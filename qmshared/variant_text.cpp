// The text of a variant value, as the find tests it and the grids show it.
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/ole_date.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

// The text of a date that the calendar conversion refuses (out of range).
constexpr std::u16string_view kInvalidDate = u"Invalid DateTime";

template <class Number>
void AssignNumber(Number number, std::u16string* out) {
  char digits[64];
  const auto result = std::to_chars(digits, digits + sizeof digits, number);
  out->assign(digits, result.ptr);
}

void AssignDate(double date, std::u16string* out) {
  platform::CalendarTime time;
  if (!platform::OleDateToCalendar(date, &time)) {
    out->assign(kInvalidDate);
    return;
  }
  char text[32];
  const int length = std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", time.day,
                                   time.month, time.year, time.hour, time.minute, time.second);
  out->assign(text, text + length);
}

}  // namespace

void QM_CALL VariantToText(std::u16string* out, const Variant* value, int32_t) {
  if (out == nullptr) return;
  if (value == nullptr) {
    out->clear();
    return;
  }
  switch (value->type) {
    case kVtI1:
    case kVtI2:
    case kVtI4:
    case kVtI8:
    case kVtUi1:
    case kVtUi2:
    case kVtUi4:
      return AssignNumber(value->integer, out);
    case kVtUi8:
      return AssignNumber(static_cast<uint64_t>(value->integer), out);
    case kVtR4:
      // A real beyond the range of float is shown as the double it is.
      if (std::isfinite(value->real) && std::fabs(value->real) > FLT_MAX) {
        return AssignNumber(value->real, out);
      }
      return AssignNumber(static_cast<float>(value->real), out);
    case kVtR8:
      return AssignNumber(value->real, out);
    case kVtDate:
      return AssignDate(value->real, out);
    case kVtBool:
      out->assign(value->integer != 0 ? u"True" : u"False");
      return;
    case kVtBstr:
      if (out != &value->text) *out = value->text;
      return;
    default:  // empty, null and types this layout does not know
      out->clear();
      return;
  }
}

}  // namespace qm
