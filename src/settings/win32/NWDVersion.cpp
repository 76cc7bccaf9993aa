#include "settings/win32/NWDVersion.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "classlib/win32/WinText.h"
#include "res/resource.h"
#include "settings/NWDVersionText.h"
#include "settings/win32/otkINetAcs.h"

namespace nw {
namespace {

// Layout in 96-DPI pixels.
constexpr int kTextLeft = 64, kTextTop = 14, kTextGap = 8;
constexpr int kTextMinW = 292, kTextMaxW = 460;
constexpr int kMargin = 12, kOkW = 80, kOkH = 24;

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
    : Form(instance), instance_(instance), main_(mainWindow), topmost_(topmost) {
  open_ = [](const std::string& address) { otkINetAcs::Open(address, SW_SHOWNORMAL); };
}

NWDVersion::~NWDVersion() = default;

namespace {

// The texts' column: as wide as the widest text needs (within bounds), each label as tall as its
// text wrapped to that width, so a line breaks only where it must.
struct AboutLayout {
  int TextW = kTextMinW;
  int Heights[4] = {};  // Mess(0..2), the link; 96-DPI pixels
  int ClientW = 0, ClientH = 0;
  int Top(int k) const {
    int y = kTextTop;
    for (int i = 0; i < k; ++i) y += Heights[i] + kTextGap;
    return y;
  }
};

AboutLayout MeasureAbout(const std::string (&texts)[4], HFONT const (&fonts)[4], UINT dpi) {
  AboutLayout l;
  otkGdi::WindowDc dc(nullptr);
  // Measured at the screen's DPI, kept in 96-DPI pixels (rounded up, so nothing shrinks).
  auto to96 = [&](int px) { return (px * 96 + static_cast<int>(dpi) - 1) / static_cast<int>(dpi); };
  int widest = 0;
  for (int k = 0; k < 4; ++k) {
    otkGdi::SelectGuard font(dc.Get(), fonts[k]);
    widest = std::max(widest, to96(otkGdi::MeasureText(dc.Get(), texts[k])) + 2);
  }
  l.TextW = std::clamp(widest, kTextMinW, kTextMaxW);
  for (int k = 0; k < 4; ++k) {
    otkGdi::SelectGuard font(dc.Get(), fonts[k]);
    RECT r{0, 0, otkGdi::Scale(l.TextW, dpi), 0};
    const std::wstring w = win::Widen(texts[k].empty() ? std::string(" ") : texts[k]);
    DrawTextW(dc.Get(), w.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    l.Heights[k] = to96(r.bottom) + 1;
  }
  l.ClientW = kTextLeft + l.TextW + kMargin;
  l.ClientH = l.Top(4) + kOkH + kMargin;
  return l;
}

}  // namespace

bool NWDVersion::Load() {
  // The main window's icon, shown in the box as well.
  HICON big = main_ ? reinterpret_cast<HICON>(SendMessageW(main_, WM_GETICON, ICON_BIG, 0)) : nullptr;
  if (!big && main_) big = reinterpret_cast<HICON>(GetClassLongPtrW(main_, GCLP_HICON));
  if (!big) big = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_NETWARD));
  HICON small = main_ ? reinterpret_cast<HICON>(SendMessageW(main_, WM_GETICON, ICON_SMALL, 0)) : nullptr;

  const UINT dpi = otkGdi::ScreenDpi();
  const otkGdi::Font font = otkGdi::CreateMessageFont(dpi);
  LOGFONTW lf{};
  GetObjectW(font.Get(), sizeof lf, &lf);
  lf.lfWeight = FW_BOLD;
  boldFont_.Reset(CreateFontIndirectW(&lf));
  lf.lfWeight = FW_NORMAL;
  lf.lfUnderline = TRUE;
  linkFont_.Reset(CreateFontIndirectW(&lf));

  VersionFields v;
  ReadVersionFields(nullptr, v);
  const std::string texts[4] = {VersionLine(v.Major, v.Minor), v.LegalCopyright, v.FileDescription,
                                kHomePageAddress};
  HFONT const fonts[4] = {boldFont_.Get(), font.Get(), font.Get(), linkFont_.Get()};
  const AboutLayout l = MeasureAbout(texts, fonts, dpi);

  otkForm::FormOptions o;
  o.Owner = main_;
  o.Owned = true;
  o.Placement = otkForm::Place::OverOwner;  // centred over the main window when it is shown
  o.Caption = "Orvin.T.K. NetWard ﾊﾞｰｼﾞｮﾝ情報";
  o.ClientWidth = l.ClientW;
  o.ClientHeight = l.ClientH;
  o.Icon = big;
  o.SmallIcon = small;
  o.Topmost = topmost_;
  o.HelpPage = "version.htm";  // its own page, not the main window's (the box's owner)
  o.ClassName = kClassName;
  if (!Create(o)) return false;

  using otkForm::Kind;
  auto row = [&](int k) { return RECT{kTextLeft, l.Top(k), kTextLeft + l.TextW, l.Top(k) + l.Heights[k]}; };
  const int okLeft = l.ClientW - kMargin - kOkW, okTop = l.ClientH - kMargin - kOkH;
  // "O.K." first in the Tab order (it has the focus when the box opens), the link after it. The
  // link is a button drawn as a link, so Tab reaches it and Enter or Space opens it.
  const otkForm::Control controls[] = {
      {Kind::Label, kBaseIcon, "", {16, 16, 48, 48}, SS_ICON | SS_REALSIZECONTROL},
      {Kind::Label, kMess0, texts[0].c_str(), row(0), SS_NOPREFIX},
      {Kind::Label, kMess0 + 1, texts[1].c_str(), row(1), SS_NOPREFIX},
      {Kind::Label, kMess0 + 2, texts[2].c_str(), row(2), SS_NOPREFIX},
      {Kind::DefaultButton, kCommand1, "O.K.", {okLeft, okTop, okLeft + kOkW, okTop + kOkH}},
      {Kind::OwnerDrawn, kAddress, kHomePageAddress, row(3), 0, "作者ﾎｰﾑﾍﾟｰｼﾞへｱｸｾｽ"},
  };
  AddControls(Window(), controls);
  SendMessageW(Item(kBaseIcon), STM_SETICON, reinterpret_cast<WPARAM>(big), 0);
  SendMessageW(Item(kMess0), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.Get()), FALSE);
  SendMessageW(Item(kAddress), WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.Get()), FALSE);
  return true;
}

void NWDVersion::ShowModal() {
  if (Window() || !Load()) return;
  RunModal();
  if (openAfterClose_) {
    openAfterClose_ = false;
    if (open_) open_(kHomePageAddress);
  }
}

void NWDVersion::AddressClick() {
  addressColor_ = RGB(255, 0, 255);
  InvalidateRect(Item(kAddress), nullptr, TRUE);
  UpdateWindow(Item(kAddress));
  // The window closes first; the page opens once it is gone.
  openAfterClose_ = true;
  Close();
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

void NWDVersion::OnCommand(int id, int code) {
  if (id == kCommand1) Close();
  if (id == kAddress && code == BN_CLICKED) AddressClick();
}

LRESULT NWDVersion::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_DRAWITEM: {
      const auto* di = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (di->hwndItem != Item(kAddress)) break;
      DrawAddress(*di);
      return TRUE;
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) == Item(kAddress)) {
        HCURSOR hand = LoadCursorW(instance_, MAKEINTRESOURCEW(IDC_LINK_HAND));
        SetCursor(hand ? hand : LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
  }
  return Form::OnMessage(msg, wp, lp);
}

}  // namespace nw
