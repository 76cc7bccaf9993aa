#include "classlib/DateValue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace nw;

namespace {
CivilDateTime Civil(Date d) {
  CivilDateTime c;
  EXPECT_TRUE(ToCivil(d, c));
  return c;
}
}  // namespace

TEST(DateValue, KnownDayNumbers) {
  EXPECT_EQ(MakeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(MakeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(MakeDate(2003, 1, 1), 37622.0);
  EXPECT_DOUBLE_EQ(MakeDate(2003, 1, 1, 18, 0, 0), 37622.75);
  EXPECT_EQ(MakeDate(2000, 3, 1) - MakeDate(2000, 2, 28), 2.0);  // leap day
}

TEST(DateValue, BeforeTheEpochTheFractionIsStillTimeOfDay) {
  EXPECT_DOUBLE_EQ(MakeDate(1899, 12, 29, 6, 0, 0), -1.25);
  const auto c = Civil(-1.25);
  EXPECT_EQ(c.Day, 29);
  EXPECT_EQ(c.Hour, 6);
}

TEST(DateValue, OutOfRangeFieldsCarry) {
  EXPECT_EQ(MakeDate(2002, 13, 1), MakeDate(2003, 1, 1));
  EXPECT_EQ(MakeDate(2003, 3, 0), MakeDate(2003, 2, 28));
  EXPECT_EQ(MakeDate(2003, 1, 0), MakeDate(2002, 12, 31));
  EXPECT_EQ(MakeDate(2003, 0, 1), MakeDate(2002, 12, 1));
  EXPECT_EQ(MakeDate(2003, 1, 32), MakeDate(2003, 2, 1));
  EXPECT_EQ(ToSeconds(MakeDate(2003, 1, 1, 10, 75, 0)), ToSeconds(MakeDate(2003, 1, 1, 11, 15, 0)));
  EXPECT_EQ(ToSeconds(MakeDate(2003, 1, 1, 24, 0, 0)), ToSeconds(MakeDate(2003, 1, 2)));
  EXPECT_EQ(ToSeconds(MakeDate(2003, 1, 1, 0, 0, -1)), ToSeconds(MakeDate(2002, 12, 31, 23, 59, 59)));
  EXPECT_EQ(MakeDate(2003, -11, 1), MakeDate(2002, 1, 1));
}

TEST(DateValue, ResultsOutsideTheCalendarAreNotDates) {
  Date d = 42;
  EXPECT_FALSE(TryMakeDate(10000, 1, 1, 0, 0, 0, d));
  EXPECT_FALSE(TryMakeDate(99, 12, 31, 0, 0, 0, d));
  EXPECT_FALSE(TryMakeDate(2003, 2147483647, 1, 0, 0, 0, d));
  EXPECT_FALSE(TryMakeDate(9999, 12, 31, 24, 0, 0, d));
  EXPECT_EQ(d, 42);
  EXPECT_TRUE(TryMakeDate(9999, 12, 31, 23, 59, 59, d));
  EXPECT_TRUE(TryMakeDate(100, 1, 1, 0, 0, 0, d));
  EXPECT_EQ(d, kMinDate);
  EXPECT_EQ(MakeDate(2003, 1, 2147483647), 0.0);
}

TEST(DateValue, CivilFieldsAndWeekday) {
  const auto c = Civil(MakeDate(2003, 1, 1, 14, 20, 2));
  EXPECT_EQ(c, (CivilDateTime{2003, 1, 1, 14, 20, 2, 4}));  // a Wednesday
  EXPECT_EQ(Civil(MakeDate(2026, 12, 6)).Weekday, 1);       // a Sunday
}

TEST(DateValue, SecondsRoundToNearestAndSurviveTheDoubleForm) {
  const Date d = MakeDate(2026, 12, 7, 23, 59, 59);
  EXPECT_EQ(Civil(d).Second, 59);
  EXPECT_EQ(Civil(d + 0.4 / 86400).Second, 59);
  EXPECT_EQ(Civil(d + 0.6 / 86400).Day, 8);  // rounds into the next day
  for (int s = 0; s < 86400; s += 7) EXPECT_EQ(ToSeconds(FromSeconds(ToSeconds(d) + s)), ToSeconds(d) + s);
  EXPECT_EQ(SecondsBetween(MakeDate(2003, 1, 1, 23, 0, 0), MakeDate(2003, 1, 2, 1, 0, 0)), 7200);
  EXPECT_EQ(DateOf(MakeDate(2003, 1, 1, 23, 59, 59)), MakeDate(2003, 1, 1));
}

TEST(DateValue, DamagedValuesAreNotDates) {
  CivilDateTime c;
  EXPECT_FALSE(ToCivil(std::numeric_limits<double>::quiet_NaN(), c));
  EXPECT_FALSE(ToCivil(std::numeric_limits<double>::infinity(), c));
  EXPECT_FALSE(ToCivil(1e300, c));
  EXPECT_FALSE(ToCivil(-1e7, c));
  EXPECT_TRUE(ToCivil(kMaxDate, c));
  EXPECT_EQ(c.Year, 9999);
}

TEST(DateValue, LocalNowIsAPlausibleWholeSecond) {
  const Date now = LocalNow();
  EXPECT_GT(now, MakeDate(2020, 1, 1));
  EXPECT_LT(now, MakeDate(2100, 1, 1));
  EXPECT_EQ(FromSeconds(ToSeconds(now)), now);
}
