// The monitor's ports on this machine: system clock, WinInet and RAS queries, the line's traffic,
// the Linkpilot process, the data files and the notice window. Kept apart from the window code so NWDBase.cpp
// does not see the adapters' headers.
#include "app/win32/NWDBase.h"
#include "app/win32/NWDBaseLinks.h"
#include "monitor/Monitor.h"
#include "monitor/MonitorFiles.h"
#include "monitor/win32/NWDDialog.h"
#include "monitor/win32/SystemClock.h"
#include "monitor/win32/otkRASCheck.h"
#include "monitor/win32/otkShellWatch.h"
#include "monitor/win32/otkTrafficProbe.h"
#include "app/NWDMenuIds.h"
#include "compact/win32/NWDComp.h"
#include "data/win32/ActivityLogMenu.h"

namespace nw {

namespace {

// What the compact window asks of the main window and the monitor.
class CompactHostOf final : public CompactHost {
 public:
  explicit CompactHostOf(NWDBase& main) : main_(main) {}
  HWND MainWindow() override { return main_.Handle(); }
  bool LineConnected() override { return main_.monitor().LineConnected() != 0; }
  int32_t ConnectionSeconds() override { return main_.monitor().ConnectionSeconds(); }
  bool Unloading() override { return main_.Unloading(); }
  bool ExplicitExit() override { return main_.ExplicitExit(); }
  bool TrayIconShown() override { return main_.TrayIconShown(); }
  bool LockButtonShown() override { return main_.monitor().LockButtonShown(); }
  void RequestLine(int32_t hangUp) override { main_.monitor().RequestLine(hangUp, false); }
  void LockBtnAction(bool whc) override { main_.monitor().LockBtnAction(whc); }
  void ShowAutoTitle(bool rdw) override { main_.monitor().ShowAutoTitle(rdw); }
  std::vector<std::string> DefaultSetMenuItems() override {
    return main_.monitor().DefaultSetMenuVisible() ? main_.monitor().DefaultSetMenuItems() : std::vector<std::string>{};
  }
  void SetDefaultSet(int32_t index) override { main_.monitor().SetDefaultSet(index); }
  void SetDisplayMode(int32_t mode) override { main_.SetDisplayMode(mode); }
  void UnloadAction() override { main_.CloseForGood(); }
  void CenterFormOver(HWND source, HWND target, bool keepOnScreen) override {
    links::CenterWindowOver(source, target, keepOnScreen);
  }

 private:
  NWDBase& main_;
};

// The traffic probe, aimed before each reading at what the line probe watches: the watched RAS
// connections, or for the other watch way the adapter of the quota settings (all when none).
class AimedTraffic final : public TrafficSource {
 public:
  explicit AimedTraffic(NWDBase& main) : main_(main) {}
  TrafficSample Read() override {
    if (links::Global().Settings.WayWatchEn == 1)
      probe_.WatchRasConnections(main_.monitor().WatchedHandles());
    else
      probe_.WatchInterfaces(VolumeGlobal().Quota.Adapter);
    return probe_.Read();
  }
  void Restart() override { probe_.Restart(); }

 private:
  NWDBase& main_;
  otkTrafficProbe probe_;
};

}  // namespace

struct NWDBase::Adapters {
  Adapters(NWDBase& window, HINSTANCE instance)
      : Files(links::Global(), [&window] { return window.LiveState(); }),
        Traffic(window),
        Notice(instance, window.Handle()),
        Host(window),
        Comp(instance, links::Global(), VolumeGlobal(), Host),
        Log(links::Global().Settings, [&window](const std::string& main, const std::string& sub) {
          window.monitor().ShowNoticeDialog(main, sub, 0, -1);
        }) {}
  SystemClock Clock;
  otkInternetCheck Internet;
  otkRASCheck Ras;
  otkShellWatch Dialer;
  MonitorFiles Files;
  AimedTraffic Traffic;
  NWDDialog Notice;
  CompactHostOf Host;
  NWDComp Comp;
  ActivityLogCommands Log;
};

NWDBase::NWDBase() = default;

NWDBase::~NWDBase() {
  // The monitor goes before the ports it holds references to.
  monitor_.reset();
  ports_.reset();
  ReleaseWindowResources();
}

RasQuery& NWDBase::RasProbe() { return ports_->Ras; }

void NWDBase::CreateMonitor() {
  ports_ = std::make_unique<Adapters>(*this, instance_);
  Adapters& a = *ports_;
  const MonitorPorts ports{a.Clock, a.Internet, a.Ras, a.Dialer, a.Files, *this, a.Notice, &a.Traffic};
  monitor_ = std::make_unique<Monitor>(links::Global().Settings, links::Global().Counters, VolumeGlobal(), ports,
                                       ProgramFolder());
  Monitor& m = *monitor_;
  a.Notice.SetEvents({[&m] { m.OnNoticeLoaded(); }, [&m] { m.OnNoticeGo(); }, [&m] { m.OnNoticeNegative(); },
                      [&m] { m.OnNoticeUnloaded(); }});
}

bool NWDBase::CompactShown() const { return ports_ && ports_->Comp.CompactState(); }

HWND NWDBase::CompactWindow() const { return ports_ ? ports_->Comp.Window() : nullptr; }

void NWDBase::SetCompactState(bool shown) {
  if (!ports_) return;
  // The monitor redraws the volume only when it changes: the compact window opens with the present text.
  if (shown) ports_->Comp.SetVolumeText(volume_);
  ports_->Comp.SetCompactState(shown);
}

void NWDBase::SetCompactCaption(const std::string& caption) {
  if (CompactShown()) ports_->Comp.SetCaption(caption);
}

void NWDBase::ExpressAcmComp(int32_t agIToday, int32_t agIUser, int32_t agCIval) {
  if (CompactShown()) ports_->Comp.ExpressAcmComp(agIToday, agIUser, agCIval);
}

void NWDBase::PassVolumeToCompact() {
  if (CompactShown()) ports_->Comp.SetVolumeText(volume_);
}

void NWDBase::ReadLogMenuState(MenuInputs& in) { TakeLogMenuState(in, ports_->Log.Utilnu_Click()); }

void NWDBase::LogCommand(int id) {
  ActivityLogCommands& log = ports_->Log;
  switch (id) {
    case cmd::Loggingnu: log.Loggingnu_Click(); break;
    case cmd::AdsLognu: AdsLognu_Click(wnd_, log); break;
    case cmd::DelLognu: log.DelLognu_Click(); break;
    default: break;
  }
}

void NWDBase::CloseNotice() {
  if (ports_ && ports_->Notice.Loaded()) ports_->Notice.Close();
}

}  // namespace nw
