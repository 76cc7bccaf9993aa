// The system-time watch: the clock must move with the tick counter; a jump is announced, accepted
// or undone, and until then the monitor runs on the time the ticks imply.
#include <algorithm>
#include <cstdlib>

#include "classlib/otkDateFormat.h"
#include "monitor/Monitor.h"

namespace nw {

namespace {
constexpr int64_t kTolerance = 10;  // seconds the clock may differ from the ticks
}

Date Monitor::ImpliedTime(uint32_t tick) const {
  return AddSeconds(savedBaseNow_, TickDifference(tick, savedBaseTick_) / 1000);
}

Monitor::WatchAnswer Monitor::WatchSystemTime() {
  const uint32_t t = clock_.Tick();
  if (!timeChangePending_) {
    const int64_t clock = SecondsBetween(timeBaseNow_, cycleNow_);
    const int64_t ticks = TickDifference(t, timeBaseTick_) / 1000;
    if (clock >= 0 && std::llabs(clock - ticks) <= kTolerance) {
      timeBaseNow_ = cycleNow_;
      timeBaseTick_ = t;
      return WatchAnswer::Continue;
    }
    timeChangePending_ = true;
    savedBaseNow_ = timeBaseNow_;
    savedBaseTick_ = timeBaseTick_;
    timeoutAsked_ = false;
    if (settings_.SyCngDlg == 1) {
      const std::string sub = "Orvin.T.K. NetWard は、" + std::to_string(settings_.SyTimeOut) +
                              " 秒後にｼｽﾃﾑ時刻の変更を" + (settings_.SyOutDlg == 0 ? "適用します。" : "元に戻します。");
      if (ShowNoticeDialog("ｼｽﾃﾑ時刻の変更を感知しました。", sub, 0, -1)) return WatchAnswer::Stop;
    } else if (settings_.SyCngDlg == 2) {
      if (ShowNoticeDialog("ｼｽﾃﾑ時刻の変更を感知しました。",
                           "ｼｽﾃﾑ時刻の変更を適用しますか?／ｼｽﾃﾑ時刻の変更を元に戻しますか?", 2, 2))
        return WatchAnswer::Stop;
    }
    // The notice's own cycles may already have settled the change.
    if (!timeChangePending_) return WatchAnswer::Continue;
  }
  const Date implied = ImpliedTime(t);
  if (std::llabs(SecondsBetween(implied, cycleNow_)) <= kTolerance) {
    WatchSystemTimeAplySysTim(cycleNow_, t, false);
    return WatchAnswer::Continue;
  }
  const int64_t elapsed = TickDifference(t, savedBaseTick_) / 1000;
  if (settings_.SyTimeOut > elapsed || timeoutAsked_) {
    cycleNow_ = implied;
    return WatchAnswer::Continue;
  }
  switch (settings_.SyOutDlg) {
    case 0:
      WatchSystemTimeAplySysTim(cycleNow_, t, false);
      return WatchAnswer::Continue;
    case 1:
      cycleNow_ = implied;
      WatchSystemTimeBackSysTim(implied, t, false, false);
      return WatchAnswer::Continue;
    default:
      timeoutAsked_ = true;
      if (ShowNoticeDialog("ｼｽﾃﾑ時刻の変更による修正時間をﾀｲﾑｱｳﾄしました。",
                           "ｼｽﾃﾑ時刻の変更を適用しますか?／ｼｽﾃﾑ時刻の変更を元に戻しますか?", 2, 2))
        return WatchAnswer::Stop;
      cycleNow_ = implied;
      return WatchAnswer::Continue;
  }
}

Date Monitor::PresentTime() { return timeChangePending_ ? ImpliedTime(clock_.Tick()) : clock_.Now(); }

void Monitor::WatchSystemTimeAplySysTim(Date agNow, uint32_t agTick, bool agNowFLG) {
  // The moment of acceptance on the clock the monitor ran on until now.
  const Date before = timeChangePending_ ? ImpliedTime(agTick) : agNow;
  timeChangePending_ = false;
  timeBaseNow_ = agNow;
  timeBaseTick_ = agTick;
  // Set back: the connection's record and counted time cannot run on across the change.
  if (lineConnected_ && SecondsBetween(agNow, before) > kTolerance) SplitConnectionAtClockChange(before, agNow);
  // A clock set back would leave these after the present: every duration counted from them would
  // run negative, and the redial guard would wait for the whole set-back.
  connectionStart_ = std::min(connectionStart_, agNow);
  todayStart_ = std::min(todayStart_, agNow);
  userStart_ = std::min(userStart_, agNow);
  lastDisconnect_ = std::min(lastDisconnect_, agNow);
  AnchorCounters(agNow);
  KeepCountersSafe(agNow, false);
  if (agNowFLG) RefreshDisplay(agNow, true);
}

void Monitor::WatchSystemTimeBackSysTim(Date agNow, uint32_t agTick, bool computeFromSaved, bool agNowFLG) {
  timeChangePending_ = false;
  if (computeFromSaved) agNow = ImpliedTime(agTick);
  if (!clock_.SetSystemDateTime(agNow)) {
    // Without the right to set the clock the change stays: say so once and take the clock as it is,
    // otherwise the watch would find the same jump again and again.
    AddItemToStatus(TimeLine(agNow));
    AddItemToStatus("   ｼｽﾃﾑ時刻を元に戻せませんでした。");
    // Time and tick read together: a notice opened by the status lines may have held this up.
    const Date real = clock_.Now();
    cycleNow_ = real;
    WatchSystemTimeAplySysTim(real, clock_.Tick(), agNowFLG);
    return;
  }
  timeBaseNow_ = agNow;
  timeBaseTick_ = agTick;
  if (agNowFLG) RefreshDisplay(agNow, true);
}

}  // namespace nw
