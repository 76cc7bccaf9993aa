// What keeps counted time safe when the program or the machine stops without a shut-down: the
// checkpoint of the running connection, its recovery at the next start, and sleep.
#include "classlib/otkDateFormat.h"
#include "monitor/Monitor.h"

namespace nw {

namespace {
int32_t Secs(Date from, Date to) { return static_cast<int32_t>(SecondsBetween(from, to)); }
}  // namespace

// NwdUtil.vol goes with the counters block and the checkpoint, so the three agree after a crash.
void Monitor::SaveCounters() {
  store_.SaveCounterBlock(counters_);
  savedCounters_ = counters_;
  SaveVolume();
}

void Monitor::KeepCountersSafe(Date now, bool forceCheckpoint) {
  if (stopped_) return;
  // A renewal or reset wrote its history record: the cleared counters go to disk with it, or the
  // next start would record the same period again.
  if (counters_ != savedCounters_) SaveCounters();
  if (!lineConnected_) return;
  ConnectionCheckpoint same = CurrentCheckpoint(lastCheckpoint_.Written);
  const bool moved = !checkpointWritten_ || same != lastCheckpoint_;
  const int64_t age = SecondsBetween(lastCheckpoint_.Written, now);
  // While the line may have been lost in sleep, the counted part stays at the suspend.
  const bool due = (age >= kCheckpointInterval || age < 0) && !LineMayHaveDroppedInSleep();
  if (forceCheckpoint || moved || due) WriteCheckpoint(now);
}

ConnectionCheckpoint Monitor::CurrentCheckpoint(Date now) const {
  return {now, monitorStart_, dialRecordStart_, todayStart_, userStart_, dialRecordOpen_, counters_};
}

void Monitor::WriteCheckpoint(Date now) {
  // A failed write is tried again one interval later, not in every cycle.
  lastCheckpoint_ = CurrentCheckpoint(now);
  checkpointWritten_ = true;  // an older file may be there in any case
  SaveVolume();
  const bool ok = store_.SaveCheckpoint(lastCheckpoint_);
  if (ok || checkpointFailed_) {
    checkpointFailed_ = !ok;
    return;
  }
  checkpointFailed_ = true;
  StatusEvent("接続中の記録を保存できませんでした。");
  StatusDetail("NwdRun.dat に書き込めないため、" + std::to_string(kCheckpointInterval) + "秒後に再試行します。");
}

bool Monitor::ClampStoredCounters() {
  bool clamped = false;
  for (int32_t* v : {&counters_.TodaySeconds, &counters_.TodayCount, &counters_.UserSeconds, &counters_.UserCount}) {
    if (*v >= 0) continue;
    *v = 0;
    clamped = true;
  }
  return clamped;
}

void Monitor::DropCheckpoint() {
  if (!checkpointWritten_) return;
  store_.RemoveCheckpoint();
  checkpointWritten_ = false;
}

void Monitor::RecoverCrashedConnection() {
  ConnectionCheckpoint cp;
  const bool found = store_.LoadCheckpoint(cp);
  // Counters other than the checkpoint's mean the settings file was written after it: the
  // connection was closed and saved, only the checkpoint's removal was lost.
  if (!found || cp.Counters != counters_) {
    store_.RemoveCheckpoint();  // also a damaged or foreign file
    return;
  }
  // The part up to the checkpoint, as a disconnection then would have counted it. Renewals that
  // passed since are the start-up re-anchoring's, which follows and writes their records.
  todayStart_ = cp.TodayStart;
  userStart_ = cp.UserStart;
  CloseConnectionInCounters(cp.Written);
  if (cp.DialRecordOpen) store_.FinishDialRecord(cp.ConnectionStart, cp.Written);
  SaveCounters();
  store_.RemoveCheckpoint();
  connectionSeconds_ = Secs(cp.ConnectionStart, cp.Written);
  StatusEvent("前回の監視は正常に終了しませんでした。");
  StatusDetail("最終記録: " + TimeLine(cp.Written));
  StatusDetail("復元した接続時間: " + FormatDuration(connectionSeconds_, settings_.FormatIval));
  ShowAutoTitle(false);
}

// The volume of a connection a run that did not end left in NwdUtil.vol: its periods are first
// matched with the time counters' (one file may have been saved without the other), then its part
// as last saved is closed into them and into its dial record. Renewals since are the re-anchoring's.
void Monitor::RecoverVolume() {
  volume_.AlignPeriods(counters_);
  const Date dialStart = volume_.Block().ConnectionStart;
  const VolumeAmount part = volume_.Connection();
  if (volume_.RecoverRunning(settings_.UserRenew) && settings_.LDialSave && !part.Empty())
    RecordDialVolume(dialStart, part);
}

// ---- sleep ------------------------------------------------------------------------------------

void Monitor::OnSuspend() {
  if (stopped_ || power_ == Power::Suspended) return;
  // The monitor's own time, like every event: an unsettled clock change is not counted.
  cycleNow_ = PresentTime();
  // A period that ended since the last cycle is closed first: the checkpoint belongs to its day.
  CheckCounterRenewal();
  power_ = Power::Suspended;
  suspendAt_ = cycleNow_;
  // The machine may never wake (a battery runs out): the connection is safe up to here.
  KeepCountersSafe(cycleNow_, true);
  StatusEvent("ｽﾘｰﾌﾟ状態に移行します。");
}

void Monitor::OnResume() {
  if (stopped_ || power_ != Power::Suspended) return;
  cycleNow_ = PresentTime();
  Resumed("ｽﾘｰﾌﾟ状態から復帰しました。");
}

void Monitor::Resumed(const std::string& event) {
  power_ = Power::Resumed;
  resumeAt_ = cycleNow_;
  StatusEvent(event);
  if (DialRulesActive())
    StatusDetail("ﾈｯﾄﾜｰｸの復帰を待つため、ﾛｯｸ機能と自動接続は" + std::to_string(kResumeGrace) + "秒後に再開します。");
}

bool Monitor::DialRulesActive() const {
  return (lockShown_ && settings_.LockState) || settings_.AcDalDial || settings_.AcDalDialog || marks_.RedialPending;
}

bool Monitor::WaitingForNetwork() const {
  if (power_ == Power::Suspended) return true;
  if (power_ != Power::Resumed) return false;
  const int64_t since = SecondsBetween(resumeAt_, cycleNow_);
  return since >= 0 && since < kResumeGrace;
}

bool Monitor::LineMayHaveDroppedInSleep() const {
  if (!lineConnected_ || connectionStart_ > suspendAt_) return false;
  if (power_ == Power::Suspended) return true;
  if (power_ != Power::Resumed) return false;
  const int64_t since = SecondsBetween(resumeAt_, cycleNow_);
  return since >= 0 && since <= kResumeDropWindow;
}

}  // namespace nw
