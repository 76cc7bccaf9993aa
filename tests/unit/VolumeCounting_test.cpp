// Volume from raw counters to the quota: the meter, the counters next to the time counters'
// renewals, and the quota rules.
#include <gtest/gtest.h>

#include "monitor/QuotaRules.h"
#include "monitor/TrafficMeter.h"
#include "monitor/VolumeCounters.h"

using namespace nw;

namespace {

constexpr uint64_t kGiB = uint64_t{1} << 30;
constexpr uint64_t k4GiB = uint64_t{1} << 32;

TrafficSample Ras(uint64_t sent, uint64_t received, uint64_t handle = 7) {
  return TrafficSample{true, sent, received, k4GiB, handle};
}
TrafficSample IfTable(uint64_t sent, uint64_t received) { return TrafficSample{true, sent, received, 0, 1}; }

VolumeAmount Amount(uint64_t sent, uint64_t received) { return VolumeAmount{sent, received}; }

}  // namespace

TEST(TrafficMeter, WrapsAt4GiBAndRestartsOnResetIdentityAndBackwards64) {
  TrafficMeter m;
  using S = TrafficMeter::Step;
  EXPECT_EQ(m.Take(Ras(k4GiB - 1000, 500)).What, S::NewBase);  // first sample: base only
  // Sent wraps: 1000 bytes up to 4 GiB and 300 beyond; received plainly moves on.
  TrafficMeter::Result r = m.Take(Ras(300, 800));
  EXPECT_EQ(r.What, S::Counted);
  EXPECT_EQ(r.Amount, Amount(1300, 300));
  // Nothing could be read: no amount, the base stays.
  EXPECT_EQ(m.Take(TrafficSample{}).What, S::Invalid);
  EXPECT_EQ(m.Take(Ras(400, 900)).Amount, Amount(100, 100));

  // The counters restart mid-connection: sent falls far below (no plausible wrap), so both take a
  // new base, though received alone (near 4 GiB before) could pass for a wrap.
  m.Take(Ras(kGiB, 39 * kGiB / 10));
  r = m.Take(Ras(5000, 50));
  EXPECT_EQ(r.What, S::NewBase);
  EXPECT_EQ(r.Amount, VolumeAmount{});
  EXPECT_EQ(m.Take(Ras(6000, 60)).Amount, Amount(1000, 10));

  // Another connection handle: a new base even though the values move forward.
  EXPECT_EQ(m.Take(Ras(7000, 70, 8)).What, S::NewBase);
  EXPECT_EQ(m.Take(Ras(7500, 70, 8)).Amount, Amount(500, 0));

  // 64-bit interface counters: backwards is a restart, never a wrap; a jump past 4 GiB counts.
  m.Restart();
  m.Take(IfTable(10 * kGiB, 20 * kGiB));
  EXPECT_EQ(m.Take(IfTable(15 * kGiB, 20 * kGiB)).Amount, Amount(5 * kGiB, 0));
  r = m.Take(IfTable(1000, 20 * kGiB + 5));
  EXPECT_EQ(r.What, S::NewBase);
  EXPECT_EQ(r.Amount, VolumeAmount{});
}

TEST(VolumeCounters, RenewalSplitsTheRunningConnectionAndCloseAddsTheRest) {
  VolumeCounterBlock block;
  block.TodayDate = MakeDate(2026, 12, 7);
  block.UserRenewTime = MakeDate(2027, 1, 1);
  block.Today = Amount(100, 1000);
  block.User = Amount(200, 2000);
  block.Marks.Warned1 = true;
  VolumeCounters v(block);

  v.StartConnection(MakeDate(2026, 12, 7, 23, 50, 0));
  v.Add(Amount(10, 90), true);
  EXPECT_EQ(v.TodayTotal(), Amount(110, 1090));
  // Midnight: the day's record gets the closed connections and the part so far.
  EXPECT_EQ(v.RenewToday(MakeDate(2026, 12, 8)), Amount(110, 1090));
  EXPECT_EQ(v.TodayTotal(), VolumeAmount{});
  v.Add(Amount(5, 5), true);
  // A manual user reset mid-connection: the record has everything so far; the marks go.
  EXPECT_EQ(v.ResetUser(), Amount(215, 2095));
  EXPECT_EQ(block.Marks, QuotaMarks{});
  EXPECT_EQ(block.UserRenewTime, MakeDate(2027, 1, 1));
  v.Add(Amount(1, 1), true);
  // The connection's whole amount for its status line; the periods keep only their parts.
  EXPECT_EQ(v.CloseConnection(true), Amount(16, 96));
  EXPECT_EQ(block.Today, Amount(6, 6));
  EXPECT_EQ(block.User, Amount(1, 1));
  EXPECT_FALSE(v.Running());
  v.Add(Amount(9, 9), true);  // no connection: nothing counts
  EXPECT_EQ(block.Today, Amount(6, 6));
}

TEST(VolumeCounters, UserSwitchRecoveryAndPeriodAlignment) {
  VolumeCounterBlock block;
  VolumeCounters v(block);
  v.StartConnection(MakeDate(2026, 12, 7, 9, 0, 0));
  v.Add(Amount(10, 10), false);  // user counter off
  v.UserCounterSwitched(true);
  v.Add(Amount(1, 2), true);
  v.UserCounterSwitched(false);  // what counted while on is kept
  v.Add(Amount(3, 3), false);
  EXPECT_EQ(block.User, Amount(1, 2));
  EXPECT_EQ(block.UserRunning, VolumeAmount{});

  // A run that did not end left its running part: the next start closes it as saved.
  VolumeCounterBlock saved = block;
  VolumeCounters after(saved);
  EXPECT_TRUE(after.RecoverRunning(true));
  EXPECT_EQ(saved.Today, Amount(14, 15));
  EXPECT_FALSE(after.RecoverRunning(true));

  // The time counters' file moved on to another day and period: the volume periods start empty.
  CounterBlock time;
  time.TodayDate = MakeDate(2026, 12, 9);
  time.UserRenewTime = saved.UserRenewTime;
  saved.Marks.Warned2 = true;
  EXPECT_TRUE(after.AlignPeriods(time));
  EXPECT_EQ(saved.Today, VolumeAmount{});
  EXPECT_EQ(saved.TodayDate, time.TodayDate);
  EXPECT_EQ(saved.User, Amount(1, 2));
  EXPECT_TRUE(saved.Marks.Warned2);
  EXPECT_FALSE(after.AlignPeriods(time));
}

TEST(VolumeCounters, SumsSaturate) {
  VolumeCounterBlock block;
  block.Today = Amount(UINT64_MAX - 1, 0);
  VolumeCounters v(block);
  v.StartConnection(MakeDate(2026, 12, 7));
  v.Add(Amount(10, UINT64_MAX), true);
  v.Add(Amount(0, 10), true);
  v.CloseConnection(true);
  EXPECT_EQ(block.Today, Amount(UINT64_MAX, UINT64_MAX));
  EXPECT_EQ(block.Today.Total(), UINT64_MAX);
}

namespace {

struct Quota : ::testing::Test {
  QuotaSettings quota;
  QuotaMarks marks;
  void SetUp() override {
    quota.QuotaOn = true;
    quota.Allowance = 10 * kGiB;
  }
  // One cycle of the rule: what it announces (0 none, a percentage, or 100 for the notice).
  int Cycle(uint64_t used) {
    const QuotaCheck q = CheckQuota(quota, Amount(used / 4, used - used / 4), marks);
    MarkQuotaAnnounced(quota, q, marks);
    return q.FullDue ? 100 : q.WarnDue;
  }
};

}  // namespace

TEST_F(Quota, WarningsOncePerPeriodThenTheFullAllowance) {
  EXPECT_EQ(Cycle(7 * kGiB), 0);
  EXPECT_EQ(Cycle(8 * kGiB), 80);  // at exactly 80 %
  EXPECT_EQ(Cycle(8 * kGiB + 1), 0);
  EXPECT_EQ(Cycle(9 * kGiB), 90);
  EXPECT_EQ(Cycle(9 * kGiB), 0);
  EXPECT_EQ(Cycle(10 * kGiB - 1), 0);
  const QuotaCheck before = CheckQuota(quota, Amount(0, 10 * kGiB - 1), marks);
  EXPECT_FALSE(before.Reached);
  EXPECT_EQ(before.Left, 1u);
  EXPECT_EQ(before.Percent, 99);
  EXPECT_EQ(Cycle(10 * kGiB), 100);
  EXPECT_EQ(Cycle(11 * kGiB), 0);

  // A new period (renewal or reset clears the marks): a jump straight past 90 % announces 90 only.
  marks = {};
  EXPECT_EQ(Cycle(95 * kGiB / 10), 90);
  EXPECT_EQ(Cycle(96 * kGiB / 10), 0);
  // Past the allowance at once: the notice only, and no warning afterwards.
  marks = {};
  EXPECT_EQ(Cycle(12 * kGiB), 100);
  EXPECT_EQ(Cycle(12 * kGiB), 0);
}

TEST_F(Quota, HoldAtFullUntilReleasedAndTheMeasure) {
  quota.AtFull = QuotaAction::HangUpAndHold;
  EXPECT_FALSE(CheckQuota(quota, Amount(0, 10 * kGiB - 1), marks).HoldLineDown);
  EXPECT_TRUE(CheckQuota(quota, Amount(kGiB, 9 * kGiB), marks).HoldLineDown);
  marks.Released = true;
  EXPECT_FALSE(CheckQuota(quota, Amount(kGiB, 9 * kGiB), marks).HoldLineDown);
  marks = {};
  // Upload not counted: only the received bytes reach the allowance.
  quota.CountSent = false;
  EXPECT_FALSE(CheckQuota(quota, Amount(kGiB, 9 * kGiB), marks).Reached);
  quota.QuotaOn = false;
  EXPECT_FALSE(CheckQuota(quota, Amount(0, 20 * kGiB), marks).HoldLineDown);
}

TEST_F(Quota, DailyAllowanceAtTheStartMiddleAndLastDayOfTheMonth) {
  SettingsRecord s;  // monthly on the 1st at 00:00
  s.RNInterval = 1;
  const Date renew = MakeDate(2027, 1, 1);
  const VolumeAmount used = Amount(0, 31 * kGiB / 10);  // 3.1 GiB used, 6.9 GiB left
  DailyAllowance d = ComputeDailyAllowance(s, renew, MakeDate(2026, 12, 1, 0, 0, 0), quota, {});
  EXPECT_TRUE(d.Known);
  EXPECT_EQ(d.DaysLeft, 31);
  EXPECT_EQ(d.Bytes, 10 * kGiB / 31);
  d = ComputeDailyAllowance(s, renew, MakeDate(2026, 12, 16, 13, 0, 0), quota, used);
  EXPECT_EQ(d.DaysLeft, 16);
  EXPECT_EQ(d.Bytes, (10 * kGiB - 31 * kGiB / 10) / 16);
  d = ComputeDailyAllowance(s, renew, MakeDate(2026, 12, 31, 23, 59, 59), quota, used);
  EXPECT_EQ(d.DaysLeft, 1);
  EXPECT_EQ(d.Bytes, 10 * kGiB - 31 * kGiB / 10);
  EXPECT_EQ(d.PeriodEnd, renew);
  // A renewal time already passed (not yet renewed): the schedule gives the end.
  d = ComputeDailyAllowance(s, MakeDate(2026, 12, 1), MakeDate(2026, 12, 30, 8, 0, 0), quota, used);
  EXPECT_EQ(d.PeriodEnd, renew);
  EXPECT_EQ(d.DaysLeft, 2);
  // Over the allowance: nothing left per day; no user counter: not known.
  EXPECT_EQ(ComputeDailyAllowance(s, renew, MakeDate(2026, 12, 20), quota, Amount(0, 11 * kGiB)).Bytes, 0u);
  s.UserRenew = false;
  EXPECT_FALSE(ComputeDailyAllowance(s, renew, MakeDate(2026, 12, 20), quota, used).Known);
}
