// The system-time watch on a virtual clock and tick counter.
#include <gtest/gtest.h>

#include "MonitorFakes.h"

namespace nw::test {
namespace {

int64_t S(Date d) { return ToSeconds(d); }

struct TimeWatch : ::testing::Test {
  Harness h{MakeDate(2026, 12, 7, 23, 30, 0)};
  void SetUp() override { h.counters = {MakeDate(2026, 12, 7), 400, 2, MakeDate(2027, 1, 1), 0, 0}; }
  // One second passes; the clock is moved by `jump` seconds on top of it.
  void StepWithJump(int64_t jump) {
    h.Advance(1);
    h.clock.now = AddSeconds(h.clock.now, jump);
    h.monitor->Looker_Timer();
  }
};

TEST_F(TimeWatch, ForwardFiveSecondsIsNotAChangeBackTwoIs) {
  h.settings.SyCngDlg = 1;
  Monitor& m = h.Start();
  StepWithJump(5);
  EXPECT_FALSE(m.TimeChangePending());
  EXPECT_TRUE(h.notice.shown.empty());
  StepWithJump(-3);  // the clock moved back by 2 seconds: detected, and at once in line again
  ASSERT_EQ(h.notice.shown.size(), 1u);
  EXPECT_EQ(h.notice.shown[0].main, "ｼｽﾃﾑ時刻の変更を感知しました。");
  EXPECT_EQ(h.notice.shown[0].sub, "Orvin.T.K. NetWard は、60 秒後にｼｽﾃﾑ時刻の変更を適用します。");
  EXPECT_FALSE(m.TimeChangePending());
  for (int i = 0; i < 3; ++i) h.Step(1);
  EXPECT_EQ(h.notice.shown.size(), 1u);
}

TEST_F(TimeWatch, TickWrapIsNotAClockChange) {
  Harness w(MakeDate(2026, 12, 7, 9, 0, 0), 0xFFFFF000u);  // wraps within 5 seconds
  w.settings.SyCngDlg = 1;
  Monitor& m = w.Start();
  for (int i = 0; i < 10; ++i) w.Step(1);
  EXPECT_LT(w.clock.tick, 10000u);
  EXPECT_FALSE(m.TimeChangePending());
  EXPECT_TRUE(w.notice.shown.empty());
  EXPECT_EQ(TickDifference(5, 0xFFFFFFFBu), 10u);
}

TEST_F(TimeWatch, TimeoutAction0AcceptsAndReanchorsTheCounters) {
  h.settings.SyOutDlg = 0;
  h.settings.SyTimeOut = 60;
  Monitor& m = h.Start();
  h.internet.online = true;
  h.Step(1);  // connected at 23:30:01
  StepWithJump(3600);
  EXPECT_TRUE(m.TimeChangePending());
  EXPECT_EQ(S(m.CycleNow()), S(MakeDate(2026, 12, 7, 23, 30, 2)));  // the implied time
  for (int i = 0; i < 58; ++i) h.Step(1);
  EXPECT_TRUE(m.TimeChangePending());
  EXPECT_EQ(m.ConnectionSeconds(), 59);
  EXPECT_TRUE(h.store.counterRecords.empty());
  h.Step(1);  // 60 s after the change
  EXPECT_FALSE(m.TimeChangePending());
  EXPECT_EQ(S(m.CycleNow()), S(MakeDate(2026, 12, 8, 0, 31, 1)));
  ASSERT_EQ(h.store.counterRecords.size(), 1u);  // the accepted time is on another day
  EXPECT_EQ(h.store.counterRecords[0].date, MakeDate(2026, 12, 8));
  EXPECT_EQ(h.store.counterRecords[0].count, 2);
  EXPECT_EQ(h.counters.TodayDate, MakeDate(2026, 12, 8));
  EXPECT_TRUE(h.clock.setCalls.empty());
}

TEST_F(TimeWatch, TimeoutAction1SetsTheClockBackToTheImpliedTime) {
  h.settings.SyOutDlg = 1;
  h.settings.SyTimeOut = 10;
  Monitor& m = h.Start();
  StepWithJump(3600);
  for (int i = 0; i < 8; ++i) h.Step(1);
  EXPECT_TRUE(h.clock.setCalls.empty());
  h.Step(1);  // 10 s after the change
  ASSERT_EQ(h.clock.setCalls.size(), 1u);
  EXPECT_EQ(S(h.clock.setCalls[0]), S(MakeDate(2026, 12, 7, 23, 30, 10)));
  EXPECT_FALSE(m.TimeChangePending());
  EXPECT_TRUE(h.store.counterRecords.empty());  // no re-anchoring when restoring
  h.Step(1);
  EXPECT_FALSE(m.TimeChangePending());
  EXPECT_EQ(S(m.CycleNow()), S(MakeDate(2026, 12, 7, 23, 30, 11)));
}

TEST_F(TimeWatch, TimeoutAction2AsksOnceAndRestoresWithTheSecondButton) {
  h.settings.SyOutDlg = 2;
  h.settings.SyTimeOut = 5;
  Monitor& m = h.Start();
  StepWithJump(-7200);
  for (int i = 0; i < 3; ++i) h.Step(1);
  EXPECT_TRUE(h.notice.shown.empty());
  h.notice.whileOpen = [&] {
    h.Advance(2);
    m.Lookersb_Timer();
    h.Advance(1);
    m.OnNoticeNegative();  // "戻す(&B)"
  };
  h.Step(1);
  ASSERT_EQ(h.notice.shown.size(), 1u);
  EXPECT_EQ(h.notice.shown[0].main, "ｼｽﾃﾑ時刻の変更による修正時間をﾀｲﾑｱｳﾄしました。");
  EXPECT_EQ(h.notice.shown[0].sub, "ｼｽﾃﾑ時刻の変更を適用しますか?／ｼｽﾃﾑ時刻の変更を元に戻しますか?");
  EXPECT_EQ(h.notice.shown[0].exMood, 2);
  EXPECT_EQ(h.notice.shown[0].acMood, 2);
  ASSERT_EQ(h.clock.setCalls.size(), 1u);
  EXPECT_EQ(S(h.clock.setCalls[0]), S(MakeDate(2026, 12, 7, 23, 30, 8)));
  EXPECT_FALSE(m.TimeChangePending());
}

TEST_F(TimeWatch, QuestionDismissedKeepsRunningOnTheImpliedTimeWithoutAskingAgain) {
  h.settings.SyOutDlg = 2;
  h.settings.SyTimeOut = 3;
  Monitor& m = h.Start();
  StepWithJump(600);
  for (int i = 0; i < 3; ++i) h.Step(1);
  ASSERT_EQ(h.notice.shown.size(), 1u);  // closed with the close box
  for (int i = 0; i < 5; ++i) h.Step(1);
  EXPECT_EQ(h.notice.shown.size(), 1u);
  EXPECT_TRUE(m.TimeChangePending());
  EXPECT_EQ(S(m.CycleNow()), S(MakeDate(2026, 12, 7, 23, 30, 9)));
}

TEST_F(TimeWatch, ChangeQuestionAcceptedWithTheFirstButton) {
  h.settings.SyCngDlg = 2;
  Monitor& m = h.Start();
  h.notice.whileOpen = [&] { m.OnNoticeGo(); };
  StepWithJump(86400);
  ASSERT_EQ(h.notice.shown.size(), 1u);
  EXPECT_EQ(h.notice.shown[0].exMood, 2);
  EXPECT_FALSE(m.TimeChangePending());
  ASSERT_EQ(h.store.counterRecords.size(), 1u);
  EXPECT_EQ(h.counters.TodayDate, MakeDate(2026, 12, 8));
  h.notice.whileOpen = nullptr;
  h.Step(1);
  EXPECT_FALSE(m.TimeChangePending());
  EXPECT_EQ(h.notice.shown.size(), 1u);
}

TEST_F(TimeWatch, RefusedClockSetIsReportedAndTheClockIsTakenAsItIs) {
  h.settings.SyOutDlg = 1;
  h.settings.SyTimeOut = 2;
  h.clock.refuseSet = true;
  Monitor& m = h.Start();
  StepWithJump(3600);
  h.Step(1);
  h.Step(1);
  ASSERT_EQ(h.clock.setCalls.size(), 1u);
  const auto& lines = m.StatusLines();
  EXPECT_EQ(lines.back(), "   ｼｽﾃﾑ時刻を元に戻せませんでした。");
  EXPECT_FALSE(m.TimeChangePending());
  for (int i = 0; i < 20; ++i) h.Step(1);
  EXPECT_EQ(h.clock.setCalls.size(), 1u);  // not detected again
  EXPECT_FALSE(m.TimeChangePending());
}

}  // namespace
}  // namespace nw::test
