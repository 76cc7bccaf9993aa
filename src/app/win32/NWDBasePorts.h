#pragma once
// The monitor's ports on this machine: system clock, WinInet and RAS queries, the line's traffic,
// the Linkpilot process, the data files, the notice window, the compact window and the activity
// log commands. Built by the main window; knows it only through what it is given.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "compact/win32/NWDComp.h"
#include "data/win32/ActivityLogMenu.h"
#include "monitor/Monitor.h"
#include "monitor/MonitorFiles.h"
#include "monitor/MonitorPorts.h"
#include "monitor/win32/NWDDialog.h"
#include "monitor/win32/SystemClock.h"
#include "monitor/win32/otkRASCheck.h"
#include "monitor/win32/otkShellWatch.h"
#include "monitor/win32/otkTrafficProbe.h"

namespace nw {

// The traffic probe, aimed before each reading at what the line probe watches: the watched RAS
// connections, or for the other watch way the adapter of the quota settings (all when none).
class AimedTraffic final : public TrafficSource {
 public:
  explicit AimedTraffic(std::function<std::vector<RasHandle>()> watched) : watched_(std::move(watched)) {}
  TrafficSample Read() override;
  void Restart() override { probe_.Restart(); }

 private:
  std::function<std::vector<RasHandle>()> watched_;
  otkTrafficProbe probe_;
};

struct NWDBasePorts {
  // What the adapters ask of the main window and the monitor.
  struct Needs {
    std::function<LiveWindowState()> LiveState;                // for the counters' checkpoints
    std::function<std::vector<RasHandle>()> WatchedHandles;    // the traffic probe's aim
    std::function<void(const std::string&, const std::string&)> Notice;  // the activity log's warnings
  };
  NWDBasePorts(HINSTANCE instance, HWND mainWindow, CompactHost& compactHost, Needs needs);
  // The monitor's ports, with `view` as its view.
  MonitorPorts For(MonitorView& view) { return {Clock, Internet, Ras, Dialer, Files, view, Notice, &Traffic}; }

  SystemClock Clock;
  otkInternetCheck Internet;
  otkRASCheck Ras;
  otkShellWatch Dialer;
  MonitorFiles Files;
  AimedTraffic Traffic;
  NWDDialog Notice;
  NWDComp Comp;
  ActivityLogCommands Log;
};

}  // namespace nw
