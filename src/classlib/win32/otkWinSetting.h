#pragma once
// Small window helpers every window of the program uses.
#include <windows.h>

namespace otkWinSetting {

// SetWindowPos with `insertAfter` (HWND_TOPMOST or HWND_NOTOPMOST), keeping size and position.
bool SetWindowTopmost(HWND wnd, HWND insertAfter, UINT extraFlags = 0);

}  // namespace otkWinSetting
