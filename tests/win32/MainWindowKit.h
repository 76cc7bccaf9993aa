#pragma once
// The real main window in this process over a fresh program folder with default settings, for the
// tests and the gallery of what it draws. Its cycle timer is stopped: only what the caller asks
// for is drawn.
#include <windows.h>

#include "../unit/TestFiles.h"
#include "WindowTestKit.h"
#include "app/win32/NWDBase.h"
#include "app/win32/NWDBaseLinks.h"
#include "data/NWDVolumeFile.h"

namespace wtk {

class InProcessMainWindow {
 public:
  InProcessMainWindow() {
    nw::SetProgramFolder(dir_.Utf8());
    nw::Global() = nw::SettingsFileData{};
    nw::VolumeGlobal() = nw::VolumeFileData{};
    nw::LoadSettings(nw::links::ScreenSize());
    loaded_ = base_.Form_Load(GetModuleHandleW(nullptr));
    if (loaded_) base_.SetPollingTimer(false, 0);
    Pump(200);
  }
  ~InProcessMainWindow() {
    if (base_.Handle()) base_.CloseForGood();
    // The window's end also ends the message loop: here that is the test's, which goes on.
    Pump(300);
    UnregisterClassW(nw::NWDBase::kClassName, GetModuleHandleW(nullptr));
  }
  InProcessMainWindow(const InProcessMainWindow&) = delete;
  InProcessMainWindow& operator=(const InProcessMainWindow&) = delete;

  bool Loaded() const { return loaded_; }
  nw::NWDBase& Base() { return base_; }
  HWND Window() const { return base_.Handle(); }

 private:
  nw::test::TempFolder dir_{"nwmain"};
  nw::NWDBase base_;
  bool loaded_ = false;
};

}  // namespace wtk
