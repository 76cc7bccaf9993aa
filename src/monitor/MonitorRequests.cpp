// Dial and hang-up requests and the choice of the default connection information set.
#include "monitor/DialRequests.h"
#include "monitor/Monitor.h"

namespace nw {

otkDialCtrl::otkDialCtrl(DialerProcess& dialer, std::string programDir)
    : dialer_(dialer), programDir_(std::move(programDir)) {}

std::string otkDialCtrl::DialerDirectory() const { return nw::DialerDirectory(programDir_); }

void otkDialCtrl::Run(const DialerCommand& command) {
  // One Linkpilot at a time: a request while it still runs is dropped.
  if (!dialer_.DialerIsFree()) return;
  dialer_.StartDialer(command.Program, command.CommandLine, 1);
}

void otkDialCtrl::DialAuto() { Run(nw::DialAuto(programDir_)); }
void otkDialCtrl::HangUpAuto() { Run(nw::HangUpAuto(programDir_)); }
void otkDialCtrl::DialRas(const std::string& entry, const std::string& user, const std::string& password) {
  Run(nw::DialRas(programDir_, entry, user, password));
}
void otkDialCtrl::HangUpRas(const std::string& entry) { Run(nw::HangUpRas(programDir_, entry)); }

bool Monitor::NoDefaultSetProblem() const {
  // An index beyond the stored sets (a damaged settings file) is no default set either.
  return settings_.RsIdlFLG && (settings_.RsSetInfoStd < 0 || settings_.RsSetInfoStd > settings_.RsSetInfoLast());
}

void Monitor::DialDefaultSetNotice(bool hangUp) {
  if (marks_.NoDefaultSetNoticePending) return;
  marks_.NoDefaultSetNoticePending = true;
  ShowNoticeDialog(hangUp ? "標準の接続情報保存ｾｯﾄがないため、ﾀﾞｲｱﾙｱｯﾌﾟ接続を切断できません。"
                          : "標準の接続情報保存ｾｯﾄがないため、ﾀﾞｲｱﾙｱｯﾌﾟ接続を開始できません。",
                   "標準の接続情報保存ｾｯﾄを設定して下さい。", 0, -1);
}

void Monitor::RequestLine(int32_t hangUp, bool automatic) {
  if (stopped_) return;
  // The quota holds the line down: no rule dials; the user's own dial releases the hold.
  const bool held = !hangUp && lineConnected_ == 0 && QuotaHoldsLine();
  if (held && automatic) return;
  if (held) {
    volumeData_.Counters.Marks.Released = true;
    SaveVolume();
    StatusEvent("ﾃﾞｰﾀ量の上限による切断の維持を解除しました。");
  }
  lockTarget_ = static_cast<int16_t>(hangUp ? 1 : 0);
  requestedByUs_ = true;
  if (hangUp ? lineConnected_ == 0 : lineConnected_ == 1) return;
  const char* how = automatic ? " - 自動" : " - 手動";
  if (hangUp) {
    if (settings_.RsIdlFLG) {
      if (NoDefaultSetProblem()) {
        DialDefaultSetNotice(true);
        return;
      }
      dialCtrl_.HangUpRas(settings_.RsSetInfo[settings_.RsSetInfoStd].EntryName);
    } else {
      dialCtrl_.HangUpAuto();
    }
    if (!marks_.HangUpAttemptLogged) {
      marks_.HangUpAttemptLogged = true;
      StatusEvent(std::string("切断を試行しました。") + how);
    }
  } else {
    if (!RedialGuard(automatic)) return;
    if (settings_.RsIdlFLG) {
      if (NoDefaultSetProblem()) {
        DialDefaultSetNotice(false);
        return;
      }
      const RsSetInfoEntry& set = settings_.RsSetInfo[settings_.RsSetInfoStd];
      dialCtrl_.DialRas(set.EntryName, set.UserName, set.Password);
    } else {
      dialCtrl_.DialAuto();
    }
    if (!marks_.DialAttemptLogged) {
      marks_.DialAttemptLogged = true;
      StatusEvent(std::string("接続を試行しました。") + how);
    }
  }
}

bool Monitor::DefaultSetMenuVisible() const { return settings_.RsIdlFLG && settings_.RsSetInfoLast() > 0; }

std::vector<std::string> Monitor::DefaultSetMenuItems() const {
  std::vector<std::string> items;
  for (size_t i = 0; i < settings_.RsSetInfo.size(); ++i) {
    std::string caption = settings_.RsSetInfo[i].SetName;
    if (static_cast<int32_t>(i) == settings_.RsSetInfoStd) caption += " - (標準)";
    items.push_back(std::move(caption));
  }
  return items;
}

void Monitor::SetDefaultSet(int32_t index) {
  if (index >= 0 && index <= settings_.RsSetInfoLast()) settings_.RsSetInfoStd = index;
}

}  // namespace nw
