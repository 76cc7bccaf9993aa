#include "classlib/win32/otkModal.h"

namespace otkModal {

namespace {
struct Collect {
  HWND Except;
  std::vector<HWND>* List;
};
BOOL CALLBACK DisableOne(HWND wnd, LPARAM lp) {
  auto* c = reinterpret_cast<Collect*>(lp);
  if (wnd != c->Except && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
    EnableWindow(wnd, FALSE);
    c->List->push_back(wnd);
  }
  return TRUE;
}
}  // namespace

DisableOthers::DisableOthers(HWND except) {
  Collect c{except, &disabled_};
  EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&c));
}

void DisableOthers::Release() {
  for (HWND w : disabled_)
    if (IsWindow(w)) EnableWindow(w, TRUE);
  disabled_.clear();
}

bool DialogKeys(HWND wnd, MSG& msg) {
  if (!wnd || !IsWindowVisible(wnd) || !IsWindowEnabled(wnd)) return false;
  if (msg.hwnd != wnd && !IsChild(wnd, msg.hwnd)) return false;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
    // The dialog manager would press the default button (or send IDOK) even when another push
    // button has the focus; the user means the one the focus is on.
    HWND focus = GetFocus();
    const LRESULT code = focus && IsChild(wnd, focus) && IsWindowEnabled(focus)
                             ? SendMessageW(focus, WM_GETDLGCODE, 0, 0)
                             : 0;
    const bool pushLike = (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) ||
                          ((code & DLGC_BUTTON) && (GetWindowLongW(focus, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW);
    if (pushLike) {
      SendMessageW(focus, BM_CLICK, 0, 0);
      return true;
    }
  }
  return IsDialogMessageW(wnd, &msg) != FALSE;
}

bool FocusKeeper::Handle(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(wnd, focus)) focus_ = focus;
    return false;
  }
  if (msg == WM_NEXTDLGCTL) {
    HWND target = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(wnd, GetFocus(), wParam != 0);
    if (target && IsChild(wnd, target)) SetFocus(target);
    return true;
  }
  if (msg != WM_SETFOCUS) return false;
  HWND target = focus_;
  if (!target || !IsWindow(target) || !IsChild(wnd, target) || !IsWindowVisible(target) || !IsWindowEnabled(target))
    target = GetNextDlgTabItem(wnd, nullptr, FALSE);
  if (target && target != wnd) SetFocus(target);
  return true;
}

bool RunUntilDestroyed(HWND wnd) {
  MSG msg;
  while (IsWindow(wnd)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
      return false;
    }
    if (!DialogKeys(wnd, msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}

}  // namespace otkModal
