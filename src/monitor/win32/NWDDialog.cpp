#include "monitor/win32/NWDDialog.h"

#include <memory>
#include <utility>

#include "classlib/win32/otkWindowProc.h"
#include "classlib/win32/WinText.h"
#include "classlib/win32/otkForm.h"
#include "classlib/win32/otkModal.h"
#include "monitor/NoticeLayout.h"
#include "res/resource.h"

namespace nw {
namespace {

// Layout in twips (1440 per inch), scaled by the DPI.
constexpr int kClientW = 6615, kClientH = 1155;
constexpr int kMessLeft = 240, kMainTop = 120, kSubTop = 420, kMessW = 6135, kMessH = 180;
constexpr int kBtnTop = 720, kBtnW = 1215, kBtnH = 330;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;


HICON WindowIcon(HWND wnd, WPARAM kind) {
  if (!wnd) return nullptr;
  HICON icon = reinterpret_cast<HICON>(SendMessageW(wnd, WM_GETICON, kind, 0));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(wnd, kind == ICON_BIG ? GCLP_HICON : GCLP_HICONSM));
  return icon;
}

}  // namespace

NWDDialog::NWDDialog(HINSTANCE instance, HWND mainWindow) : instance_(instance), main_(mainWindow) {}

NWDDialog::~NWDDialog() {
  if (wnd_) {
    events_ = {};
    Close();
  }
}

bool NWDDialog::Create() {
  if (!nw::win::RegisterWindowClassOnce(instance_, kClassName, &NWDDialog::WndProc)) return false;
  dpi_ = otkGdi::ScreenDpi();
  font_ = otkGdi::CreateMessageFont(dpi_);

  RECT r{0, 0, otkGdi::TwipsToPixels(kClientW, dpi_), otkGdi::TwipsToPixels(kClientH, dpi_)};
  AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
  const int w = r.right - r.left, h = r.bottom - r.top;

  // Centred on the work area of the monitor the main window is on (the main window itself may be
  // hidden in the tray).
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  HMONITOR mon = main_ ? MonitorFromWindow(main_, MONITOR_DEFAULTTOPRIMARY)
                       : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  GetMonitorInfoW(mon, &mi);
  const RECT& wa = mi.rcWork;
  const int x = wa.left + ((wa.right - wa.left) - w) / 2;
  const int y = wa.top + ((wa.bottom - wa.top) - h) / 2;

  HWND wnd = CreateWindowExW(kExStyle, kClassName, win::Widen("Orvin.T.K. NetWard").c_str(), kStyle, x, y, w, h,
                             nullptr, nullptr, instance_, this);
  if (!wnd) return false;

  auto make = [&](const wchar_t* cls, DWORD style, int id) {
    HWND c = CreateWindowExW(0, cls, L"", WS_CHILD | style, 0, 0, 0, 0, wnd, reinterpret_cast<HMENU>(id),
                             instance_, nullptr);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    return c;
  };
  mainMess_ = make(L"STATIC", WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, kMainMess);
  subMess_ = make(L"STATIC", WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, kSubMess);
  btnGo_ = make(L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, kBtnGo);
  btnNgtv_ = make(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, kBtnNgtv);  // hidden until a second caption
  Layout();

  // The main window's icon; the program's own when there is no main window yet.
  HICON big = WindowIcon(main_, ICON_BIG), small = WindowIcon(main_, ICON_SMALL);
  if (!big) big = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_NETWARD));
  if (!small) small = big;
  SendMessageW(wnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageW(wnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return true;
}

void NWDDialog::Layout() {
  // A label is at least as tall as one line of the font, so a large font is not cut off.
  int lineH = otkGdi::TwipsToPixels(kMessH, dpi_);
  {
    otkGdi::WindowDc dc(wnd_);
    otkGdi::SelectGuard sel(dc.Get(), font_.Get());
    TEXTMETRICW tm{};
    if (GetTextMetricsW(dc.Get(), &tm) && tm.tmHeight > lineH) lineH = tm.tmHeight;
  }
  auto px = [&](int twips) { return otkGdi::TwipsToPixels(twips, dpi_); };
  MoveWindow(mainMess_, px(kMessLeft), px(kMainTop), px(kMessW), lineH, FALSE);
  MoveWindow(subMess_, px(kMessLeft), px(kSubTop), px(kMessW), lineH, FALSE);
  PlaceButton(btnGo_, 2700);
  PlaceButton(btnNgtv_, NoticeButtons::kSecondLeftTwips);
}

void NWDDialog::PlaceButton(HWND button, int leftTwips) {
  auto px = [&](int twips) { return otkGdi::TwipsToPixels(twips, dpi_); };
  MoveWindow(button, px(leftTwips), px(kBtnTop), px(kBtnW), px(kBtnH), TRUE);
}

void NWDDialog::SetTexts(const std::string& main, const std::string& sub, int exMood) {
  const NoticeButtons b = NoticeButtonsFor(exMood);
  if (!b.Valid) return;  // an unknown mood changes nothing, not even the texts
  SetWindowTextW(btnGo_, win::Widen(b.GoCaption).c_str());
  PlaceButton(btnGo_, b.GoLeftTwips);
  if (b.HasSecond) {
    SetWindowTextW(btnNgtv_, win::Widen(b.SecondCaption).c_str());
    ShowWindow(btnNgtv_, SW_SHOWNA);
  }
  SetWindowTextW(mainMess_, win::Widen(main).c_str());
  SetWindowTextW(subMess_, win::Widen(sub).c_str());
}

void NWDDialog::ShowMe(const std::string& agSmain, const std::string& agSsub, int agexMood, int agacMood) {
  if (wnd_) {
    ShowMeRe(agSmain, agSsub, agexMood, agacMood);
    return;
  }
  closing_ = false;
  if (!Create()) return;
  if (events_.Loaded) events_.Loaded();
  SetTexts(agSmain, agSsub, agexMood);

  disabled_ = std::make_unique<otkModal::DisableOthers>(wnd_);
  HWND wnd = wnd_;
  ShowWindow(wnd, SW_SHOW);
  SetForegroundWindow(wnd);
  SetFocus(btnGo_);

  // Our own modal loop: the thread's timers (Lookersb) are dispatched as in the main loop.
  // The program ending meanwhile closes the notice; WM_QUIT is left for the main loop.
  if (!otkModal::RunUntilDestroyed(wnd)) Close();
}

void NWDDialog::ShowMeRe(const std::string& agSmain, const std::string& agSsub, int agexMood, int agacMood) {
  if (!wnd_) return;
  SetTexts(agSmain, agSsub, agexMood);
}

void NWDDialog::Close() {
  // The other windows are enabled first, so activation returns to them and not to another program.
  if (disabled_) disabled_->Release();
  disabled_.reset();
  if (wnd_) DestroyWindow(wnd_);
}

void NWDDialog::Choose(int button) {
  if (closing_ || !wnd_) return;
  closing_ = true;  // a second click while the action runs does nothing
  if (button == kBtnGo && events_.Go) events_.Go();
  if (button == kBtnNgtv && events_.Negative) events_.Negative();
  Close();
}

LRESULT CALLBACK NWDDialog::WndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  return win::ForwardToObject<NWDDialog, &NWDDialog::wnd_, &NWDDialog::Handle>(wnd, msg, wp, lp);
}

LRESULT NWDDialog::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  HWND wnd = wnd_;
  if (focus_.Handle(wnd, msg, wp, lp)) return 0;
  switch (msg) {
    case DM_GETDEFID:
      return MAKELRESULT(kBtnGo, DC_HASDEFID);
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case kBtnGo:
        case kBtnNgtv:
          if (HIWORD(wp) == BN_CLICKED) Choose(LOWORD(wp));
          return 0;
        case IDCANCEL:  // Esc: as the close box
          Choose(0);
          return 0;
      }
      break;
    case WM_HELP:
      otkForm::OpenHelp("notice.htm");
      return TRUE;
    case WM_CLOSE:
      Choose(0);  // the close box unloads without any action
      return 0;
    case WM_DESTROY: {
      wnd_ = nullptr;
      mainMess_ = subMess_ = btnGo_ = btnNgtv_ = nullptr;
      SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
      if (events_.Unloaded) events_.Unloaded();
      return 0;
    }
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

}  // namespace nw
