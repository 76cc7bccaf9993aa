#pragma once
// The controls of a window whose text does not fit them, measured in their own font at the
// screen's DPI: a one-line text wider than its control, a wrapped text taller than it (or with a
// word wider than it), a button's caption wider than the room beside its frame or check box.
// Pictures, lists and text boxes (which scroll) are not measured.
#include <windows.h>

#include <string>
#include <vector>

#include "classlib/win32/WinText.h"

namespace wtk {

inline std::vector<std::string> ClippedControls(HWND window) {
  struct Walk {
    std::vector<std::string> Clipped;
    static BOOL CALLBACK One(HWND c, LPARAM lp) {
      reinterpret_cast<Walk*>(lp)->Check(c);
      return TRUE;
    }
    void Check(HWND c) {
      if (!IsWindowVisible(c)) return;
      wchar_t cls[32] = {}, text[1024] = {};
      GetClassNameW(c, cls, 32);
      GetWindowTextW(c, text, 1024);
      if (!text[0]) return;
      const LONG style = GetWindowLongW(c, GWL_STYLE);
      RECT client{};
      GetClientRect(c, &client);
      int room = client.right, height = client.bottom;
      UINT format = DT_CALCRECT;
      if (lstrcmpiW(cls, L"STATIC") == 0) {
        const LONG type = style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP &&
            type != SS_SIMPLE)
          return;
        if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
        const bool oneLine = type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE || (style & SS_ELLIPSISMASK);
        format |= oneLine ? DT_SINGLELINE : DT_WORDBREAK;
      } else if (lstrcmpiW(cls, L"BUTTON") == 0) {
        const LONG type = style & BS_TYPEMASK;
        if (style & (BS_BITMAP | BS_ICON)) return;
        const bool check = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                           type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE;
        if (check) room -= GetSystemMetrics(SM_CXMENUCHECK) + GetSystemMetrics(SM_CXEDGE);
        if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) room -= 4 * GetSystemMetrics(SM_CXEDGE);
        if (type == BS_GROUPBOX) room -= 4 * GetSystemMetrics(SM_CXEDGE);
        if (type == BS_OWNERDRAW) format |= DT_NOPREFIX;
        format |= (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
      } else {
        return;
      }
      HDC dc = GetDC(c);
      HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(c, WM_GETFONT, 0, 0)));
      RECT need{0, 0, room, 0};
      DrawTextW(dc, text, -1, &need, format);
      SelectObject(dc, old);
      ReleaseDC(c, dc);
      if (need.right > room || need.bottom > height) Clipped.push_back(nw::win::Narrow(text));
    }
  } walk;
  EnumChildWindows(window, Walk::One, reinterpret_cast<LPARAM>(&walk));
  return walk.Clipped;
}

}  // namespace wtk
