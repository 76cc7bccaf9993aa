#pragma once
// Which controls of a window cut their text: each control's text measured in its own font against
// the room the control gives it (labels, push buttons, check boxes, option buttons, group boxes,
// owner-drawn buttons, text boxes, drop-down lists with every item; picture buttons show no text).
// Controls on hidden pages count; a control hidden itself does not. Lay a window out at another
// DPI with otkGdi::SetLayoutDpi before creating it.
#include <windows.h>

#include <string>
#include <vector>

#include "classlib/win32/WinText.h"
#include "classlib/win32/otkGdi.h"

namespace wtk {

namespace clipped_detail {

inline std::wstring WideText(HWND wnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(wnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(wnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

inline std::wstring ClassOf(HWND wnd) {
  wchar_t cls[64] = {};
  GetClassNameW(wnd, cls, 64);
  return cls;
}

// The room `text` needs drawn with `format` into `width` pixels (word-wrapped when asked).
inline SIZE Needed(HWND wnd, const std::wstring& text, UINT format, int width) {
  HDC dc = GetDC(wnd);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(wnd, WM_GETFONT, 0, 0)));
  RECT r{0, 0, width, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(wnd, dc);
  return {r.right, r.bottom};
}

struct Finder {
  std::vector<std::string> Found;
  UINT Dpi = otkGdi::ScreenDpi();

  void Check(HWND wnd, const std::wstring& text, UINT format, int width, int height) {
    if (text.empty()) return;
    const SIZE need = Needed(wnd, text, format, width);
    if (need.cx <= width && need.cy <= height) return;
    Found.push_back(nw::win::Narrow(text) + " (" + nw::win::Narrow(ClassOf(wnd)) + ": needs " +
                    std::to_string(need.cx) + "x" + std::to_string(need.cy) + ", has " + std::to_string(width) +
                    "x" + std::to_string(height) + ")");
  }

  void Control(HWND wnd) {
    const LONG style = GetWindowLongW(wnd, GWL_STYLE);
    if (!(style & WS_VISIBLE)) return;
    RECT rc{};
    GetClientRect(wnd, &rc);
    const int w = rc.right, h = rc.bottom;
    const std::wstring cls = ClassOf(wnd);
    const std::wstring text = WideText(wnd);
    if (lstrcmpiW(cls.c_str(), L"STATIC") == 0) {
      const LONG type = style & SS_TYPEMASK;
      if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP) return;
      // A label that ends in "..." or does not wrap keeps to one line.
      const bool oneLine = type == SS_LEFTNOWORDWRAP || (style & SS_ELLIPSISMASK);
      Check(wnd, text, (oneLine ? DT_SINGLELINE : DT_WORDBREAK) | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0), w, h);
    } else if (lstrcmpiW(cls.c_str(), L"BUTTON") == 0) {
      const LONG type = style & BS_TYPEMASK;
      const UINT wrap = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
      if (style & (BS_BITMAP | BS_ICON)) return;  // a picture is shown, not the text
      if (type == BS_OWNERDRAW) {                 // drawn by its window, as one line (a link)
        Check(wnd, text, DT_SINGLELINE | DT_NOPREFIX, w, h);
      } else if (type == BS_GROUPBOX) {
        Check(wnd, text, DT_SINGLELINE, w - otkGdi::Scale(16, Dpi), h);
      } else if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
        Check(wnd, text, wrap, w - otkGdi::Scale(8, Dpi), h);
      } else {  // check boxes and option buttons: the box and its gap come first
        Check(wnd, text, wrap, w - otkGdi::Scale(18, Dpi), h);
      }
    } else if (lstrcmpiW(cls.c_str(), L"EDIT") == 0) {
      if (style & ES_PASSWORD) return;
      const DWORD margins = static_cast<DWORD>(SendMessageW(wnd, EM_GETMARGINS, 0, 0));
      const int room = w - LOWORD(margins) - HIWORD(margins) - 2;
      const bool wraps = (style & ES_MULTILINE) && !(style & ES_AUTOHSCROLL);
      Check(wnd, text, (wraps ? DT_WORDBREAK : DT_SINGLELINE) | DT_NOPREFIX | DT_EDITCONTROL, room, h);
      // An edit inside a combo box is measured with its combo box.
    } else if (lstrcmpiW(cls.c_str(), L"ComboBox") == 0) {
      // Every item, as the closed box shows it beside its arrow.
      const int room = w - GetSystemMetrics(SM_CXVSCROLL) - otkGdi::Scale(6, Dpi);
      const int n = static_cast<int>(SendMessageW(wnd, CB_GETCOUNT, 0, 0));
      for (int i = 0; i < n; ++i) {
        std::wstring item(static_cast<size_t>(SendMessageW(wnd, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        item.resize(static_cast<size_t>(SendMessageW(wnd, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
        Check(wnd, item, DT_SINGLELINE | DT_NOPREFIX, room, h);
      }
    }
  }

  static BOOL CALLBACK One(HWND wnd, LPARAM lp) {
    // A combo box's own edit is part of the combo box.
    if (lstrcmpiW(ClassOf(GetParent(wnd)).c_str(), L"ComboBox") != 0) reinterpret_cast<Finder*>(lp)->Control(wnd);
    return TRUE;
  }
};

}  // namespace clipped_detail

// The texts of `window`'s controls that do not fit them, each with what it needs and what it has.
inline std::vector<std::string> ClippedControls(HWND window) {
  clipped_detail::Finder f;
  EnumChildWindows(window, clipped_detail::Finder::One, reinterpret_cast<LPARAM>(&f));
  return f.Found;
}

}  // namespace wtk
