#include "E2eSettings.h"

namespace e2e {

namespace {
nw::ScreenTwips Screen() {
  return nw::ScreenTwips{GetSystemMetrics(SM_CXSCREEN) * 15, GetSystemMetrics(SM_CYSCREEN) * 15};
}
}  // namespace

bool WriteSettings(const ProgramFolder& folder, const std::function<void(nw::SettingsFileData&)>& change) {
  nw::SetProgramFolder(Narrow(folder.Dir()));
  nw::SettingsFileData d;
  nw::SetDefaults(d, Screen());
  change(d);
  nw::LiveWindowState live;
  live.DisplayMode = d.SavedWindowState[nw::SwDisplayMode];
  live.LockShown = d.SavedWindowState[nw::SwLockShown] != 0;
  live.TrayInstalled = d.SavedWindowState[nw::SwTrayIn] != 0;
  live.MainLeft = d.SavedWindowState[nw::SwLeft];
  live.MainTop = d.SavedWindowState[nw::SwTop];
  return nw::SaveSettings(d, live);
}

nw::SettingsFileData ReadSettings(const ProgramFolder& folder) {
  nw::SetProgramFolder(Narrow(folder.Dir()));
  nw::SettingsFileData d;
  nw::LoadSettings(d, Screen());
  return d;
}

}  // namespace e2e
