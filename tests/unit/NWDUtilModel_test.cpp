// The operation settings dialog without its window: what the pages show, the checks in their
// order, the working copy and the effects of a good "O.K.", the conflict rules and the numbers.
#include <gtest/gtest.h>

#include "classlib/otkSelFrame.h"
#include "settings/NWDQuotaIds.h"
#include "settings/NWDQuotaModel.h"
#include "settings/NWDUtilIds.h"
#include "settings/NWDUtilModel.h"

namespace nw {
namespace {

// Records what the apply does to the running program.
struct FakeHost : UtilityHost {
  SettingsRecord settings;
  CounterBlock counters;
  UtilRuntime rt{MakeDate(2026, 12, 8, 10, 0, 0), false, 0, 0, false, false};
  std::vector<std::string> calls;
  int32_t redrawToday = -1, redrawUser = -1;

  SettingsRecord& Settings() override { return settings; }
  CounterBlock& Counters() override { return counters; }
  UtilRuntime Runtime() override { return rt; }
  void SetUserStart(Date d) override {
    rt.UserStart = d;
    calls.push_back("UserStart");
  }
  void ApplyUserCounterState() override { calls.push_back("UserCounterState"); }
  void RedrawCounters(int32_t t, int32_t u) override {
    redrawToday = t;
    redrawUser = u;
    calls.push_back("Redraw");
  }
  void SetPollingTimer(bool on, int32_t ms) override {
    calls.push_back(std::string("Timer ") + (on ? "on " : "off ") + std::to_string(ms));
  }
  void ShowLockButton(bool shown) override { calls.push_back(shown ? "Lock shown" : "Lock hidden"); }
  void SetTrayResidency(bool on) override { calls.push_back(on ? "Tray on" : "Tray off"); }
  void TrimStatusList() override { calls.push_back("Trim"); }

  UtilValues Load() { return LoadUtility(settings, counters, rt); }
};

TEST(UtilModel, LoadShowsEveryFieldAndTheRunningCounters) {
  FakeHost h;
  h.settings.TimerIval = 750;
  h.settings.AtCutTime = 90061;
  h.counters = {MakeDate(2026, 12, 8), 100, 3, MakeDate(2027, 1, 1), 7200, 5};
  h.rt.LineConnected = true;
  h.rt.TodayStart = MakeDate(2026, 12, 8, 9, 59, 0);
  h.rt.UserStart = MakeDate(2026, 12, 8, 9, 0, 0);
  UtilValues v = h.Load();
  EXPECT_EQ(v.TimerOp, 4);
  EXPECT_EQ(v.UserTimerIval, "750");
  EXPECT_EQ(std::tie(v.AtCutHours, v.AtCutMinutes, v.AtCutSeconds), std::make_tuple("25", "1", "1"));
  // 100 + 60 running seconds, one more connection; the user counter 7200 + 3600.
  EXPECT_EQ(std::tie(v.TodayHours, v.TodayMinutes, v.TodaySeconds, v.TodayCount),
            std::make_tuple("0", "2", "40", "4"));
  EXPECT_EQ(std::tie(v.UserHours, v.UserMinutes, v.UserSeconds, v.UserCount), std::make_tuple("3", "0", "0", "6"));
  EXPECT_EQ(v.opCngToday, 0);
  // The user counter switched off does not run: its stored values only.
  h.settings.UserRenew = false;
  h.settings.TimerIval = 3000;
  v = h.Load();
  EXPECT_EQ(std::tie(v.UserHours, v.UserCount), std::make_tuple("2", "5"));
  EXPECT_EQ(v.TimerOp, 2);
  EXPECT_EQ(v.UserTimerIval, "3000");
}

TEST(UtilModel, ChecksRunInTheirOrderAndAFailureChangesNothing) {
  FakeHost h;
  const SettingsRecord before = h.settings;
  UtilValues v = h.Load();
  v.WhenRenewDay = "32";
  v.UserTimerIval = "99";
  v.TimerOp = 4;
  v.MaxCount = "5";
  v.TackTrayIn = true;
  // The renewal day comes first, the timer is never reached.
  UtilProblem p = ApplyUtility(v, h);
  EXPECT_EQ(std::tie(p.Page, p.Field, p.Message),
            std::make_tuple(kPageRenew, util::WhenRenew + 1, std::string("日には1～31の数値を指定して下さい。")));
  v.WhenRenewDay = "1";
  p = ApplyUtility(v, h);
  EXPECT_EQ(std::tie(p.Page, p.Field, p.Message),
            std::make_tuple(kPageTimer, util::UserTimerIval, std::string("監視間隔には100～30000の数値を指定して下さい。")));
  EXPECT_EQ(h.settings, before);
  EXPECT_TRUE(h.calls.empty());

  // Each page's first failing box, in the order of the checks.
  struct Case {
    std::string UtilValues::*Box;
    std::string Text;
    int Page, Field;
    std::string Message;
  };
  const Case cases[] = {
      {&UtilValues::WhenRenewMonth, "", kPageRenew, util::WhenRenew, "月には数値を指定して下さい。"},
      {&UtilValues::WhenRenewMonth, "13", kPageRenew, util::WhenRenew, "月には1～12の数値を指定して下さい。"},
      {&UtilValues::WhenRenewSecond, "60", kPageRenew, util::WhenRenew + 4, "秒には0～59の数値を指定して下さい。"},
      {&UtilValues::RenewFreq, "0", kPageRenew, util::RenewFreq, "更新頻度には1以上の数値を指定して下さい。"},
      {&UtilValues::RenewFreq, "x", kPageRenew, util::RenewFreq, "更新頻度には数値を指定して下さい。"},
      {&UtilValues::AuCutMinutes, "-1", kPageHangup, util::AuCutTime + 1, "分には0～59の数値を指定して下さい。"},
      {&UtilValues::AdCutHours, "99999999999999999999", kPageHangup, util::AdCutTime,
       "時間には0～596523の数値を指定して下さい。"},
      {&UtilValues::RdInterval, "-1", kPageRedial, util::RdInterval, "接続間隔には0～9999の数値を指定して下さい。"},
      {&UtilValues::RdInterval, "1e3", kPageRedial, util::RdInterval, "接続間隔には数値を指定して下さい。"},
      {&UtilValues::MaxCount, "abc", kPageExpress, util::MaxCount, "最大掲載数には数値を指定して下さい。"},
      {&UtilValues::MaxCount, "0", kPageExpress, util::MaxCount, "最大掲載数には1以上の数値を指定して下さい。"},
      {&UtilValues::MaxCount, "40000", kPageExpress, util::MaxCount, "最大掲載数には1～32767の数値を指定して下さい。"},
      // Texts the settings file would give back with "?" in them.
      {&UtilValues::CounterName, "料金€", kPageRenew, util::CounterName, "ｶｳﾝﾀ名には、使用できない文字が含まれています。"},
      {&UtilValues::FormatWin, "h\xF0\x9F\x98\x80", kPageExpress, util::FormatWin,
       "ﾀｲﾄﾙﾊﾞｰﾌｫｰﾏｯﾄには、使用できない文字が含まれています。"},
      {&UtilValues::FormatIval, "h€", kPageExpress, util::FormatIval, "経過時間表示ﾌｫｰﾏｯﾄには、使用できない文字が含まれています。"},
      {&UtilValues::FormatNow, "yyyy年m月d日～€", kPageExpress, util::FormatNow,
       "日時表示ﾌｫｰﾏｯﾄには、使用できない文字が含まれています。"},
  };
  for (const Case& c : cases) {
    UtilValues bad = h.Load();
    bad.*c.Box = c.Text;
    p = ApplyUtility(bad, h);
    EXPECT_EQ(std::tie(p.Page, p.Field, p.Message), std::tie(c.Page, c.Field, c.Message)) << c.Text;
  }
  // A zero limit is refused though neither box of its group is ticked.
  UtilValues zero = h.Load();
  zero.AtCutHours = zero.AtCutMinutes = zero.AtCutSeconds = "0";
  EXPECT_EQ(ApplyUtility(zero, h).Message, "指定時間は、0より上の数値を指定して下さい。");
  EXPECT_EQ(h.settings, before);
}

TEST(UtilModel, StoredValuesBeyondFourDigitsAreConfirmedUnchanged) {
  FakeHost h;
  h.settings.AdCutTime = 36000000;  // 10 000 hours
  h.settings.MaxCount = 10000;
  h.settings.RNInterval = 5;
  h.settings.RenewFreq = 10000;  // minutes
  h.counters = {MakeDate(2026, 12, 8), 100, 3, MakeDate(2026, 12, 8, 10, 5, 0), 36000000, 10000};
  const SettingsRecord before = h.settings;
  UtilValues v = h.Load();
  EXPECT_EQ(std::tie(v.AdCutHours, v.UserHours, v.UserCount), std::make_tuple("10000", "10000", "10000"));
  v.opCngUser = 1;  // only the count changes
  v.UserCount = "10001";
  ASSERT_FALSE(ApplyUtility(v, h)) << ApplyUtility(v, h).Message;
  EXPECT_EQ(h.settings, before);
  EXPECT_EQ(std::tie(h.counters.UserSeconds, h.counters.UserCount), std::make_tuple(36000000, 10001));
  // The longest time a Long holds is taken.
  v = h.Load();
  v.AdCutHours = "596523", v.AdCutMinutes = "14", v.AdCutSeconds = "7";
  ASSERT_FALSE(ApplyUtility(v, h));
  EXPECT_EQ(h.settings.AdCutTime, INT32_MAX);
  v.AdCutSeconds = "8";
  EXPECT_EQ(ApplyUtility(v, h).Message, "時間の合計には、596523時間 14分 7秒までを指定して下さい。");
}

TEST(UtilModel, LateDayIsAskedAndAcceptedOnNo) {
  FakeHost h;
  UtilValues v = h.Load();
  v.WhenRenewDay = "29";
  v.RNInterval = 5;  // the day box is not even used by this period kind
  UtilProblem p = ApplyUtility(v, h);
  EXPECT_TRUE(p.AskLateDay);
  EXPECT_EQ(p.Field, util::WhenRenew + 1);
  EXPECT_EQ(p.Message, LateDayQuestion());
  EXPECT_FALSE(ApplyUtility(v, h, true));
  EXPECT_EQ(h.settings.WhenRenewDay, 29);
  EXPECT_EQ(h.settings.RNInterval, 5);
}

TEST(UtilModel, GoodApplyCopiesBackThenActsInOrder) {
  FakeHost h;
  h.counters.UserRenewTime = MakeDate(2027, 1, 1);
  UtilValues v = h.Load();
  v.TimerOp = 4;
  v.UserTimerIval = " 250.5 ";  // blanks allowed, halves to even
  v.MaxCount = "3";
  v.ExpLock = true;
  v.TackTrayIn = true;
  v.FormatWin = "hh";
  v.RdInterval = "0";
  v.LDialSave = false;
  ASSERT_FALSE(ApplyUtility(v, h));
  EXPECT_EQ(h.settings.TimerIval, 250);
  EXPECT_EQ(h.settings.MaxCount, 3);
  EXPECT_EQ(h.settings.FormatWin, "hh");
  EXPECT_FALSE(h.settings.LDialSave);
  EXPECT_EQ(h.calls, (std::vector<std::string>{"Trim", "Timer on 250", "Lock shown", "Tray on"}));
  // Nothing of the schedule changed: the next renewal stays.
  EXPECT_EQ(h.counters.UserRenewTime, MakeDate(2027, 1, 1));

  // Only the weekday changed: the period is recomputed (weekly, Wednesdays 00:00 from Tue 10:00).
  h.calls.clear();
  h.rt.LockShown = true;
  h.rt.TrayResident = true;
  v = h.Load();
  v.RNInterval = 2;
  v.WhenWeek = 3;
  ASSERT_FALSE(ApplyUtility(v, h));
  EXPECT_EQ(h.counters.UserRenewTime, MakeDate(2026, 12, 16));
  EXPECT_EQ(h.rt.UserStart, MakeDate(2026, 12, 9));
  EXPECT_EQ(h.calls, (std::vector<std::string>{"UserStart", "Trim", "Timer on 250"}));
}

// The quota page is checked last: an earlier page's fault is reported first, its own fault leaves
// the settings and the quota as they were, and a good "O.K." stores both.
TEST(UtilModel, QuotaPageIsCheckedAfterTheOthersAndStoredWithThem) {
  FakeHost h;
  QuotaSettings quota;
  quota.Adapter = "ｲｰｻﾈｯﾄ";
  const QuotaSettings stored = quota;
  const SettingsRecord settingsBefore = h.settings;
  UtilValues v = h.Load();
  v.MaxCount = "0";
  QuotaValues q = LoadQuota(quota);
  EXPECT_EQ(q.Adapter, "ｲｰｻﾈｯﾄ");
  q.QuotaWarn1 = "95";
  EXPECT_EQ(ApplyUtilityWithQuota(v, q, quota, h).Page, kPageExpress);
  v.MaxCount = "5";
  const UtilProblem p = ApplyUtilityWithQuota(v, q, quota, h);
  EXPECT_EQ(p.Page, util::kPageQuota);
  EXPECT_EQ(p.Field, util::QuotaWarn);
  EXPECT_EQ(h.settings, settingsBefore);
  EXPECT_EQ(quota, stored);
  EXPECT_TRUE(h.calls.empty());

  q.QuotaWarn1 = "70";
  q.Adapter = "Wi\xE2\x80\x91" "Fi";  // a non-breaking hyphen, which code page 932 lacks
  EXPECT_EQ(ApplyUtilityWithQuota(v, q, quota, h).Field, util::QuotaAdapter);
  EXPECT_EQ(quota, stored);
  q.QuotaSize = "300";
  q.QuotaUnit = 0;
  q.Adapter = "";
  ASSERT_FALSE(ApplyUtilityWithQuota(v, q, quota, h));
  EXPECT_EQ(h.settings.MaxCount, 5);
  EXPECT_EQ(quota.Allowance, uint64_t{300} << 20);
  EXPECT_EQ(quota.WarnPercent1, 70);
  EXPECT_EQ(quota.Adapter, "");

  // The adapter list: all first, the present ones once each, a stored one that is away kept last.
  AdapterChoices c = MakeAdapterChoices({"Wi-Fi", "", "ｲｰｻﾈｯﾄ", "Wi-Fi"}, "VPN");
  EXPECT_EQ(c.Items, (std::vector<std::string>{"すべてのｱﾀﾞﾌﾟﾀ", "Wi-Fi", "ｲｰｻﾈｯﾄ", "VPN"}));
  EXPECT_EQ(c.Selected, 3);
  EXPECT_EQ(c.AdapterAt(3), "VPN");
  EXPECT_EQ(c.AdapterAt(0), "");
  EXPECT_EQ(c.AdapterAt(9), "");
  c = MakeAdapterChoices({"Wi-Fi"}, "Wi-Fi");
  EXPECT_EQ(c.Items.size(), 2u);
  EXPECT_EQ(c.Selected, 1);
  EXPECT_EQ(MakeAdapterChoices({}, "").Selected, 0);
}

TEST(UtilModel, ScheduleChangeWhileConnectedKeepsTheConnectionsStart) {
  FakeHost h;
  h.settings.RNInterval = 3;  // daily at 00:00
  h.rt.LineConnected = true;
  const Date connected = MakeDate(2026, 12, 8, 9, 30, 0);
  struct Case {
    const char *Hour, *Minute;
    Date Start, Next;
  };
  const Case cases[] = {
      {"9", "0", connected, MakeDate(2026, 12, 9, 9, 0, 0)},                         // before the connection
      {"9", "45", MakeDate(2026, 12, 8, 9, 45, 0), MakeDate(2026, 12, 9, 9, 45, 0)},  // during it
      {"20", "0", h.rt.Now, MakeDate(2026, 12, 9, 20, 0, 0)},                         // later today: from now
  };
  for (const Case& c : cases) {
    h.rt.UserStart = connected;
    UtilValues v = h.Load();
    v.WhenRenewHour = c.Hour;
    v.WhenRenewMinute = c.Minute;
    ASSERT_FALSE(ApplyUtility(v, h));
    EXPECT_EQ(h.rt.UserStart, c.Start) << c.Hour << ":" << c.Minute;
    EXPECT_EQ(h.counters.UserRenewTime, c.Next) << c.Hour << ":" << c.Minute;
  }
}

TEST(UtilModel, YearlyRenewalBeyondTheLastDateIsRefused) {
  FakeHost h;
  UtilValues v = h.Load();
  v.RenewFreq = "9999";  // yearly from 2026
  const UtilProblem p = ApplyUtility(v, h);
  EXPECT_EQ(std::tie(p.Page, p.Field, p.Message),
            std::make_tuple(kPageRenew, util::RenewFreq, std::string("更新頻度には1～7973の数値を指定して下さい。")));
  v.RenewFreq = "7973";
  EXPECT_FALSE(ApplyUtility(v, h));
}

TEST(UtilModel, CounterSwitchAndValuesActOnlyOnARunningCounter) {
  FakeHost h;
  h.counters = {MakeDate(2026, 12, 8), 100, 3, MakeDate(2027, 1, 1), 500, 2};
  h.rt.LineConnected = true;
  h.rt.TodayStart = MakeDate(2026, 12, 8, 9, 50, 0);  // 600 s running
  h.rt.UserStart = MakeDate(2026, 12, 8, 9, 55, 0);   // 300 s running
  UtilValues v = h.Load();
  // The user counter is switched off in the same "O.K." that sets its values.
  v.UserRenew = false;
  v.opCngToday = 1;
  v.TodayHours = "1", v.TodayMinutes = "0", v.TodaySeconds = "0", v.TodayCount = "0";
  v.opCngUser = 1;
  v.UserHours = "0", v.UserMinutes = "10", v.UserSeconds = "0", v.UserCount = "4";
  ASSERT_FALSE(ApplyUtility(v, h));
  // Switching off closed the running part into the counter first, then the values replaced it.
  EXPECT_EQ(h.counters.TodaySeconds, 3600 - 600);
  EXPECT_EQ(h.counters.TodayCount, 0);
  EXPECT_EQ(h.counters.UserSeconds, 600);
  EXPECT_EQ(h.counters.UserCount, 4);
  EXPECT_EQ(std::tie(h.redrawToday, h.redrawUser), std::make_tuple(600, 0));
  EXPECT_EQ(h.calls.front(), "UserCounterState");

  // Switched on again: it counts from now, no count taken off.
  h.calls.clear();
  v = h.Load();
  v.UserRenew = true;
  v.opCngUser = 1;
  v.UserHours = "0", v.UserMinutes = "0", v.UserSeconds = "0", v.UserCount = "0";
  ASSERT_FALSE(ApplyUtility(v, h));
  EXPECT_EQ(h.rt.UserStart, h.rt.Now);
  EXPECT_EQ(h.counters.UserSeconds, 0);
  EXPECT_EQ(h.counters.UserCount, 0);
}

TEST(UtilModel, LivePiecesOfThePages) {
  EXPECT_EQ(DurationExample("h:mm:ss"), "5:05:05");
  EXPECT_EQ(NowExample("yyyy/mm/dd hh:mm:ss"), "2003/01/01 14:20:02");
  const RenewEnabling weekly = RenewControlsEnabled(true, 2);
  EXPECT_TRUE(weekly.WhenWeek && weekly.Hour && !weekly.Month && !weekly.Day);
  const RenewEnabling minute = RenewControlsEnabled(true, 5);
  EXPECT_TRUE(minute.Second && !minute.Minute && !minute.WhenWeek && minute.RenewFreq);
  const RenewEnabling off = RenewControlsEnabled(false, 0);
  EXPECT_FALSE(off.RNInterval || off.CounterName || off.Month || off.Second);
  EXPECT_EQ(FreqExpCaption(2), "週毎");
  EXPECT_EQ(*LockButtonConflict(true, true),
            "自動接続との設定が競合しています。\r\n\r\nこの設定にﾁｪｯｸを入れるには、\"自動接続の設定\" の、\r\n\r\n"
            "\"自動的にﾀﾞｲｱﾙｱｯﾌﾟを接続する\" ﾁｪｯｸﾎﾞｯｸｽからﾁｪｯｸを外して下さい。");
  EXPECT_NE(AutoConnectConflict(true, true)->find("\"状態維持の設定\" の、"), std::string::npos);
  EXPECT_FALSE(AutoConnectConflict(true, false));
  EXPECT_FALSE(LockButtonConflict(false, true));
}

// The page selector over recorded labels and containers.
struct FakeSelPort : otk::otkSelFramePort {
  std::map<otk::otkControlHandle, otk::OleColor> back, fore;
  std::map<otk::otkControlHandle, bool> visible;
  void SetBackColor(otk::otkControlHandle h, otk::OleColor c) override { back[h] = c; }
  void SetForeColor(otk::otkControlHandle h, otk::OleColor c) override { fore[h] = c; }
  bool Visible(otk::otkControlHandle h) override { return visible[h]; }
  void SetVisible(otk::otkControlHandle h, bool v) override { visible[h] = v; }
};

TEST(otkSelFrame, SelectsRecoloursAndAsksBeforeEachChange) {
  FakeSelPort port;
  otk::otkSelFrame sel(port);
  // Pages 1 and 2 share container 30.
  sel.RegistControl(10, 20, 30);
  sel.RegistControl(11, 21, 31);
  sel.RegistControl(12, 22, 31);
  std::vector<std::pair<int, int>> events;
  int16_t answer = 0;
  sel.ChangedIndex = [&](int16_t before, int16_t index, int16_t& cancel) {
    events.emplace_back(before, index);
    EXPECT_EQ(cancel, 0);
    cancel = answer;
  };
  sel.EventActionClickLabel(0);
  sel.EventActionClickLabel(0);  // already shown: no event
  EXPECT_EQ(events, (std::vector<std::pair<int, int>>{{-1, 0}}));
  EXPECT_TRUE(port.visible[30]);
  EXPECT_EQ(port.back[10], otk::SystemColor(13));
  EXPECT_EQ(port.fore[20], otk::SystemColor(14));

  answer = 1;
  sel.EventActionClickLabel(1);
  EXPECT_EQ(sel.NowVisIndex, 0);
  EXPECT_FALSE(port.visible[31]);
  answer = -1;  // only exactly 1 cancels
  sel.EventActionClickLabel(1);
  EXPECT_EQ(sel.NowVisIndex, 1);
  EXPECT_FALSE(port.visible[30]);
  EXPECT_TRUE(port.visible[31]);
  EXPECT_EQ(port.back[10], otk::SystemColor(22));
  EXPECT_EQ(port.fore[20], otk::SystemColor(8));
  sel.EventActionClickLabel(2);  // the shared container stays
  EXPECT_TRUE(port.visible[31]);
  EXPECT_EQ(port.back[11], otk::SystemColor(22));
  EXPECT_EQ(port.back[12], otk::SystemColor(13));
}

}  // namespace
}  // namespace nw
