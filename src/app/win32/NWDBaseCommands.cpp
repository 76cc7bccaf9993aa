// The main window's commands: its buttons, the menu bar's and the tray popup's items, and the
// dialogs they open (with what the operation settings dialog acts on when "O.K." succeeds).
#include "app/NWDMenuIds.h"
#include "app/win32/NWDBase.h"
#include "app/win32/NWDBaseLinks.h"
#include "app/win32/NWDBasePorts.h"
#include "monitor/Monitor.h"

namespace nw {

namespace {

// The operation settings dialog's view of the running program: the process-wide records, the
// monitor and this window.
class MainWindowUtilityHost final : public UtilityHost {
 public:
  explicit MainWindowUtilityHost(NWDBase& base) : base_(base) {}
  SettingsRecord& Settings() override { return links::Global().Settings; }
  CounterBlock& Counters() override { return links::Global().Counters; }
  UtilRuntime Runtime() override {
    Monitor& m = base_.monitor();
    return UtilRuntime{links::Now(), m.LineConnected() != 0, m.TodayStart(), m.UserStart(), base_.TrayResident(),
                       m.LockButtonShown()};
  }
  void SetUserStart(Date start) override { base_.monitor().SetUserStart(start); }
  void ApplyUserCounterState() override { base_.monitor().ApplyUserCounterState(); }
  void RedrawCounters(int32_t runningToday, int32_t runningUser) override {
    if (base_.DisplayMode() == 1) base_.monitor().ExpressAcm(runningToday, runningUser, 0, true);
  }
  void SetPollingTimer(bool enabled, int32_t intervalMs) override { base_.SetPollingTimer(enabled, intervalMs); }
  void ShowLockButton(bool shown) override { base_.SetLockButtonShown(shown); }
  void SetTrayResidency(bool on) override { base_.SetTrayResidency(on); }
  void TrimStatusList() override { base_.monitor().TrimStatusList(); }

 private:
  NWDBase& base_;
};

}  // namespace

void NWDBase::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  Monitor& m = *monitor_;
  switch (id) {
    case cmd::DialGoBtn:  // dial when disconnected, hang up when connected
      m.RequestLine(m.LineConnected() ? 1 : 0, false);
      return;
    case cmd::LockBtn:
      m.LockBtnAction(!links::Global().Settings.LockState);
      return;
    case cmd::TopWinBtn:
      TopWinBtn_Click();
      return;
    default:
      return;
  }
}

void NWDBase::OnMenuCommand(int id, int) {
  // Commands of items that are hidden or disabled right now are ignored.
  Monitor& m = *monitor_;
  MenuInputs in = CurrentMenuInputs();
  if (id == cmd::DelLognu) TakeLogMenuState(in, ports_->Log.Utilnu_Click());
  if (!menu_.Available(in, id)) return;
  if (id >= cmd::DialSetDefItemnu && id < cmd::DialSetDefItemnu + cmd::kMaxDefaultSetItems) {
    m.SetDefaultSet(id - cmd::DialSetDefItemnu);  // DialSetDefItemnu_Click
    return;
  }
  if (id >= cmd::trDialSetDefItemnu && id < cmd::trDialSetDefItemnu + cmd::kMaxDefaultSetItems) {
    m.SetDefaultSet(id - cmd::trDialSetDefItemnu);  // trDialSetDefItemnu_Click
    return;
  }
  switch (id) {
    case cmd::DialUpnu: m.RequestLine(0, false); break;
    case cmd::DialHupnu: m.RequestLine(1, false); break;
    case cmd::Renewnu: m.Looker_Timer(); break;
    case cmd::Clearnu: m.ClearStatusList(); break;
    case cmd::TodayClear: m.ResetTodayCounter(); break;
    case cmd::UserClear: m.ResetUserCounter(); break;
    case cmd::Compnu: SetDisplayMode(kModeCompact); break;
    case cmd::InTraynu: CloseByProgram(); break;
    case cmd::Closenu:
      explicitExit_ = true;
      CloseByProgram();
      break;
    case cmd::Historynu: {
      SettingsFileData& g = links::Global();
      dialogs_->History(Window(), g, MainIcon(), TopWinFLG());
      break;
    }
    case cmd::UtilActnu: UtilActnu_Click(); break;
    case cmd::UtilSprnu: UtilSprnu_Click(); break;
    case cmd::UtilSprWatchEntrynu: UtilSprWatchEntrynu_Click(); break;
    case cmd::Loggingnu:
    case cmd::AdsLognu:
    case cmd::DelLognu: LogCommand(id); break;
    case cmd::Apphpnu: links::Apphpnu_Click(); break;
    case cmd::Vernu: dialogs_->About(Window(), TopWinFLG()); break;
    case cmd::trDialUpnu:
      // Only while the line is still as it was when the popup opened.
      if (m.LineConnected() == popupLineState_) m.RequestLine(popupLineState_ ? 1 : 0, false);
      break;
    case cmd::trExpnu: ExpWindowFromTaskTary(); break;
    case cmd::trEndnu:
      explicitExit_ = true;
      CloseByProgram();
      break;
    default: break;
  }
}

void NWDBase::TrayRightButton() {
  // RefreshTrayDefaultSetMenu, the trDialUpnu caption and PopupLineState, then the popup.
  popupLineState_ = monitor_->LineConnected();
  menu_.TrackTray(Window(), CurrentMenuInputs());
}

void NWDBase::TopWinBtn_Click() { ApplyTopmost(Checked(cmd::TopWinBtn)); }

void NWDBase::LogCommand(int id) {
  ActivityLogCommands& log = ports_->Log;
  switch (id) {
    case cmd::Loggingnu: log.Loggingnu_Click(); break;
    case cmd::AdsLognu: AdsLognu_Click(Window(), log); break;
    case cmd::DelLognu: log.DelLognu_Click(); break;
    default: break;
  }
}

// ---- the settings dialogs --------------------------------------------------------------------------

void NWDBase::UtilActnu_Click() {
  MainWindowUtilityHost host(*this);
  if (!dialogs_->OperationSettings(host, MainIcon(), TopWinFLG())) return;
  // The formats, the counters and the title as they are now.
  if (Window() && !unloading_) {
    monitor_->ShowAutoTitle(true);
    monitor_->RefreshNow();
  }
}

void NWDBase::UtilSprnu_Click() {
  if (!dialogs_->Advanced(links::Global().Settings, RasProbe(), MainIcon(), TopWinFLG())) return;
  // The probe finds the connections again by the settings now in force. The default-set menus
  // are built from the stored sets each time one opens.
  if (Window() && !unloading_ && !explicitExit_) {
    monitor_->ClearWatchedHandles();
    monitor_->Looker_Timer();
  }
}

void NWDBase::UtilSprWatchEntrynu_Click() {
  if (!dialogs_->WatchEntries(links::Global().Settings, RasProbe(), MainIcon(), TopWinFLG())) return;
  if (Window() && !unloading_ && !explicitExit_) {
    monitor_->ClearWatchedHandles();
    monitor_->Looker_Timer();
  }
}

}  // namespace nw
