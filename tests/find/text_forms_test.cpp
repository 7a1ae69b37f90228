// The short date text and the name lookups.
#include <gtest/gtest.h>

#include <limits>
#include <utility>

#include "find/tables/format_short_date.h"
#include "find/tables/name_lookup_builders.h"

namespace qm {
namespace {

TEST(FormatShortDateTest, DayMonthYearRoundingAndRange) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  const std::pair<double, const char16_t*> cases[] = {
      {40908.0, u"31/12/2011"}, {40969.5, u"01/03/2012"}, {0.0, u"30/12/1899"},
      // A negative date keeps its fraction as the time of day.
      {-0.5, u"30/12/1899"}, {-1.25, u"29/12/1899"},
      {-657434.0, u"01/01/0100"}, {2958465.9, u"31/12/9999"},
      // A time just before midnight rounds to the next day.
      {40908.0 + 86399.4 / 86400, u"31/12/2011"}, {40908.0 + 86399.6 / 86400, u"01/01/2012"},
      {2958465.999999999, u"31/12/9999"},
      {-657435.0, u"Invalid DateTime"}, {2958466.0, u"Invalid DateTime"},
      {nan, u"Invalid DateTime"}, {infinity, u"Invalid DateTime"}};
  for (const auto& [date, text] : cases) {
    EXPECT_EQ(FormatShortDate(date, DateStatus::kValid), text) << date;
  }
  EXPECT_EQ(FormatShortDate(40908.0, DateStatus::kNull), u"");
  EXPECT_EQ(FormatShortDate(40908.0, DateStatus::kInvalid), u"Invalid DateTime");
}

RecordHead Named(int32_t id, std::u16string name) {
  RecordHead head;
  head.id = id;
  head.name = std::move(name);
  return head;
}

TEST(NameLookupTest, LaterRecordInKeyOrderWins) {
  ConfigTableSet set;
  set.Renew();
  (*set.timers)[u"a"].head = Named(3, u"Old");
  (*set.timers)[u"b"].head = Named(3, u"New");
  (*set.timers)[u"c"].head = Named(1, u"First");
  NameLookup timers = {{99, u"stale"}};
  BuildTimerNames(set, &timers);
  EXPECT_EQ(timers, (NameLookup{{1, u"First"}, {3, u"New"}}));
  EXPECT_EQ(LookupName(timers, 3), u"New");
  EXPECT_EQ(LookupName(timers, 2), u"");
  set.timers.reset();
  BuildTimerNames(set, &timers);
  EXPECT_TRUE(timers.empty());
}

}  // namespace
}  // namespace qm
