// The main window's tray icon: residency, its picture and tip, and the icon's return after the
// shell restarts. The icon's mouse events come through the hook on the window (NWDWinProc).
#include "app/win32/NWDBase.h"
#include "classlib/win32/WinText.h"
#include "monitor/Monitor.h"

namespace nw {

namespace {

std::string WindowCaption(HWND wnd) {
  const int n = GetWindowTextLengthW(wnd);
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  w.resize(static_cast<size_t>(GetWindowTextW(wnd, w.data(), n + 1)));
  return win::Narrow(w);
}

}  // namespace

void NWDBase::SetTrayResidency(bool on) {
  if (on == trayResident_) return;
  if (on) {
    InstallTrayIcon();
  } else {
    UninstallTrayIcon();
  }
  // InTraynu follows residency; the menu is rebuilt from it each time it opens.
  trayResident_ = on;
}

void NWDBase::InstallTrayIcon() {
  NWDWinProc::HookMainWindow(Window(), this);
  if (loading_) {
    // Asked for when the message loop starts, before any input is read.
    if (!trayAddPosted_) trayAddPosted_ = PostMessageW(Window(), kAddTrayIconMsg, 0, 0) != FALSE;
    if (trayAddPosted_) return;
  }
  otk::otkIconIntoTray::AddArgs args;
  args.Owner = Window();
  args.Tip = PresentTrayTip();
  args.Icon = TrayIcon(PresentTrayIconId());
  // The window shows without waiting for the shell's answer.
  tray_.AddTrayIconInBackground(args);
}

void NWDBase::AddTrayIconAfterLoad() {
  if (!trayAddPosted_) return;
  trayAddPosted_ = false;
  if (trayResident_) InstallTrayIcon();
}

void NWDBase::UninstallTrayIcon() {
  NWDWinProc::UnhookMainWindow();
  tray_.RemoveTrayIcon();
}

void NWDBase::ReAddTrayIcon() {
  // The shell (re)started: its notification area has no icon of ours. Added with the present
  // picture and tip, also when the first add at start-up was refused.
  if (trayResident_) tray_.ReAddAfterShellRestart(TrayIcon(PresentTrayIconId()), PresentTrayTip());
}

std::string NWDBase::PresentTrayTip() const {
  return monitor_ && !monitor_->TrayTip().empty() ? monitor_->TrayTip() : WindowCaption(Window());
}

int NWDBase::PresentTrayIconId() const { return monitor_ && monitor_->LineConnected() ? 102 : 101; }

HICON NWDBase::TrayIcon(int id) const {
  // Shared icons live as long as the module, so the tray record may keep the handle.
  return static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(id), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                       GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR | LR_SHARED));
}

}  // namespace nw
