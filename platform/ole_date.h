// OLE Automation dates: days since 30 December 1899 00:00 as a double, the
// fraction being the time of day. The conversion to calendar time stands in
// for VarUdateFromDate with no flags; it is plain calendar arithmetic, so
// one implementation serves every platform and gives the same answer on
// each.
#ifndef QMPECORE_PLATFORM_OLE_DATE_H_
#define QMPECORE_PLATFORM_OLE_DATE_H_

namespace qm::platform {

struct CalendarTime {
  int year = 0;
  int month = 0;      // 1 to 12
  int day = 0;        // 1 to 31
  int hour = 0;       // 0 to 23
  int minute = 0;     // 0 to 59
  int second = 0;     // 0 to 59
  int dayOfWeek = 0;  // 0 Sunday to 6 Saturday
  int dayOfYear = 0;  // 1 to 366
};

// Fills `out` with the calendar time of `date`, in the proleptic Gregorian
// calendar, and returns true; returns false, leaving `out` alone, for NaN,
// infinities and dates outside the years 100 to 9999.
//
// The whole part counts days (toward zero) and the fraction is the time of
// day, measured away from zero for a negative date as well: -0.5 is
// 30/12/1899 12:00 and -1.25 is 29/12/1899 06:00. Accepted dates are those
// above -657435.0 and below 2958466.0 (1 January 100 to 31 December 9999).
//
// The time is rounded to the nearest second (a half second up). A time that
// rounds to 24:00:00 becomes 00:00:00 of the next calendar day (0.999999999
// is 31/12/1899 00:00:00), except on 31 December 9999, where it stays at
// 23:59:59: every accepted date converts, and none gives the year 10000.
//
// A pure function of `date`; thread-safe.
bool OleDateToCalendar(double date, CalendarTime* out);

}  // namespace qm::platform

#endif  // QMPECORE_PLATFORM_OLE_DATE_H_
