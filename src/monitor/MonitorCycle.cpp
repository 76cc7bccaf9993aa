// The monitor cycle, the transition check, the display refresh, the title and the status list.
#include <algorithm>
#include <utility>

#include "classlib/otkDateFormat.h"
#include "monitor/Monitor.h"

namespace nw {

namespace {
constexpr const char* kIndent1 = "   ";
constexpr const char* kIndent2 = "      ";
}  // namespace

Monitor::Monitor(SettingsRecord& settings, CounterBlock& counters, const MonitorPorts& ports,
                 std::string programDir)
    : Monitor(settings, counters, ownVolume_, ports, std::move(programDir)) {}

Monitor::Monitor(SettingsRecord& settings, CounterBlock& counters, VolumeFileData& volume, const MonitorPorts& ports,
                 std::string programDir)
    : settings_(settings),
      counters_(counters),
      clock_(ports.Clock),
      internet_(ports.Internet),
      ras_(ports.Ras),
      store_(ports.Store),
      view_(ports.View),
      notice_(ports.Notice),
      dialCtrl_(ports.Dialer, std::move(programDir)),
      volumeData_(volume),
      volume_(volume.Counters),
      traffic_(ports.Traffic) {}

void Monitor::StartMonitoring() {
  cycleNow_ = clock_.Now();
  timeBaseNow_ = cycleNow_;
  timeBaseTick_ = clock_.Tick();
  lineConnected_ = 0;
  watchedHandles_.clear();
  lockTarget_ = 1;
  requestedByUs_ = false;
  monitorStart_ = cycleNow_;
  savedCounters_ = counters_;
  savedVolume_ = volumeData_;
  volumeUserOn_ = settings_.UserRenew;
  StatusEvent("監視を開始しました。");
  ShowAutoTitle(false);
  view_.SetDialButton(BmpDialDisconnected, "ﾀﾞｲｱﾙｱｯﾌﾟ接続の開始");
}

void Monitor::CompleteStart() {
  RecoverCrashedConnection();
  RecoverVolume();
  if (ClampStoredCounters()) StatusEvent("保存されていたｶｳﾝﾀの値が不正なため、0にしました。");
  if (settings_.AlDalDial) RequestLine(0, true);
  // The start-up dial may have held a notice open for a while: the baseline pairs a time with the
  // tick read together with it, never the last cycle's time with a fresh tick.
  cycleNow_ = clock_.Now();
  WatchSystemTimeAplySysTim(cycleNow_, clock_.Tick(), false);
  SaveVolume();
}

void Monitor::StopMonitoring() {
  if (stopped_) return;
  cycleNow_ = PresentTime();
  if (lineConnected_) {
    CloseConnectionInCounters(cycleNow_);
    // The dial record stays without its end, as the time counters leave it; its volume is known.
    const VolumeAmount part = volume_.CloseConnection(settings_.UserRenew);
    if (dialRecordOpen_ && volumeMeasured_) RecordDialVolume(dialRecordStart_, part);
  }
  // The checkpoint may only go once the counters on disk hold the connection.
  if (checkpointWritten_) {
    SaveCounters();
    DropCheckpoint();
  }
  SaveVolume();
  StatusEvent("監視を終了しました。");
  stopped_ = true;
}

void Monitor::Looker_Timer() {
  if (stopped_) return;
  cycleNow_ = clock_.Now();
  if (WatchSystemTime() == WatchAnswer::Stop) return;
  if (power_ == Power::Suspended && SecondsBetween(suspendAt_, cycleNow_) >= kResumeAssumedAfter)
    Resumed("ｽﾘｰﾌﾟ状態からの復帰を通知されないため、復帰したものとみなします。");
  // Around a sleep the probe comes before the renewals: a line lost in sleep ends at the suspend,
  // in the period it was lost in. While the line may still turn out lost, the renewals wait: they
  // would count the sleep into the old period.
  const bool probeFirst = LineMayHaveDroppedInSleep();
  if (probeFirst && !ApplyProbe(ProbeLine())) return;
  if (!LineMayHaveDroppedInSleep()) CheckCounterRenewal();
  if (!probeFirst && !ApplyProbe(ProbeLine())) return;
  CountTraffic();
  KeepCountersSafe(cycleNow_, false);
  RefreshDisplay(cycleNow_, false);
  ApplyQuota();
  if (!WaitingForNetwork()) ApplyLockRules();
}

bool Monitor::ApplyProbe(const ProbeResult& probe) {
  if (!probe.Ok) return false;
  if (probe.Connected == lineConnected_) return true;
  const bool lostInSleep = !probe.Connected && LineMayHaveDroppedInSleep();
  lineConnected_ = probe.Connected;
  AddItemToStatus(TimeLine(cycleNow_));
  if (lineConnected_) {
    OnConnected();
  } else if (lostInSleep) {
    // Never before a part of the connection that a renewal already counted.
    Date end = std::max({suspendAt_, dialRecordStart_, todayStart_});
    if (settings_.UserRenew) end = std::max(end, userStart_);
    OnDisconnected(end, true);
  } else {
    OnDisconnected(cycleNow_, false);
  }
  return true;
}

void Monitor::OnConnected() {
  AddItemToStatus(std::string(kIndent1) + "接続状態になりました。");
  connectionStart_ = cycleNow_;
  todayStart_ = cycleNow_;
  userStart_ = cycleNow_;
  if (settings_.WayWatchEn == 1)
    StatusDetail("設定:" + std::to_string(settings_.WatchEntriesLast() + 1) + "種のｴﾝﾄﾘを監視");
  else
    StatusDetail("方法:ﾀﾞｲｱﾙｱｯﾌﾟ");
  view_.SetDialButton(BmpDialConnected, "ﾀﾞｲｱﾙｱｯﾌﾟ接続を切断");
  view_.SetTrayIcon(IconTrayConnected);
  if (settings_.LDialSave) store_.StartDialRecord(monitorStart_, cycleNow_);
  dialRecordOpen_ = settings_.LDialSave;
  dialRecordStart_ = cycleNow_;
  volume_.StartConnection(cycleNow_);
  splitVolume_ = {};
  volumeMeasured_ = false;
  meter_.Restart();
  if (traffic_) traffic_->Restart();
  KeepCountersSafe(cycleNow_, true);
  marks_.AutoConnectDone = false;
  marks_.ExtConnectNoticed = false;
  marks_.LockFailNoticed = false;
  marks_.LockDeviationLogged = false;
  marks_.DialAttemptLogged = false;
  requestedByUs_ = false;
}

void Monitor::OnDisconnected(Date end, bool lostInSleep) {
  AddItemToStatus(std::string(kIndent1) + "切断状態になりました。");
  CloseConnectionInCounters(end);
  const VolumeAmount part = volume_.CloseConnection(settings_.UserRenew);
  connectionSeconds_ = static_cast<int32_t>(SecondsBetween(connectionStart_, end));
  StatusDetail("接続時間: " + FormatDuration(connectionSeconds_, settings_.FormatIval));
  if (volumeMeasured_) StatusDetail(SentReceivedLine(splitVolume_ + part));
  // Said even when the drop is seen in the very second of the suspend: the user should know
  // why the connection ends where it does.
  if (lostInSleep) StatusDetail("ｽﾘｰﾌﾟ中に切断されたため、ｽﾘｰﾌﾟ開始時までを記録しました。");
  ShowAutoTitle(false);
  const int mode = view_.DisplayMode();
  if (mode == 1)
    ExpressAcm(0, 0, 0);
  else if (mode == 2)
    view_.ExpressAcmComp(0, 0, 0);
  view_.SetDialButton(BmpDialDisconnected, "ﾀﾞｲｱﾙｱｯﾌﾟ接続の開始");
  view_.SetTrayIcon(IconTrayDisconnected);
  SaveCounters();
  if (settings_.LDialSave) store_.EndDialRecord(end);
  if (settings_.LDialSave && dialRecordOpen_ && volumeMeasured_) RecordDialVolume(dialRecordStart_, part);
  dialRecordOpen_ = false;
  splitVolume_ = {};
  DropCheckpoint();
  marks_.AdCutDone = false;
  marks_.ExtDisconnectNoticed = false;
  marks_.LockFailNoticed = false;
  marks_.LockDeviationLogged = false;
  marks_.HangUpAttemptLogged = false;
  requestedByUs_ = false;
  lastDisconnect_ = cycleNow_;
}

void Monitor::RefreshDisplay(Date now, bool force) {
  const int mode = view_.DisplayMode();
  // With a timer faster than a second most cycles fall into the same second: nothing shown can
  // have changed then, so the texts are not formatted again. The formats count too: the settings
  // dialogs change them while the program runs.
  const RefreshKey key{ToSeconds(now), mode, lineConnected_, counters_.TodaySeconds, counters_.TodayCount,
                       counters_.UserSeconds, counters_.UserCount, settings_.UserRenew};
  const bool formatsChanged = TakeDisplayFormats();
  const bool unchanged = !force && !formatsChanged && key == lastRefresh_;
  lastRefresh_ = key;
  if (lineConnected_) {
    connectionSeconds_ = static_cast<int32_t>(SecondsBetween(connectionStart_, now));
    const auto today = static_cast<int32_t>(SecondsBetween(todayStart_, now));
    const auto user = static_cast<int32_t>(SecondsBetween(userStart_, now));
    if (!unchanged) {
      if (mode == 1) {
        ExpressAcm(today, user, 1, force);
        DrawPosTim("接続時間: " + FormatDuration(connectionSeconds_, settings_.FormatIval));
      } else if (mode == 2) {
        view_.ExpressAcmComp(today, user, 1);
      }
      ShowAutoTitle(false);
      RefreshVolumeTexts(now, force);
    }
    ApplyTimeLimits(connectionSeconds_, today, user);
    return;
  }
  if (mode == 1 && !unchanged) {
    if (force || formatsChanged) ExpressAcm(0, 0, 0, force);
    DrawPosTim("現在時刻: " + FormatDate(now, settings_.FormatNow));
  } else if (mode == 2 && formatsChanged) {
    view_.ExpressAcmComp(0, 0, 0);
  }
  // The title shows the last connection's length while disconnected.
  if (formatsChanged) ShowAutoTitle(false);
  if (!unchanged) RefreshVolumeTexts(now, force);
}

bool Monitor::TakeDisplayFormats() {
  DisplayFormats& f = shownFormats_;
  if (f.Taken && f.Ival == settings_.FormatIval && f.Win == settings_.FormatWin &&
      f.WinVis == settings_.FormatWinVis && f.Now == settings_.FormatNow)
    return false;
  f = {settings_.FormatIval, settings_.FormatWin, settings_.FormatNow, settings_.FormatWinVis, true};
  return true;
}

void Monitor::RefreshNow() {
  cycleNow_ = PresentTime();
  RefreshDisplay(cycleNow_, true);
}

void Monitor::DrawPosTim(const std::string& text) {
  if (text == posTimText_) return;
  posTimText_ = text;
  view_.DrawPosTim(posTimText_);
}

void Monitor::ShowAutoTitle(bool rdw) {
  std::string title = lineConnected_ ? "接続状態" : "切断状態";
  if (settings_.FormatWinVis) {
    title += ' ';
    title += FormatDuration(connectionSeconds_, settings_.FormatWin);
  }
  if (!rdw && captionSet_ && title == caption_) return;
  caption_ = std::move(title);
  captionSet_ = true;
  view_.SetMainCaption(caption_);
  UpdateTrayTip(rdw);
  if (view_.DisplayMode() == 2)
    view_.SetCompactCaption(lockShown_ && settings_.LockState ? caption_ + " (ﾛｯｸ)" : caption_);
}

void Monitor::AddItemToStatus(const std::string& sv) {
  if (stopped_) return;
  const auto maxCount = static_cast<size_t>(settings_.MaxCount < 1 ? 1 : settings_.MaxCount);
  if (statusLines_.size() > maxCount) {
    statusLines_.pop_front();
    view_.StatusRemoveFirst();
  }
  statusLines_.push_back(sv);
  view_.StatusAppend(sv);
  WriteActivityLine(sv);
}

void Monitor::TrimStatusList() {
  const auto maxCount = static_cast<size_t>(settings_.MaxCount < 1 ? 1 : settings_.MaxCount);
  while (statusLines_.size() > maxCount + 1) {
    statusLines_.pop_front();
    view_.StatusRemoveFirst();
  }
}

void Monitor::ClearStatusList() {
  statusLines_.clear();
  view_.StatusClear();
}

void Monitor::WriteActivityLine(const std::string& text) {
  if (!settings_.LoggingFLG) return;
  if (store_.AppendActivityLine(settings_.LogFileAddress, text)) return;
  // Switched off before the notice opens, so the notice's own cycles do not fail again.
  settings_.LoggingFLG = false;
  settings_.LogFileAddress.clear();
  ShowNoticeDialog("ﾛｸﾞﾌｧｲﾙの保存場所が無効なため、ﾛｸﾞを保存できませんでした。",
                   "ﾛｸﾞﾌｧｲﾙの保存場所が無効なため、「ﾛｸﾞ」機能の設定を初期化しました。", 0, -1);
}

std::string Monitor::TimeLine(Date d) const { return FormatDate(d, settings_.FormatNow); }

void Monitor::StatusEvent(const std::string& event) {
  AddItemToStatus(TimeLine(cycleNow_));
  AddItemToStatus(kIndent1 + event);
}

void Monitor::StatusDetail(const std::string& detail) { AddItemToStatus(kIndent2 + detail); }

}  // namespace nw
