#pragma once
// The hook on the main window's procedure through which the notification area's mouse events
// (callback message 1025) reach the program.
#include <windows.h>

namespace nw {

// Receives the tray icon's mouse events.
class TrayEvents {
 public:
  virtual void TrayDoubleClick() = 0;  // left button double-click (515)
  virtual void TrayRightButton() = 0;  // right button down (516)
 protected:
  ~TrayEvents() = default;
};

namespace NWDWinProc {

// False when a hook is already installed or the window refused it.
bool HookMainWindow(HWND wnd, TrayEvents* events);
// False when no hook is installed or the previous procedure could not be put back.
bool UnhookMainWindow();
bool Hooked();

LRESULT CALLBACK TrayWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace NWDWinProc
}  // namespace nw
