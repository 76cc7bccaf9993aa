#include "settings/NWDUtilModel.h"

#include <algorithm>
#include <limits>

#include "classlib/otkCodePage932.h"
#include "classlib/otkDateFormat.h"
#include "classlib/otkNumber.h"
#include "monitor/RenewalSchedule.h"
#include "settings/NWDUtilIds.h"

namespace nw {

namespace {

constexpr const char* kBlank = "\r\n\r\n";
// Numbers are bounded by the fields that store them (the file carries any value a field holds, so
// whatever the dialog loads can be confirmed unchanged): a time in seconds and a count are Longs,
// the status list size and the renewal frequency Integers.
constexpr int64_t kMaxSeconds = INT32_MAX;
constexpr int64_t kMaxHours = kMaxSeconds / 3600;
constexpr int64_t kMaxCount = INT32_MAX;
constexpr int64_t kMaxInteger = INT16_MAX;

int32_t Secs(Date from, Date to) { return static_cast<int32_t>(SecondsBetween(from, to)); }

// Hours (no upper limit on the display), minutes and seconds of a count of seconds.
struct Hms {
  int64_t H, M, S;
};
Hms Split(int64_t seconds) {
  const int64_t s = std::max<int64_t>(seconds, 0);
  return Hms{s / 3600, s / 60 % 60, s % 60};
}

// One failed check ends the apply; the thrown value carries what to report.
struct Refused {
  UtilProblem Problem;
};
[[noreturn]] void Refuse(int page, int field, std::string message) {
  throw Refused{UtilProblem{page, field, std::move(message), false}};
}

// The value of a box that must be a number within [lo, hi], with the warning for a text that is
// no number, for a value below lo and for one above hi.
int64_t Checked(const std::string& text, int64_t lo, int64_t hi, int page, int field, const std::string& notNumber,
                const std::string& below, const std::string& above) {
  const std::optional<int64_t> v = otk::ReadNumber(text, otk::NumberGrammar::Decimal);
  if (!v) Refuse(page, field, notNumber);
  if (*v < lo) Refuse(page, field, below);
  if (*v > hi) Refuse(page, field, above);
  return *v;
}

// A number from 0 up: one message for "no number" and "below 0", a range message above hi.
int64_t AtLeast(const std::string& text, int64_t hi, int page, int field, const std::string& atLeast,
                const std::string& range) {
  return Checked(text, 0, hi, page, field, atLeast, atLeast, range);
}

// One message for "no number" and "out of range".
int64_t Number(const std::string& text, int64_t lo, int64_t hi, int page, int field, const std::string& notNumber,
               const std::string& outOfRange) {
  return Checked(text, lo, hi, page, field, notNumber, outOfRange, outOfRange);
}

struct LimitGroup {
  bool UtilValues::*Hangup;
  bool UtilValues::*Dialog;
  std::string UtilValues::*Hours;
  std::string UtilValues::*Minutes;
  std::string UtilValues::*Seconds;
  bool SettingsRecord::*StoredHangup;
  bool SettingsRecord::*StoredDialog;
  int32_t SettingsRecord::*StoredTime;
  int FirstBox;
};
constexpr LimitGroup kLimitGroups[] = {
    {&UtilValues::AtCutHangup, &UtilValues::AtCutDialog, &UtilValues::AtCutHours, &UtilValues::AtCutMinutes,
     &UtilValues::AtCutSeconds, &SettingsRecord::AtCutHangup, &SettingsRecord::AtCutDialog,
     &SettingsRecord::AtCutTime, util::AtCutTime},
    {&UtilValues::AuCutHangup, &UtilValues::AuCutDialog, &UtilValues::AuCutHours, &UtilValues::AuCutMinutes,
     &UtilValues::AuCutSeconds, &SettingsRecord::AuCutHangup, &SettingsRecord::AuCutDialog,
     &SettingsRecord::AuCutTime, util::AuCutTime},
    {&UtilValues::AdCutHangup, &UtilValues::AdCutDialog, &UtilValues::AdCutHours, &UtilValues::AdCutMinutes,
     &UtilValues::AdCutSeconds, &SettingsRecord::AdCutHangup, &SettingsRecord::AdCutDialog,
     &SettingsRecord::AdCutTime, util::AdCutTime},
};

struct CounterGroup {
  int UtilValues::*Option;
  std::string UtilValues::*Hours;
  std::string UtilValues::*Count;
  std::string UtilValues::*Minutes;
  std::string UtilValues::*Seconds;
  int FirstBox;
};
constexpr CounterGroup kCounterGroups[] = {
    {&UtilValues::opCngToday, &UtilValues::TodayHours, &UtilValues::TodayCount, &UtilValues::TodayMinutes,
     &UtilValues::TodaySeconds, util::TodayCnter},
    {&UtilValues::opCngUser, &UtilValues::UserHours, &UtilValues::UserCount, &UtilValues::UserMinutes,
     &UtilValues::UserSeconds, util::UserCnter},
};

void FillHms(UtilValues& v, std::string UtilValues::*h, std::string UtilValues::*m, std::string UtilValues::*s,
             int64_t seconds) {
  const Hms t = Split(seconds);
  v.*h = std::to_string(t.H);
  v.*m = std::to_string(t.M);
  v.*s = std::to_string(t.S);
}

// What the checks decided, applied after the copy is written back.
struct Plan {
  bool ScheduleChanged = false;
  bool NameChanged = false;
  bool RenewChanged = false;
  struct CounterEdit {
    bool Changed = false;
    int32_t Total = 0;
    int32_t Count = 0;
  } Today, User;
};

std::string RangeMessage(const char* what, int64_t lo, int64_t hi) {
  return std::string(what) + "には" + std::to_string(lo) + "～" + std::to_string(hi) + "の数値を指定して下さい。";
}

// Hours, minutes and seconds as seconds; refused on the hours box when the total leaves the field.
int64_t TotalSeconds(int64_t h, int64_t m, int64_t s, int page, int hoursBox) {
  const int64_t total = (h * 60 + m) * 60 + s;
  if (total > kMaxSeconds)
    Refuse(page, hoursBox,
           "時間の合計には、" + std::to_string(kMaxSeconds / 3600) + "時間 " + std::to_string(kMaxSeconds / 60 % 60) +
               "分 " + std::to_string(kMaxSeconds % 60) + "秒までを指定して下さい。");
  return total;
}

// A text stored in the settings file must come back as typed: refused when code page 932 lacks
// one of its characters.
void CheckStorable(const std::string& text, const char* label, int page, int field) {
  if (!cp932::Holds(text)) Refuse(page, field, UnstorableTextMessage(label));
}

// The largest renewal frequency whose next renewal is still a date, for the schedule in `s`.
int64_t LargestFrequency(SettingsRecord s, Date now) {
  int64_t lo = 0, hi = kMaxInteger;  // lo always valid (or 0)
  while (lo < hi) {
    const int64_t mid = (lo + hi + 1) / 2;
    Date d = 0;
    if (TryRenewalMoment(s, now, static_cast<int32_t>(mid), d))
      lo = mid;
    else
      hi = mid - 1;
  }
  return lo;
}

// ---- the validators, in the order they run -----------------------------------------------------

void CheckRenew(const UtilValues& v, const SettingsRecord& stored, Date now, bool lateDayAccepted,
                SettingsRecord& copy, Plan& plan) {
  const int p = kPageRenew;
  const int box = util::WhenRenew;
  const int64_t month = Number(v.WhenRenewMonth, 1, 12, p, box + 0, "月には数値を指定して下さい。",
                               "月には1～12の数値を指定して下さい。");
  const int64_t day = Number(v.WhenRenewDay, 1, 31, p, box + 1, "日には数値を指定して下さい。",
                             "日には1～31の数値を指定して下さい。");
  if (day >= 28 && !lateDayAccepted) throw Refused{UtilProblem{p, box + 1, LateDayQuestion(), true}};
  const int64_t hour = Number(v.WhenRenewHour, 0, 23, p, box + 2, "時間には数値を指定して下さい。",
                              "時間には0～23の数値を指定して下さい。");
  const int64_t minute = Number(v.WhenRenewMinute, 0, 59, p, box + 3, "分には数値を指定して下さい。",
                                "分には0～59の数値を指定して下さい。");
  const int64_t second = Number(v.WhenRenewSecond, 0, 59, p, box + 4, "秒には数値を指定して下さい。",
                                "秒には0～59の数値を指定して下さい。");
  SettingsRecord s = stored;
  s.WhenRenewMonth = static_cast<int16_t>(month);
  s.WhenRenewDay = static_cast<int16_t>(day);
  s.WhenRenewHour = static_cast<int16_t>(hour);
  s.WhenRenewMinute = static_cast<int16_t>(minute);
  s.WhenRenewSecond = static_cast<int16_t>(second);
  s.WhenWeek = std::clamp(v.WhenWeek, 0, 6);
  s.RNInterval = std::clamp(v.RNInterval, 0, 5);
  const int64_t freq = Checked(v.RenewFreq, 1, kMaxInteger, p, util::RenewFreq, "更新頻度には数値を指定して下さい。",
                               "更新頻度には1以上の数値を指定して下さい。", RangeMessage("更新頻度", 1, kMaxInteger));
  s.RenewFreq = static_cast<int16_t>(freq);
  // A next renewal that is no date would renew the counter on every cycle.
  Date next = 0;
  if (!TryRenewalMoment(s, now, s.RenewFreq, next))
    Refuse(p, util::RenewFreq, RangeMessage("更新頻度", 1, std::max<int64_t>(1, LargestFrequency(s, now))));
  plan.ScheduleChanged = s.WhenRenewMonth != stored.WhenRenewMonth || s.WhenWeek != stored.WhenWeek ||
                         s.WhenRenewDay != stored.WhenRenewDay || s.WhenRenewHour != stored.WhenRenewHour ||
                         s.WhenRenewMinute != stored.WhenRenewMinute ||
                         s.WhenRenewSecond != stored.WhenRenewSecond || s.RNInterval != stored.RNInterval ||
                         s.RenewFreq != stored.RenewFreq;
  if (plan.ScheduleChanged) {
    copy.WhenRenewMonth = s.WhenRenewMonth;
    copy.WhenWeek = s.WhenWeek;
    copy.WhenRenewDay = s.WhenRenewDay;
    copy.WhenRenewHour = s.WhenRenewHour;
    copy.WhenRenewMinute = s.WhenRenewMinute;
    copy.WhenRenewSecond = s.WhenRenewSecond;
    copy.RNInterval = s.RNInterval;
    copy.RenewFreq = s.RenewFreq;
  }
  CheckStorable(v.CounterName, "ｶｳﾝﾀ名", p, util::CounterName);
  plan.NameChanged = v.CounterName != stored.CounterName;
  if (plan.NameChanged) copy.CounterName = v.CounterName;
  plan.RenewChanged = v.UserRenew != stored.UserRenew;
  if (plan.RenewChanged) copy.UserRenew = v.UserRenew;
}

void CheckHangup(const UtilValues& v, SettingsRecord& copy) {
  const int p = kPageHangup;
  for (const LimitGroup& g : kLimitGroups) {
    copy.*g.StoredDialog = v.*g.Dialog;
    copy.*g.StoredHangup = v.*g.Hangup;
    const int64_t h = AtLeast(v.*g.Hours, kMaxHours, p, g.FirstBox, "時間には0以上の数値を指定して下さい。",
                              RangeMessage("時間", 0, kMaxHours));
    const std::string minutes = "分には0～59の数値を指定して下さい。";
    const int64_t m = Number(v.*g.Minutes, 0, 59, p, g.FirstBox + 1, minutes, minutes);
    const std::string seconds = "秒には0～59の数値を指定して下さい。";
    const int64_t s = Number(v.*g.Seconds, 0, 59, p, g.FirstBox + 2, seconds, seconds);
    const int64_t limit = TotalSeconds(h, m, s, p, g.FirstBox);
    if (limit <= 0) Refuse(p, g.FirstBox, "指定時間は、0より上の数値を指定して下さい。");
    copy.*g.StoredTime = static_cast<int32_t>(limit);
  }
}

void CheckDial(const UtilValues& v, SettingsRecord& copy) {
  copy.AlDalDial = v.AlDalDial;
  copy.AcDalDialog = v.AcDalDialog;
  copy.AcDalDial = v.AcDalDial;
}

void CheckRedial(const UtilValues& v, SettingsRecord& copy) {
  copy.RdByManu = v.RdByManu;
  copy.RdByAuto = v.RdByAuto;
  copy.RdInterval = static_cast<int32_t>(Number(v.RdInterval, 0, 9999, kPageRedial, util::RdInterval,
                                                "接続間隔には数値を指定して下さい。",
                                                "接続間隔には0～9999の数値を指定して下さい。"));
}

void CheckCounterValues(const UtilValues& v, Plan& plan) {
  const int p = kPageDialVal;
  Plan::CounterEdit* edits[] = {&plan.Today, &plan.User};
  for (int i = 0; i < 2; ++i) {
    const CounterGroup& g = kCounterGroups[i];
    if (v.*g.Option != 1) continue;
    const int64_t h = AtLeast(v.*g.Hours, kMaxHours, p, g.FirstBox + 0, "時間には0以上の数値を指定して下さい。",
                              RangeMessage("時間", 0, kMaxHours));
    const int64_t c = AtLeast(v.*g.Count, kMaxCount, p, g.FirstBox + 1, "回数には0以上の数値を指定して下さい。",
                              RangeMessage("回数", 0, kMaxCount));
    const std::string minutes = "分には0～59の数値を指定して下さい。";
    const int64_t m = Number(v.*g.Minutes, 0, 59, p, g.FirstBox + 2, minutes, minutes);
    const std::string seconds = "秒には0～59の数値を指定して下さい。";
    const int64_t s = Number(v.*g.Seconds, 0, 59, p, g.FirstBox + 3, seconds, seconds);
    const int64_t total = TotalSeconds(h, m, s, p, g.FirstBox);
    *edits[i] = Plan::CounterEdit{true, static_cast<int32_t>(total), static_cast<int32_t>(c)};
  }
}

void CheckExpress(const UtilValues& v, SettingsRecord& copy) {
  const int p = kPageExpress;
  copy.MaxCount = static_cast<int16_t>(Checked(v.MaxCount, 1, kMaxInteger, p, util::MaxCount,
                                               "最大掲載数には数値を指定して下さい。",
                                               "最大掲載数には1以上の数値を指定して下さい。",
                                               RangeMessage("最大掲載数", 1, kMaxInteger)));
  CheckStorable(v.FormatWin, "ﾀｲﾄﾙﾊﾞｰﾌｫｰﾏｯﾄ", p, util::FormatWin);
  CheckStorable(v.FormatIval, "経過時間表示ﾌｫｰﾏｯﾄ", p, util::FormatIval);
  CheckStorable(v.FormatNow, "日時表示ﾌｫｰﾏｯﾄ", p, util::FormatNow);
  copy.FormatNow = v.FormatNow;
  copy.FormatIval = v.FormatIval;
  copy.FormatWinVis = v.FormatWinVis;
  copy.FormatWin = v.FormatWin;
}

void CheckTimer(const UtilValues& v, SettingsRecord& copy) {
  copy.TimerActv = v.TimerActv;
  static constexpr int16_t kIntervals[] = {500, 1000, 3000, 10000};
  if (v.TimerOp >= 0 && v.TimerOp < 4) {
    copy.TimerIval = kIntervals[v.TimerOp];
    return;
  }
  copy.TimerIval = static_cast<int16_t>(Number(v.UserTimerIval, 100, 30000, kPageTimer, util::UserTimerIval,
                                               "監視間隔には数値を指定して下さい。",
                                               "監視間隔には100～30000の数値を指定して下さい。"));
}

void CheckMaintain(const UtilValues& v, SettingsRecord& copy) {
  copy.CngConnLockOnFLG = v.CngConnLockOnFLG;
  copy.CngDisconnLockOnFLG = v.CngDisconnLockOnFLG;
  copy.CngConnLockOffFLG = v.CngConnLockOffFLG;
  copy.CngDisconnLockOffFLG = v.CngDisconnLockOffFLG;
}

void CheckTaskTray(const UtilValues& v, SettingsRecord& copy) {
  copy.ExpStart = v.ExpStart;
  copy.DblErr = v.DblErr;
  copy.LDialSave = v.LDialSave;
  copy.LTdaySave = v.LTdaySave;
  copy.LUserSave = v.LUserSave;
}

// ---- the effects, after the copy is back --------------------------------------------------------

void ApplyRenewEffects(const Plan& plan, const UtilRuntime& rt, UtilityHost& host) {
  SettingsRecord& s = host.Settings();
  CounterBlock& c = host.Counters();
  Date userStart = rt.UserStart;
  if (plan.ScheduleChanged) {
    Date start = rt.Now, next = 0;
    TryRenewalMoment(s, rt.Now, 0, start);
    TryRenewalMoment(s, rt.Now, s.RenewFreq, next);  // checked to be a date
    // A running connection counts from the renewal moment, but never from before it began
    // counting in this period nor from the future.
    if (rt.LineConnected) start = std::min(std::max(start, rt.UserStart), rt.Now);
    userStart = start;
    host.SetUserStart(start);
    c.UserRenewTime = next;
  }
  if (plan.NameChanged || plan.RenewChanged) host.ApplyUserCounterState();
  if (plan.RenewChanged) {
    if (s.UserRenew) {
      host.SetUserStart(rt.Now);
    } else if (rt.LineConnected) {
      c.UserSeconds += Secs(userStart, rt.Now);
      c.UserCount += 1;
    }
  }
}

void ApplyCounterEffects(const Plan& plan, UtilityHost& host) {
  if (!plan.Today.Changed && !plan.User.Changed) return;
  // Taken again: the renewal effects may have moved the user counter's start.
  const UtilRuntime rt = host.Runtime();
  CounterBlock& c = host.Counters();
  int32_t runningToday = 0, runningUser = 0;
  if (plan.Today.Changed) {
    runningToday = rt.LineConnected ? Secs(rt.TodayStart, rt.Now) : 0;
    c.TodaySeconds = plan.Today.Total - runningToday;
    c.TodayCount = rt.LineConnected ? std::max(plan.Today.Count - 1, 0) : plan.Today.Count;
  }
  if (plan.User.Changed) {
    // The running connection is part of the user counter only while that counter runs.
    const bool running = rt.LineConnected && host.Settings().UserRenew;
    runningUser = running ? Secs(rt.UserStart, rt.Now) : 0;
    c.UserSeconds = plan.User.Total - runningUser;
    c.UserCount = running ? std::max(plan.User.Count - 1, 0) : plan.User.Count;
  }
  host.RedrawCounters(runningToday, runningUser);
}

// Puts the records back as they were before the apply and the program's state that follows them.
void Restore(UtilityHost& host, const SettingsRecord& settings, const CounterBlock& counters,
             const UtilRuntime& before) noexcept {
  try {
    host.Settings() = settings;
    host.Counters() = counters;
    host.SetUserStart(before.UserStart);
    host.ApplyUserCounterState();
    host.SetPollingTimer(settings.TimerActv, settings.TimerIval);
    const UtilRuntime now = host.Runtime();
    if (now.LockShown != before.LockShown) host.ShowLockButton(before.LockShown);
    if (now.TrayResident != before.TrayResident) host.SetTrayResidency(before.TrayResident);
  } catch (...) {
    // The records are back; the main window catches up at its next refresh.
  }
}

}  // namespace

std::string LateDayQuestion() {
  return std::string("日付に28日以降を指定すると、") + kBlank + "閏年や月の変化により、" + kBlank +
         "予想と異なった動作をする可能性があります。" + kBlank + "設定し直しますか?";
}

std::string UnexpectedErrorMessage() {
  return std::string("予期せぬｴﾗｰが発生しました。") + kBlank + "ｷｬﾝｾﾙするか、設定をしなおして下さい。";
}

std::string UnstorableTextMessage(std::string_view label) {
  return std::string(label) + "には、使用できない文字が含まれています。";
}

UtilValues LoadUtility(const SettingsRecord& s, const CounterBlock& c, const UtilRuntime& rt) {
  UtilValues v;
  v.WhenRenewMonth = std::to_string(s.WhenRenewMonth);
  v.WhenRenewDay = std::to_string(s.WhenRenewDay);
  v.WhenRenewHour = std::to_string(s.WhenRenewHour);
  v.WhenRenewMinute = std::to_string(s.WhenRenewMinute);
  v.WhenRenewSecond = std::to_string(s.WhenRenewSecond);
  v.WhenWeek = s.WhenWeek;
  v.RNInterval = s.RNInterval;
  v.RenewFreq = std::to_string(s.RenewFreq);
  v.UserRenew = s.UserRenew;
  v.CounterName = s.CounterName;

  v.MaxCount = std::to_string(s.MaxCount);
  v.FormatNow = s.FormatNow;
  v.FormatIval = s.FormatIval;
  v.FormatWinVis = s.FormatWinVis;
  v.FormatWin = s.FormatWin;

  v.TimerActv = s.TimerActv;
  switch (s.TimerIval) {
    case 500: v.TimerOp = 0; break;
    case 1000: v.TimerOp = 1; break;
    case 3000: v.TimerOp = 2; break;
    case 10000: v.TimerOp = 3; break;
    default: v.TimerOp = 4; break;
  }
  v.UserTimerIval = std::to_string(s.TimerIval);

  v.TackTrayIn = rt.TrayResident;
  v.ExpStart = s.ExpStart;
  v.DblErr = s.DblErr;
  v.ExpLock = rt.LockShown;
  v.CngConnLockOnFLG = s.CngConnLockOnFLG;
  v.CngDisconnLockOnFLG = s.CngDisconnLockOnFLG;
  v.CngConnLockOffFLG = s.CngConnLockOffFLG;
  v.CngDisconnLockOffFLG = s.CngDisconnLockOffFLG;
  v.LDialSave = s.LDialSave;
  v.LTdaySave = s.LTdaySave;
  v.LUserSave = s.LUserSave;

  v.AlDalDial = s.AlDalDial;
  v.AcDalDialog = s.AcDalDialog;
  v.AcDalDial = s.AcDalDial;

  for (const LimitGroup& g : kLimitGroups) {
    v.*g.Dialog = s.*g.StoredDialog;
    v.*g.Hangup = s.*g.StoredHangup;
    FillHms(v, g.Hours, g.Minutes, g.Seconds, s.*g.StoredTime);
  }

  v.RdByManu = s.RdByManu;
  v.RdByAuto = s.RdByAuto;
  v.RdInterval = std::to_string(s.RdInterval);

  // The counters' totals, the running connection included where the counter runs.
  const bool userRuns = rt.LineConnected && s.UserRenew;
  const int64_t today = int64_t{c.TodaySeconds} + (rt.LineConnected ? Secs(rt.TodayStart, rt.Now) : 0);
  const int64_t user = int64_t{c.UserSeconds} + (userRuns ? Secs(rt.UserStart, rt.Now) : 0);
  FillHms(v, &UtilValues::TodayHours, &UtilValues::TodayMinutes, &UtilValues::TodaySeconds, today);
  v.TodayCount = std::to_string(int64_t{c.TodayCount} + (rt.LineConnected ? 1 : 0));
  FillHms(v, &UtilValues::UserHours, &UtilValues::UserMinutes, &UtilValues::UserSeconds, user);
  v.UserCount = std::to_string(int64_t{c.UserCount} + (userRuns ? 1 : 0));
  v.opCngToday = 0;
  v.opCngUser = 0;
  return v;
}

UtilProblem ApplyUtility(const UtilValues& v, UtilityHost& host, bool lateDayAccepted,
                         const std::function<UtilProblem()>& laterChecks) {
  try {
    const UtilRuntime rt = host.Runtime();
    const SettingsRecord& stored = host.Settings();
    SettingsRecord copy = stored;
    Plan plan;
    CheckRenew(v, stored, rt.Now, lateDayAccepted, copy, plan);
    CheckHangup(v, copy);
    CheckDial(v, copy);
    CheckRedial(v, copy);
    CheckCounterValues(v, plan);
    CheckExpress(v, copy);
    CheckTimer(v, copy);
    CheckMaintain(v, copy);
    CheckTaskTray(v, copy);
    if (laterChecks)
      if (UtilProblem later = laterChecks()) return later;

    // Every page passed: the copy goes back, then the effects in the pages' order. Should one of
    // them fail, the records and the program go back to what they were, so that "ｷｬﾝｾﾙ" after
    // the message leaves everything as before "O.K.".
    const SettingsRecord settingsBefore = stored;
    const CounterBlock countersBefore = host.Counters();
    try {
      host.Settings() = copy;
      const SettingsRecord& s = host.Settings();
      ApplyRenewEffects(plan, rt, host);
      ApplyCounterEffects(plan, host);
      host.TrimStatusList();
      host.SetPollingTimer(s.TimerActv, s.TimerIval);
      if (v.ExpLock != rt.LockShown) host.ShowLockButton(v.ExpLock);
      if (v.TackTrayIn != rt.TrayResident) host.SetTrayResidency(v.TackTrayIn);
    } catch (...) {
      Restore(host, settingsBefore, countersBefore, rt);
      throw;
    }
    return {};
  } catch (const Refused& r) {
    return r.Problem;
  } catch (...) {
    return UtilProblem{-1, 0, UnexpectedErrorMessage(), false};
  }
}

RenewEnabling RenewControlsEnabled(bool on, int k) {
  if (!on) return RenewEnabling{false, false, false, false, false, false, false, false, false};
  // 0 yearly, 1 monthly, 2 weekly, 3 daily, 4 hourly, 5 every minute.
  return RenewEnabling{true, true, true, k == 2, k == 0, k <= 1, k <= 3, k <= 4, true};
}

std::string FreqExpCaption(int rnInterval) {
  static constexpr const char* kUnits[] = {"年毎", "月毎", "週毎", "日毎", "時間毎", "分毎"};
  return rnInterval >= 0 && rnInterval < 6 ? kUnits[rnInterval] : "";
}

std::string DurationExample(std::string_view format) { return FormatDuration(18305, format); }

std::string NowExample(std::string_view format) { return FormatDate(MakeDate(2003, 1, 1, 14, 20, 2), format); }

std::optional<std::string> AutoConnectConflict(bool acDalDialTicked, bool expLockTicked) {
  if (!acDalDialTicked || !expLockTicked) return std::nullopt;
  return std::string("ﾛｯｸ機能との設定が競合しています。") + kBlank + "この設定にﾁｪｯｸを入れるには、" +
         "\"状態維持の設定\" の、" + kBlank + "\"接続／切断状態のﾛｯｸﾎﾞﾀﾝを表示する\" ﾁｪｯｸﾎﾞｯｸｽからﾁｪｯｸを外して下さい。";
}

std::optional<std::string> LockButtonConflict(bool expLockTicked, bool acDalDialTicked) {
  if (!expLockTicked || !acDalDialTicked) return std::nullopt;
  return std::string("自動接続との設定が競合しています。") + kBlank + "この設定にﾁｪｯｸを入れるには、" +
         "\"自動接続の設定\" の、" + kBlank + "\"自動的にﾀﾞｲｱﾙｱｯﾌﾟを接続する\" ﾁｪｯｸﾎﾞｯｸｽからﾁｪｯｸを外して下さい。";
}

}  // namespace nw
