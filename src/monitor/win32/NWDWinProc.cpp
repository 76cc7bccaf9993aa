#include "monitor/win32/NWDWinProc.h"

namespace nw::NWDWinProc {

namespace {
HWND g_wnd = nullptr;
WNDPROC g_previous = nullptr;
TrayEvents* g_events = nullptr;
}  // namespace

bool HookMainWindow(HWND wnd, TrayEvents* events) {
  if (g_wnd) return false;
  const LONG_PTR previous =
      SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TrayWindowProc));
  if (previous == 0) return false;
  g_wnd = wnd;
  g_previous = reinterpret_cast<WNDPROC>(previous);
  g_events = events;
  return true;
}

bool UnhookMainWindow() {
  if (!g_wnd) return false;
  if (SetWindowLongPtrW(g_wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous)) == 0) return false;
  g_wnd = nullptr;
  g_previous = nullptr;
  g_events = nullptr;
  return true;
}

bool Hooked() { return g_wnd != nullptr; }

LRESULT CALLBACK TrayWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // The window's own procedure sees every message first.
  const WNDPROC previous = g_previous;
  TrayEvents* const events = g_events;
  const LRESULT result = previous ? CallWindowProcW(previous, wnd, msg, wParam, lParam)
                                  : DefWindowProcW(wnd, msg, wParam, lParam);
  if (msg == WM_USER + 1 && events) {
    switch (static_cast<UINT>(lParam)) {
      case WM_LBUTTONDBLCLK: events->TrayDoubleClick(); break;
      case WM_RBUTTONDOWN: events->TrayRightButton(); break;
      default: break;
    }
  }
  return result;
}

}  // namespace nw::NWDWinProc
