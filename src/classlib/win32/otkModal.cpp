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

bool RunUntilDestroyed(HWND wnd) {
  MSG msg;
  while (IsWindow(wnd)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
      return false;
    }
    if (!IsDialogMessageW(wnd, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}

}  // namespace otkModal
