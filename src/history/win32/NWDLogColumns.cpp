#include "history/win32/NWDLogColumns.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "classlib/win32/WinText.h"
#include "classlib/win32/otkGdi.h"

namespace nw {

namespace {

// The list box turns its tab stops from dialog units into pixels by the average width of the 52
// letters in its font, as the dialog manager does; the stops are worked out the same way here.
int AverageCharWidth(HDC dc) {
  SIZE s{};
  GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &s);
  return std::max<int>(1, (s.cx / 26 + 1) / 2);
}

wchar_t WidestDigit(HDC dc) {
  INT widths[10] = {};
  if (!GetCharWidth32W(dc, L'0', L'9', widths)) return L'0';
  return static_cast<wchar_t>(L'0' + (std::max_element(widths, widths + 10) - widths));
}

int Width(HDC dc, const std::wstring& text) {
  SIZE s{};
  return GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &s) ? s.cx : 0;
}

// The widest of a column's cell shapes, each digit drawn as the widest digit.
int CellWidth(HDC dc, const ShownColumn& column, wchar_t digit) {
  int widest = 0;
  for (const std::string& shape : column.Shapes) {
    std::wstring w = win::Widen(shape);
    std::replace(w.begin(), w.end(), L'0', digit);
    widest = std::max(widest, Width(dc, w));
  }
  return widest;
}

}  // namespace

NWDLogColumns::~NWDLogColumns() { Detach(); }

void NWDLogColumns::Attach(HWND list, int height) {
  Detach();
  static const bool registered = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};  // the header control
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)registered;
  HWND parent = GetParent(list);
  RECT r{};
  GetWindowRect(list, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  place_ = {r.left, r.top - height, r.right, r.top};
  header_ = CreateWindowExW(0, WC_HEADERW, L"", WS_CHILD | WS_VISIBLE | HDS_HORZ, place_.left, place_.top,
                            r.right - r.left, height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!header_) return;
  list_ = list;
  // Ahead of the list: never a stop for Tab or the arrow keys of a group.
  SetWindowPos(header_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageW(header_, WM_SETFONT, SendMessageW(list, WM_GETFONT, 0, 0), FALSE);
  // Hooked through their window procedures (the object in their user data): the common controls'
  // subclassing looks its chain up as a window property on every message, which costs a server
  // round trip per row added under Wine.
  SetWindowLongPtrW(list_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(header_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  listProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NWDLogColumns::ListProc)));
  headerProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(header_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NWDLogColumns::HeaderProc)));
}

void NWDLogColumns::Detach() {
  if (list_ && listProc_) SetWindowLongPtrW(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc_));
  if (header_ && headerProc_) SetWindowLongPtrW(header_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(headerProc_));
  if (list_) SetWindowLongPtrW(list_, GWLP_USERDATA, 0);
  if (header_) SetWindowLongPtrW(header_, GWLP_USERDATA, 0);
  list_ = header_ = nullptr;
  listProc_ = headerProc_ = nullptr;
}

void NWDLogColumns::Show(std::span<const ShownColumn> columns) {
  if (!list_ || !header_) return;
  std::vector<int> at{0};   // where each column's text starts, in the list's pixels
  std::vector<INT> stops;   // the same, in dialog units, for the list
  {
    otkGdi::WindowDc dc(list_);
    otkGdi::SelectGuard font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(list_, WM_GETFONT, 0, 0)));
    const int average = AverageCharWidth(dc.Get());
    const wchar_t digit = WidestDigit(dc.Get());
    // The header writes a name this far inside its item; a cell is followed by a gap of two letters.
    const int margin = 3 * GetSystemMetrics(SM_CXEDGE);
    const int gap = 2 * average;
    // Item text lies one pixel inside the list's border and one more inside the item; the header's
    // names start at the same place, but the first one cannot start left of the header.
    const int lead = margin - 2;
    for (const ShownColumn& c : columns) {
      const int name = Width(dc.Get(), win::Widen(c.Name)) + 2 * margin + (at.size() == 1 ? lead : 0);
      const int pitch = std::max(CellWidth(dc.Get(), c, digit) + gap, name + average);
      const INT stop = static_cast<INT>((int64_t{at.back() + pitch} * 4 + average - 1) / average);
      stops.push_back(stop);
      at.push_back(MulDiv(stop, average, 4));
    }
    while (SendMessageW(header_, HDM_GETITEMCOUNT, 0, 0) > 0) SendMessageW(header_, HDM_DELETEITEM, 0, 0);
    for (size_t i = 0; i < columns.size(); ++i) {
      std::wstring name = win::Widen(columns[i].Name);
      HDITEMW item{};
      item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
      item.fmt = HDF_LEFT | HDF_STRING;
      item.pszText = name.data();
      item.cxy = at[i + 1] - at[i] + (i == 0 ? -lead : 0);
      SendMessageW(header_, HDM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
  }
  SendMessageW(list_, LB_SETTABSTOPS, stops.size(), reinterpret_cast<LPARAM>(stops.data()));
  SendMessageW(list_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(at.back()), 0);
  scrolled_ = -1;
  Follow();
}

void NWDLogColumns::Follow() {
  const int pos = GetScrollPos(list_, SB_HORZ);
  if (pos == scrolled_) return;
  scrolled_ = pos;
  SetWindowPos(header_, nullptr, place_.left - pos, place_.top, place_.right - place_.left + pos,
               place_.bottom - place_.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK NWDLogColumns::ListProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<NWDLogColumns*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (!self || !self->listProc_) return DefWindowProcW(wnd, msg, wp, lp);
  const WNDPROC next = self->listProc_;
  if (msg == WM_NCDESTROY) {
    self->Detach();
    return CallWindowProcW(next, wnd, msg, wp, lp);
  }
  const LRESULT result = CallWindowProcW(next, wnd, msg, wp, lp);
  // What can scroll the list sideways: its scroll bar, the arrow keys, a tilted wheel, a resize.
  if (msg == WM_HSCROLL || msg == WM_KEYDOWN || msg == WM_MOUSEHWHEEL || msg == WM_SIZE) self->Follow();
  return result;
}

LRESULT CALLBACK NWDLogColumns::HeaderProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<NWDLogColumns*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (!self || !self->headerProc_) return DefWindowProcW(wnd, msg, wp, lp);
  const WNDPROC next = self->headerProc_;
  // A line of names: no sizing, no pressing, no divider cursor.
  if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) return 0;
  if (msg == WM_SETCURSOR) return DefWindowProcW(wnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) self->Detach();
  return CallWindowProcW(next, wnd, msg, wp, lp);
}

}  // namespace nw
