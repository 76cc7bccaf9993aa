#pragma once
// The connection monitor: the cycle, the probe, the counters, the lock and automatic rules, the
// dial requests, the system-time watch and the notice logic. It owns the runtime state of the main
// window and reaches the world only through the interfaces of MonitorPorts.h.
//
// The main window owns one Monitor and calls:
//   start-up:   StartMonitoring() ... (window state, display mode, menus) ... CompleteStart()
//   timers:     Looker_Timer() from Looker, Lookersb_Timer() from Lookersb
//   commands:   RequestLine, LockBtnAction, ShowLockButton, ResetTodayCounter, ResetUserCounter,
//               ClearStatusList, ClearWatchedHandles, SetDefaultSet, RefreshDisplay(now, true)
//   notice:     OnNoticeLoaded / OnNoticeGo / OnNoticeNegative / OnNoticeUnloaded from NWDDialog
//   power:      OnSuspend / OnResume from the power messages
//   shut-down:  StopMonitoring() (counters and the last status line), then SaveSettings.
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "data/NWDGlobal.h"
#include "data/NWDVolumeFile.h"
#include "monitor/MonitorPorts.h"
#include "monitor/QuotaRules.h"
#include "monitor/TrafficMeter.h"
#include "monitor/TrafficSource.h"
#include "monitor/VolumeCounters.h"
#include "monitor/otkDialCtrl.h"

namespace nw {

// Elapsed milliseconds between two readings of the 32-bit tick counter, across a wrap-around.
inline uint32_t TickDifference(uint32_t newTick, uint32_t oldTick) { return newTick - oldTick; }

struct MonitorPorts {
  MonitorClock& Clock;
  InternetQuery& Internet;
  RasQuery& Ras;
  DialerProcess& Dialer;
  MonitorStore& Store;
  MonitorView& View;
  NoticeDialog& Notice;
  // The line's traffic; without one no volume is counted.
  TrafficSource* Traffic = nullptr;
};

class Monitor {
 public:
  // settings and counters are the process-wide records (NWDGlobal); the monitor reads and writes
  // them in place. programDir is where Linkpilot.exe sits.
  Monitor(SettingsRecord& settings, CounterBlock& counters, const MonitorPorts& ports, std::string programDir);
  // volume: the process's NwdUtil.vol data (VolumeGlobal()): the quota is read every cycle, the
  // counters are kept in place. Without it the monitor keeps a volume record of its own.
  Monitor(SettingsRecord& settings, CounterBlock& counters, VolumeFileData& volume, const MonitorPorts& ports,
          std::string programDir);
  Monitor(const Monitor&) = delete;
  Monitor& operator=(const Monitor&) = delete;

  // ---- start-up and shut-down -------------------------------------------------------------
  // CycleNow, the time-watch baseline, the runtime state, MonitorStart, "監視を開始しました。",
  // the title and the dial button. Runs first in the main window's load.
  void StartMonitoring();
  // The recovery of a connection a run that did not end left in its checkpoint, the start-up dial
  // (AlDalDial) and the re-anchoring of the counters to the start time. Runs last in the main
  // window's load.
  void CompleteStart();
  // Adds a running connection to the counters (saved at once, then its checkpoint goes) and writes
  // "監視を終了しました。". The caller then saves the settings. From then on the monitor is inert:
  // a cycle, request, notice or status line still arriving (a cycle that opened a notice and
  // returns after the program ended) does nothing.
  void StopMonitoring();
  bool Stopped() const { return stopped_; }

  // ---- crash and sleep safety ---------------------------------------------------------------
  // While connected a checkpoint of the running connection is written at the connection, at most
  // this often after, at each renewal or reset and at a suspend; the counters block is saved
  // whenever a renewal or reset changed the counters. Other cycles touch no file.
  static constexpr int64_t kCheckpointInterval = 60;  // seconds
  // After a resume the lock, automatic connect and a delayed redial wait this long for the
  // network to come back before dialling.
  static constexpr int64_t kResumeGrace = 20;  // seconds
  // A line found down this soon after a resume (or before it) was lost in sleep: it ends at the
  // suspend.
  static constexpr int64_t kResumeDropWindow = 10;  // seconds
  // Cycles still running this long after a suspend with no resume message: the machine is taken
  // as resumed (the message was lost, or the suspend never happened).
  static constexpr int64_t kResumeAssumedAfter = 60;  // seconds
  void OnSuspend();
  // Both resume messages may arrive; only the first after a suspend counts.
  void OnResume();
  bool WaitingForNetwork() const;

  // ---- the cycle --------------------------------------------------------------------------
  void Looker_Timer();
  void Lookersb_Timer() { Looker_Timer(); }
  void RefreshDisplay(Date now, bool force);
  // The main window is shown again: CycleNow takes the present time and everything is redrawn.
  void RefreshNow();
  void ShowAutoTitle(bool rdw);
  // The tray icon's tip as last handed to the view (the title, and the volume when it fits);
  // empty before the first title. An icon added later starts with it.
  const std::string& TrayTip() const { return trayTip_; }
  void AddItemToStatus(const std::string& sv);
  void ClearStatusList();
  // Drops the oldest lines beyond MaxCount + 1 (after MaxCount was lowered).
  void TrimStatusList();
  const std::deque<std::string>& StatusLines() const { return statusLines_; }

  // ---- probe -------------------------------------------------------------------------------
  struct ProbeResult {
    bool Ok = false;
    int32_t Connected = 0;
  };
  ProbeResult ProbeLine();
  void ClearWatchedHandles() { watchedHandles_.clear(); }
  const std::vector<RasHandle>& WatchedHandles() const { return watchedHandles_; }

  // ---- counters ----------------------------------------------------------------------------
  void ExpressAcm(int32_t agIToday, int32_t agIUser, int32_t agCIval, bool force = false);
  void CloseConnectionInCounters(Date now);
  void CheckCounterRenewal();
  void ResetTodayCounter();
  void ResetUserCounter();
  Date ComputeRenewalMoment(Date now, int32_t k) const;
  void ApplyUserCounterState();
  // Where a running connection counts from in the user counter (the settings dialog moves it).
  void SetUserStart(Date start) { userStart_ = start; }

  // ---- data volume -------------------------------------------------------------------------
  // A volume file (NwdUtil.vol or a history log's .vol) was found damaged and starts empty.
  void VolumeFileDamaged(std::string_view fileName);
  const VolumeCounters& Volume() const { return volume_; }
  // The whole running connection's volume (also across a clock set-back that split its record).
  VolumeAmount ConnectionVolume() const { return splitVolume_ + volume_.Connection(); }
  // The quota holds the line down: reached with the hang-up action and not released.
  bool QuotaHoldsLine() const;

  // ---- lock and rules ----------------------------------------------------------------------
  void LockBtnAction(bool whc);
  // Shows or hides the lock button; showing a hidden button applies the stored lock state. The
  // lock acts only while the button is shown.
  void ShowLockButton(bool shown);
  bool LockButtonShown() const { return lockShown_; }
  void ApplyLockRules();
  void NoticeExternalChange(bool lockActive);
  void ApplyTimeLimits(int32_t connectionSeconds, int32_t todaySegment, int32_t userSegment);
  void ApplyAutoConnect();
  bool RedialGuard(bool automatic);
  bool RedialDue() const;

  // ---- requests ----------------------------------------------------------------------------
  // hangUp 1 hang up, 0 dial; automatic for rules and the start-up dial.
  void RequestLine(int32_t hangUp, bool automatic);
  bool NoDefaultSetProblem() const;
  // Default connection information set menus: shown when independent dialing is on and there are
  // at least two sets; the items are the set names, the default one marked " - (標準)".
  bool DefaultSetMenuVisible() const;
  std::vector<std::string> DefaultSetMenuItems() const;
  void SetDefaultSet(int32_t index);

  // ---- system-time watch ------------------------------------------------------------------
  enum class WatchAnswer { Continue, Stop };
  WatchAnswer WatchSystemTime();
  void WatchSystemTimeAplySysTim(Date agNow, uint32_t agTick, bool agNowFLG);
  void WatchSystemTimeBackSysTim(Date agNow, uint32_t agTick, bool computeFromSaved, bool agNowFLG);
  Date ImpliedTime(uint32_t tick) const;

  // ---- notices -----------------------------------------------------------------------------
  // True when this call opened the dialog and it has been closed again.
  bool ShowNoticeDialog(const std::string& agSmian, const std::string& agSsub, int agexMood, int agacMood);
  void OnNoticeLoaded() { noticeLoaded_ = 1; }
  void OnNoticeGo();        // BtnGo: the first button's action by the action mood
  void OnNoticeNegative();  // BtnNgtv: restore the clock for action mood 2
  void OnNoticeUnloaded();
  int NoticeLoaded() const { return noticeLoaded_; }
  int NoticeButtonMood() const { return exMood_; }
  int NoticeActionMood() const { return acMood_; }

  // ---- runtime state -----------------------------------------------------------------------
  Date CycleNow() const { return cycleNow_; }
  Date MonitorStart() const { return monitorStart_; }
  int32_t LineConnected() const { return lineConnected_; }
  int16_t LockTarget() const { return lockTarget_; }
  bool RequestedByUs() const { return requestedByUs_; }
  Date ConnectionStart() const { return connectionStart_; }
  int32_t ConnectionSeconds() const { return connectionSeconds_; }
  Date LastDisconnect() const { return lastDisconnect_; }
  Date TodayStart() const { return todayStart_; }
  Date UserStart() const { return userStart_; }
  bool TimeChangePending() const { return timeChangePending_; }
  bool RedialPending() const { return marks_.RedialPending; }

  // The per-period marks of the rules, readable for the windows and tests.
  struct Marks {
    bool AdCutDone = false, AtCutDone = false, AuCutDone = false;
    bool AutoConnectDone = false, ExtConnectNoticed = false, ExtDisconnectNoticed = false;
    bool LockFailNoticed = false, LockDeviationLogged = false, RedialPending = false;
    bool DialAttemptLogged = false, HangUpAttemptLogged = false, NoDefaultSetNoticePending = false;
  };
  const Marks& RuleMarks() const { return marks_; }

  const SettingsRecord& Settings() const { return settings_; }
  const CounterBlock& Counters() const { return counters_; }

 private:
  bool ApplyProbe(const ProbeResult& probe);
  void OnConnected();
  void OnDisconnected(Date end, bool lostInSleep);
  void RecoverCrashedConnection();
  void RecoverVolume();
  // Counters a damaged settings file left negative become 0 (no running connection makes up for
  // them at start-up); true when any did.
  bool ClampStoredCounters();
  void KeepCountersSafe(Date now, bool forceCheckpoint);
  void SaveCounters();
  ConnectionCheckpoint CurrentCheckpoint(Date now) const;
  void WriteCheckpoint(Date now);
  void DropCheckpoint();
  bool LineMayHaveDroppedInSleep() const;
  void Resumed(const std::string& event);
  bool DialRulesActive() const;
  void StatusEvent(const std::string& event);  // time line + event line (three spaces)
  void StatusDetail(const std::string& detail);  // six spaces
  std::string TimeLine(Date d) const;
  void WriteActivityLine(const std::string& text);
  void DrawPosTim(const std::string& text);
  void RedrawIdleCounters();
  // Remembers the display formats; true when they changed since the last refresh.
  bool TakeDisplayFormats();
  void ResetTodayCounterAt(Date now);
  void ResetUserCounterAt(Date now);
  void RenewTodayCounter(Date now);
  void RenewUserCounter(Date now);
  // After renewals changed the counters: redrawn, and saved at once with their history records.
  void CountersRenewed(Date now);
  // One counter's history record: its seconds plus the running part from `start` to `end`,
  // never negative or overflowing.
  void RecordPeriod(LogListKind kind, Date date, int32_t seconds, Date start, Date end, int32_t count);
  // Adds the running connection up to `now` to the counters, `count` times as a connection.
  void AddRunningPart(Date now, int32_t count);
  // A clock set back while connected: the dial record ends at `before` (the old clock's time of
  // the change) and a new one opens at `after`; the time counted so far stays in the counters.
  void SplitConnectionAtClockChange(Date before, Date after);
  void AnchorCounters(Date agNow);
  // Seconds of the running connection from `start` to `now`: 0 while disconnected, never negative.
  int32_t RunningPart(Date start, Date now) const;
  // The present time as the monitor counts it: the time the ticks imply while a clock change is
  // not settled, the clock's time otherwise.
  Date PresentTime();
  bool LineDeviates() const;
  std::string LimitText(int32_t limitSeconds) const;
  void DialDefaultSetNotice(bool hangUp);
  void TakeNoticeMoods(int agexMood, int agacMood);
  // Volume: the cycle's reading, the texts of the main window and tray tip, the quota rules.
  void CountTraffic();
  void RefreshVolumeTexts(Date now, bool force);
  void UpdateTrayTip(bool force);
  void ApplyQuota();
  void SaveVolume();
  void NoteVolumeWrite(const VolumeRecordWrite& w, std::string_view fileName);
  void RecordDialVolume(Date dialStart, VolumeAmount amount);
  static std::string SentReceivedLine(VolumeAmount a);
  void RecordCounterVolume(LogListKind kind, Date resetDate, VolumeAmount amount);

  VolumeFileData ownVolume_;  // only when no volume record was given
  SettingsRecord& settings_;
  CounterBlock& counters_;
  MonitorClock& clock_;
  InternetQuery& internet_;
  RasQuery& ras_;
  MonitorStore& store_;
  MonitorView& view_;
  NoticeDialog& notice_;
  otkDialCtrl dialCtrl_;

  Date cycleNow_ = 0;
  Date monitorStart_ = 0;
  bool stopped_ = false;
  int32_t lineConnected_ = 0;
  int16_t lockTarget_ = 1;
  bool requestedByUs_ = false;
  bool lockShown_ = false;
  std::vector<RasHandle> watchedHandles_;
  RasConnectionList rasList_;  // reused by every probe

  Date connectionStart_ = 0;
  int32_t connectionSeconds_ = 0;
  Date lastDisconnect_ = 0;
  std::string posTimText_;
  struct RefreshKey {
    int64_t Second = -1;
    int Mode = -1;
    int32_t Line = -1, TodaySeconds = 0, TodayCount = 0, UserSeconds = 0, UserCount = 0;
    bool UserRenew = false;
    bool operator==(const RefreshKey&) const = default;
  };
  RefreshKey lastRefresh_;
  // The formats the displayed texts were last made with.
  struct DisplayFormats {
    std::string Ival, Win, Now;
    bool WinVis = false;
    bool Taken = false;
  };
  DisplayFormats shownFormats_;
  std::string caption_;
  bool captionSet_ = false;

  Date todayStart_ = 0;
  Date userStart_ = 0;
  struct BoxTexts {
    std::string Time, Count;
    bool Drawn = false;
    bool Grey = false;
  };
  BoxTexts boxes_[2];

  Marks marks_;

  Date timeBaseNow_ = 0;
  uint32_t timeBaseTick_ = 0;
  bool timeChangePending_ = false;
  Date savedBaseNow_ = 0;
  uint32_t savedBaseTick_ = 0;
  bool timeoutAsked_ = false;

  int noticeLoaded_ = 0;
  bool noticeOpening_ = false;  // the cycle before a dialog opens is running
  struct PendingNotice {
    std::string Main, Sub;
    int ExMood = 0, AcMood = -1;
  };
  PendingNotice opening_;
  int exMood_ = 0;
  int acMood_ = -1;

  std::deque<std::string> statusLines_;

  CounterBlock savedCounters_;  // what the settings file's counters block holds
  bool dialRecordOpen_ = false;
  Date dialRecordStart_ = 0;  // the open dial record's start (a clock set-back opens a new one)
  bool checkpointWritten_ = false;
  bool checkpointFailed_ = false;  // said once until a write succeeds again
  ConnectionCheckpoint lastCheckpoint_;
  enum class Power { Awake, Suspended, Resumed };
  Power power_ = Power::Awake;
  Date suspendAt_ = 0;
  Date resumeAt_ = 0;

  VolumeFileData& volumeData_;
  VolumeCounters volume_;
  TrafficSource* traffic_;
  TrafficMeter meter_;
  VolumeAmount splitVolume_;      // the running connection's volume before a clock set-back
  bool volumeMeasured_ = false;   // the source answered during this connection
  bool volumeUserOn_ = false;     // UserRenew as the volume counters last knew it
  VolumeFileData savedVolume_;    // what NwdUtil.vol holds
  bool volumeSaveFailed_ = false; // said once until a save succeeds again
  // The sizes as shown (three digits): most cycles' bytes change none of them.
  struct VolumeParts {
    int32_t Line = -1;
    bool UserRenew = false;
    bool Counted = false;
    uint64_t Connection = 0, Period = 0, Allowance = 0;  // SizeTextKey of each
    bool operator==(const VolumeParts&) const = default;
  };
  VolumeParts volumeParts_;
  // The quota as last checked: below quotaNextAt_ with the same settings and marks nothing is due.
  QuotaSettings quotaSeen_;
  QuotaMarks quotaMarksSeen_;
  uint64_t quotaNextAt_ = 0;
  bool quotaChecked_ = false;
  bool volumeDrawn_ = false;
  std::string volumeText_, allowanceText_;
  std::string tipVolume_;  // the volume part of the tray tip
  std::string trayTip_;    // the tip last set
  bool trayTipSet_ = false;
};

}  // namespace nw
