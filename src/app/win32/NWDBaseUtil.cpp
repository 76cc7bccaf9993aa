// The main window's side of the operation settings dialog: what the dialog acts on when "O.K."
// succeeds, and opening it from "動作の設定(&A)...".
#include "app/win32/NWDBase.h"
#include "app/win32/NWDBaseLinks.h"
#include "monitor/Monitor.h"
#include "settings/win32/NWDLaunchPorts.h"
#include "settings/win32/NWDUtil.h"

namespace nw {

namespace {

NWDUtil* g_util = nullptr;

// The dialog's view of the running program: the process-wide records, the monitor and this window.
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

void NWDBase::UtilActnu_Click() {
  if (g_util) return;
  MainWindowUtilityHost host(*this);
  NWDLaunchPorts launch;
  NWDUtil dialog(instance_, host, launch, ProgramFolder(), NWDLaunchPorts::ExeName());
  g_util = &dialog;
  dialog.ShowModal(MainIcon(), TopWinFLG());
  g_util = nullptr;
  // The formats, the counters and the title as they are now.
  if (wnd_ && !unloading_) {
    monitor_->ShowAutoTitle(true);
    monitor_->RefreshNow();
  }
}

void links::CloseUtilityDialog() {
  if (g_util) g_util->Unload();
}

}  // namespace nw
