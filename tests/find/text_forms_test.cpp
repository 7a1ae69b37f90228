// The short date text and the name lookups.
#include <gtest/gtest.h>

#include <limits>

#include "find/format_short_date.h"
#include "find/name_lookup_builders.h"

namespace qm {
namespace {

TEST(FormatShortDateTest, DayMonthYear) {
  EXPECT_EQ(FormatShortDate(40908.0, DateStatus::kValid), u"31/12/2011");
  EXPECT_EQ(FormatShortDate(40969.5, DateStatus::kValid), u"01/03/2012");
  EXPECT_EQ(FormatShortDate(0.0, DateStatus::kValid), u"30/12/1899");
  // A negative date keeps its fraction as the time of day.
  EXPECT_EQ(FormatShortDate(-0.5, DateStatus::kValid), u"30/12/1899");
  EXPECT_EQ(FormatShortDate(-1.25, DateStatus::kValid), u"29/12/1899");
  EXPECT_EQ(FormatShortDate(-657434.0, DateStatus::kValid), u"01/01/0100");
  EXPECT_EQ(FormatShortDate(2958465.9, DateStatus::kValid), u"31/12/9999");
}

TEST(FormatShortDateTest, TimeJustBeforeMidnightRoundsToTheNextDay) {
  EXPECT_EQ(FormatShortDate(40908.0 + 86399.4 / 86400, DateStatus::kValid), u"31/12/2011");
  EXPECT_EQ(FormatShortDate(40908.0 + 86399.6 / 86400, DateStatus::kValid), u"01/01/2012");
  EXPECT_EQ(FormatShortDate(2958465.999999999, DateStatus::kValid), u"31/12/9999");
}

TEST(FormatShortDateTest, StatusAndRange) {
  EXPECT_EQ(FormatShortDate(40908.0, DateStatus::kNull), u"");
  EXPECT_EQ(FormatShortDate(40908.0, DateStatus::kInvalid), u"Invalid DateTime");
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  for (double bad : {-657435.0, 2958466.0, nan, infinity}) {
    EXPECT_EQ(FormatShortDate(bad, DateStatus::kValid), u"Invalid DateTime") << bad;
  }
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
