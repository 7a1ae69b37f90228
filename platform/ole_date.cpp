// The calendar arithmetic of OLE dates, done with the C++ calendar types
// (day 0 of OLE dates is 1970-01-01 minus 25569 days).
#include "platform/ole_date.h"

#include <chrono>
#include <cmath>

namespace qm::platform {
namespace {

constexpr double kFirstInvalidLow = -657435.0;  // 31 December 99
constexpr double kFirstInvalidHigh = 2958466.0;  // 1 January 10000
constexpr long kLastDay = 2958465;               // 31 December 9999
constexpr long kSecondsPerDay = 86400;
constexpr long kOleDayOfUnixEpoch = 25569;

void FillDate(long oleDay, CalendarTime* out) {
  using namespace std::chrono;
  const sys_days days{std::chrono::days{oleDay - kOleDayOfUnixEpoch}};
  const year_month_day ymd{days};
  out->year = static_cast<int>(ymd.year());
  out->month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  out->day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  out->dayOfWeek = static_cast<int>(weekday{days}.c_encoding());
  out->dayOfYear = static_cast<int>((days - sys_days{ymd.year() / January / 1}).count()) + 1;
}

}  // namespace

bool OleDateToCalendar(double date, CalendarTime* out) {
  if (!(date > kFirstInvalidLow && date < kFirstInvalidHigh)) return false;  // NaN too
  const double whole = std::trunc(date);
  long day = static_cast<long>(whole);
  long seconds = std::lround(std::fabs(date - whole) * kSecondsPerDay);
  if (seconds == kSecondsPerDay) {
    if (day == kLastDay) {
      seconds = kSecondsPerDay - 1;
    } else {
      ++day;
      seconds = 0;
    }
  }
  FillDate(day, out);
  out->hour = static_cast<int>(seconds / 3600);
  out->minute = static_cast<int>(seconds / 60 % 60);
  out->second = static_cast<int>(seconds % 60);
  return true;
}

}  // namespace qm::platform
