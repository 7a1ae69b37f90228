// Variant texts and the OLE date conversion under them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>

#include "platform/ole_date.h"
#include "qmshared/qmshared.h"

namespace qm {
namespace {

std::u16string TextOf(uint16_t type, int64_t integer, double real = 0.0,
                      std::u16string text = u"") {
  Variant value{type, integer, real, std::move(text)};
  std::u16string out = u"stale";
  VariantToText(&out, &value, 0);
  return out;
}

double ReadBack(const std::u16string& text) {
  const std::string narrow(text.begin(), text.end());
  return std::strtod(narrow.c_str(), nullptr);
}

TEST(VariantToTextTest, EveryTypeOfTheLayout) {
  EXPECT_EQ(TextOf(kVtI1, -128), u"-128");
  EXPECT_EQ(TextOf(kVtI8, INT64_MIN), u"-9223372036854775808");
  EXPECT_EQ(TextOf(kVtUi4, 4294967295), u"4294967295");
  EXPECT_EQ(TextOf(kVtUi8, -1), u"18446744073709551615");
  EXPECT_EQ(TextOf(kVtBool, 0), u"False");
  EXPECT_EQ(TextOf(kVtBool, -1), u"True");
  EXPECT_EQ(TextOf(kVtBstr, 0, 0.0, u"Tank \U0001F600"), u"Tank \U0001F600");
  for (uint16_t type : {0, 1, 99}) EXPECT_EQ(TextOf(type, 5, 5.0, u"x"), u"");  // empty, null, unknown
}

TEST(VariantToTextTest, RealsAreShortestAndReadBack) {
  EXPECT_EQ(TextOf(kVtR8, 0, 0.1), u"0.1");
  EXPECT_EQ(TextOf(kVtR4, 0, static_cast<double>(0.1f)), u"0.1");
  for (double real : {1.0 / 3, 1e300, -4.9e-324, 2.0 / 3 * 1e-7}) {
    EXPECT_EQ(ReadBack(TextOf(kVtR8, 0, real)), real);
  }
  const float third = 1.0f / 3;
  EXPECT_EQ(static_cast<float>(ReadBack(TextOf(kVtR4, 0, third))), third);
  EXPECT_EQ(ReadBack(TextOf(kVtR4, 0, 1e300)), 1e300);  // beyond float: kept
}

TEST(VariantToTextTest, DatesWithTimeOrInvalid) {
  EXPECT_EQ(TextOf(kVtDate, 0, 40969.75), u"01/03/2012 18:00:00");
  EXPECT_EQ(TextOf(kVtDate, 0, -657434.0), u"01/01/0100 00:00:00");
  EXPECT_EQ(TextOf(kVtDate, 0, 3e6), u"Invalid DateTime");
}

// "yyyy-mm-dd hh:mm:ss" with the day of week and of year, or "refused".
std::string CalendarText(double date) {
  platform::CalendarTime t;
  if (!platform::OleDateToCalendar(date, &t)) return "refused";
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d w%d d%d", t.year, t.month,
                t.day, t.hour, t.minute, t.second, t.dayOfWeek, t.dayOfYear);
  return text;
}

TEST(OleDateTest, NegativeDatesRoundingAndRangeEdges) {
  const std::pair<double, const char*> cases[] = {
      {0.0, "1899-12-30 00:00:00 w6 d364"},
      {-0.5, "1899-12-30 12:00:00 w6 d364"},  // the time runs away from zero
      {-1.25, "1899-12-29 06:00:00 w5 d363"},
      {0.999999999, "1899-12-31 00:00:00 w0 d365"},  // rounds into the next day
      {-1.999999999, "1899-12-30 00:00:00 w6 d364"},
      {40969.75, "2012-03-01 18:00:00 w4 d61"},
      {-657434.0, "0100-01-01 00:00:00 w5 d1"},
      {-657434.5, "0100-01-01 12:00:00 w5 d1"},
      {2958465.0 + 86399.0 / 86400, "9999-12-31 23:59:59 w5 d365"},
      {std::nextafter(2958466.0, 0.0), "9999-12-31 23:59:59 w5 d365"},  // clamped
      {-657435.0, "refused"},
      {2958466.0, "refused"},
      {std::numeric_limits<double>::quiet_NaN(), "refused"},
      {-std::numeric_limits<double>::infinity(), "refused"}};
  for (const auto& [date, expected] : cases) EXPECT_EQ(CalendarText(date), expected) << date;
}

}  // namespace
}  // namespace qm
