// The monitor cycle end to end on a virtual clock: transitions, status lines, records, title,
// the probe's watch ways.
#include <gtest/gtest.h>

#include "classlib/otkDateFormat.h"
#include "MonitorFakes.h"

namespace nw::test {
namespace {

using Lines = std::vector<std::string>;

std::string T(Date d) { return FormatDate(d, "yyyy年 m月 d日 AMPM h:mm:ss"); }

// The provider drops the line while the lock keeps it connected.
TEST(MonitorEndToEnd, ProviderDropWhileLockKeepsLineConnected) {
  Harness h(MakeDate(2026, 12, 7, 10, 0, 0));
  SettingsRecord& s = h.settings;
  s.WayWatchEn = 1;
  s.WatchEntries = {"Provider"};
  s.RsIdlFLG = true;
  s.RsSetInfo = {{"自宅", "Provider", "taro", "secret"}};
  s.RsSetInfoStd = 0;
  s.CngDisconnLockOnFLG = true;
  s.LoggingFLG = true;
  s.LogFileAddress = "C:\\Net Ward\\LogFile.txt";
  h.counters.TodayDate = MakeDate(2026, 12, 7);
  h.counters.UserRenewTime = MakeDate(2027, 1, 1);
  Monitor& m = h.Start(/*lockShown=*/true);
  EXPECT_EQ(h.LinesFrom(0), (Lines{"2026年 12月 7日 午前 10:00:00", "   監視を開始しました。"}));

  // The user dials; Linkpilot connects and ends.
  m.RequestLine(0, false);
  ASSERT_EQ(h.dialer.started.size(), 1u);
  EXPECT_EQ(h.dialer.started[0], "\"C:\\Net Ward\\Linkpilot.exe\" RASDial,Provider,taro,secret");
  EXPECT_EQ(h.dialer.lastProgram, "C:\\Net Ward\\Linkpilot.exe");
  h.ras.conns = {{0x51, "Provider", RasQuery::kConnected}};
  h.dialer.running = false;
  h.Step(2);
  EXPECT_EQ(m.LineConnected(), 1);
  ASSERT_EQ(h.store.dialStarts.size(), 1u);
  EXPECT_EQ(h.store.dialStarts[0], std::make_pair(MakeDate(2026, 12, 7, 10, 0, 0), MakeDate(2026, 12, 7, 10, 0, 2)));
  m.LockBtnAction(true);
  EXPECT_EQ(h.view.lockBitmap, BmpLockOn);
  EXPECT_EQ(m.LockTarget(), 0);

  h.Step(1800);  // 30 minutes connected
  EXPECT_EQ(h.view.caption, "接続状態 0:30:00");
  EXPECT_EQ(h.view.posTim, "接続時間: 0時間 30分 00秒");
  const size_t before = h.LineCount();
  h.store.events.clear();

  h.ras.conns.clear();  // the provider drops the line
  h.Step(1);
  const Date t = MakeDate(2026, 12, 7, 10, 30, 3);
  EXPECT_EQ(h.LinesFrom(before), (Lines{T(t), "   切断状態になりました。", "      接続時間: 0時間 30分 01秒",
                                        T(t), "   ﾛｯｸ機能が切断状態を感知しました。 - 接続維持", T(t),
                                        "   接続を試行しました。 - 自動"}));
  EXPECT_EQ(h.counters.TodaySeconds, 1801);
  EXPECT_EQ(h.counters.TodayCount, 1);
  EXPECT_EQ(h.counters.UserCount, 1);
  ASSERT_EQ(h.store.savedBlocks.size(), 1u);
  EXPECT_EQ(h.store.savedBlocks[0], h.counters);
  EXPECT_EQ(h.store.dialEnds, std::vector<Date>{t});
  EXPECT_EQ(h.store.events, (Lines{"SaveCounterBlock", "EndDialRecord"}));
  EXPECT_EQ(h.view.dialBitmap, BmpDialDisconnected);
  EXPECT_EQ(h.view.dialTip, "ﾀﾞｲｱﾙｱｯﾌﾟ接続の開始");
  EXPECT_EQ(h.view.trayIcon, IconTrayDisconnected);
  EXPECT_EQ(h.view.caption, "切断状態 0:30:01");
  ASSERT_EQ(h.notice.shown.size(), 1u);
  EXPECT_EQ(h.notice.shown[0].main, "外部の切断試行により切断状態への変化を感知しました。");
  EXPECT_EQ(h.notice.shown[0].sub, "ﾛｯｸ機能がｵﾝにより、自動接続を試行しました。");
  ASSERT_EQ(h.dialer.started.size(), 2u);
  EXPECT_EQ(h.dialer.started[1], "\"C:\\Net Ward\\Linkpilot.exe\" RASDial,Provider,taro,secret");
  // Every status line went to the activity log as well.
  ASSERT_EQ(h.store.activity.size(), h.LineCount());
  EXPECT_EQ(h.store.activity.back(), "C:\\Net Ward\\LogFile.txt|   接続を試行しました。 - 自動");

  // Linkpilot still dials: later cycles do not start it again nor repeat a line.
  const size_t afterDrop = h.LineCount();
  h.Step(1);
  h.Step(1);
  EXPECT_EQ(h.dialer.started.size(), 2u);
  EXPECT_EQ(h.LineCount(), afterDrop);

  // The line is back.
  h.ras.conns = {{0x52, "Provider", RasQuery::kConnected}};
  h.dialer.running = false;
  h.Step(1);
  EXPECT_EQ(h.LinesFrom(afterDrop), (Lines{T(MakeDate(2026, 12, 7, 10, 30, 6)), "   接続状態になりました。",
                                           "      設定:1種のｴﾝﾄﾘを監視"}));
  EXPECT_EQ(h.store.dialStarts.size(), 2u);
  EXPECT_EQ(h.view.dialBitmap, BmpDialConnected);
  EXPECT_EQ(h.view.trayIcon, IconTrayConnected);
  EXPECT_EQ(h.notice.shown.size(), 1u);
}

TEST(MonitorCycle, LineAlreadyUpAtStartIsLoggedByTheFirstCycleWithItsTime) {
  Harness h(MakeDate(2026, 12, 7, 9, 0, 0));
  h.internet.online = true;
  Monitor& m = h.Start();
  EXPECT_EQ(h.view.caption, "切断状態 0:00:00");
  h.Step(1);
  EXPECT_EQ(h.LinesFrom(2), (Lines{T(MakeDate(2026, 12, 7, 9, 0, 1)), "   接続状態になりました。",
                                   "      方法:ﾀﾞｲｱﾙｱｯﾌﾟ"}));
  EXPECT_EQ(m.ConnectionStart(), MakeDate(2026, 12, 7, 9, 0, 1));
  h.Step(3725);
  EXPECT_EQ(h.view.caption, "接続状態 1:02:05");
  EXPECT_EQ(h.view.trayTip, "接続状態 1:02:05");
}

TEST(MonitorCycle, TitleAndClockAreRedrawnOnlyWhenTheyChange) {
  Harness h(MakeDate(2026, 12, 7, 9, 0, 0));
  h.settings.FormatNow = "h:mm";  // the clock text changes once a minute
  h.Start();
  h.Step(1);
  const int captions = h.view.captionSets, clocks = h.view.posTimDraws;
  for (int i = 0; i < 20; ++i) h.Step(1);
  EXPECT_EQ(h.view.captionSets, captions);
  EXPECT_EQ(h.view.posTimDraws, clocks);
  h.Step(40);
  EXPECT_EQ(h.view.posTimDraws, clocks + 1);
  EXPECT_EQ(h.view.posTim, "現在時刻: 9:01");
}

TEST(MonitorCycle, FastTimerRedrawsOncePerSecondButChangesAndAForcedRefreshAtOnce) {
  Harness h(MakeDate(2026, 12, 7, 9, 0, 0));
  h.counters = {MakeDate(2026, 12, 7), 0, 0, MakeDate(2027, 1, 1), 0, 0};
  h.settings.TimerIval = 100;
  Monitor& m = h.Start();
  h.internet.online = true;
  h.Step(1);
  const int captions = h.view.captionSets;
  for (int i = 1; i <= 30; ++i) {  // three seconds of a 100 ms timer
    h.clock.tick += 100;
    if (i % 10 == 0) h.clock.now = AddSeconds(h.clock.now, 1);
    m.Looker_Timer();
  }
  EXPECT_EQ(h.view.captionSets, captions + 3);
  EXPECT_EQ(h.view.caption, "接続状態 0:00:03");
  const int boxDraws = h.view.boxes[BoxToday].draws;
  m.RefreshDisplay(h.clock.now, true);
  EXPECT_EQ(h.view.boxes[BoxToday].draws, boxDraws + 1);
  // A counter edited within the same second shows at once.
  h.counters.TodayCount = 5;
  m.Looker_Timer();
  EXPECT_EQ(h.view.boxes[BoxToday].count, "6 回");
  // So do the formats the settings dialog changed.
  h.settings.FormatIval = "h:mm:ss";
  h.settings.FormatWin = "hh:mm:ss";
  m.Looker_Timer();
  EXPECT_EQ(h.view.posTim, "接続時間: 0:00:03");
  EXPECT_EQ(h.view.boxes[BoxToday].time, "0:00:03");
  EXPECT_EQ(h.view.caption, "接続状態 00:00:03");
  EXPECT_EQ(h.view.trayTip, "接続状態 00:00:03");
  // While disconnected the title, the clock and both boxes follow them too.
  h.internet.online = false;
  h.Step(1);
  h.settings.FormatWinVis = false;
  h.settings.FormatIval = "h時間m分s秒";
  h.settings.FormatNow = "h時m分s秒";
  m.Looker_Timer();
  EXPECT_EQ(h.view.caption, "切断状態");
  EXPECT_EQ(h.view.posTim, "現在時刻: 9時0分5秒");
  EXPECT_EQ(h.view.boxes[BoxToday].time, "0時間0分4秒");
  EXPECT_EQ(h.view.boxes[BoxUser].time, "0時間0分4秒");
  const int captionsNow = h.view.captionSets, clocks = h.view.posTimDraws, boxes = h.view.boxes[BoxToday].draws;
  m.Looker_Timer();
  EXPECT_EQ(h.view.captionSets, captionsNow);
  EXPECT_EQ(h.view.posTimDraws, clocks);
  EXPECT_EQ(h.view.boxes[BoxToday].draws, boxes);
  // The compact window's counters as well.
  h.view.mode = 2;
  m.Looker_Timer();
  const int compact = h.view.compactDraws;
  h.settings.FormatIval = "s秒";
  m.Looker_Timer();
  EXPECT_EQ(h.view.compactDraws, compact + 1);
}

TEST(MonitorCycle, TitleWithoutTimeAndCompactCaptionWithLock) {
  Harness h(MakeDate(2026, 12, 7, 9, 0, 0));
  h.settings.FormatWinVis = false;
  h.settings.LockState = true;
  h.view.mode = 2;
  Monitor& m = h.Start(true);
  m.ShowAutoTitle(true);
  EXPECT_EQ(h.view.caption, "切断状態");
  EXPECT_EQ(h.view.compactCaption, "切断状態 (ﾛｯｸ)");
  m.LockBtnAction(false);
  EXPECT_EQ(h.view.compactCaption, "切断状態");
}

TEST(MonitorCycle, StatusListKeepsMaxCountPlusOneLines) {
  Harness h(MakeDate(2026, 12, 7, 9, 0, 0));
  h.settings.MaxCount = 1;
  Monitor& m = h.Start();
  m.AddItemToStatus("a");
  m.AddItemToStatus("b");
  EXPECT_EQ(h.view.list, (Lines{"a", "b"}));
  EXPECT_EQ(m.StatusLines(), (std::deque<std::string>{"a", "b"}));
  m.ClearStatusList();
  EXPECT_TRUE(h.view.list.empty());
}

TEST(MonitorCycle, UnwritableActivityLogSwitchesItselfOffAndSaysSoOnce) {
  Harness h(MakeDate(2026, 12, 7, 9, 0, 0));
  h.settings.LoggingFLG = true;
  h.settings.LogFileAddress = "Z:\\gone\\LogFile.txt";
  h.store.activityFails = true;
  h.Start();
  EXPECT_FALSE(h.settings.LoggingFLG);
  EXPECT_EQ(h.settings.LogFileAddress, "");
  ASSERT_EQ(h.notice.shown.size(), 1u);
  EXPECT_EQ(h.notice.shown[0].main, "ﾛｸﾞﾌｧｲﾙの保存場所が無効なため、ﾛｸﾞを保存できませんでした。");
  EXPECT_EQ(h.notice.shown[0].sub, "ﾛｸﾞﾌｧｲﾙの保存場所が無効なため、「ﾛｸﾞ」機能の設定を初期化しました。");
  // Both start lines are still in the list.
  EXPECT_EQ(h.view.list.size(), 2u);
}

TEST(MonitorCycle, ShutDownWhileConnectedCountsTheRunningConnection) {
  Harness h(MakeDate(2026, 12, 7, 9, 0, 0));
  h.counters.TodayDate = MakeDate(2026, 12, 7);
  h.counters.UserRenewTime = MakeDate(2027, 1, 1);
  h.internet.online = true;
  Monitor& m = h.Start();
  h.Step(1);
  h.Step(600);
  m.StopMonitoring();
  EXPECT_EQ(h.counters.TodaySeconds, 600);
  EXPECT_EQ(h.counters.TodayCount, 1);
  EXPECT_EQ(h.counters.UserSeconds, 600);
  EXPECT_EQ(h.store.dialEnds.size(), 0u);  // no end time for the open connection
  EXPECT_EQ(m.StatusLines().back(), "   監視を終了しました。");
}

// ---- the probe ------------------------------------------------------------------------------

struct RasProbe : ::testing::Test {
  Harness h{MakeDate(2026, 12, 7, 9, 0, 0)};
  void SetUp() override {
    h.settings.WayWatchEn = 1;
    h.settings.WatchEntries = {"Office"};
  }
};

TEST_F(RasProbe, OnlyTheWatchedSecondConnectionDecides) {
  Monitor& m = h.Start();
  h.ras.conns = {{1, "Home", RasQuery::kConnected}, {2, "Office", 5}};
  EXPECT_EQ(m.ProbeLine().Connected, 0);
  EXPECT_EQ(m.WatchedHandles(), std::vector<RasHandle>{2});
  h.ras.conns[1].state = RasQuery::kConnected;
  EXPECT_EQ(m.ProbeLine().Connected, 1);
  h.ras.conns = {{1, "Home", RasQuery::kConnected}};
  EXPECT_EQ(m.ProbeLine().Connected, 0);
}

TEST_F(RasProbe, ThresholdAndTheDisconnectedState) {
  Monitor& m = h.Start();
  h.settings.WatchDetail = 0;  // opening the port already counts
  h.ras.conns = {{7, "Office", 0}};
  EXPECT_EQ(m.ProbeLine().Connected, 1);
  h.ras.conns[0].state = RasQuery::kDisconnected;  // never counts, whatever the threshold
  EXPECT_EQ(m.ProbeLine().Connected, 0);
  h.settings.WatchDetail = 14;
  h.ras.conns[0].state = 5;
  EXPECT_EQ(m.ProbeLine().Connected, 0);
  h.ras.conns[0].state = 14;
  EXPECT_EQ(m.ProbeLine().Connected, 1);
}

TEST_F(RasProbe, EntryNamesDifferingInCaseDoNotMatchAndNoWatchedEntryIsDown) {
  Monitor& m = h.Start();
  h.ras.conns = {{7, "office", RasQuery::kConnected}};
  EXPECT_EQ(m.ProbeLine().Connected, 0);
  h.settings.WatchEntries.clear();
  h.ras.conns = {{7, "Office", RasQuery::kConnected}};
  m.ClearWatchedHandles();
  auto r = m.ProbeLine();
  EXPECT_TRUE(r.Ok);
  EXPECT_EQ(r.Connected, 0);
}

TEST_F(RasProbe, CacheIsReusedOnlyForTheSameActiveListAndFailingHandleIsSkipped) {
  h.settings.WatchEntries = {"Office", "Office"};  // duplicates add a handle twice
  Monitor& m = h.Start();
  h.ras.conns = {{7, "Office", RasQuery::kConnected}};
  m.ProbeLine();
  EXPECT_EQ(m.WatchedHandles(), (std::vector<RasHandle>{7, 7}));
  h.settings.WatchEntries = {"Office"};
  m.ClearWatchedHandles();
  m.ProbeLine();
  EXPECT_EQ(m.WatchedHandles(), std::vector<RasHandle>{7});
  // The watch list changes but the active list does not: the cache holds until cleared.
  h.settings.WatchEntries = {"Home"};
  EXPECT_EQ(m.ProbeLine().Connected, 1);
  m.ClearWatchedHandles();
  EXPECT_EQ(m.ProbeLine().Connected, 0);
  // A handle whose state query fails is skipped; the next one decides.
  h.settings.WatchEntries = {"Office", "Backup"};
  h.ras.conns = {{7, "Office", RasQuery::kConnected}, {8, "Backup", RasQuery::kConnected}};
  h.ras.failState = {7};
  EXPECT_EQ(m.ProbeLine().Connected, 1);
}

TEST_F(RasProbe, FailingEnumerationLeavesTheLineStateAndSkipsTheCycle) {
  Monitor& m = h.Start();
  h.ras.conns = {{7, "Office", RasQuery::kConnected}};
  h.Step(1);
  ASSERT_EQ(m.LineConnected(), 1);
  const size_t lines = h.LineCount();
  for (int i = 0; i < 33; ++i) h.ras.conns.push_back({RasHandle(100 + i), "Other", RasQuery::kConnected});
  h.ras.conns.erase(h.ras.conns.begin());  // the watched one dropped, but the probe cannot tell
  h.Step(1);
  h.Step(1);
  EXPECT_EQ(m.LineConnected(), 1);
  EXPECT_EQ(h.LineCount(), lines);
}

TEST(RasQueryHelpers, EntryConnectedNeedsTheExactNameAndFullConnection) {
  FakeRas ras;
  ras.conns = {{1, "Home", 14}, {2, "Office", RasQuery::kConnected}};
  EXPECT_TRUE(ras.IsEntryConnected("Office"));
  EXPECT_FALSE(ras.IsEntryConnected("office"));
  EXPECT_FALSE(ras.IsEntryConnected("Home"));
  EXPECT_FALSE(ras.IsConnectionUp(3));
  ras.failEnum = true;
  EXPECT_FALSE(ras.IsEntryConnected("Office"));
}

}  // namespace
}  // namespace nw::test
