#pragma once
// The operation settings dialog without its window: what each page shows (UtilValues, filled by
// LoadUtility), the checks of every page in their fixed order, and the apply that copies the
// working copy back and acts on the running monitor only after every page passed.
//
//     UtilValues v = LoadUtility(settings, counters, host.Runtime());
//     ... the window shows v, the user edits, the window reads the controls back into v ...
//     UtilProblem p = ApplyUtility(v, host);
//     if (p.AskLateDay) { ask; on "No": p = ApplyUtility(v, host, true); }
//     if (p) { select page p.Page, warn p.Message, focus p.Field; }
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "classlib/DateValue.h"
#include "data/NWDGlobal.h"

namespace nw {

// Every control value of the ten pages (page 8 has none: its buttons act at once). Text boxes are
// kept as typed; lists and option groups as indexes.
struct UtilValues {
  // Page 0 "更新日時の設定"
  bool UserRenew = false;
  std::string CounterName;
  int RNInterval = 0;
  std::string RenewFreq;
  int WhenWeek = 0;
  std::string WhenRenewMonth, WhenRenewDay, WhenRenewHour, WhenRenewMinute, WhenRenewSecond;
  // Page 1 "自動接続の設定"
  bool AlDalDial = false, AcDalDial = false, AcDalDialog = false;
  // Page 2 "自動切断の設定"
  bool AtCutHangup = false, AtCutDialog = false;
  std::string AtCutHours, AtCutMinutes, AtCutSeconds;
  bool AuCutHangup = false, AuCutDialog = false;
  std::string AuCutHours, AuCutMinutes, AuCutSeconds;
  bool AdCutHangup = false, AdCutDialog = false;
  std::string AdCutHours, AdCutMinutes, AdCutSeconds;
  // Page 3 "状態維持の設定"
  bool ExpLock = false;
  bool CngConnLockOnFLG = false, CngDisconnLockOnFLG = false, CngConnLockOffFLG = false,
       CngDisconnLockOffFLG = false;
  // Page 4 "再接続の設定"
  bool RdByAuto = false, RdByManu = false;
  std::string RdInterval;
  // Page 5 "経過時間の設定": 0 "設定を変更しない", 1 "設定を変更する"
  int opCngToday = 0;
  std::string TodayHours, TodayCount, TodayMinutes, TodaySeconds;
  int opCngUser = 0;
  std::string UserHours, UserCount, UserMinutes, UserSeconds;
  // Page 6 "表示方法の設定"
  std::string FormatWin;
  bool FormatWinVis = false;
  std::string FormatIval, FormatNow, MaxCount;
  // Page 7 "ﾀｲﾏの設定": TimerOp 0 0.5 s, 1 1 s, 2 3 s, 3 10 s, 4 user-defined
  bool TimerActv = false;
  int TimerOp = 1;
  std::string UserTimerIval;
  // Page 9 "ｱﾌﾟﾘｹｰｼｮﾝの設定"
  bool TackTrayIn = false, ExpStart = false, DblErr = false, LDialSave = false, LTdaySave = false,
       LUserSave = false;
};

// The running program as the dialog sees it.
struct UtilRuntime {
  Date Now = 0;
  bool LineConnected = false;
  Date TodayStart = 0;  // where the running connection counts from in each counter
  Date UserStart = 0;
  bool TrayResident = false;
  bool LockShown = false;
};

// What the apply acts on: the process-wide records and the main window. Production: the main
// window over the monitor; tests: a fake that records.
class UtilityHost {
 public:
  virtual ~UtilityHost() = default;
  virtual SettingsRecord& Settings() = 0;
  virtual CounterBlock& Counters() = 0;
  virtual UtilRuntime Runtime() = 0;
  virtual void SetUserStart(Date start) = 0;
  // The counter's caption, its reset item and its box, from Settings().UserRenew and CounterName.
  virtual void ApplyUserCounterState() = 0;
  // Redraws the counter boxes with these running seconds added.
  virtual void RedrawCounters(int32_t runningToday, int32_t runningUser) = 0;
  virtual void SetPollingTimer(bool enabled, int32_t intervalMs) = 0;
  // Called only when the state changes.
  virtual void ShowLockButton(bool shown) = 0;
  virtual void SetTrayResidency(bool on) = 0;
  // The status list cut down to the present MaxCount.
  virtual void TrimStatusList() = 0;
};

inline constexpr int kPageRenew = 0, kPageDial = 1, kPageHangup = 2, kPageMaintain = 3, kPageRedial = 4,
                     kPageDialVal = 5, kPageExpress = 6, kPageTimer = 7, kPageLaunch = 8, kPageTaskTray = 9;

// What a check refused: the page to select, the control to focus (an id of NWDUtilIds.h; 0 none)
// and the warning. AskLateDay: the day is 28 or more and the user must be asked first.
struct UtilProblem {
  int Page = -1;
  int Field = 0;
  std::string Message;
  bool AskLateDay = false;
  explicit operator bool() const { return Page >= 0 || !Message.empty() || AskLateDay; }
};

UtilValues LoadUtility(const SettingsRecord& settings, const CounterBlock& counters, const UtilRuntime& rt);

// Runs every page's check in the fixed order against a working copy of host.Settings(), then
// `laterChecks` (pages kept outside the settings record); only when all pass is the copy written
// back and are the effects applied, in order. lateDayAccepted: the user answered "No" to the day
// question. An empty result means success.
UtilProblem ApplyUtility(const UtilValues& values, UtilityHost& host, bool lateDayAccepted = false,
                         const std::function<UtilProblem()>& laterChecks = nullptr);

// The day question and the message when something unexpected fails while applying.
std::string LateDayQuestion();
std::string UnexpectedErrorMessage();

// The warning for a text the settings file cannot keep (a character code page 932 lacks), naming
// its box.
std::string UnstorableTextMessage(std::string_view label);

// ---- the pieces the window shows live -------------------------------------------------------------

// Which renewal controls are enabled for the switch and the period kind.
struct RenewEnabling {
  bool RNInterval, RenewFreq, CounterName, WhenWeek, Month, Day, Hour, Minute, Second;
};
RenewEnabling RenewControlsEnabled(bool userRenew, int rnInterval);
// The unit beside RenewFreq: "年毎" ... "分毎".
std::string FreqExpCaption(int rnInterval);

// The examples under the three format boxes.
std::string DurationExample(std::string_view format);
std::string NowExample(std::string_view format);

// Conflict between automatic connecting and the lock button: the warning to show when the box
// just ticked may not be, or nothing.
std::optional<std::string> AutoConnectConflict(bool acDalDialTicked, bool expLockTicked);
std::optional<std::string> LockButtonConflict(bool expLockTicked, bool acDalDialTicked);

}  // namespace nw
