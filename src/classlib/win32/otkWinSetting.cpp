#include "classlib/win32/otkWinSetting.h"

namespace otkWinSetting {

bool SetWindowTopmost(HWND wnd, HWND insertAfter, UINT extraFlags) {
  return SetWindowPos(wnd, insertAfter, 0, 0, 0, 0, extraFlags | SWP_NOSIZE | SWP_NOMOVE) != FALSE;
}

}  // namespace otkWinSetting
