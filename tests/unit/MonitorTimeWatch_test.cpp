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


// A one-second cycle on which the clock is moved by `jump` seconds, then `seconds` plain cycles.
void JumpAndRun(Harness& h, int64_t jump, int seconds) {
  h.Advance(1);
  h.clock.now = AddSeconds(h.clock.now, jump);
  h.monitor->Looker_Timer();
  for (int i = 0; i < seconds; ++i) h.Step(1);
}

bool HasMinus(const std::string& text) { return text.find('-') != std::string::npos; }

TEST(AcceptedClockChange, ForwardAcrossTheRenewalsCutsTheConnectionAtTheBoundary) {
  Harness h(MakeDate(2026, 12, 7, 22, 59, 0));
  h.settings.RNInterval = 3;  // the user counter renews daily at 00:00, like the "today" counter
  h.counters = {MakeDate(2026, 12, 7), 100, 1, MakeDate(2026, 12, 8), 200, 1};
  Monitor& m = h.Start();
  h.internet.online = true;
  h.Step(60);  // connected at 23:00:00
  for (int i = 0; i < 30; ++i) h.Step(60);
  JumpAndRun(h, 3600, 59);  // clock 00:30:01 at 23:30:01; accepted silently 60 s later
  ASSERT_FALSE(m.TimeChangePending());
  EXPECT_EQ(S(m.CycleNow()), S(MakeDate(2026, 12, 8, 0, 31, 0)));
  // The old periods get the connection up to midnight, the new ones count from midnight.
  ASSERT_EQ(h.store.counterRecords.size(), 2u);
  EXPECT_EQ(h.store.counterRecords[0].kind, LogToday);
  EXPECT_EQ(h.store.counterRecords[0].seconds, 100 + 3600);
  EXPECT_EQ(h.store.counterRecords[1].kind, LogUser);
  EXPECT_EQ(h.store.counterRecords[1].seconds, 200 + 3600);
  EXPECT_EQ(m.TodayStart(), MakeDate(2026, 12, 8));
  EXPECT_EQ(m.UserStart(), MakeDate(2026, 12, 8));
  h.Step(539);
  h.internet.online = false;
  h.Step(1);  // dropped at 00:40:00
  EXPECT_EQ(h.counters.TodaySeconds, 2400);
  EXPECT_EQ(h.counters.UserSeconds, 2400);
  EXPECT_EQ(h.counters.UserRenewTime, MakeDate(2026, 12, 9));
}

TEST(AcceptedClockChange, SetBackWhileConnectedLeavesNoNegativeTimeAnywhere) {
  Harness h(MakeDate(2026, 12, 7, 23, 9, 0));
  h.counters = {MakeDate(2026, 12, 7), 100, 1, MakeDate(2027, 1, 1), 200, 1};
  Monitor& m = h.Start();
  h.internet.online = true;
  h.Step(60);  // connected at 23:10:00
  for (int i = 0; i < 20; ++i) h.Step(60);
  JumpAndRun(h, -5400, 59);  // clock 22:00:01 at 23:30:01; accepted silently at 22:01:00
  ASSERT_FALSE(m.TimeChangePending());
  const Date accepted = MakeDate(2026, 12, 7, 22, 1, 0);
  EXPECT_EQ(S(m.CycleNow()), S(accepted));
  for (Date start : {m.ConnectionStart(), m.TodayStart(), m.UserStart()}) EXPECT_LE(S(start), S(accepted));
  // The 21 minutes connected before the change (by the ticks) stay counted, and the connection's
  // length runs on; its record ends at the change and the next one begins at the accepted time.
  EXPECT_EQ(h.view.caption, "接続状態 0:21:00");
  EXPECT_EQ(h.view.boxes[BoxToday].time, "0時間 22分 40秒");
  EXPECT_EQ(h.view.boxes[BoxUser].time, "0時間 24分 20秒");
  EXPECT_EQ(h.store.LastSaved().TodaySeconds, 1360);
  EXPECT_EQ(S(h.store.checkpoint->ConnectionStart), S(accepted));
  h.Step(10);
  h.internet.online = false;
  h.Step(1);
  EXPECT_EQ(m.StatusLines().back(), "      接続時間: 0時間 21分 11秒");
  EXPECT_EQ(h.counters.TodaySeconds, 1371);
  EXPECT_EQ(h.counters.TodayCount, 2);
  EXPECT_EQ(h.counters.UserSeconds, 1471);
  EXPECT_EQ(h.store.LastSaved().TodaySeconds, 1371);
  ASSERT_EQ(h.store.dialStarts.size(), 2u);
  ASSERT_EQ(h.store.dialEnds.size(), 2u);
  EXPECT_EQ(S(h.store.dialEnds[0]), S(MakeDate(2026, 12, 7, 23, 31, 0)));
  EXPECT_EQ(S(h.store.dialStarts[1].second), S(accepted));
  for (int i = 0; i < 2; ++i) EXPECT_LE(S(h.store.dialStarts[i].second), S(h.store.dialEnds[i]));
  for (int i = 0; i < 2; ++i) h.Step(3600);  // past midnight
  ASSERT_EQ(h.store.counterRecords.size(), 1u);
  EXPECT_EQ(h.store.counterRecords[0].seconds, 1371);
  EXPECT_FALSE(HasMinus(h.view.caption));

  // A manual reset and the window shown while a set-back is not yet accepted count on the implied
  // time, and the reset's record never takes a negative running part.
  Harness p(MakeDate(2026, 12, 7, 10, 0, 0));
  p.settings.SyTimeOut = 600;
  p.counters = {MakeDate(2026, 12, 7), 0, 0, MakeDate(2027, 1, 1), 0, 0};
  Monitor& pm = p.Start();
  p.internet.online = true;
  p.Step(1);
  p.Step(60);
  JumpAndRun(p, -3600, 5);
  ASSERT_TRUE(pm.TimeChangePending());
  pm.ResetTodayCounter();
  ASSERT_EQ(p.store.counterRecords.size(), 1u);
  EXPECT_EQ(p.store.counterRecords[0].seconds, 66);
  pm.RefreshNow();
  EXPECT_EQ(p.view.caption, "接続状態 0:01:06");
  EXPECT_EQ(p.view.boxes[BoxToday].time, "0時間 00分 00秒");
}

TEST(AcceptedClockChange, RedialAfterASetBackWaitsOnlyTheIntervalFromTheAcceptedTime) {
  Harness h(MakeDate(2026, 12, 7, 10, 0, 0));
  h.settings.AcDalDial = true;
  h.settings.RdByAuto = true;
  h.settings.RdInterval = 30;
  h.settings.SyTimeOut = 5;
  h.internet.online = true;
  Monitor& m = h.Start();
  h.Step(1);
  h.Step(60);
  h.internet.online = false;
  h.Step(1);  // dropped at 10:01:02: the redial waits 30 s
  ASSERT_TRUE(m.RedialPending());
  ASSERT_TRUE(h.dialer.started.empty());
  JumpAndRun(h, -3600, 4);  // set back an hour at 10:01:03, accepted at 09:01:07
  ASSERT_FALSE(m.TimeChangePending());
  EXPECT_EQ(S(m.LastDisconnect()), S(MakeDate(2026, 12, 7, 9, 1, 7)));
  for (int i = 0; i < 30; ++i) h.Step(1);
  EXPECT_TRUE(h.dialer.started.empty());
  h.Step(1);
  ASSERT_EQ(h.dialer.started.size(), 1u);
  EXPECT_EQ(m.StatusLines().back(), "   接続を試行しました。 - 自動");
}

TEST_F(TimeWatch, StartUpNoticeHeldOpenIsNoClockChange) {
  h.settings.TimerIval = 30000;
  h.settings.AlDalDial = true;
  h.settings.RsIdlFLG = true;  // no default set: the start-up dial opens a notice
  h.settings.SyOutDlg = 1;
  h.settings.SyTimeOut = 10;
  h.notice.whileOpen = [&] {
    h.Advance(30);
    h.monitor->Lookersb_Timer();
    h.Advance(25);  // the user reads a while before closing it
  };
  Monitor& m = h.Start();
  ASSERT_EQ(h.notice.shown.size(), 1u);
  EXPECT_EQ(h.notice.shown[0].main, "標準の接続情報保存ｾｯﾄがないため、ﾀﾞｲｱﾙｱｯﾌﾟ接続を開始できません。");
  h.notice.whileOpen = nullptr;
  for (int i = 0; i < 3; ++i) h.Step(30);
  EXPECT_FALSE(m.TimeChangePending());
  EXPECT_TRUE(h.clock.setCalls.empty());
  EXPECT_EQ(h.notice.shown.size(), 1u);
}

}  // namespace
}  // namespace nw::test
