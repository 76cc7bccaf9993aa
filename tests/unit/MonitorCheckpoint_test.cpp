// Counted time that survives a crash, a power cut and sleep: the running connection's checkpoint,
// its recovery at the next start, the checkpoint file itself and the monitor around a suspend.
#include <gtest/gtest.h>

#include "MonitorFakes.h"
#include "TestFiles.h"
#include "classlib/otkDateFormat.h"
#include "data/NWDCheckpoint.h"
#include "data/NWDLogFiles.h"
#include "monitor/MonitorFiles.h"

namespace nw::test {
namespace {

using Lines = std::vector<std::string>;

std::string T(Date d) { return FormatDate(d, "yyyy年 m月 d日 AMPM h:mm:ss"); }
int64_t S(Date d) { return ToSeconds(d); }

// What NwdUtil.dat's counters block holds: the last save, or what it held at the start.
CounterBlock OnDisk(const Harness& h, const CounterBlock& atStart) {
  return h.store.savedBlocks.empty() ? atStart : h.store.savedBlocks.back();
}

// The process died without a shut-down; `downtime` later it runs again on what the files hold.
std::unique_ptr<Harness> Restart(const Harness& dead, const CounterBlock& disk, int64_t downtime) {
  auto h = std::make_unique<Harness>(AddSeconds(dead.clock.now, downtime), dead.clock.tick + downtime * 1000);
  h->settings = dead.settings;
  h->counters = disk;
  h->store.checkpoint = dead.store.checkpoint;
  h->internet = dead.internet;
  return h;
}

// A fresh day's counters; the line comes up `up` seconds after `start` and the machine is
// suspended `awake` seconds later.
std::unique_ptr<Harness> SuspendedWhileUp(Date start, int64_t up, int64_t awake) {
  auto h = std::make_unique<Harness>(start);
  h->counters = {DateOf(start), 0, 0, MakeDate(2027, 1, 1), 0, 0};
  h->Start();
  h->internet.online = true;
  h->Step(up);
  h->Advance(awake);
  h->monitor->OnSuspend();
  return h;
}

TEST(CrashRecovery, SameDayRestartWithTheLineStillUp) {
  Harness a(MakeDate(2026, 12, 7, 10, 0, 0));
  a.counters = {MakeDate(2026, 12, 7), 600, 2, MakeDate(2027, 1, 1), 900, 3};
  const CounterBlock disk = a.counters;
  a.Start();
  a.internet.online = true;
  a.Step(5);  // 10:00:05 up
  const Date up = MakeDate(2026, 12, 7, 10, 0, 5);
  ASSERT_TRUE(a.store.checkpoint);
  EXPECT_EQ(a.store.checkpointWrites, 1);
  const ConnectionCheckpoint& first = *a.store.checkpoint;
  for (Date d : {first.Written, first.ConnectionStart, first.TodayStart, first.UserStart}) EXPECT_EQ(S(d), S(up));
  EXPECT_EQ(S(first.MonitorStart), S(MakeDate(2026, 12, 7, 10, 0, 0)));
  EXPECT_TRUE(first.DialRecordOpen);
  EXPECT_EQ(first.Counters, disk);

  // Cycles in between touch no file; the next checkpoint comes a minute later.
  for (int i = 0; i < 59; ++i) a.Step(1);
  EXPECT_EQ(a.store.checkpointWrites, 1);
  EXPECT_TRUE(a.store.savedBlocks.empty());
  a.Step(1);  // 10:01:05
  EXPECT_EQ(a.store.checkpointWrites, 2);
  for (int i = 0; i < 90; ++i) a.Step(1);  // 10:02:35: the last checkpoint was at 10:02:05
  EXPECT_EQ(a.store.checkpointWrites, 3);
  const Date last = MakeDate(2026, 12, 7, 10, 2, 5);
  EXPECT_EQ(S(a.store.checkpoint->Written), S(last));

  // Killed here; 40 seconds later NetWard runs again and the line is still up.
  auto b = Restart(a, OnDisk(a, disk), 40);
  Monitor& m = b->Start();
  const Date restart = MakeDate(2026, 12, 7, 10, 3, 15);
  EXPECT_EQ(b->LinesFrom(0), (Lines{T(restart), "   監視を開始しました。", T(restart), "   前回の監視は正常に終了しませんでした。",
                                    "      最終記録: " + T(last), "      復元した接続時間: 0時間 02分 00秒"}));
  EXPECT_EQ(b->counters, (CounterBlock{MakeDate(2026, 12, 7), 720, 3, MakeDate(2027, 1, 1), 1020, 4}));
  ASSERT_EQ(b->store.finishedDials.size(), 1u);
  EXPECT_EQ(S(b->store.finishedDials[0].first), S(up));
  EXPECT_EQ(S(b->store.finishedDials[0].second), S(last));
  // The counters are on disk before the checkpoint goes; no history record for the same day.
  EXPECT_EQ(b->store.events, (Lines{"FinishDialRecord", "SaveCounterBlock"}));
  EXPECT_EQ(b->store.savedBlocks.back(), b->counters);
  EXPECT_FALSE(b->store.checkpoint);
  EXPECT_EQ(b->view.caption, "切断状態 0:02:00");

  // The running line is a new connection from the first cycle: nothing is counted twice.
  b->Step(1);
  EXPECT_EQ(m.LineConnected(), 1);
  EXPECT_EQ(S(m.ConnectionStart()), S(AddSeconds(restart, 1)));
  ASSERT_TRUE(b->store.checkpoint);
  EXPECT_EQ(b->store.checkpoint->Counters, b->counters);
  b->Step(10);
  m.StopMonitoring();
  EXPECT_EQ(b->counters.TodaySeconds, 730);
  EXPECT_EQ(b->counters.TodayCount, 4);
  EXPECT_EQ(b->store.savedBlocks.back(), b->counters);
  EXPECT_FALSE(b->store.checkpoint);
  // Connected 10:00:05 to 10:03:26 (201 s); lost: the 30 s since the checkpoint, the downtime
  // and the second until the first cycle saw the line.
  EXPECT_EQ(201 - (b->counters.TodaySeconds - disk.TodaySeconds), 30 + 40 + 1);
}

TEST(CrashRecovery, RestartAfterAUserPeriodEndAndMidnightWritesEachPeriodOnce) {
  Harness a(MakeDate(2026, 12, 7, 10, 40, 0));
  a.settings.RNInterval = 4;  // the user period ends every hour on the hour
  a.counters = {MakeDate(2026, 12, 7), 100, 1, MakeDate(2026, 12, 7, 11, 0, 0), 50, 1};
  a.Start();
  a.internet.online = true;
  a.Step(1);  // 10:40:01 up
  for (int i = 0; i < 1199; ++i) a.Step(1);  // 11:00:00: the user period ends while connected
  ASSERT_EQ(a.store.counterRecords.size(), 1u);
  EXPECT_EQ(a.store.counterRecords[0].kind, LogUser);
  EXPECT_EQ(a.store.counterRecords[0].seconds, 50 + 1199);
  // The renewal's counters are on disk and in a checkpoint at once.
  const CounterBlock renewed{MakeDate(2026, 12, 7), 100, 1, MakeDate(2026, 12, 7, 12, 0, 0), 0, 0};
  ASSERT_EQ(a.store.savedBlocks.size(), 1u);
  EXPECT_EQ(a.store.savedBlocks[0], renewed);
  EXPECT_EQ(a.store.checkpoint->Counters, renewed);
  EXPECT_EQ(S(a.store.checkpoint->Written), S(MakeDate(2026, 12, 7, 11, 0, 0)));
  EXPECT_EQ(S(a.store.checkpoint->UserStart), S(MakeDate(2026, 12, 7, 11, 0, 0)));
  for (int i = 0; i < 645; ++i) a.Step(1);  // 11:10:45; checkpoints at 11:01:00 ... 11:10:00
  EXPECT_EQ(S(a.store.checkpoint->Written), S(MakeDate(2026, 12, 7, 11, 10, 0)));

  // The power fails; the machine runs again the next morning with the line down.
  auto b = Restart(a, OnDisk(a, {}), 21 * 3600);
  b->internet.online = false;
  b->Start();
  // Today: 10:40:01 to 11:10:00 on top of 100 s; user: 11:00:00 to 11:10:00. Then the start-up
  // closes the old day and the user period 11:00 to 12:00, as the renewals would have.
  ASSERT_EQ(b->store.counterRecords.size(), 2u);
  EXPECT_EQ(b->store.counterRecords[0].kind, LogToday);
  EXPECT_EQ(b->store.counterRecords[0].date, MakeDate(2026, 12, 8));
  EXPECT_EQ(b->store.counterRecords[0].seconds, 100 + 1799);
  EXPECT_EQ(b->store.counterRecords[0].count, 2);
  EXPECT_EQ(b->store.counterRecords[1].kind, LogUser);
  EXPECT_EQ(b->store.counterRecords[1].date, MakeDate(2026, 12, 7, 12, 0, 0));
  EXPECT_EQ(b->store.counterRecords[1].seconds, 600);
  EXPECT_EQ(b->store.counterRecords[1].count, 1);
  // The re-anchored counters are saved with their records, so a second crash cannot record them again.
  EXPECT_EQ(b->store.events,
            (Lines{"FinishDialRecord", "SaveCounterBlock", "TodayRecord", "UserRecord", "SaveCounterBlock"}));
  EXPECT_EQ(b->counters.TodaySeconds, 0);
  EXPECT_EQ(b->counters.UserSeconds, 0);
  EXPECT_EQ(b->store.savedBlocks.back(), b->counters);
  EXPECT_EQ(b->view.list.back(), "      復元した接続時間: 0時間 29分 59秒");
  b->Step(1);
  EXPECT_EQ(b->store.counterRecords.size(), 2u);
}

TEST(CrashRecovery, ARecoveredRunningPartSaturatesTheCounters) {
  Harness h(MakeDate(2026, 12, 7, 10, 0, 0));
  h.counters = {MakeDate(2026, 12, 7), 1000, 1, MakeDate(2027, 1, 1), 1000, 1};
  const Date written = MakeDate(2026, 12, 7, 9, 0, 0);
  const Date longAgo = AddSeconds(written, -INT32_MAX);
  h.store.checkpoint = ConnectionCheckpoint{written, longAgo, longAgo, longAgo, longAgo, false, h.counters};
  h.Start();
  EXPECT_EQ(h.counters, (CounterBlock{MakeDate(2026, 12, 7), INT32_MAX, 2, MakeDate(2027, 1, 1), INT32_MAX, 2}));
  EXPECT_EQ(h.store.LastSaved(), h.counters);
}

TEST(CrashRecovery, AFailedCheckpointWriteIsSaidOnceAndTriedAgainAtTheNextInterval) {
  Harness h(MakeDate(2026, 12, 7, 10, 0, 0));
  h.settings.LoggingFLG = true;
  h.settings.LogFileAddress = "C:\\log.txt";
  h.counters = {MakeDate(2026, 12, 7), 0, 0, MakeDate(2027, 1, 1), 0, 0};
  h.Start();
  h.store.checkpointFails = true;
  h.internet.online = true;
  const size_t before = h.LineCount();
  h.Step(1);
  const Date up = MakeDate(2026, 12, 7, 10, 0, 1);
  const std::string retry = "      NwdRun.dat に書き込めないため、60秒後に再試行します。";
  EXPECT_EQ(h.LinesFrom(before), (Lines{T(up), "   接続状態になりました。", "      方法:ﾀﾞｲｱﾙｱｯﾌﾟ", T(up),
                                        "   接続中の記録を保存できませんでした。", retry}));
  EXPECT_EQ(h.store.activity.back(), "C:\\log.txt|" + retry);
  for (int i = 0; i < 59; ++i) h.Step(1);
  EXPECT_EQ(h.store.checkpointWrites, 1);
  h.Step(1);
  EXPECT_EQ(h.store.checkpointWrites, 2);
  h.store.checkpointFails = false;
  h.Step(60);
  EXPECT_EQ(h.store.checkpointWrites, 3);
  EXPECT_EQ(S(h.store.checkpoint->Written), S(AddSeconds(up, 120)));
  EXPECT_EQ(h.LineCount(), before + 6);
}

// Checkpoints made through the real files, and everything that is not one.
struct CheckpointFile : ::testing::Test {
  TempFolder dir{"nwrun"};
  void SetUp() override { SetProgramFolder(dir.Utf8()); }
  std::filesystem::path Path() const { return dir.FsPath(kCheckpointFileName); }
};

TEST_F(CheckpointFile, OnlyAnIntactCheckpointOfThisFormatIsRead) {
  const ConnectionCheckpoint cp{MakeDate(2026, 12, 7, 10, 2, 5),
                                MakeDate(2026, 12, 7, 9, 0, 0),
                                MakeDate(2026, 12, 7, 10, 0, 5),
                                MakeDate(2026, 12, 7, 10, 0, 5),
                                MakeDate(2026, 12, 7, 10, 0, 5),
                                true,
                                {MakeDate(2026, 12, 7), 600, 2, MakeDate(2027, 1, 1), 900, 3}};
  ConnectionCheckpoint read;
  EXPECT_FALSE(LoadCheckpoint(read));  // none
  EXPECT_FALSE(std::filesystem::exists(Path()));
  ASSERT_TRUE(SaveCheckpoint(cp));
  ASSERT_TRUE(LoadCheckpoint(read));
  EXPECT_EQ(read, cp);
  EXPECT_FALSE(std::filesystem::exists(dir.FsPath("NwdRun.dat.tmp")));
  const std::string good = ReadAll(Path());

  // Every single damaged byte, a file cut short and one with a tail.
  for (size_t i = 0; i < good.size(); ++i) {
    std::string bad = good;
    bad[i] = static_cast<char>(bad[i] ^ 0x20);
    WriteAll(Path(), bad);
    ConnectionCheckpoint out = cp;
    out.Written = 0;
    EXPECT_FALSE(LoadCheckpoint(out)) << "byte " << i;
    EXPECT_EQ(out.Written, 0) << "byte " << i;
  }
  WriteAll(Path(), good.substr(0, good.size() - 1));
  EXPECT_FALSE(LoadCheckpoint(read));
  WriteAll(Path(), good + '\0');
  EXPECT_FALSE(LoadCheckpoint(read));
  WriteAll(Path(), "");
  EXPECT_FALSE(LoadCheckpoint(read));

  // Foreign files: the settings file under this name, and a checkpoint of a later version.
  SettingsFileData settings;
  SetDefaults(settings, ScreenTwips{19200, 14400});
  ASSERT_TRUE(SaveSettings(settings, LiveWindowState{}));
  WriteAll(Path(), ReadAll(dir.FsPath("NwdUtil.dat")));
  EXPECT_FALSE(LoadCheckpoint(read));
  std::string later = good;
  const size_t version = later.find("RunningConnection") + 17;
  later[version] = 2;
  WriteAll(Path(), later);
  EXPECT_FALSE(LoadCheckpoint(read));

  // Times no running connection has: a start after the checkpoint, a date out of range.
  ConnectionCheckpoint odd = cp;
  odd.TodayStart = AddSeconds(cp.Written, 1);
  ASSERT_TRUE(SaveCheckpoint(odd));
  EXPECT_FALSE(LoadCheckpoint(read));
  odd = cp;
  odd.Counters.UserRenewTime = 1e300;
  ASSERT_TRUE(SaveCheckpoint(odd));
  EXPECT_FALSE(LoadCheckpoint(read));
  // Periods that do not fit the counters: "today" begun before its day, written on another day.
  odd = cp;
  odd.TodayStart = MakeDate(2026, 12, 6, 23, 0, 0);
  ASSERT_TRUE(SaveCheckpoint(odd));
  EXPECT_FALSE(LoadCheckpoint(read));
  odd = cp;
  odd.Written = MakeDate(2026, 12, 8, 0, 0, 1);
  ASSERT_TRUE(SaveCheckpoint(odd));
  EXPECT_FALSE(LoadCheckpoint(read));
  // Counters set lower while connected are negative; the running part (120 s) makes up for them.
  odd = cp;
  odd.Counters.TodaySeconds = odd.Counters.UserSeconds = -120;
  ASSERT_TRUE(SaveCheckpoint(odd));
  EXPECT_TRUE(LoadCheckpoint(read));
  odd.Counters.UserSeconds = -121;
  ASSERT_TRUE(SaveCheckpoint(odd));
  EXPECT_FALSE(LoadCheckpoint(read));

  RemoveCheckpoint();
  EXPECT_FALSE(std::filesystem::exists(Path()));
}

TEST_F(CheckpointFile, KilledMonitorIsRecoveredFromTheFilesAndAStaleOrDamagedOneIsDropped) {
  const ScreenTwips screen{19200, 14400};
  SettingsFileData data;
  SetDefaults(data, screen);
  data.Counters = {MakeDate(2026, 12, 7), 100, 1, MakeDate(2027, 1, 1), 0, 0};
  ASSERT_TRUE(SaveSettings(data, LiveWindowState{}));
  Harness h(MakeDate(2026, 12, 7, 9, 0, 0));
  auto run = [&](SettingsFileData& d) {
    auto files = std::make_unique<MonitorFiles>(d, [] { return LiveWindowState{}; });
    auto m = std::make_unique<Monitor>(d.Settings, d.Counters,
                                       MonitorPorts{h.clock, h.internet, h.ras, h.dialer, *files, h.view, h.notice},
                                       dir.Utf8());
    h.notice.monitor = m.get();
    m->StartMonitoring();
    m->CompleteStart();
    return std::make_pair(std::move(files), std::move(m));
  };
  auto step = [&](Monitor& m, int seconds) {
    for (int i = 0; i < seconds; ++i) {
      h.Advance(1);
      m.Looker_Timer();
    }
  };

  {
    auto [files, m] = run(data);
    h.internet.online = true;
    step(*m, 1);   // 09:00:01 up
    step(*m, 75);  // checkpoint at 09:01:01
    ASSERT_TRUE(std::filesystem::exists(Path()));
  }  // killed at 09:01:16

  h.Advance(20);
  h.internet.online = false;
  SettingsFileData again;
  LoadSettings(again, screen);
  EXPECT_EQ(again.Counters.TodaySeconds, 100);
  {
    auto [files, m] = run(again);
    EXPECT_EQ(again.Counters.TodaySeconds, 160);
    EXPECT_EQ(again.Counters.TodayCount, 2);
    EXPECT_FALSE(std::filesystem::exists(Path()));
    m->StopMonitoring();
  }
  SettingsFileData saved;
  LoadSettings(saved, screen);
  EXPECT_EQ(saved.Counters, again.Counters);
  HistoryLog dial;
  ASSERT_TRUE(dial.Open(kDialLog));
  ASSERT_EQ(RecordCount(dial.Ring()), 1);
  DialRecord r;
  ASSERT_TRUE(dial.ReadDial(0, r));
  dial.Close();
  EXPECT_EQ(S(r.DialStart), S(MakeDate(2026, 12, 7, 9, 0, 1)));
  EXPECT_EQ(S(r.DialEnd), S(MakeDate(2026, 12, 7, 9, 1, 1)));

  // A record that is not the checkpoint's connection is never ended.
  StartDialRecord(MakeDate(2026, 12, 7, 9, 2, 0), MakeDate(2026, 12, 7, 9, 3, 0));
  EXPECT_FALSE(FinishDialRecord(r.DialStart, MakeDate(2026, 12, 7, 9, 4, 0)));
  ASSERT_TRUE(dial.Open(kDialLog));
  EXPECT_EQ(RecordCount(dial.Ring()), 1);
  dial.Close();

  // A checkpoint older than the counters (the shut-down saved them, only the removal was lost)
  // and a damaged one: both go without a word and count nothing.
  ConnectionCheckpoint stale{h.clock.now, h.clock.now, h.clock.now, h.clock.now, h.clock.now, false, data.Counters};
  ASSERT_TRUE(SaveCheckpoint(stale));
  for (const bool damaged : {false, true}) {
    if (damaged) WriteAll(Path(), std::string("\x05\0\0\0Orvin", 9));
    SettingsFileData d;
    LoadSettings(d, screen);
    const size_t before = h.view.list.size();
    auto [files, m] = run(d);
    EXPECT_EQ(d.Counters, saved.Counters);
    EXPECT_EQ(h.view.list.size(), before + 2);  // "監視を開始しました。" only
    EXPECT_FALSE(std::filesystem::exists(Path()));
  }
}

TEST(Sleep, LineLostInSleepEndsAtTheSuspendAndTheLockWaitsForTheNetwork) {
  Harness h(MakeDate(2026, 12, 7, 23, 0, 0));
  h.counters = {MakeDate(2026, 12, 7), 0, 0, MakeDate(2027, 1, 1), 0, 0};
  Monitor& m = h.Start(/*lockShown=*/true);
  h.internet.online = true;
  h.Step(5);  // 23:00:05 up
  m.LockBtnAction(true);  // keep it connected
  for (int i = 0; i < 1795; ++i) h.Step(1);
  const Date suspend = MakeDate(2026, 12, 7, 23, 30, 0);
  const int writes = h.store.checkpointWrites;
  const size_t before = h.LineCount();
  m.OnSuspend();
  EXPECT_EQ(h.store.checkpointWrites, writes + 1);
  EXPECT_EQ(S(h.store.checkpoint->Written), S(suspend));
  EXPECT_EQ(h.LinesFrom(before), (Lines{T(suspend), "   ｽﾘｰﾌﾟ状態に移行します。"}));

  // The line goes while the machine sleeps through midnight; it wakes at 07:00.
  h.internet.online = false;
  h.Advance(7 * 3600 + 30 * 60);
  const Date resume = MakeDate(2026, 12, 8, 7, 0, 0);
  m.OnResume();
  m.OnResume();  // the second resume message
  EXPECT_EQ(h.LinesFrom(before + 2), (Lines{T(resume), "   ｽﾘｰﾌﾟ状態から復帰しました。",
                                            "      ﾈｯﾄﾜｰｸの復帰を待つため、ﾛｯｸ機能と自動接続は20秒後に再開します。"}));
  const size_t afterResume = h.LineCount();
  h.Step(1);
  EXPECT_EQ(m.LineConnected(), 0);
  EXPECT_EQ(h.LinesFrom(afterResume),
            (Lines{T(AddSeconds(resume, 1)), "   切断状態になりました。", "      接続時間: 0時間 29分 55秒",
                   "      ｽﾘｰﾌﾟ中に切断されたため、ｽﾘｰﾌﾟ開始時までを記録しました。"}));
  // The old day's record holds the connection up to the suspend, not up to midnight.
  ASSERT_EQ(h.store.counterRecords.size(), 1u);
  EXPECT_EQ(h.store.counterRecords[0].date, MakeDate(2026, 12, 8));
  EXPECT_EQ(h.store.counterRecords[0].seconds, 1795);
  EXPECT_EQ(h.store.counterRecords[0].count, 1);
  EXPECT_EQ(h.counters.TodaySeconds, 0);
  EXPECT_EQ(h.counters.UserSeconds, 1795);
  ASSERT_EQ(h.store.dialEnds.size(), 1u);
  EXPECT_EQ(S(h.store.dialEnds[0]), S(suspend));
  EXPECT_FALSE(h.store.checkpoint);

  // The lock dials only once the grace period is over.
  for (int i = 0; i < 18; ++i) h.Step(1);
  EXPECT_TRUE(h.dialer.started.empty());
  h.Step(1);  // 07:00:20
  EXPECT_EQ(h.dialer.started.size(), 1u);
  EXPECT_EQ(h.LinesFrom(h.LineCount() - 1), (Lines{"   接続を試行しました。 - 自動"}));
}

TEST(Sleep, ARenewalAfterTheResumeWaitsUntilTheLineIsKnownToHaveOutlivedTheSleep) {
  const Date suspend = MakeDate(2026, 12, 7, 23, 30, 0);
  for (const bool outlived : {false, true}) {
    auto p = SuspendedWhileUp(MakeDate(2026, 12, 7, 23, 0, 0), 5, 1795);  // up 23:00:05
    Harness& h = *p;
    Monitor& m = *h.monitor;
    h.Advance(7 * 3600 + 30 * 60);
    m.OnResume();  // 07:00
    for (int i = 0; i < 4; ++i) h.Step(1);  // still listed
    EXPECT_EQ(S(h.store.checkpoint->Written), S(suspend));
    h.internet.online = outlived;
    const size_t before = h.LineCount();
    for (int i = 0; i < 7; ++i) h.Step(1);  // 07:00:11
    ASSERT_EQ(h.store.counterRecords.size(), 1u);
    if (outlived) {  // the old day ends at midnight, as always
      EXPECT_EQ(h.store.counterRecords[0].seconds, 3595);
      EXPECT_EQ(h.store.counterRecords[0].count, 0);
      EXPECT_EQ(m.TodayStart(), MakeDate(2026, 12, 8));
      continue;
    }
    EXPECT_EQ(h.LinesFrom(before)[2], "      接続時間: 0時間 29分 55秒");
    EXPECT_EQ(h.store.counterRecords[0].seconds, 1795);
    EXPECT_EQ(h.store.counterRecords[0].count, 1);
    EXPECT_EQ(h.counters.UserSeconds, 1795);
    EXPECT_EQ(S(h.store.dialEnds.at(0)), S(suspend));
  }
}

TEST(Sleep, CyclesRunningLongAfterASuspendWithoutAResumeCountAsAResume) {
  Harness h(MakeDate(2026, 12, 7, 10, 0, 0));
  h.settings.AcDalDial = true;
  Monitor& m = h.Start();
  m.OnSuspend();
  const size_t before = h.LineCount();
  for (int i = 0; i < 59; ++i) h.Step(1);
  EXPECT_EQ(h.LineCount(), before);
  h.Step(1);
  EXPECT_EQ(h.LinesFrom(before), (Lines{T(MakeDate(2026, 12, 7, 10, 1, 0)),
                                        "   ｽﾘｰﾌﾟ状態からの復帰を通知されないため、復帰したものとみなします。",
                                        "      ﾈｯﾄﾜｰｸの復帰を待つため、ﾛｯｸ機能と自動接続は20秒後に再開します。"}));
  for (int i = 0; i < 19; ++i) h.Step(1);
  EXPECT_TRUE(h.dialer.started.empty());
  h.Step(1);
  EXPECT_EQ(h.dialer.started.size(), 1u);
}

TEST(Sleep, SuspendAndResumeDuringAnUnsettledClockChangeRunOnTheMonitorsTime) {
  const Date suspend = MakeDate(2026, 12, 7, 10, 10, 5);
  for (const int64_t jump : {2 * 3600, -3600}) {
    Harness a(MakeDate(2026, 12, 7, 10, 0, 0));
    a.settings.SyTimeOut = 3600;
    a.counters = {MakeDate(2026, 12, 7), 0, 0, MakeDate(2027, 1, 1), 0, 0};
    const CounterBlock disk = a.counters;
    a.Start();
    a.internet.online = true;
    a.Step(1);  // 10:00:01 up
    a.Step(299);
    a.clock.now = AddSeconds(a.clock.now, jump);
    a.Step(5);
    ASSERT_TRUE(a.monitor->TimeChangePending());
    a.Advance(300);
    a.monitor->OnSuspend();  // 10:10:05 by the ticks
    EXPECT_EQ(S(a.store.checkpoint->Written), S(suspend)) << jump;
    a.Advance(60);
    a.monitor->OnResume();
    EXPECT_EQ(a.view.list.end()[-2], T(AddSeconds(suspend, 60))) << jump;
    auto b = Restart(a, OnDisk(a, disk), 600);  // the power went
    b->Start();
    EXPECT_EQ(b->counters.TodaySeconds, 604) << jump;
  }
}

TEST(Sleep, LineKeptThroughSleepCountsOnAndADropSeenBeforeTheResumeEndsAtTheSuspend) {
  auto p = SuspendedWhileUp(MakeDate(2026, 12, 7, 10, 0, 0), 1, 599);  // up 10:00:01, suspended 10:10:00
  Harness& h = *p;
  Monitor& m = *h.monitor;
  h.Advance(3600);
  m.OnResume();  // 11:10:00; the line survived
  const size_t before = h.LineCount();
  EXPECT_EQ(h.LinesFrom(before - 2), (Lines{T(MakeDate(2026, 12, 7, 11, 10, 0)), "   ｽﾘｰﾌﾟ状態から復帰しました。"}));
  for (int i = 0; i < 30; ++i) h.Step(1);
  EXPECT_EQ(m.LineConnected(), 1);
  h.internet.online = false;  // a drop after the first cycles is an ordinary one
  h.Step(1);
  EXPECT_EQ(h.LinesFrom(before),
            (Lines{T(MakeDate(2026, 12, 7, 11, 10, 31)), "   切断状態になりました。", "      接続時間: 1時間 10分 30秒"}));
  EXPECT_EQ(h.counters.TodaySeconds, 4230);

  // Suspended while the cycles still run (the sleep has not begun yet): a drop seen meanwhile
  // also ends at the suspend, and nothing is dialled until the network had its time.
  h.settings.AcDalDial = true;
  h.internet.online = true;
  h.Step(1);
  h.dialer.started.clear();
  h.Step(100);
  m.OnSuspend();  // 11:12:12
  h.internet.online = false;
  const size_t suspended = h.LineCount();
  h.Step(0);  // seen in the very second of the suspend
  for (int i = 0; i < 5; ++i) h.Step(1);
  EXPECT_EQ(m.LineConnected(), 0);
  EXPECT_EQ(h.LinesFrom(suspended),
            (Lines{T(MakeDate(2026, 12, 7, 11, 12, 12)), "   切断状態になりました。", "      接続時間: 0時間 01分 40秒",
                   "      ｽﾘｰﾌﾟ中に切断されたため、ｽﾘｰﾌﾟ開始時までを記録しました。"}));
  EXPECT_EQ(h.counters.TodaySeconds, 4230 + 100);
  EXPECT_EQ(h.counters.TodayCount, 2);
  EXPECT_TRUE(h.dialer.started.empty());
  m.OnResume();
  EXPECT_EQ(h.view.list.back(), "      ﾈｯﾄﾜｰｸの復帰を待つため、ﾛｯｸ機能と自動接続は20秒後に再開します。");
  for (int i = 0; i < 19; ++i) h.Step(1);
  EXPECT_TRUE(h.dialer.started.empty());
  h.Step(1);
  EXPECT_EQ(h.dialer.started.size(), 1u);
}

}  // namespace
}  // namespace nw::test
