/* Keeps Wine's desktop process alive for a whole test session. Without a long-lived process on the
 * desktop, every test program starts a new explorer.exe that lingers after the test ends; it
 * inherits the test's output pipe, so ctest waits for it (about 20 s per test on a fresh prefix). */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  (void)instance;
  (void)previous;
  (void)commandLine;
  (void)show;
  /* A message-only window attaches this process to the desktop without showing anything. */
  if (!CreateWindowExW(0, L"STATIC", L"NetWard test desktop keeper", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL))
    return 1;
  MSG msg;
  while (GetMessageW(&msg, NULL, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
