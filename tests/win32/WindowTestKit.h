#pragma once
// Helpers for driving windows in-process under Wine: read texts with WM_GETTEXT, run steps from
// the thread's timers while a modal loop is running, pump messages for a while.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <initializer_list>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "classlib/win32/WinText.h"
#include "classlib/win32/otkForm.h"
#include "classlib/win32/otkGdi.h"

namespace wtk {

// Key strokes as the keyboard delivers them (SendInput), to whatever has the focus: `vk` with
// `modifiers` held down, and text typed character by character.
inline void Key(WORD vk, std::initializer_list<WORD> modifiers = {}) {
  std::vector<INPUT> in;
  auto add = [&](WORD k, bool up) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = k;
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    in.push_back(i);
  };
  for (WORD m : modifiers) add(m, false);
  add(vk, false);
  add(vk, true);
  for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) add(*it, true);
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

inline void Type(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT i[2]{};
    for (int k = 0; k < 2; ++k) {
      i[k].type = INPUT_KEYBOARD;
      i[k].ki.wScan = c;
      i[k].ki.dwFlags = KEYEVENTF_UNICODE | (k ? KEYEVENTF_KEYUP : 0);
    }
    SendInput(2, i, sizeof(INPUT));
  }
}

inline std::string Text(HWND wnd) {
  wchar_t buf[1024] = {};
  SendMessageW(wnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf));
  return nw::win::Narrow(buf);
}

inline std::string ItemText(HWND parent, int id) { return Text(GetDlgItem(parent, id)); }

// Client-relative rectangle of a child window.
inline RECT ChildRect(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

inline std::map<UINT_PTR, std::function<void()>>& LaterSteps() {
  static std::map<UINT_PTR, std::function<void()>> steps;
  return steps;
}
inline void CALLBACK LaterFired(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  auto it = LaterSteps().find(timer);
  if (it == LaterSteps().end()) return;
  auto f = std::move(it->second);
  LaterSteps().erase(it);
  f();
}
// Runs `step` once, `ms` from now, from a thread timer (dispatched by any message loop).
inline void Later(UINT ms, std::function<void()> step) {
  const UINT_PTR id = SetTimer(nullptr, 0, ms, LaterFired);
  LaterSteps()[id] = std::move(step);
}

// Dispatches messages for `ms` milliseconds.
inline void Pump(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  MSG msg;
  while (static_cast<int>(end - GetTickCount()) > 0) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// Pixels of colour `c` in a client rectangle of `wnd` given in 96-DPI units, as on the screen.
inline int CountPixels(HWND wnd, RECT r96, COLORREF c) {
  Pump(100);
  const UINT dpi = otkGdi::ScreenDpi();
  HDC dc = GetDC(wnd);
  int n = 0;
  for (int y = otkGdi::Scale(r96.top, dpi); y < otkGdi::Scale(r96.bottom, dpi); ++y)
    for (int x = otkGdi::Scale(r96.left, dpi); x < otkGdi::Scale(r96.right, dpi); ++x)
      if (GetPixel(dc, x, y) == c) ++n;
  ReleaseDC(wnd, dc);
  return n;
}

// The help pages F1 asks for while it lives (none is opened).
class HelpRecorder {
 public:
  HelpRecorder() {
    otkForm::SetHelpOpener([this](const std::string& page) { Pages.push_back(page); });
  }
  ~HelpRecorder() { otkForm::SetHelpOpener(nullptr); }
  HelpRecorder(const HelpRecorder&) = delete;
  HelpRecorder& operator=(const HelpRecorder&) = delete;
  std::vector<std::string> Pages;
};

// Steps run one after another from the running message loop (keys need the loop to arrive); a
// step waits while keys of the one before are still on their way (a busy machine). Whatever a
// failed step left open is closed after `closeAfterMs`, so a failure never hangs the run. Nothing
// of a script outlives its test: steps and the closing are dropped when the script goes.
class Script {
 public:
  Script(std::vector<std::function<void()>> steps, std::function<void()> closeAll, UINT closeAfterMs)
      : steps_(std::make_shared<std::vector<std::function<void()>>>(std::move(steps))) {
    At(steps_, alive_, 0);
    Later(closeAfterMs, [alive = alive_, closeAll] {
      if (*alive) closeAll();
    });
  }
  ~Script() { *alive_ = false; }
  Script(const Script&) = delete;
  Script& operator=(const Script&) = delete;

 private:
  using Steps = std::shared_ptr<std::vector<std::function<void()>>>;
  static void At(Steps all, std::shared_ptr<bool> alive, size_t i, int waits = 0) {
    if (i >= all->size()) return;
    Later(waits ? 100 : 300, [all, alive, i, waits] {
      if (!*alive) return;
      if (HIWORD(GetQueueStatus(QS_INPUT)) != 0 && waits < 30) return At(all, alive, i, waits + 1);
      (*all)[i]();
      At(all, alive, i + 1);
    });
  }
  Steps steps_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// The message box of this thread (none: null) and its text (none: empty).
inline HWND MessageBoxUp() {
  struct Find {
    static BOOL CALLBACK One(HWND w, LPARAM lp) {
      wchar_t cls[16] = {};
      GetClassNameW(w, cls, 16);
      if (std::wstring(cls) == L"#32770" && IsWindowVisible(w)) *reinterpret_cast<HWND*>(lp) = w;
      return TRUE;
    }
  };
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), Find::One, reinterpret_cast<LPARAM>(&found));
  return found;
}
inline std::string MessageText() {
  HWND box = MessageBoxUp();
  return box ? ItemText(box, 0xFFFF) : std::string();
}

// Closes a message box left open and then the window.
template <class D>
std::function<void()> Closer(D& dlg) {
  return [&dlg] {
    if (HWND box = MessageBoxUp()) EndDialog(box, IDOK);
    if (dlg.Window()) PostMessageW(dlg.Window(), WM_CLOSE, 0, 0);
  };
}

// The visible top-level window of this thread with the caption `title` (none: null).
inline HWND WindowTitled(const std::string& title) {
  struct Find {
    const std::string* Title;
    HWND Found = nullptr;
    static BOOL CALLBACK One(HWND w, LPARAM lp) {
      auto* f = reinterpret_cast<Find*>(lp);
      if (IsWindowVisible(w) && Text(w) == *f->Title) f->Found = w;
      return TRUE;
    }
  } find{&title};
  EnumThreadWindows(GetCurrentThreadId(), Find::One, reinterpret_cast<LPARAM>(&find));
  return find.Found;
}

// A click of the left button on item `index` of a list box, through the message queue.
inline void ClickListItem(HWND list, int index) {
  RECT r{};
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
}

// The tip window a form made (owned by it, in this thread), or null.
inline HWND TipWindowOf(HWND form) {
  struct Find {
    HWND Owner, Tip = nullptr;
    static BOOL CALLBACK One(HWND w, LPARAM lp) {
      auto* f = reinterpret_cast<Find*>(lp);
      wchar_t cls[32] = {};
      GetClassNameW(w, cls, 32);
      if (lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0 && GetWindow(w, GW_OWNER) == f->Owner) f->Tip = w;
      return TRUE;
    }
  } find{form};
  EnumThreadWindows(GetCurrentThreadId(), Find::One, reinterpret_cast<LPARAM>(&find));
  return find.Tip;
}

// The tool tip of `control` on `form` ("" without one).
inline std::string TipOf(HWND form, HWND control) {
  HWND tip = TipWindowOf(form);
  wchar_t text[128] = {};
  TOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.hwnd = GetParent(control);
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.lpszText = text;
  if (tip) SendMessageW(tip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&ti));
  return nw::win::Narrow(text);
}

// A plain visible top-level window with an icon, standing in for the main window.
class HostWindow {
 public:
  explicit HostWindow(const wchar_t* title = L"host") {
    static bool registered = false;
    if (!registered) {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = Proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hIcon = LoadIconW(nullptr, IDI_INFORMATION);
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      wc.lpszClassName = L"WtkHost";
      RegisterClassExW(&wc);
      registered = true;
    }
    wnd_ = CreateWindowExW(0, L"WtkHost", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 320, 240, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(wnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&ticks_));
  }
  ~HostWindow() { DestroyWindow(wnd_); }
  HWND Get() const { return wnd_; }
  // Counts WM_TIMER messages of a window timer, as Lookersb on the main window.
  void StartTimer(UINT ms) { SetTimer(wnd_, 1, ms, nullptr); }
  int Ticks() const { return ticks_; }

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_TIMER) {
      auto* ticks = reinterpret_cast<int*>(GetWindowLongPtrW(w, GWLP_USERDATA));
      if (ticks) ++*ticks;
      return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
  }
  HWND wnd_;
  int ticks_ = 0;
};

}  // namespace wtk
