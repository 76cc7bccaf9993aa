// The monitor's data volume on the virtual clock with a fake traffic source: counting per cycle,
// the periods around renewals, clock changes, crashes and sleep, the texts and the quota.
#include <gtest/gtest.h>

#include <algorithm>

#include "MonitorFakes.h"

namespace nw::test {
namespace {

constexpr uint64_t kKiB = 1024, kMiB = kKiB * 1024, k4GiB = uint64_t{1} << 32;

const std::string kDial = "\"C:\\Net Ward\\Linkpilot.exe\" InternetAutodial";
const std::string kHangUp = kDial + "Hangup";

int64_t S(Date d) { return ToSeconds(d); }
VolumeAmount V(uint64_t sent, uint64_t received) { return {sent, received}; }
bool HasLine(const Harness& h, const std::string& line) {
  return std::count(h.monitor->StatusLines().begin(), h.monitor->StatusLines().end(), line) > 0;
}

// A line that comes up at the first cycle after `start`, its traffic counters readable.
void ConnectWithTraffic(Harness& h) {
  h.traffic.valid = true;
  h.Start();
  h.internet.online = true;
  h.Step(1);
}

TEST(MonitorVolume, CountsEachCycleAcrossAWrapAndARestartAndReportsTheConnection) {
  Harness h(MakeDate(2026, 12, 7, 10, 0, 0));
  h.counters = {MakeDate(2026, 12, 7), 0, 0, MakeDate(2027, 1, 1), 0, 0};
  h.traffic.sample.Sent = k4GiB - 1000;
  h.traffic.valid = true;
  Monitor& m = h.Start();
  h.Step(1);
  EXPECT_EQ(h.traffic.reads, 0);  // never read while the line is down
  h.internet.online = true;
  h.Step(1);
  const Date up = h.clock.now;
  EXPECT_EQ(h.traffic.restarts, 1);
  EXPECT_EQ(h.traffic.reads, 1);  // the base
  const int saves = h.store.volumeSaves;
  h.traffic.Add(1500, 2 * kMiB);  // sent wraps at 4 GiB
  h.Step(1);
  EXPECT_EQ(m.ConnectionVolume(), V(1500, 2 * kMiB));
  h.traffic.sample.Sent = h.traffic.sample.Received = 10;  // the counters restart: no amount
  h.Step(1);
  h.traffic.Add(512, 10 * kMiB);
  h.Step(1);
  EXPECT_EQ(m.ConnectionVolume(), V(2012, 12 * kMiB));
  EXPECT_EQ(h.store.volumeSaves, saves);  // no file on the steady path
  EXPECT_EQ(h.view.volumeText, "今回 12.0 MB / 期間 12.0 MB");
  EXPECT_EQ(h.view.trayTip, h.view.caption + "\n今回 12.0 MB / 期間 12.0 MB");
  const int draws = h.view.volumeDraws;
  h.Step(1);
  EXPECT_EQ(h.view.volumeDraws, draws);  // unchanged: not drawn again

  h.internet.online = false;
  h.store.volumeLogDamaged = true;
  const int reads = h.traffic.reads;
  const size_t from = h.LineCount();
  h.Step(1);
  EXPECT_EQ(h.traffic.reads, reads);
  const auto lines = h.LinesFrom(from);
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[3], "      送信: 1.96 KB, 受信: 12.0 MB");
  EXPECT_EQ(lines[5], "   NwdDial.vol が壊れていたため、ﾃﾞｰﾀ量の記録を初期化しました。");
  ASSERT_EQ(h.store.volumeRecords.size(), 1u);
  EXPECT_EQ(h.store.volumeRecords[0].log, "Dial");
  EXPECT_EQ(S(h.store.volumeRecords[0].key), S(up));
  EXPECT_EQ(h.store.volumeRecords[0].amount, V(2012, 12 * kMiB));
  ASSERT_TRUE(h.store.volume);
  EXPECT_EQ(h.store.volume->Counters.Today, V(2012, 12 * kMiB));
  EXPECT_EQ(h.store.volume->Counters.ConnectionStart, 0);
  EXPECT_EQ(h.view.volumeText, "期間 12.0 MB");
}

TEST(MonitorVolume, RenewalSplitsTheConnectionAndAClockSetBackMovesNothing) {
  Harness h(MakeDate(2026, 12, 7, 23, 59, 0));
  h.settings.RNInterval = 3;  // the user period renews daily at 00:00
  h.counters = {MakeDate(2026, 12, 7), 0, 0, MakeDate(2026, 12, 8), 0, 0};
  ConnectWithTraffic(h);
  const Date up = h.clock.now;
  h.traffic.Add(100, 1000);
  h.Step(30);
  h.traffic.Add(200, 2000);
  h.Step(30);  // 00:00:01: the renewal comes first, this cycle's bytes count for the new day
  ASSERT_EQ(h.store.volumeRecords.size(), 2u);
  for (const auto& r : h.store.volumeRecords) {
    EXPECT_EQ(S(r.key), S(MakeDate(2026, 12, 8)));
    EXPECT_EQ(r.amount, V(100, 1000));
  }
  EXPECT_EQ(h.store.volume->Counters.TodayDate, MakeDate(2026, 12, 8));
  EXPECT_EQ(h.monitor->Volume().TodayTotal(), V(200, 2000));

  for (int i = 0; i < 30; ++i) h.Step(60);  // 00:30:01
  h.traffic.Add(300, 3000);
  h.Step(1);
  h.Advance(1);
  h.clock.now = AddSeconds(h.clock.now, -600);  // set back ten minutes, accepted silently
  h.monitor->Looker_Timer();
  for (int i = 0; i < 59; ++i) h.Step(1);
  ASSERT_FALSE(h.monitor->TimeChangePending());
  const Date accepted = h.store.dialStarts.back().second;
  EXPECT_EQ(h.monitor->ConnectionVolume(), V(600, 6000));
  EXPECT_EQ(h.monitor->Volume().TodayTotal(), V(500, 5000));
  ASSERT_EQ(h.store.volumeRecords.size(), 3u);  // the first dial record ends at the change
  EXPECT_EQ(S(h.store.volumeRecords[2].key), S(up));
  EXPECT_EQ(h.store.volumeRecords[2].amount, V(600, 6000));
  h.traffic.Add(7, 70);
  h.Step(1);
  h.internet.online = false;
  h.Step(1);
  EXPECT_TRUE(HasLine(h, "      送信: 607 バイト, 受信: 5.92 KB"));
  ASSERT_EQ(h.store.volumeRecords.size(), 4u);
  EXPECT_EQ(S(h.store.volumeRecords[3].key), S(accepted));
  EXPECT_EQ(h.store.volumeRecords[3].amount, V(7, 70));
  EXPECT_EQ(h.store.volume->Counters.Today, V(507, 5070));
}

TEST(MonitorVolume, CrashRecoveryAndSleepKeepWhatWasCounted) {
  Harness a(MakeDate(2026, 12, 7, 10, 0, 0));
  a.counters = {MakeDate(2026, 12, 7), 0, 0, MakeDate(2027, 1, 1), 0, 0};
  ConnectWithTraffic(a);
  const Date up = a.clock.now;
  a.traffic.Add(1000, 4000);
  a.Step(1);
  a.Step(60);  // the checkpoint interval: NwdUtil.vol goes with the checkpoint
  a.traffic.Add(50, 50);
  a.Step(1);  // counted, not yet saved: lost with the crash, like the seconds since the checkpoint
  ASSERT_TRUE(a.store.volume);
  ASSERT_TRUE(a.store.savedBlocks.empty());
  EXPECT_EQ(a.store.volume->Counters.Connection, V(1000, 4000));

  // The process dies; it starts again the next morning on what the files hold.
  Harness b(MakeDate(2026, 12, 8, 9, 0, 0));
  b.settings = a.settings;
  b.counters = a.counters;  // nothing changed them on disk since the start
  b.store.checkpoint = a.store.checkpoint;
  b.volume = *a.store.volume;
  b.Start();
  ASSERT_EQ(b.store.volumeRecords.size(), 2u);
  EXPECT_EQ(S(b.store.volumeRecords[0].key), S(up));
  EXPECT_EQ(b.store.volumeRecords[0].amount, V(1000, 4000));
  EXPECT_EQ(S(b.store.volumeRecords[1].key), S(MakeDate(2026, 12, 8)));
  EXPECT_EQ(b.store.volumeRecords[1].amount, V(1000, 4000));
  EXPECT_EQ(b.store.volume->Counters.User, V(1000, 4000));
  EXPECT_EQ(b.store.volume->Counters.Today, VolumeAmount{});

  // Sleep: the suspend saves the running volume; a line lost in sleep keeps it.
  Harness s(MakeDate(2026, 12, 7, 10, 0, 0));
  s.counters = {MakeDate(2026, 12, 7), 0, 0, MakeDate(2027, 1, 1), 0, 0};
  ConnectWithTraffic(s);
  s.traffic.Add(300, 900);
  s.Step(5);
  s.monitor->OnSuspend();
  EXPECT_EQ(s.store.volume->Counters.Connection, V(300, 900));
  s.Advance(7200);
  s.internet.online = false;
  s.monitor->OnResume();
  s.Step(1);
  EXPECT_EQ(s.store.volume->Counters.Today, V(300, 900));
  EXPECT_TRUE(HasLine(s, "      送信: 300 バイト, 受信: 900 バイト"));

  // NwdUtil.vol cannot be written: said once, tried again at every later save until one holds.
  Harness f(MakeDate(2026, 12, 7, 10, 0, 0));
  f.counters = {MakeDate(2026, 12, 7), 0, 0, MakeDate(2027, 1, 1), 0, 0};
  ConnectWithTraffic(f);
  f.store.volumeSaveFails = true;
  f.traffic.Add(10, 20);
  f.Step(61);
  const int tries = f.store.volumeSaves;
  f.Step(60);
  EXPECT_GT(f.store.volumeSaves, tries);
  const auto& lines = f.monitor->StatusLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "   ﾃﾞｰﾀ量の記録を保存できませんでした。"), 1);
  EXPECT_TRUE(HasLine(f, "      NwdUtil.vol に書き込めないため、次の保存時に再試行します。"));
  f.store.volumeSaveFails = false;
  f.Step(60);
  ASSERT_TRUE(f.store.volume);
  EXPECT_EQ(f.store.volume->Counters.Connection, V(10, 20));
}

TEST(MonitorVolume, QuotaWarnsThenHangsUpAndKeepsTheLineDownUntilTheRenewal) {
  Harness h(MakeDate(2026, 12, 7, 23, 0, 0));
  h.settings.RNInterval = 3;  // daily user period, renewing at 00:00
  h.settings.AcDalDial = true;  // automatic connect would dial at once
  h.counters = {MakeDate(2026, 12, 7), 0, 0, MakeDate(2026, 12, 8), 0, 0};
  h.volume.Quota.QuotaOn = true;
  h.volume.Quota.Allowance = 10000;
  h.volume.Quota.AtFull = QuotaAction::HangUpAndHold;
  h.dialer.runsAfterStart = false;
  ConnectWithTraffic(h);
  EXPECT_EQ(h.view.allowanceText, "1日あたりの残り: 9.76 KB");
  h.traffic.Add(1000, 7000);
  h.Step(1);
  const std::string warn80 = QuotaWarningText(h.volume.Quota, 80, 8000);
  ASSERT_EQ(h.view.balloons, std::vector<std::string>{"Orvin.T.K. NetWard|" + warn80});
  EXPECT_TRUE(HasLine(h, "   " + warn80));
  h.Step(1);
  EXPECT_EQ(h.view.balloons.size(), 1u);
  h.traffic.Add(0, 1000);
  h.Step(1);
  EXPECT_EQ(h.view.balloons.size(), 2u);  // 90 %

  h.traffic.Add(0, 1000);
  h.Step(1);  // 100 %: hang-up, one notice (its own cycle does not repeat it)
  h.dialer.started.resize(1);  // the notice's own cycle asks again, as the time limits do
  ASSERT_EQ(h.notice.shown.size(), 1u);
  EXPECT_EQ(h.notice.shown[0].main, QuotaReachedText(h.settings.CounterName, h.volume.Quota));
  EXPECT_TRUE(HasLine(h, "      手動で接続すると、切断の維持を解除します。"));
  ASSERT_EQ(h.dialer.started.size(), 1u);
  EXPECT_EQ(h.dialer.started[0], kHangUp);
  EXPECT_EQ(h.view.allowanceText, "1日あたりの残り: 0 バイト");

  h.internet.online = false;
  for (int i = 0; i < 5; ++i) h.Step(1);
  EXPECT_EQ(h.dialer.started.size(), 1u);  // automatic connect holds back
  h.internet.online = true;  // another program brings the line up: down it goes again
  h.Step(1);
  ASSERT_EQ(h.dialer.started.size(), 2u);
  EXPECT_EQ(h.dialer.started[1], kHangUp);
  h.internet.online = false;
  h.Step(1);
  for (int i = 0; i < 59; ++i) h.Step(60);  // 23:59:11
  EXPECT_EQ(h.dialer.started.size(), 2u);
  h.Step(60);  // the period renews: the hold ends, automatic connect dials
  ASSERT_EQ(h.dialer.started.size(), 3u);
  EXPECT_EQ(h.dialer.started[2], kDial);

  // Reached again in the new period: the user's own dial releases the hold.
  h.settings.AcDalDial = false;
  h.internet.online = true;
  h.Step(1);
  h.traffic.Add(0, 20000);
  h.Step(1);
  h.internet.online = false;
  h.Step(1);
  EXPECT_TRUE(h.monitor->QuotaHoldsLine());
  const size_t dials = h.dialer.started.size();
  h.monitor->RequestLine(0, false);
  EXPECT_TRUE(HasLine(h, "   ﾃﾞｰﾀ量の上限による切断の維持を解除しました。"));
  EXPECT_FALSE(h.monitor->QuotaHoldsLine());
  ASSERT_EQ(h.dialer.started.size(), dials + 1);
  EXPECT_EQ(h.dialer.started.back(), kDial);
}

}  // namespace
}  // namespace nw::test
