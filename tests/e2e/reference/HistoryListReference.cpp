// The yardstick for opening the history list: a program built like NetWard (same compiler, static
// link, manifest, message font) whose only work, when told to open its window, is to create a
// window with one list box of the history list's style and add 999 rows made in advance. The
// measurement in Measure_e2e_test.cpp opens it and NetWard's history list in turn.
//
// A hidden window of class "NWListReference" waits for WM_COMMAND kOpen; the window it opens
// (class "NWListReferenceForm") closes with Esc or WM_CLOSE.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr WPARAM kOpen = 1;
constexpr int kRows = 999;
constexpr int kListId = 100;
// The history list's list box (the form kit's list style plus the history rows' own).
constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY |
                             LBS_NOINTEGRALHEIGHT | LBS_EXTENDEDSEL | LBS_USETABSTOPS | WS_HSCROLL;

std::vector<std::wstring> g_rows;
HFONT g_font = nullptr;
UINT g_dpi = 96;

int Scale(int px96) { return MulDiv(px96, static_cast<int>(g_dpi), 96); }

// Rows like the connection list's with every column: four date-times and a duration.
void MakeRows() {
  g_rows.reserve(kRows);
  for (int i = 0; i < kRows; ++i) {
    wchar_t row[160];
    std::swprintf(row, 160, L"26/%02d/%02d %02d:00:00\t26/%02d/%02d %02d:%02d:00\t0時間 %02d分 00秒\t26/01/01 00:00:00\t\t\t",
                  1 + i / 672, 1 + i / 24 % 28, i % 24, 1 + i / 672, 1 + i / 24 % 28, i % 24, i % 50 + 1,
                  i % 50 + 1);
    g_rows.emplace_back(row);
  }
}

LRESULT CALLBACK FormProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) {
    DestroyWindow(wnd);
    return 0;
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

void OpenForm(HINSTANCE instance) {
  RECT r{0, 0, Scale(774), Scale(434)};
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  AdjustWindowRectEx(&r, style, FALSE, WS_EX_DLGMODALFRAME);
  HWND form = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_APPWINDOW, L"NWListReferenceForm",
                              L"Reference list", style, 100, 100, r.right - r.left, r.bottom - r.top, nullptr,
                              nullptr, instance, nullptr);
  HWND list = CreateWindowExW(0, L"LISTBOX", L"", kListStyle, Scale(184), Scale(8), Scale(582), Scale(230), form,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), instance, nullptr);
  SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(g_font), FALSE);
  for (const std::wstring& row : g_rows) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
  ShowWindow(form, SW_SHOW);
  SetForegroundWindow(form);
  SetFocus(list);
}

LRESULT CALLBACK CommandProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && LOWORD(wp) == kOpen) {
    OpenForm(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(wnd, GWLP_HINSTANCE)));
    return 0;
  }
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(wnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  HDC screen = GetDC(nullptr);
  g_dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
  ReleaseDC(nullptr, screen);
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
  ncm.lfMessageFont.lfCharSet = SHIFTJIS_CHARSET;
  g_font = CreateFontIndirectW(&ncm.lfMessageFont);
  MakeRows();

  WNDCLASSW wc{};
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpfnWndProc = CommandProc;
  wc.lpszClassName = L"NWListReference";
  RegisterClassW(&wc);
  wc.lpfnWndProc = FormProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"NWListReferenceForm";
  RegisterClassW(&wc);
  CreateWindowExW(0, L"NWListReference", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Esc closes the list window.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      if (HWND top = GetAncestor(msg.hwnd, GA_ROOT)) PostMessageW(top, WM_CLOSE, 0, 0);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
