// Counters: accumulation, the midnight and period renewals, missed periods, manual resets, the
// renewal schedule and the boxes on the main window.
#include <gtest/gtest.h>

#include "MonitorFakes.h"

namespace nw::test {
namespace {

TEST(Counters, ConnectionAcrossMidnightIsSplitIntoTheOldDaysRecord) {
  Harness h(MakeDate(2026, 12, 7, 23, 49, 53));
  h.counters = {MakeDate(2026, 12, 7), 1000, 2, MakeDate(2027, 1, 1), 0, 0};
  h.Start();
  h.internet.online = true;
  h.Step(7);  // 23:50:00 connected
  for (int i = 0; i < 86; ++i) h.Step(7);  // 00:00:02, not on the second of midnight
  ASSERT_EQ(h.store.counterRecords.size(), 1u);
  const auto& r = h.store.counterRecords[0];
  EXPECT_EQ(r.kind, LogToday);
  EXPECT_EQ(r.date, MakeDate(2026, 12, 8));
  EXPECT_EQ(r.seconds, 1600);  // 600 of the running connection, no second of the new day
  EXPECT_EQ(r.count, 2);
  EXPECT_EQ(h.counters.TodayDate, MakeDate(2026, 12, 8));
  EXPECT_EQ(h.monitor->TodayStart(), MakeDate(2026, 12, 8));
  while (h.clock.now < MakeDate(2026, 12, 8, 0, 10, 0)) h.Step(1);
  h.internet.online = false;
  h.monitor->Looker_Timer();
  EXPECT_EQ(h.counters.TodaySeconds, 600);
  EXPECT_EQ(h.counters.TodayCount, 1);
  EXPECT_EQ(h.store.dialEnds.size(), 1u);
}

TEST(Counters, DaysMissedWhileNotRunningGiveOneRecord) {
  Harness h(MakeDate(2026, 12, 7, 8, 0, 0));
  h.counters = {MakeDate(2026, 12, 3), 500, 1, MakeDate(2027, 1, 1), 70, 3};
  h.Start();
  ASSERT_EQ(h.store.counterRecords.size(), 1u);
  EXPECT_EQ(h.store.counterRecords[0].kind, LogToday);
  EXPECT_EQ(h.store.counterRecords[0].date, MakeDate(2026, 12, 4));
  EXPECT_EQ(h.store.counterRecords[0].seconds, 500);
  EXPECT_EQ(h.store.counterRecords[0].count, 1);
  EXPECT_EQ(h.counters.TodayDate, MakeDate(2026, 12, 7));
  EXPECT_EQ(h.counters.TodaySeconds, 0);
  // Saved with its record, before any cycle (the timer may be off): a crash cannot record it twice.
  EXPECT_EQ(h.store.events, (std::vector<std::string>{"TodayRecord", "SaveCounterBlock"}));
  EXPECT_EQ(h.store.LastSaved(), h.counters);
  for (int i = 0; i < 5; ++i) h.Step(1);
  EXPECT_EQ(h.store.counterRecords.size(), 1u);
  EXPECT_EQ(h.counters.UserSeconds, 70);  // the user period has not ended
}

TEST(Counters, RenewalInACycleWhoseProbeFailsIsSavedAtOnce) {
  Harness h(MakeDate(2026, 12, 7, 23, 59, 0));
  h.settings.WayWatchEn = 1;
  h.settings.WatchEntries = {"ISP"};
  h.counters = {MakeDate(2026, 12, 7), 300, 1, MakeDate(2027, 1, 1), 0, 0};
  h.ras.conns = {{7, "ISP", RasQuery::kConnected}};
  h.Start();
  h.Step(1);  // connected
  h.ras.failEnum = true;
  h.Step(60);  // 00:00:01: renewed, then the probe fails
  ASSERT_EQ(h.store.counterRecords.size(), 1u);
  EXPECT_EQ(h.store.LastSaved(), h.counters);
  EXPECT_EQ(h.counters.TodayDate, MakeDate(2026, 12, 8));
  EXPECT_EQ(h.store.checkpoint->Counters, h.counters);
}

TEST(Counters, NegativeCountersOfADamagedFileAreClampedBeforeTheyAreRecorded) {
  Harness h(MakeDate(2026, 12, 7, 8, 0, 0));
  h.counters = {MakeDate(2026, 12, 6), INT32_MIN, -3, MakeDate(2027, 1, 1), -20, 4};
  h.Start();
  ASSERT_EQ(h.store.counterRecords.size(), 1u);
  EXPECT_EQ(h.store.counterRecords[0].seconds, 0);
  EXPECT_EQ(h.store.counterRecords[0].count, 0);
  EXPECT_EQ(h.counters, (CounterBlock{MakeDate(2026, 12, 7), 0, 0, MakeDate(2027, 1, 1), 0, 4}));
  EXPECT_EQ(h.store.LastSaved(), h.counters);
  EXPECT_EQ(h.LinesFrom(2), (std::vector<std::string>{h.view.list[0], "   保存されていたｶｳﾝﾀの値が不正なため、0にしました。"}));
}

TEST(Counters, FirstStartEverWritesNoRecordAndSchedulesTheUserCounter) {
  Harness h(MakeDate(2026, 12, 7, 8, 0, 0));
  h.settings.RNInterval = 3;  // daily at 05:00
  h.settings.WhenRenewHour = 5;
  h.Start();
  h.Step(1);
  EXPECT_TRUE(h.store.counterRecords.empty());
  EXPECT_EQ(h.counters.TodayDate, MakeDate(2026, 12, 7));
  EXPECT_EQ(h.counters.UserRenewTime, MakeDate(2026, 12, 8, 5, 0, 0));
}

TEST(Counters, UserPeriodEndsWhileConnected) {
  Harness h(MakeDate(2026, 12, 7, 9, 58, 0));
  h.settings.RNInterval = 4;  // hourly at :00:00
  h.counters = {MakeDate(2026, 12, 7), 0, 0, MakeDate(2026, 12, 7, 10, 0, 0), 100, 1};
  h.Start();
  h.internet.online = true;
  h.Step(1);  // 09:58:01 connected
  for (int i = 0; i < 40; ++i) h.Step(3);  // 10:00:01
  ASSERT_EQ(h.store.counterRecords.size(), 1u);
  const auto& r = h.store.counterRecords[0];
  EXPECT_EQ(r.kind, LogUser);
  EXPECT_EQ(r.date, MakeDate(2026, 12, 7, 10, 0, 0));
  EXPECT_EQ(r.seconds, 100 + 119);
  EXPECT_EQ(r.count, 1);
  EXPECT_EQ(h.counters.UserRenewTime, MakeDate(2026, 12, 7, 11, 0, 0));
  EXPECT_EQ(h.monitor->UserStart(), MakeDate(2026, 12, 7, 10, 0, 0));
  h.Step(59);
  h.internet.online = false;
  h.Step(1);  // 10:01:01
  EXPECT_EQ(h.counters.UserSeconds, 61);
  EXPECT_EQ(h.counters.UserCount, 1);
}

TEST(Counters, ManualTodayResetWhileConnectedRecordsTheRunningPart) {
  Harness h(MakeDate(2026, 12, 7, 9, 0, 0));
  h.counters = {MakeDate(2026, 12, 7), 300, 1, MakeDate(2027, 1, 1), 0, 0};
  Monitor& m = h.Start();
  h.internet.online = true;
  h.Step(1);
  h.Step(200);
  m.ResetTodayCounter();
  ASSERT_EQ(h.store.counterRecords.size(), 1u);
  EXPECT_EQ(h.store.counterRecords[0].date, MakeDate(2026, 12, 8));
  EXPECT_EQ(h.store.counterRecords[0].seconds, 500);
  EXPECT_EQ(h.store.counterRecords[0].count, 1);
  EXPECT_EQ(h.counters.TodayDate, MakeDate(2026, 12, 7));
  EXPECT_EQ(h.view.boxes[BoxToday].time, "0時間 00分 00秒");
  EXPECT_EQ(h.view.boxes[BoxToday].count, "0 回");
  h.Step(50);
  EXPECT_EQ(h.view.boxes[BoxToday].time, "0時間 00分 50秒");
  EXPECT_EQ(h.view.boxes[BoxToday].count, "1 回");
  h.internet.online = false;
  h.Step(1);
  EXPECT_EQ(h.counters.TodaySeconds, 51);
}

TEST(Counters, UserCounterSwitchedOffFreezesItsBoxInGreyAndStopsCounting) {
  Harness h(MakeDate(2026, 12, 7, 9, 0, 0));
  h.counters = {MakeDate(2026, 12, 7), 0, 0, MakeDate(2027, 1, 1), 3600, 4};
  Monitor& m = h.Start();
  m.RefreshDisplay(h.clock.now, true);
  EXPECT_EQ(h.view.boxes[BoxUser].time, "1時間 00分 00秒");
  h.settings.UserRenew = false;
  m.ApplyUserCounterState();
  EXPECT_EQ(h.view.userMenu, "ﾕｰｻﾞｰ定義は設定されていません");
  EXPECT_FALSE(h.view.userMenuEnabled);
  EXPECT_TRUE(h.view.boxes[BoxUser].grey);
  h.internet.online = true;
  h.Step(1);
  h.Step(100);
  EXPECT_EQ(h.view.boxes[BoxUser].time, "1時間 00分 00秒");
  EXPECT_EQ(h.view.boxes[BoxUser].count, "4 回");
  EXPECT_EQ(h.view.boxes[BoxToday].time, "0時間 01分 40秒");
  h.internet.online = false;
  h.Step(1);
  EXPECT_EQ(h.counters.UserSeconds, 3600);
  EXPECT_EQ(h.counters.UserCount, 4);
  h.settings.UserRenew = true;
  h.settings.CounterName = "月額";
  m.ApplyUserCounterState();
  EXPECT_EQ(h.view.userMenu, "\"月額\" ｶｳﾝﾄﾘｾｯﾄ(&U)");
  EXPECT_TRUE(h.view.userMenuEnabled);
  EXPECT_EQ(h.view.userLabel, "月額");
  EXPECT_FALSE(h.view.boxes[BoxUser].grey);
}

TEST(Counters, BoxesAreRedrawnOnlyWhenTheirTextsChange) {
  Harness h(MakeDate(2026, 12, 7, 9, 0, 0));
  h.counters = {MakeDate(2026, 12, 7), 0, 0, MakeDate(2027, 1, 1), 0, 0};
  h.settings.FormatIval = "h:mm";
  h.Start();
  h.internet.online = true;
  h.Step(1);
  const int draws = h.view.boxes[BoxToday].draws;
  for (int i = 0; i < 10; ++i) h.Step(1);
  EXPECT_EQ(h.view.boxes[BoxToday].draws, draws);
  h.Step(60);
  EXPECT_EQ(h.view.boxes[BoxToday].draws, draws + 1);
  EXPECT_EQ(h.view.boxes[BoxToday].time, "0:01");
}

struct Schedule : ::testing::Test {
  Harness h{MakeDate(2026, 12, 7, 9, 0, 0)};
  Monitor* m = nullptr;
  void SetUp() override {
    h.counters = {MakeDate(2026, 12, 7), 0, 0, MakeDate(2099, 1, 1), 0, 0};
    m = &h.Start();
  }
};

TEST_F(Schedule, WeeklyOnSaturdayComputedOnAMondayIsTheComingSaturday) {
  h.settings.RNInterval = 2;
  h.settings.WhenWeek = 6;
  h.settings.WhenRenewHour = 3;
  const Date monday = MakeDate(2026, 12, 7, 10, 0, 0);
  EXPECT_EQ(m->ComputeRenewalMoment(monday, 0), MakeDate(2026, 12, 12, 3, 0, 0));
  EXPECT_EQ(m->ComputeRenewalMoment(monday, 1), MakeDate(2026, 12, 19, 3, 0, 0));
  h.settings.WhenWeek = 0;  // Sunday: stays inside the Sunday-to-Saturday week
  EXPECT_EQ(m->ComputeRenewalMoment(MakeDate(2026, 12, 12, 23, 0, 0), 0), MakeDate(2026, 12, 6, 3, 0, 0));
}

TEST_F(Schedule, DailyAtFiveBeforeAndAfterTheMoment) {
  h.settings.RNInterval = 3;
  h.settings.WhenRenewHour = 5;
  EXPECT_EQ(m->ComputeRenewalMoment(MakeDate(2026, 12, 7, 6, 0, 0), 0), MakeDate(2026, 12, 7, 5, 0, 0));
  EXPECT_EQ(m->ComputeRenewalMoment(MakeDate(2026, 12, 7, 6, 0, 0), 1), MakeDate(2026, 12, 8, 5, 0, 0));
  EXPECT_EQ(m->ComputeRenewalMoment(MakeDate(2026, 12, 7, 3, 0, 0), 0), MakeDate(2026, 12, 7, 5, 0, 0));
  EXPECT_EQ(m->ComputeRenewalMoment(MakeDate(2026, 12, 31, 3, 0, 0), 1), MakeDate(2027, 1, 1, 5, 0, 0));
}

TEST_F(Schedule, OutOfRangeComponentsRollOver) {
  h.settings.RNInterval = 1;  // monthly on the 31st
  h.settings.WhenRenewDay = 31;
  EXPECT_EQ(m->ComputeRenewalMoment(MakeDate(2026, 11, 10), 0), MakeDate(2026, 12, 1));
  EXPECT_EQ(m->ComputeRenewalMoment(MakeDate(2026, 12, 10), 1), MakeDate(2027, 1, 31));
  h.settings.RNInterval = 0;  // yearly, 29 February
  h.settings.WhenRenewMonth = 2;
  h.settings.WhenRenewDay = 29;
  EXPECT_EQ(m->ComputeRenewalMoment(MakeDate(2026, 5, 1), 1), MakeDate(2027, 3, 1));
  EXPECT_EQ(m->ComputeRenewalMoment(MakeDate(2027, 5, 1), 1), MakeDate(2028, 2, 29));
  h.settings.RNInterval = 4;  // hourly, 23:30 + 1 hour
  h.settings.WhenRenewMinute = 30;
  EXPECT_EQ(m->ComputeRenewalMoment(MakeDate(2026, 12, 31, 23, 40, 0), 1), MakeDate(2027, 1, 1, 0, 30, 0));
  h.settings.RNInterval = 5;  // every 15 minutes
  h.settings.WhenRenewSecond = 0;
  EXPECT_EQ(m->ComputeRenewalMoment(MakeDate(2026, 12, 7, 9, 50, 20), 15), MakeDate(2026, 12, 7, 10, 5, 0));
}

TEST(Counters, ClockSetBackReanchorsTheUserPeriod) {
  Harness h(MakeDate(2026, 12, 7, 9, 0, 0));
  h.settings.RNInterval = 3;
  h.counters = {MakeDate(2026, 12, 7), 0, 0, MakeDate(2026, 12, 8), 900, 2};
  Monitor& m = h.Start();
  EXPECT_TRUE(h.store.counterRecords.empty());
  // Accepting a time two days earlier: the next renewal must not stay three days ahead.
  m.WatchSystemTimeAplySysTim(MakeDate(2026, 12, 5, 9, 0, 0), h.clock.tick, false);
  ASSERT_EQ(h.store.counterRecords.size(), 2u);
  EXPECT_EQ(h.store.counterRecords[0].kind, LogToday);
  EXPECT_EQ(h.store.counterRecords[1].kind, LogUser);
  EXPECT_EQ(h.store.counterRecords[1].date, MakeDate(2026, 12, 8));
  EXPECT_EQ(h.store.counterRecords[1].seconds, 900);
  EXPECT_EQ(h.counters.UserRenewTime, MakeDate(2026, 12, 6));
  EXPECT_EQ(h.counters.TodayDate, MakeDate(2026, 12, 5));
}

}  // namespace
}  // namespace nw::test
