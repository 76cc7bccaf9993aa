// The main window's side of the settings dialogs: what the operation settings dialog acts on when
// "O.K." succeeds, opening the three dialogs from the "設定(&U)" menu, and the history list.
#include "app/win32/NWDBase.h"
#include "app/win32/NWDBaseLinks.h"
#include "history/win32/NWDLogList.h"
#include "monitor/Monitor.h"
#include "settings/win32/NWDLaunchPorts.h"
#include "settings/win32/NWDUtil.h"
#include "settings/win32/NWDUtilSprEntry.h"
#include "settings/win32/NWDUtilSuper.h"

namespace nw {

namespace {

NWDUtil* g_util = nullptr;
NWDUtilSuper* g_super = nullptr;
NWDUtilSprEntry* g_entry = nullptr;
NWDLogList* g_history = nullptr;

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

void NWDBase::UtilSprnu_Click() {
  if (g_super) return;
  NWDUtilSuper dialog(instance_, links::Global().Settings, RasProbe());
  g_super = &dialog;
  dialog.ShowModal(MainIcon(), TopWinFLG());
  g_super = nullptr;
  // The probe finds the connections again by the settings now in force. The default-set menus
  // are built from the stored sets each time one opens.
  if (wnd_ && !unloading_ && !explicitExit_) {
    monitor_->ClearWatchedHandles();
    monitor_->Looker_Timer();
  }
}

void NWDBase::UtilSprWatchEntrynu_Click() {
  if (g_entry) return;
  NWDUtilSprEntry dialog(instance_, links::Global().Settings, RasProbe());
  g_entry = &dialog;
  dialog.ShowModal(MainIcon(), TopWinFLG());
  g_entry = nullptr;
  if (wnd_ && !unloading_ && !explicitExit_) {
    monitor_->ClearWatchedHandles();
    monitor_->Looker_Timer();
  }
}

void NWDBase::Historynu_Click() {
  if (g_history) return;
  SettingsFileData& global = links::Global();
  NWDLogList list(instance_, global.History, global.Settings.CounterName);
  g_history = &list;
  list.ShowModal(wnd_, MainIcon(), TopWinFLG());
  g_history = nullptr;
}

void links::CloseUtilityDialog() {
  if (g_history) g_history->Unload();
  if (g_util) g_util->Unload();
  if (g_super) g_super->Unload();
  if (g_entry) g_entry->Unload();
}

}  // namespace nw
