#pragma once
// The one window-procedure trampoline of every window class: the object passed as the creation
// parameter is kept in GWLP_USERDATA at WM_NCCREATE, and each message goes to its handler. And the
// one registration of those classes.
#include <windows.h>

namespace nw::win {

// Wnd: the member that receives the window handle; Handler: the member that handles messages.
// A handler that throws does not end the program: the message gets the default handling.
template <class T, HWND T::*Wnd, LRESULT (T::*Handler)(UINT, WPARAM, LPARAM)>
LRESULT ForwardToObject(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  T* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (self) self->*Wnd = wnd;
  } else {
    self = reinterpret_cast<T*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(wnd, msg, wp, lp);
  try {
    return (self->*Handler)(msg, wp, lp);
  } catch (...) {
    return DefWindowProcW(wnd, msg, wp, lp);
  }
}

// Registers a window class of the program's windows (arrow cursor, button-face background, the
// icons given) unless it is registered already. False when the system refused it. `info` receives
// the class as it stands (a class registered earlier keeps its own icons).
inline bool RegisterWindowClassOnce(HINSTANCE instance, const wchar_t* name, WNDPROC proc, HICON icon = nullptr,
                                    HICON smallIcon = nullptr, WNDCLASSEXW* info = nullptr) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(instance, name, &wc)) {
    if (info) *info = wc;
    return true;
  }
  wc = WNDCLASSEXW{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hIconSm = smallIcon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  if (info) *info = wc;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace nw::win
