#pragma once
// Modal windows without the dialog manager's own loop: the other windows of the thread are
// disabled while one window is modal, and a plain message loop keeps dispatching everything else,
// timers included (the monitor keeps running under a notice or the about box).
#include <windows.h>

#include <vector>

namespace otkModal {

// Disables the visible, enabled top-level windows of this thread except `except`; Release (or
// the destructor) enables them again. Release before destroying the modal window, so activation
// returns to the program and not to another one.
class DisableOthers {
 public:
  explicit DisableOthers(HWND except);
  ~DisableOthers() { Release(); }
  DisableOthers(const DisableOthers&) = delete;
  DisableOthers& operator=(const DisableOthers&) = delete;
  void Release();

 private:
  std::vector<HWND> disabled_;
};

// Dispatches messages (with dialog keyboard handling for `wnd`) until `wnd` is destroyed.
// A WM_QUIT ends the loop early: it is posted again for the outer loop and false returned.
bool RunUntilDestroyed(HWND wnd);

}  // namespace otkModal
