#pragma once
// The monitor's production adapters in one place: the main window owns one of these beside its
// Monitor and hands Ports(...) to the Monitor's constructor.
#include <functional>
#include <utility>

#include "monitor/MonitorFiles.h"
#include "monitor/win32/SystemClock.h"
#include "monitor/win32/otkRASCheck.h"
#include "monitor/win32/otkShellWatch.h"

namespace nw {

struct MonitorSystem {
  MonitorSystem(SettingsFileData& data, std::function<LiveWindowState()> live) : Files(data, std::move(live)) {}
  MonitorPorts Ports(MonitorView& view, NoticeDialog& notice) {
    return MonitorPorts{Clock, Internet, Ras, Dialer, Files, view, notice};
  }

  SystemClock Clock;
  otkInternetCheck Internet;
  otkRASCheck Ras;
  otkShellWatch Dialer;
  MonitorFiles Files;
};

}  // namespace nw
