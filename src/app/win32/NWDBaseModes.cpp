// The main window's display modes: tray only, the main window, the compact window.
#include "app/win32/NWDBase.h"
#include "app/win32/NWDBaseLinks.h"
#include "app/win32/NWDBasePorts.h"
#include "monitor/Monitor.h"

namespace nw {

bool NWDBase::MainExpState() const { return Window() && IsWindowVisible(Window()); }

void NWDBase::SetMainExpState(bool shown) {
  if (shown == MainExpState()) return;
  if (!shown) {
    ShowWindow(Window(), SW_HIDE);
    return;
  }
  // The cycle's time becomes the present one: what the refresh logs or requests carries it.
  monitor_->RefreshNow();
  if (CompactShown()) {
    // Reappear where the compact window is, kept on the screen.
    links::CenterWindowOver(CompactWindow(), Window(), true);
  }
  ShowWindow(Window(), SW_SHOWNORMAL);
}

void NWDBase::SetDisplayMode(int32_t mode) {
  if (!SwitchDisplayMode(modes_, mode)) return;
  links::Global().PreviousDisplayMode = modes_.PreviousDisplayMode;
  switch (mode) {
    case kModeTray:
      SetMainExpState(false);
      SetCompactState(false);
      break;
    case kModeMain:
      SetMainExpState(true);
      SetCompactState(false);
      break;
    case kModeCompact:
      SetCompactState(true);
      SetMainExpState(false);
      break;
    default: break;
  }
}

void NWDBase::ExpWindowFromTaskTary() {
  if (modes_.DisplayMode == kModeTray) SetDisplayMode(RestoreDisplayMode());
  HWND front = modes_.DisplayMode == kModeCompact ? CompactWindow() : Window();
  if (!front) return;
  if (IsIconic(front)) ShowWindow(front, SW_RESTORE);
  SetForegroundWindow(front);
}

bool NWDBase::CompactShown() const { return ports_ && ports_->Comp.CompactState(); }

HWND NWDBase::CompactWindow() const { return ports_ ? ports_->Comp.Window() : nullptr; }

void NWDBase::SetCompactState(bool shown) {
  if (!ports_) return;
  // The monitor redraws the volume only when it changes: the compact window opens with the present text.
  if (shown) ports_->Comp.SetVolumeText(counters_.VolumeText());
  ports_->Comp.SetCompactState(shown);
}

}  // namespace nw
