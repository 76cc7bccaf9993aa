// The lock, the outside-change notices, the time limits, automatic connect and the redial guard.
#include "classlib/otkDateFormat.h"
#include "monitor/Monitor.h"

namespace nw {

namespace {
constexpr const char* kNoSetHangUp = "しかし、標準の接続情報保存ｾｯﾄがないため、ﾀﾞｲｱﾙｱｯﾌﾟ接続を切断できません。";
}  // namespace

void Monitor::LockBtnAction(bool whc) {
  if (whc) {
    view_.SetLockButton(BmpLockOn, "ﾀﾞｲｱﾙｱｯﾌﾟ接続をﾛｯｸ中");
    lockTarget_ = lineConnected_ ? 0 : 1;
    requestedByUs_ = false;
  } else {
    view_.SetLockButton(BmpLockOff, "ﾀﾞｲｱﾙｱｯﾌﾟ接続はﾛｯｸされていません");
  }
  settings_.LockState = whc;
  // The compact window's caption carries the lock.
  if (view_.DisplayMode() == 2) ShowAutoTitle(true);
}

void Monitor::ShowLockButton(bool shown) {
  // Showing it again must not reset the lock target.
  if (shown == lockShown_) return;
  lockShown_ = shown;
  if (shown) LockBtnAction(settings_.LockState);
}

bool Monitor::LineDeviates() const {
  return (lineConnected_ && lockTarget_ == 1) || (!lineConnected_ && lockTarget_ == 0);
}

void Monitor::ApplyLockRules() {
  if (lockShown_) {
    if (settings_.LockState && LineDeviates()) {
      if (!marks_.LockDeviationLogged) {
        marks_.LockDeviationLogged = true;
        StatusEvent(std::string("ﾛｯｸ機能が") + (lineConnected_ ? "接続" : "切断") + "状態を感知しました。" +
                    (lineConnected_ ? " - 切断維持" : " - 接続維持"));
      }
      NoticeExternalChange(true);
      if (!NoDefaultSetProblem()) {
        RequestLine(lockTarget_, true);
      } else if (!marks_.LockFailNoticed) {
        marks_.LockFailNoticed = true;
        const std::string sub = std::string("標準の接続情報保存ｾｯﾄがないため、") +
                                (lockTarget_ == 0 ? "ﾀﾞｲｱﾙｱｯﾌﾟ接続を開始できません。" : "ﾀﾞｲｱﾙｱｯﾌﾟ接続を切断できません。");
        if (ShowNoticeDialog("ﾛｯｸ機能がｵﾝのため、接続／切断の状態を維持しようとしましたが、", sub, 0, -1)) return;
      }
    } else if (!settings_.LockState && (settings_.CngConnLockOffFLG || settings_.CngDisconnLockOffFLG) &&
               LineDeviates()) {
      NoticeExternalChange(false);
    }
  }
  ApplyAutoConnect();
}

void Monitor::NoticeExternalChange(bool lockActive) {
  if (requestedByUs_) return;
  if (lineConnected_) {
    const bool flag = lockActive ? settings_.CngConnLockOnFLG : settings_.CngConnLockOffFLG;
    if (!flag || marks_.ExtConnectNoticed) return;
    marks_.ExtConnectNoticed = true;
    ShowNoticeDialog("外部の接続試行により接続状態への変化を感知しました。",
                     lockActive ? "ﾛｯｸ機能がｵﾝにより、自動切断を試行しました。"
                                : "ﾛｯｸ機能がｵﾌのため、接続／切断の状態は維持されていません。",
                     0, -1);
  } else {
    const bool flag = lockActive ? settings_.CngDisconnLockOnFLG : settings_.CngDisconnLockOffFLG;
    if (!flag || marks_.ExtDisconnectNoticed) return;
    marks_.ExtDisconnectNoticed = true;
    ShowNoticeDialog("外部の切断試行により切断状態への変化を感知しました。",
                     lockActive ? "ﾛｯｸ機能がｵﾝにより、自動接続を試行しました。"
                                : "ﾛｯｸ機能がｵﾌのため、接続／切断の状態は維持されていません。",
                     0, -1);
  }
}

std::string Monitor::LimitText(int32_t limitSeconds) const {
  return FormatDuration(limitSeconds, settings_.FormatIval) + " を超えました。";
}

void Monitor::ApplyTimeLimits(int32_t connectionSeconds, int32_t todaySegment, int32_t userSegment) {
  bool hungUp = false;
  auto apply = [&](bool dialog, bool hangUp, bool& done, const std::string& mainText) {
    if (NoDefaultSetProblem()) {
      done = true;
      ShowNoticeDialog(mainText, kNoSetHangUp, 0, -1);
      return;
    }
    if (hangUp && !hungUp) {
      RequestLine(1, true);
      hungUp = true;
    }
    if (dialog) {
      done = true;
      if (hangUp)
        ShowNoticeDialog(mainText, "ﾀﾞｲｱﾙｱｯﾌﾟ接続の切断を試行しました。", 0, -1);
      else
        ShowNoticeDialog(mainText, "ﾀﾞｲｱﾙｱｯﾌﾟ接続を切断しますか?", 1, 0);
    }
  };
  const SettingsRecord& s = settings_;
  if ((s.AdCutDialog || s.AdCutHangup) && !marks_.AdCutDone && s.AdCutTime < connectionSeconds)
    apply(s.AdCutDialog, s.AdCutHangup, marks_.AdCutDone, "接続開始からの接続時間が " + LimitText(s.AdCutTime));
  if ((s.AtCutDialog || s.AtCutHangup) && !marks_.AtCutDone &&
      int64_t{s.AtCutTime} < int64_t{todaySegment} + counters_.TodaySeconds)
    apply(s.AtCutDialog, s.AtCutHangup, marks_.AtCutDone,
          "\"今日\" ｶｳﾝﾀの累積接続時間が " + LimitText(s.AtCutTime));
  if ((s.AuCutDialog || s.AuCutHangup) && !marks_.AuCutDone &&
      int64_t{s.AuCutTime} < int64_t{userSegment} + counters_.UserSeconds)
    apply(s.AuCutDialog, s.AuCutHangup, marks_.AuCutDone,
          "\"" + s.CounterName + "\" ｶｳﾝﾀの累積接続時間が " + LimitText(s.AuCutTime));
}

void Monitor::ApplyAutoConnect() {
  if ((!settings_.AcDalDialog && !settings_.AcDalDial) || lineConnected_) return;
  if (NoDefaultSetProblem()) {
    if (marks_.AutoConnectDone) return;
    marks_.AutoConnectDone = true;
    if (settings_.AcDalDial)
      ShowNoticeDialog("ﾀﾞｲｱﾙｱｯﾌﾟ接続が切断された場合、接続する設定になっていますが、",
                       "標準の接続情報保存ｾｯﾄがないため、ﾀﾞｲｱﾙｱｯﾌﾟ接続を開始できません。", 0, -1);
    else
      ShowNoticeDialog("ﾀﾞｲｱﾙｱｯﾌﾟ接続が切断された場合、ﾀﾞｲｱﾛｸﾞで告知する設定になっています。",
                       "しかし、標準の接続情報保存ｾｯﾄがないため、ﾀﾞｲｱﾙｱｯﾌﾟ接続は開始できません。", 0, -1);
    return;
  }
  if (settings_.AcDalDial) RequestLine(0, true);
  if (marks_.AutoConnectDone || !settings_.AcDalDialog) return;
  marks_.AutoConnectDone = true;
  if (settings_.AcDalDial)
    ShowNoticeDialog("ﾀﾞｲｱﾙｱｯﾌﾟ接続が切断された場合、接続する設定になっているため、",
                     "ﾀﾞｲｱﾙｱｯﾌﾟの接続を試行しました。", 0, -1);
  else
    ShowNoticeDialog("ﾀﾞｲｱﾙｱｯﾌﾟ接続が切断された場合、ﾀﾞｲｱﾛｸﾞで告知する設定になっています。",
                     "ﾀﾞｲｱﾙｱｯﾌﾟを接続しますか?", 1, 1);
}

bool Monitor::RedialGuard(bool automatic) {
  if (marks_.RedialPending) return false;
  if (!(automatic ? settings_.RdByAuto : settings_.RdByManu)) return true;
  const int64_t elapsed = SecondsBetween(lastDisconnect_, cycleNow_);
  if (elapsed > settings_.RdInterval) return true;
  marks_.RedialPending = true;
  StatusEvent("再接続に十分な時間がまだ経過していません。");
  StatusDetail("あと" + std::to_string(settings_.RdInterval - elapsed) + "秒以上経過後に自動的に再接続します。");
  return false;
}

bool Monitor::RedialDue() const { return SecondsBetween(lastDisconnect_, cycleNow_) > settings_.RdInterval; }

}  // namespace nw
