// The lock, outside-change notices, time limits, automatic connect, redial guard, requests and
// the notice dialog's nesting.
#include <gtest/gtest.h>

#include "MonitorFakes.h"

namespace nw::test {
namespace {

using Lines = std::vector<std::string>;

struct Rules : ::testing::Test {
  Harness h{MakeDate(2026, 12, 7, 9, 0, 0)};
  void SetUp() override { h.counters = {MakeDate(2026, 12, 7), 0, 0, MakeDate(2027, 1, 1), 0, 0}; }
  // Connects the line and lets one cycle see it.
  void Connect() {
    h.internet.online = true;
    h.dialer.running = false;
    h.Step(1);
  }
  void Drop() {
    h.internet.online = false;
    h.dialer.running = false;
    h.Step(1);
  }
  size_t Count(const std::string& line) const {
    size_t n = 0;
    for (const auto& l : h.monitor->StatusLines()) n += l == line;
    return n;
  }
};

TEST_F(Rules, LockWithAManualHangUpKeepsTheLineDown) {
  h.settings.CngDisconnLockOnFLG = true;
  Monitor& m = h.Start(true);
  Connect();
  m.LockBtnAction(true);
  ASSERT_EQ(m.LockTarget(), 0);
  m.RequestLine(1, false);  // the user presses the hang-up button
  EXPECT_EQ(m.LockTarget(), 1);
  m.ShowLockButton(true);  // already shown (the settings dialog's "O.K."): the target stays
  EXPECT_EQ(m.LockTarget(), 1);
  ASSERT_EQ(h.dialer.started.size(), 1u);
  EXPECT_EQ(h.dialer.started[0], "\"C:\\Net Ward\\Linkpilot.exe\" InternetAutodialHangup");
  EXPECT_EQ(m.StatusLines().back(), "   切断を試行しました。 - 手動");
  Drop();
  for (int i = 0; i < 5; ++i) h.Step(1);
  EXPECT_EQ(h.dialer.started.size(), 1u);  // no redial
  EXPECT_TRUE(h.notice.shown.empty());
  // Something else connects: the lock hangs up again, automatically.
  Connect();
  ASSERT_EQ(h.dialer.started.size(), 2u);
  EXPECT_EQ(h.dialer.started[1], "\"C:\\Net Ward\\Linkpilot.exe\" InternetAutodialHangup");
  EXPECT_EQ(Count("   ﾛｯｸ機能が接続状態を感知しました。 - 切断維持"), 1u);
  EXPECT_EQ(m.StatusLines().back(), "   切断を試行しました。 - 自動");
}

TEST_F(Rules, LockOnWhileConnectedDialsEveryCycleUntilUp) {
  Monitor& m = h.Start(true);
  Connect();
  m.LockBtnAction(true);
  Drop();
  EXPECT_EQ(h.dialer.started.size(), 1u);
  for (int i = 0; i < 3; ++i) {
    h.dialer.running = false;  // each Linkpilot gives up
    h.Step(1);
  }
  EXPECT_EQ(h.dialer.started.size(), 4u);
  EXPECT_EQ(Count("   接続を試行しました。 - 自動"), 1u);
  EXPECT_EQ(Count("   ﾛｯｸ機能が切断状態を感知しました。 - 接続維持"), 1u);
}

TEST_F(Rules, AtStartALineAlreadyUpIsAnOutsideConnectOnce) {
  h.settings.CngConnLockOffFLG = true;
  h.Start(true);
  Connect();
  for (int i = 0; i < 4; ++i) h.Step(1);
  ASSERT_EQ(h.notice.shown.size(), 1u);
  EXPECT_EQ(h.notice.shown[0].main, "外部の接続試行により接続状態への変化を感知しました。");
  EXPECT_EQ(h.notice.shown[0].sub, "ﾛｯｸ機能がｵﾌのため、接続／切断の状態は維持されていません。");
  EXPECT_TRUE(h.dialer.started.empty());
}

TEST_F(Rules, LockWithoutDefaultSetSaysSoOncePerPeriod) {
  h.settings.RsIdlFLG = true;
  h.Start(true);
  Connect();
  h.monitor->LockBtnAction(true);
  Drop();
  for (int i = 0; i < 3; ++i) h.Step(1);
  ASSERT_EQ(h.notice.shown.size(), 1u);
  EXPECT_EQ(h.notice.shown[0].main, "ﾛｯｸ機能がｵﾝのため、接続／切断の状態を維持しようとしましたが、");
  EXPECT_EQ(h.notice.shown[0].sub, "標準の接続情報保存ｾｯﾄがないため、ﾀﾞｲｱﾙｱｯﾌﾟ接続を開始できません。");
  EXPECT_TRUE(h.dialer.started.empty());
}

TEST_F(Rules, ConnectionLimitWithHangUpOnlyAsksAgainEveryCycle) {
  h.settings.AdCutHangup = true;
  h.settings.AdCutTime = 3600;
  h.Start();
  Connect();
  h.Step(3600);  // exactly the limit: nothing
  EXPECT_TRUE(h.dialer.started.empty());
  h.Step(1);
  EXPECT_EQ(h.dialer.started.size(), 1u);
  h.dialer.running = false;  // the hang-up did not take
  h.Step(1);
  EXPECT_EQ(h.dialer.started.size(), 2u);
  EXPECT_EQ(Count("   切断を試行しました。 - 自動"), 1u);
  EXPECT_TRUE(h.notice.shown.empty());
}

TEST_F(Rules, TwoLimitsInOneCycleGiveOneHangUpAndTheSecondNoticeWins) {
  h.settings.AdCutDialog = h.settings.AdCutHangup = true;
  h.settings.AdCutTime = 60;
  h.settings.AtCutDialog = h.settings.AtCutHangup = true;
  h.settings.AtCutTime = 60;
  h.Start();
  Connect();
  h.notice.whileOpen = [&] { h.monitor->OnNoticeGo(); };  // O.K.
  h.Step(61);
  EXPECT_EQ(h.dialer.started.size(), 1u);
  EXPECT_EQ(Count("   切断を試行しました。 - 自動"), 1u);
  ASSERT_EQ(h.notice.shown.size(), 1u);
  EXPECT_EQ(h.notice.shown[0].main, "\"今日\" ｶｳﾝﾀの累積接続時間が 0時間 01分 00秒 を超えました。");
  EXPECT_EQ(h.notice.shown[0].sub, "ﾀﾞｲｱﾙｱｯﾌﾟ接続の切断を試行しました。");
  EXPECT_EQ(h.notice.shown[0].exMood, 0);
  EXPECT_EQ(h.notice.shown[0].acMood, -1);
  EXPECT_TRUE(h.monitor->RuleMarks().AdCutDone);
  EXPECT_TRUE(h.monitor->RuleMarks().AtCutDone);
  h.notice.whileOpen = nullptr;
  h.Step(1);
  EXPECT_EQ(h.notice.shown.size(), 1u);
}

TEST_F(Rules, SecondLimitAsQuestionMakesTheFirstButtonHangUp) {
  h.settings.AdCutDialog = h.settings.AdCutHangup = true;
  h.settings.AdCutTime = 60;
  h.settings.AtCutDialog = true;
  h.settings.AtCutTime = 60;
  h.Start();
  Connect();
  int actionMood = 99;
  h.notice.whileOpen = [&] { actionMood = h.monitor->NoticeActionMood(); };
  h.Step(61);
  ASSERT_EQ(h.notice.shown.size(), 1u);
  EXPECT_EQ(h.notice.shown[0].sub, "ﾀﾞｲｱﾙｱｯﾌﾟ接続を切断しますか?");
  EXPECT_EQ(h.notice.shown[0].exMood, 1);
  EXPECT_EQ(actionMood, 0);
  EXPECT_EQ(h.dialer.started.size(), 1u);
}

TEST_F(Rules, ALimitReachedWhileANoticeIsOpenReplacesItsTexts) {
  h.settings.AdCutDialog = true;
  h.settings.AdCutTime = 60;
  h.settings.AuCutDialog = h.settings.AuCutHangup = true;
  h.settings.AuCutTime = 65;
  h.settings.CounterName = "月額";
  h.Start();
  Connect();
  h.notice.whileOpen = [&] {
    EXPECT_TRUE(h.view.lookersb);
    EXPECT_EQ(h.view.lookersbInterval, 1000);
    for (int i = 0; i < 10; ++i) {
      h.Advance(1);
      h.monitor->Lookersb_Timer();
    }
    h.monitor->OnNoticeGo();
  };
  h.Step(61);
  EXPECT_FALSE(h.view.lookersb);
  ASSERT_EQ(h.notice.shown.size(), 2u);
  EXPECT_EQ(h.notice.shown[0].main, "接続開始からの接続時間が 0時間 01分 00秒 を超えました。");
  EXPECT_TRUE(h.notice.shown[1].replaced);
  EXPECT_EQ(h.notice.shown[1].main, "\"月額\" ｶｳﾝﾀの累積接続時間が 0時間 01分 05秒 を超えました。");
  EXPECT_EQ(h.notice.shown[1].sub, "ﾀﾞｲｱﾙｱｯﾌﾟ接続の切断を試行しました。");
  // The first button acted for the newer notice (information): no manual hang-up was added.
  EXPECT_EQ(h.dialer.started.size(), 1u);
  EXPECT_EQ(Count("   切断を試行しました。 - 自動"), 1u);
  EXPECT_EQ(Count("   切断を試行しました。 - 手動"), 0u);
}

TEST_F(Rules, QuestionAnsweredYesHangsUpManually) {
  h.settings.AdCutDialog = true;
  h.settings.AdCutTime = 10;
  h.Start();
  Connect();
  h.notice.whileOpen = [&] { h.monitor->OnNoticeGo(); };
  h.Step(11);
  ASSERT_EQ(h.dialer.started.size(), 1u);
  EXPECT_EQ(h.monitor->StatusLines().back(), "   切断を試行しました。 - 手動");
  EXPECT_EQ(h.monitor->NoticeActionMood(), -1);  // reset at unload
  h.notice.whileOpen = nullptr;
  h.dialer.running = false;
  h.Step(5);
  EXPECT_EQ(h.notice.shown.size(), 1u);  // not asked again in this connection
}

TEST_F(Rules, NoticeFromACycleRunsNestedCyclesWithoutRepeatingItself) {
  h.settings.AcDalDialog = true;
  h.Start();
  int cyclesWhileOpen = 0;
  h.notice.whileOpen = [&] {
    for (int i = 0; i < 5; ++i) {
      h.Advance(1);
      h.monitor->Lookersb_Timer();
      ++cyclesWhileOpen;
    }
    h.monitor->OnNoticeGo();  // "はい(&Y)": dial, manual
  };
  h.Step(1);
  EXPECT_EQ(cyclesWhileOpen, 5);
  ASSERT_EQ(h.notice.shown.size(), 1u);
  EXPECT_EQ(h.notice.maxDepth, 1);
  EXPECT_EQ(h.notice.shown[0].main, "ﾀﾞｲｱﾙｱｯﾌﾟ接続が切断された場合、ﾀﾞｲｱﾛｸﾞで告知する設定になっています。");
  EXPECT_EQ(h.notice.shown[0].sub, "ﾀﾞｲｱﾙｱｯﾌﾟを接続しますか?");
  ASSERT_EQ(h.dialer.started.size(), 1u);
  EXPECT_EQ(h.dialer.started[0], "\"C:\\Net Ward\\Linkpilot.exe\" InternetAutodial");
  EXPECT_EQ(h.monitor->StatusLines().back(), "   接続を試行しました。 - 手動");
  for (int i = 0; i < 3; ++i) h.Step(1);
  EXPECT_EQ(h.notice.shown.size(), 1u);
  // Up and down again: a new period, a new announcement.
  Connect();
  h.notice.whileOpen = nullptr;
  Drop();
  EXPECT_EQ(h.notice.shown.size(), 2u);
}

TEST_F(Rules, ProgramEndingWhileANoticeIsOpenLeavesTheInterruptedCycleInert) {
  // The lock keeps the line up; the provider drops it and the outside-change notice opens. The
  // user ends the program from the tray while it is open: the notice closes, and the cycle that
  // opened it returns into the lock rule, which would dial again.
  h.settings.CngDisconnLockOnFLG = true;
  Monitor& m = h.Start(true);
  Connect();
  m.LockBtnAction(true);
  h.dialer.runsAfterStart = false;  // each Linkpilot is done at once: only the monitor can hold back
  size_t startsAtEnd = 0;
  h.notice.whileOpen = [&] {
    m.StopMonitoring();  // "終了(&X)": the shut-down runs inside the notice's loop
    startsAtEnd = h.dialer.started.size();
    m.Lookersb_Timer();  // a timer message still queued
    m.RequestLine(0, false);
  };
  Drop();
  ASSERT_EQ(h.notice.shown.size(), 1u);
  EXPECT_EQ(h.dialer.started.size(), startsAtEnd);
  EXPECT_EQ(m.StatusLines().back(), "   監視を終了しました。");
  EXPECT_TRUE(m.Stopped());
  h.notice.whileOpen = nullptr;
  h.Step(1);
  m.StopMonitoring();
  EXPECT_EQ(h.dialer.started.size(), startsAtEnd);
  EXPECT_EQ(Count("   監視を終了しました。"), 1u);
  EXPECT_EQ(h.notice.shown.size(), 1u);
}

TEST_F(Rules, RedialRefusedWithTheRemainingSecondsAndFiredByALaterProbe) {
  h.settings.AcDalDial = true;
  h.settings.RdByAuto = true;
  h.settings.RdInterval = 30;
  Monitor& m = h.Start();
  Connect();
  h.Step(100);
  h.dialer.running = false;
  const size_t before = h.LineCount();
  Drop();
  EXPECT_TRUE(m.RedialPending());
  EXPECT_TRUE(h.dialer.started.empty());
  const Lines lines = h.LinesFrom(before + 3);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], "   再接続に十分な時間がまだ経過していません。");
  EXPECT_EQ(lines[2], "      あと30秒以上経過後に自動的に再接続します。");
  for (int i = 0; i < 29; ++i) h.Step(1);  // 29 s: still waiting, silently
  h.Step(1);                               // 30 s: not more than the interval
  EXPECT_TRUE(h.dialer.started.empty());
  EXPECT_EQ(h.LineCount(), before + 6);
  h.Step(1);  // 31 s
  EXPECT_FALSE(m.RedialPending());
  ASSERT_EQ(h.dialer.started.size(), 1u);
  EXPECT_EQ(m.StatusLines().back(), "   接続を試行しました。 - 自動");
}

TEST_F(Rules, ZeroRedialIntervalWaitsForTheNextSecond) {
  h.settings.RdByAuto = true;
  h.settings.RdInterval = 0;
  h.settings.AcDalDial = true;
  Monitor& m = h.Start();
  Connect();
  h.Step(5);
  Drop();
  EXPECT_EQ(m.StatusLines().back(), "      あと0秒以上経過後に自動的に再接続します。");
  // A manual request while pending is refused without a line.
  const size_t lines = h.LineCount();
  m.RequestLine(0, false);
  EXPECT_EQ(h.LineCount(), lines);
  EXPECT_TRUE(h.dialer.started.empty());
  h.Step(1);
  EXPECT_EQ(h.dialer.started.size(), 1u);
}

TEST_F(Rules, ManualRedialIntervalAppliesOnlyToManualRequests) {
  h.settings.RdByManu = true;
  h.settings.RdInterval = 60;
  Monitor& m = h.Start();
  Connect();
  Drop();
  m.RequestLine(0, true);  // automatic: not guarded
  EXPECT_EQ(h.dialer.started.size(), 1u);
  h.dialer.running = false;
  m.RequestLine(0, false);
  EXPECT_EQ(h.dialer.started.size(), 1u);
  EXPECT_TRUE(m.RedialPending());
}

TEST_F(Rules, RequestsThatDoNotFitTheLineOnlyMoveTheTarget) {
  Monitor& m = h.Start(true);
  m.RequestLine(1, false);
  EXPECT_EQ(m.LockTarget(), 1);
  EXPECT_TRUE(m.RequestedByUs());
  Connect();
  EXPECT_FALSE(m.RequestedByUs());
  m.RequestLine(0, false);
  EXPECT_EQ(m.LockTarget(), 0);
  EXPECT_TRUE(h.dialer.started.empty());
  EXPECT_EQ(h.LineCount(), 5u);  // start, connection; no attempt lines
}

TEST_F(Rules, DialerStillRunningDropsTheRequestButTheAttemptIsLoggedOnce) {
  Monitor& m = h.Start();
  m.RequestLine(0, false);
  m.RequestLine(0, false);
  EXPECT_EQ(h.dialer.started.size(), 1u);
  h.dialer.running = false;
  h.dialer.startFails = true;  // Linkpilot missing: nothing shown
  m.RequestLine(0, false);
  EXPECT_EQ(h.LineCount(), 4u);
  EXPECT_TRUE(h.notice.shown.empty());
}

TEST_F(Rules, IndependentDialingUsesTheDefaultSetOrSaysItIsMissing) {
  h.settings.RsIdlFLG = true;
  h.settings.RsSetInfo = {{"A", "EntA", "ua", "pa"}, {"B", "EntB", "ub", "pb"}};
  h.settings.RsSetInfoStd = 5;  // beyond the sets: treated as none
  Monitor& m = h.Start();
  EXPECT_TRUE(m.NoDefaultSetProblem());
  m.RequestLine(0, false);
  ASSERT_EQ(h.notice.shown.size(), 1u);
  EXPECT_EQ(h.notice.shown[0].main, "標準の接続情報保存ｾｯﾄがないため、ﾀﾞｲｱﾙｱｯﾌﾟ接続を開始できません。");
  EXPECT_EQ(h.notice.shown[0].sub, "標準の接続情報保存ｾｯﾄを設定して下さい。");
  EXPECT_TRUE(h.dialer.started.empty());
  EXPECT_TRUE(m.DefaultSetMenuVisible());
  m.SetDefaultSet(1);
  EXPECT_EQ(m.DefaultSetMenuItems(), (Lines{"A", "B - (標準)"}));
  m.RequestLine(0, false);
  ASSERT_EQ(h.dialer.started.size(), 1u);
  EXPECT_EQ(h.dialer.started[0], "\"C:\\Net Ward\\Linkpilot.exe\" RASDial,EntB,ub,pb");
  Connect();
  m.RequestLine(1, true);
  h.dialer.running = false;
  EXPECT_EQ(h.dialer.started.back(), "\"C:\\Net Ward\\Linkpilot.exe\" RASHangUp,EntB");
  h.settings.RsSetInfo.resize(1);
  h.settings.RsSetInfoStd = 0;
  EXPECT_FALSE(m.DefaultSetMenuVisible());
}

TEST_F(Rules, LimitWithoutDefaultSetSaysSoOncePerConnection) {
  h.settings.RsIdlFLG = true;
  h.settings.AdCutHangup = true;
  h.settings.AdCutTime = 5;
  h.Start();
  Connect();
  for (int i = 0; i < 10; ++i) h.Step(1);
  ASSERT_EQ(h.notice.shown.size(), 1u);
  EXPECT_EQ(h.notice.shown[0].main, "接続開始からの接続時間が 0時間 00分 05秒 を超えました。");
  EXPECT_EQ(h.notice.shown[0].sub, "しかし、標準の接続情報保存ｾｯﾄがないため、ﾀﾞｲｱﾙｱｯﾌﾟ接続を切断できません。");
  EXPECT_TRUE(h.dialer.started.empty());
}

TEST_F(Rules, AutoConnectDialsEveryCycleAndAnnouncesOnce) {
  h.settings.AcDalDial = true;
  h.settings.AcDalDialog = true;
  h.Start();
  h.Step(1);
  ASSERT_EQ(h.notice.shown.size(), 1u);
  EXPECT_EQ(h.notice.shown[0].main, "ﾀﾞｲｱﾙｱｯﾌﾟ接続が切断された場合、接続する設定になっているため、");
  EXPECT_EQ(h.notice.shown[0].sub, "ﾀﾞｲｱﾙｱｯﾌﾟの接続を試行しました。");
  EXPECT_EQ(h.notice.shown[0].exMood, 0);
  EXPECT_EQ(h.dialer.started.size(), 1u);
  for (int i = 0; i < 3; ++i) {
    h.dialer.running = false;
    h.Step(1);
  }
  EXPECT_EQ(h.dialer.started.size(), 4u);
  EXPECT_EQ(h.notice.shown.size(), 1u);
  EXPECT_EQ(Count("   接続を試行しました。 - 自動"), 1u);
}

}  // namespace
}  // namespace nw::test
