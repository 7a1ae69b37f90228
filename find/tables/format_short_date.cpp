#include "find/tables/format_short_date.h"

#include "find/tables/decimal_text.h"
#include "platform/ole_date.h"

namespace qm {

std::u16string FormatShortDate(double date, DateStatus status) {
  std::u16string text;
  AssignShortDate(date, status, &text);
  return text;
}

void AssignShortDate(double date, DateStatus status, std::u16string* out) {
  out->clear();
  if (status == DateStatus::kNull) return;
  platform::CalendarTime time;
  if (status == DateStatus::kInvalid || !platform::OleDateToCalendar(date, &time)) {
    out->assign(kInvalidDateText);
    return;
  }
  AppendDecimalPadded(static_cast<uint32_t>(time.day), 2, out);
  out->push_back(u'/');
  AppendDecimalPadded(static_cast<uint32_t>(time.month), 2, out);
  out->push_back(u'/');
  AppendDecimalPadded(static_cast<uint32_t>(time.year), 4, out);
}

}  // namespace qm
