#include "settings/win32/NWDVersion.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "classlib/win32/otkWindowProc.h"
#include "classlib/win32/WinText.h"
#include "classlib/win32/otkForm.h"
#include "classlib/win32/otkModal.h"
#include "res/resource.h"
#include "settings/NWDVersionText.h"
#include "settings/win32/otkINetAcs.h"

namespace nw {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
// Layout in 96-DPI pixels.
constexpr int kClientW = 372, kClientH = 172;
constexpr int kTextLeft = 64, kTextW = 292;

std::string QueryString(const std::vector<BYTE>& block, const wchar_t* lang, const wchar_t* name) {
  const std::wstring key = std::wstring(L"\\StringFileInfo\\") + lang + L"\\" + name;
  void* value = nullptr;
  UINT len = 0;
  if (!VerQueryValueW(block.data(), key.c_str(), &value, &len) || !value || len == 0) return {};
  return win::Narrow(std::wstring(static_cast<const wchar_t*>(value)));
}

}  // namespace

bool ReadVersionFields(HMODULE module, VersionFields& ouFields) {
  std::vector<wchar_t> path(32768, L'\0');
  const DWORD n = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
  if (n == 0 || n >= path.size()) return false;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.data(), &ignored);
  if (size == 0) return false;
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoW(path.data(), 0, size, block.data())) return false;

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &len) || !fixed) return false;
  ouFields.Major = HIWORD(fixed->dwFileVersionMS);
  ouFields.Minor = LOWORD(fixed->dwFileVersionMS);

  // The first translation the resource lists names its string table.
  struct Translation {
    WORD Language, CodePage;
  }* tr = nullptr;
  wchar_t lang[16] = L"041104B0";
  if (VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&tr), &len) && tr &&
      len >= sizeof(Translation))
    wsprintfW(lang, L"%04x%04x", tr->Language, tr->CodePage);
  ouFields.LegalCopyright = QueryString(block, lang, L"LegalCopyright");
  ouFields.FileDescription = QueryString(block, lang, L"FileDescription");
  return true;
}

NWDVersion::NWDVersion(HINSTANCE instance, HWND mainWindow, bool topmost)
    : instance_(instance), main_(mainWindow), topmost_(topmost) {
  open_ = [](const std::string& address) { otkINetAcs::Open(address, SW_SHOWNORMAL); };
}

NWDVersion::~NWDVersion() {
  if (wnd_) DestroyWindow(wnd_);
}

bool NWDVersion::Create() {
  if (!nw::win::RegisterWindowClassOnce(instance_, kClassName, &NWDVersion::WndProc)) return false;
  dpi_ = otkGdi::ScreenDpi();
  auto px = [&](int v) { return otkGdi::Scale(v, dpi_); };
  font_ = otkGdi::CreateMessageFont(dpi_);
  LOGFONTW lf{};
  GetObjectW(font_.Get(), sizeof lf, &lf);
  lf.lfWeight = FW_BOLD;
  boldFont_.Reset(CreateFontIndirectW(&lf));
  lf.lfWeight = FW_NORMAL;
  lf.lfUnderline = TRUE;
  linkFont_.Reset(CreateFontIndirectW(&lf));

  RECT r{0, 0, px(kClientW), px(kClientH)};
  AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
  const int w = r.right - r.left, h = r.bottom - r.top;
  // Centred over the main window when it is shown, else on the screen.
  RECT over{};
  if (main_ && IsWindowVisible(main_)) {
    GetWindowRect(main_, &over);
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
  }
  int x = over.left + ((over.right - over.left) - w) / 2, y = over.top + ((over.bottom - over.top) - h) / 2;
  x = std::max(0, std::min(x, GetSystemMetrics(SM_CXSCREEN) - w));
  y = std::max(0, std::min(y, GetSystemMetrics(SM_CYSCREEN) - h));

  const std::string caption = "Orvin.T.K. NetWard ﾊﾞｰｼﾞｮﾝ情報";
  if (!CreateWindowExW(kExStyle, kClassName, win::Widen(caption).c_str(), kStyle, x, y, w, h, main_, nullptr,
                       instance_, this))
    return false;

  // The main window's icon, shown in the box as well.
  HICON big = main_ ? reinterpret_cast<HICON>(SendMessageW(main_, WM_GETICON, ICON_BIG, 0)) : nullptr;
  if (!big && main_) big = reinterpret_cast<HICON>(GetClassLongPtrW(main_, GCLP_HICON));
  if (!big) big = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_NETWARD));
  HICON small = main_ ? reinterpret_cast<HICON>(SendMessageW(main_, WM_GETICON, ICON_SMALL, 0)) : nullptr;
  SendMessageW(wnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageW(wnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small ? small : big));
  if (topmost_) SetWindowPos(wnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  auto make = [&](const wchar_t* cls, const std::string& text, DWORD style, int id, int x0, int y0, int cx, int cy,
                  HFONT font) {
    HWND c = CreateWindowExW(0, cls, win::Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, px(x0), px(y0), px(cx),
                             px(cy), wnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return c;
  };
  HWND icon = make(L"STATIC", "", SS_ICON | SS_REALSIZECONTROL, kBaseIcon, 16, 16, 32, 32, nullptr);
  SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(big), 0);

  VersionFields v;
  ReadVersionFields(nullptr, v);
  make(L"STATIC", VersionLine(v.Major, v.Minor), SS_LEFT | SS_NOPREFIX, kMess0, kTextLeft, 14, kTextW, 18,
       boldFont_.Get());
  // The resource texts may take two lines each.
  make(L"STATIC", v.LegalCopyright, SS_LEFT | SS_NOPREFIX, kMess0 + 1, kTextLeft, 40, kTextW, 32, font_.Get());
  make(L"STATIC", v.FileDescription, SS_LEFT | SS_NOPREFIX, kMess0 + 2, kTextLeft, 76, kTextW, 32, font_.Get());
  // The link is a button drawn as a link, so Tab reaches it and Enter or Space opens it.
  address_ = make(L"BUTTON", kHomePageAddress, WS_TABSTOP | BS_OWNERDRAW, kAddress, kTextLeft, 112, kTextW, 16,
                  linkFont_.Get());
  HWND ok = make(L"BUTTON", "O.K.", WS_TABSTOP | BS_DEFPUSHBUTTON, kCommand1, kClientW - 96, kClientH - 34, 80, 24,
                 font_.Get());
  // "O.K." first in the Tab order (it has the focus when the box opens), the link after it.
  SetWindowPos(address_, ok, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  // The link's tooltip.
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, wnd_, nullptr, instance_, nullptr);
  if (tooltip_) {
    std::wstring tip = win::Widen("作者ﾎｰﾑﾍﾟｰｼﾞへｱｸｾｽ");
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = wnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(address_);
    ti.lpszText = tip.data();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
  SetFocus(ok);
  return true;
}

void NWDVersion::ShowModal() {
  if (wnd_ || !Create()) return;
  HWND wnd = wnd_;
  disabled_ = std::make_unique<otkModal::DisableOthers>(wnd);
  ShowWindow(wnd, SW_SHOW);
  SetForegroundWindow(wnd);
  const bool ended = otkModal::RunUntilDestroyed(wnd);
  disabled_.reset();
  if (!ended && IsWindow(wnd)) DestroyWindow(wnd);
  if (openAfterClose_) {
    openAfterClose_ = false;
    if (open_) open_(kHomePageAddress);
  }
}

void NWDVersion::AddressClick() {
  addressColor_ = RGB(255, 0, 255);
  InvalidateRect(address_, nullptr, TRUE);
  UpdateWindow(address_);
  // The window closes first; the page opens once it is gone.
  openAfterClose_ = true;
  SendMessageW(wnd_, WM_CLOSE, 0, 0);
}

void NWDVersion::DrawAddress(const DRAWITEMSTRUCT& di) {
  FillRect(di.hDC, &di.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  otkGdi::SelectGuard font(di.hDC, linkFont_.Get());
  SetBkMode(di.hDC, TRANSPARENT);
  SetTextColor(di.hDC, addressColor_);
  const std::wstring text = win::Widen(kHomePageAddress);
  RECT r = di.rcItem;
  constexpr UINT kFormat = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
  DrawTextW(di.hDC, text.c_str(), -1, &r, kFormat);
  if (di.itemState & ODS_FOCUS) {
    DrawTextW(di.hDC, text.c_str(), -1, &r, kFormat | DT_CALCRECT);
    IntersectRect(&r, &r, &di.rcItem);
    DrawFocusRect(di.hDC, &r);
  }
}

LRESULT CALLBACK NWDVersion::WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  return win::ForwardToObject<NWDVersion, &NWDVersion::wnd_, &NWDVersion::Handle>(wnd, msg, wp, lp);
}

LRESULT NWDVersion::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  HWND wnd = wnd_;
  if (focus_.Handle(wnd, msg, wp, lp)) return 0;
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == kCommand1 || LOWORD(wp) == IDCANCEL) {
        SendMessageW(wnd, WM_CLOSE, 0, 0);
        return 0;
      }
      if (LOWORD(wp) == kAddress && HIWORD(wp) == BN_CLICKED) {
        AddressClick();
        return 0;
      }
      break;
    case WM_DRAWITEM: {
      const auto* di = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (di->hwndItem != address_) break;
      DrawAddress(*di);
      return TRUE;
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) == address_) {
        HCURSOR hand = LoadCursorW(instance_, MAKEINTRESOURCEW(IDC_LINK_HAND));
        SetCursor(hand ? hand : LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_HELP:  // handled here, or it would go on to the main window, our owner
      otkForm::OpenHelp("version.htm");
      return TRUE;
    case WM_CLOSE:
      // The other windows first, so the activation returns to the main window.
      if (disabled_) disabled_->Release();
      DestroyWindow(wnd);
      return 0;
    case WM_DESTROY:
      wnd_ = nullptr;
      address_ = tooltip_ = nullptr;
      SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
      return 0;
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

}  // namespace nw
