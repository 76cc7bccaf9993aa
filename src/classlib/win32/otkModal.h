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

// The keyboard of a window with controls that is not a dialog box but works like one: Tab and
// Shift+Tab, the arrows, Alt with the mnemonic of a control or label ("状況(&S):" focuses the list
// after it), Enter on a focused push button clicks that button (else the default button), Esc as
// IDCANCEL. Keys no control takes (Alt with a menu letter) go on to the window and its menu bar.
// True when the message has been handled; then it must not be translated or dispatched again.
bool DialogKeys(HWND wnd, MSG& msg);

// The focus of a window with controls that is not a dialog box, kept as a dialog box keeps it:
// switching to another window and back puts the focus where it was (the first control when there
// was none), and WM_NEXTDLGCTL moves it (the dialog keys send it for a label's mnemonic).
class FocusKeeper {
 public:
  // Called first in `wnd`'s procedure; true when the message is handled. WM_ACTIVATE: remembers
  // the focused control when `wnd` loses activation (and goes on to the default handling).
  // WM_SETFOCUS of `wnd` itself: hands the focus on to the remembered control. WM_NEXTDLGCTL:
  // focuses the given control, or the next or previous one in the Tab order.
  bool Handle(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  HWND focus_ = nullptr;
};

// Dispatches messages (with DialogKeys for `wnd`) until `wnd` is destroyed.
// A WM_QUIT ends the loop early: it is posted again for the outer loop and false returned.
bool RunUntilDestroyed(HWND wnd);

}  // namespace otkModal
