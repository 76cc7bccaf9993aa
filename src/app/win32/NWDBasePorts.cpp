#include "app/win32/NWDBasePorts.h"

#include "data/NWDGlobal.h"
#include "data/NWDVolumeFile.h"

namespace nw {

TrafficSample AimedTraffic::Read() {
  if (Global().Settings.WayWatchEn == 1)
    probe_.WatchRasConnections(watched_());
  else
    probe_.WatchInterfaces(VolumeGlobal().Quota.Adapter);
  return probe_.Read();
}

NWDBasePorts::NWDBasePorts(HINSTANCE instance, HWND mainWindow, CompactHost& compactHost, Needs needs)
    : Files(Global(), std::move(needs.LiveState)),
      Traffic(std::move(needs.WatchedHandles)),
      Notice(instance, mainWindow),
      Comp(instance, Global(), VolumeGlobal(), compactHost),
      Log(Global().Settings, std::move(needs.Notice)) {}

}  // namespace nw
