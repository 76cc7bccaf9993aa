#include "app/win32/NWDBase.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "app/NWDMenuIds.h"
#include "app/win32/NWDBaseLinks.h"
#include "classlib/win32/otkWindowProc.h"
#include "classlib/win32/WinText.h"
#include "classlib/win32/otkForm.h"
#include "classlib/win32/otkModal.h"
#include "classlib/win32/otkWinSetting.h"
#include "monitor/Monitor.h"
#include "res/resource.h"

namespace nw {

using win::Narrow;
using win::Widen;

namespace {

// Set for as long as a cycle runs, also when it ends with an error.
class RunningMark {
 public:
  explicit RunningMark(bool& flag) : flag_(flag) { flag_ = true; }
  RunningMark(const RunningMark&) = delete;
  RunningMark& operator=(const RunningMark&) = delete;
  ~RunningMark() { flag_ = false; }

 private:
  bool& flag_;
};

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr UINT_PTR kLookerTimer = 1;
constexpr UINT_PTR kLookersbTimer = 2;

// Design layout at 96 DPI (client coordinates).
constexpr int kClientW = 310, kClientH = 270;
constexpr RECT kDialGoBtn{6, 6, 50, 46};
constexpr RECT kLockBtn{54, 6, 98, 46};
constexpr RECT kTopWinBtn{106, 6, 304, 24};
constexpr POINT kPosTim{63, 50};
constexpr SIZE kTimBox{241, 13};
constexpr POINT kPosTdy{92, 84};
constexpr POINT kPosUsr{200, 84};
constexpr SIZE kCounterBox{104, 33};
constexpr int kCountLineY = 20;
// The volume line and the daily-allowance line, between the counters and the status list.
constexpr POINT kPosVol{6, 122};
constexpr SIZE kVolBox{298, 29};
constexpr int kAllowanceLineY = 16;

enum LabelId : int {
  LabelTime = 3101,
  LabelCount,
  LabelStatus,
  LabelToday,
};

struct StaticDef {
  int Id;
  const char* Text;
  RECT Rc;
  DWORD Style;
};
constexpr StaticDef kLabels[] = {
    {LabelToday, "\"今日\"", {92, 68, 196, 82}, SS_CENTER},
    // The counter's name is the user's text: an "&" in it is shown, not made a mnemonic.
    {cmd::UserDefine, "ﾕｰｻﾞｰ定義のｶｳﾝﾀ", {200, 68, 304, 82}, SS_CENTER | SS_ENDELLIPSIS | SS_NOPREFIX},
    {LabelTime, "累積接続時間:", {6, 84, 84, 98}, SS_LEFT},
    {LabelCount, "累積接続回数:", {6, 104, 84, 118}, SS_LEFT},
    {LabelStatus, "状況(&S):", {6, 156, 120, 170}, SS_LEFT},
};
constexpr RECT kStatusList{6, 172, 304, 264};

constexpr const char* kTopOnTip = "ｳｨﾝﾄﾞｳを常に手前に表示する";
constexpr const char* kTopOffTip = "ｳｨﾝﾄﾞｳを常に手前に表示しない";

std::string WindowCaption(HWND wnd) {
  const int n = GetWindowTextLengthW(wnd);
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  w.resize(static_cast<size_t>(GetWindowTextW(wnd, w.data(), n + 1)));
  return Narrow(w);
}

HICON LoadIconSized(HINSTANCE inst, int id, int size) {
  return static_cast<HICON>(LoadImageW(inst, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace

void NWDBase::ReleaseWindowResources() {
  if (trayMenu_) DestroyMenu(trayMenu_);
  trayMenu_ = nullptr;
  if (bigIcon_) DestroyIcon(bigIcon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
  bigIcon_ = smallIcon_ = nullptr;
}

// ---- load -----------------------------------------------------------------------------------------

bool NWDBase::Form_Load(HINSTANCE instance) {
  instance_ = instance;
  dpi_ = otkGdi::ScreenDpi();
  taskbarCreatedMsg_ = RegisterWindowMessageW(L"TaskbarCreated");

  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof icc;
  icc.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&icc);

  bigIcon_ = LoadIconSized(instance, IDI_NETWARD, GetSystemMetrics(SM_CXICON));
  smallIcon_ = LoadIconSized(instance, IDI_NETWARD, GetSystemMetrics(SM_CXSMICON));

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = &NWDBase::StaticWndProc;
  wc.hInstance = instance;
  wc.hIcon = bigIcon_ ? bigIcon_ : LoadIconW(nullptr, IDI_APPLICATION);
  wc.hIconSm = smallIcon_;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  if (!RegisterClassExW(&wc)) return false;

  menuBar_ = CreateMenu();
  for (const MenuTop& top : BuildMainMenu(CurrentMenuInputs())) {
    HMENU popup = CreatePopupMenu();
    FillPopup(popup, top.Items);
    AppendMenuW(menuBar_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), Widen(top.Caption).c_str());
  }
  const SIZE outer = OuterSize(dpi_);

  // Position: the saved left/top in twips.
  const SettingsFileData& g = links::Global();
  const int left = otkGdi::TwipsToPixels(g.SavedWindowState[SwLeft], dpi_);
  const int top = otkGdi::TwipsToPixels(g.SavedWindowState[SwTop], dpi_);

  wnd_ = CreateWindowExW(0, kClassName, L"", kStyle, left, top, outer.cx, outer.cy, nullptr, menuBar_, instance,
                         this);
  if (!wnd_) return false;

  font_ = otkGdi::CreateMessageFont(dpi_);
  background_.Reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  dialBitmaps_[0] = otkGdi::LoadBitmapScaled(instance, 101, dpi_);
  dialBitmaps_[1] = otkGdi::LoadBitmapScaled(instance, 102, dpi_);
  lockBitmaps_[0] = otkGdi::LoadBitmapScaled(instance, 106, dpi_);
  lockBitmaps_[1] = otkGdi::LoadBitmapScaled(instance, 107, dpi_);
  CreateControls();

  CreateMonitor();

  // 1. CycleNow, the time-watch baseline; 3, 5-8: runtime state, MonitorStart, the first status
  // lines, the title and the dial button.
  monitor_->StartMonitoring();
  if (links::VolumeFileState() == CheckedFileState::Damaged) monitor_->VolumeFileDamaged(kVolumeFileName);

  // 2. The saved window state. A damaged stored previous mode is taken as the main window, so the
  // program can always be shown again.
  const int32_t storedPrevious = nw::RestoreDisplayMode(DisplayModes{kModeTray, g.PreviousDisplayMode});
  modes_.PreviousDisplayMode = storedPrevious;
  modes_.DisplayMode = kModeTray;
  SetTrayResidency(g.SavedWindowState[SwTrayIn] != 0);
  if (g.TopWinFLG) {
    SendMessageW(Control(cmd::TopWinBtn), BM_SETCHECK, BST_CHECKED, 0);
    TopWinBtn_Click();
  } else {
    SetTip(Control(cmd::TopWinBtn), kTopOffTip);
  }
  monitor_->ApplyUserCounterState();
  const SettingsRecord& s = g.Settings;
  SetPollingTimer(s.TimerActv, s.TimerIval);
  SetLockButtonShown(g.SavedWindowState[SwLockShown] != 0);

  // 9. The display mode.
  // Nothing is shown yet; the switch shows the chosen window and the stored previous mode stays
  // what showing the program again returns to.
  const int32_t mode =
      StartupDisplayMode(g.SavedWindowState[SwDisplayMode], s.ExpStart, DisplayModes{kModeTray, storedPrevious});
  SetDisplayMode(mode);
  modes_.PreviousDisplayMode = storedPrevious;
  links::Global().PreviousDisplayMode = storedPrevious;

  // 10-13. The start-up dial and the re-anchoring of the counters.
  monitor_->CompleteStart();
  return true;
}

SIZE NWDBase::OuterSize(UINT dpi) {
  RECT rc{0, 0, otkGdi::Scale(kClientW, dpi), otkGdi::Scale(kClientH, dpi)};
  AdjustWindowRectEx(&rc, kStyle, TRUE, 0);  // with its menu bar
  return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

void NWDBase::CreateControls() {
  const HFONT font = font_.Get();
  auto make = [&](const wchar_t* cls, const std::string& text, DWORD style, const RECT& r, int id) {
    HWND h = CreateWindowExW(0, cls, Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, S(r.left), S(r.top),
                             S(r.right - r.left), S(r.bottom - r.top), wnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return h;
  };
  // Tab order follows creation order: the status list's label comes right before the list so its
  // mnemonic focuses it.
  make(L"BUTTON", "ﾀﾞｲｱﾙｱｯﾌﾟ接続の開始", WS_TABSTOP | BS_PUSHBUTTON | (dialBitmaps_[0] ? BS_BITMAP : BS_MULTILINE),
       kDialGoBtn, cmd::DialGoBtn);
  HWND lock = make(L"BUTTON", "ﾛｯｸ", WS_TABSTOP | BS_PUSHBUTTON | (lockBitmaps_[1] ? BS_BITMAP : 0), kLockBtn,
                   cmd::LockBtn);
  ShowWindow(lock, SW_HIDE);
  make(L"BUTTON", "常に手前に表示(&O)", WS_TABSTOP | BS_AUTOCHECKBOX, kTopWinBtn, cmd::TopWinBtn);
  for (const StaticDef& d : kLabels) make(L"STATIC", d.Text, d.Style, d.Rc, d.Id);
  make(WC_LISTBOXW, "", WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_BORDER,
       kStatusList, cmd::StatusList);

  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, wnd_, nullptr, instance_, nullptr);
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, S(400));
  SetTip(Control(cmd::DialGoBtn), "ﾀﾞｲｱﾙｱｯﾌﾟ接続の開始");
  if (dialBitmaps_[0])
    SendMessageW(Control(cmd::DialGoBtn), BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(dialBitmaps_[0].Get()));
}

void NWDBase::SetTip(HWND control, const std::string& text) {
  if (!tooltip_ || !control) return;
  std::wstring w = Widen(text);
  TOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = wnd_;
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  // Added the first time; later calls only change the text.
  TOOLINFOW probe = ti;
  if (!SendMessageW(tooltip_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&probe))) {
    ti.lpszText = w.data();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  } else {
    ti.lpszText = w.data();
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

bool NWDBase::PreTranslate(MSG& msg) {
  // Alt with a control's letter (S, O) acts on the control; the menu letters reach the menu bar.
  return otkModal::DialogKeys(wnd_, msg);
}

// ---- window procedure --------------------------------------------------------------------------------

LRESULT CALLBACK NWDBase::StaticWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return win::ForwardToObject<NWDBase, &NWDBase::wnd_, &NWDBase::WndProc>(wnd, msg, wParam, lParam);
}

LRESULT NWDBase::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == taskbarCreatedMsg_ && taskbarCreatedMsg_ != 0) {
    // The shell (re)started: its notification area has no icon of ours. Added with the present
    // picture and tip, also when the first add at start-up was refused.
    if (trayResident_) tray_.ReAddAfterShellRestart(TrayIcon(PresentTrayIconId()), WindowCaption(wnd_));
    return 0;
  }
  if (focus_.Handle(wnd_, msg, wParam, lParam)) return 0;
  switch (msg) {
    case WM_TIMER:
      // A cycle that opened a notice is still running while the notice's modal loop dispatches
      // timer messages: a timer never re-enters its own cycle (Lookersb carries on meanwhile).
      if (wParam == kLookerTimer && !inLooker_) {
        const RunningMark running(inLooker_);
        monitor_->Looker_Timer();
      } else if (wParam == kLookersbTimer && !inLookersb_) {
        const RunningMark running(inLookersb_);
        monitor_->Lookersb_Timer();
      }
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_INITMENUPOPUP:
      if (!HIWORD(lParam)) OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
      return 0;
    case WM_PAINT: {
      otkGdi::PaintDc dc(wnd_);
      PaintCounters(dc.Get());
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      HWND ctl = reinterpret_cast<HWND>(lParam);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetDlgCtrlID(ctl) == cmd::UserDefine && userGrey_ ? RGB(128, 128, 128)
                                                                         : GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(background_ ? background_.Get() : GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_HELP:  // F1, also with a menu open
      otkForm::OpenHelp("mainwin.htm");
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) closeFromBox_ = true;
      return DefWindowProcW(wnd_, msg, wParam, lParam);
    case WM_CLOSE: {
      const CloseSource source =
          closeByProgram_ ? CloseSource::Program : closeFromBox_ ? CloseSource::CloseBox : CloseSource::TaskList;
      closeFromBox_ = closeByProgram_ = false;
      if (Form_QueryUnload(source)) FinishWindow();
      return 0;
    }
    case WM_POWERBROADCAST:
      // Sleep: the monitor checkpoints the running connection and dates a line lost meanwhile to
      // the suspend. Whichever resume message comes first ends the sleep.
      if (monitor_ && wParam == PBT_APMSUSPEND) {
        monitor_->OnSuspend();
      } else if (monitor_ && (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND ||
                              wParam == PBT_APMRESUMECRITICAL)) {
        monitor_->OnResume();
      }
      return TRUE;
    case WM_QUERYENDSESSION:
      // Agree; the shut-down runs at WM_ENDSESSION, once the session really ends.
      return TRUE;
    case WM_ENDSESSION:
      if (wParam && Form_QueryUnload(CloseSource::SessionEnd)) FinishWindow();
      return 0;
    case WM_DESTROY:
      KillTimer(wnd_, kLookerTimer);
      KillTimer(wnd_, kLookersbTimer);
      if (NWDWinProc::Hooked()) NWDWinProc::UnhookMainWindow();
      tray_.RemoveTrayIcon();
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(wnd_, msg, wParam, lParam);
  }
}

// ---- menus and commands -------------------------------------------------------------------------------

MenuInputs NWDBase::CurrentMenuInputs() {
  const SettingsFileData& g = links::Global();
  MenuInputs in;
  in.LineConnected = monitor_ && monitor_->LineConnected() != 0;
  // "ﾀｽｸﾄﾚｲに入れる(&T)" only while the icon really is there to bring the program back.
  in.TrayResident = trayResident_ && tray_.TrayIconShown();
  in.LoggingFLG = g.Settings.LoggingFLG;
  in.LogFileExists = false;
  in.UserRenew = g.Settings.UserRenew;
  in.CounterName = g.Settings.CounterName;
  in.RsIdlFLG = g.Settings.RsIdlFLG;
  for (const RsSetInfoEntry& e : g.Settings.RsSetInfo) in.SetNames.push_back(e.SetName);
  in.RsSetInfoStd = g.Settings.RsSetInfoStd;
  return in;
}

void NWDBase::FillPopup(HMENU popup, const std::vector<MenuEntry>& items) {
  while (GetMenuItemCount(popup) > 0) DeleteMenu(popup, 0, MF_BYPOSITION);
  for (const MenuEntry& e : items) {
    if (e.IsSeparator()) {
      AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::string caption = e.Caption;
    if (e.Id == cmd::UserClear && !userClearCaption_.empty()) caption = userClearCaption_;
    UINT flags = MF_STRING | (e.Enabled ? MF_ENABLED : MF_GRAYED) | (e.Checked ? MF_CHECKED : MF_UNCHECKED);
    if (e.Id == cmd::UserClear && !userClearCaption_.empty())
      flags = MF_STRING | (userClearEnabled_ ? MF_ENABLED : MF_GRAYED);
    if (!e.Items.empty()) {
      HMENU sub = CreatePopupMenu();
      FillPopup(sub, e.Items);
      AppendMenuW(popup, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), Widen(caption).c_str());
    } else {
      AppendMenuW(popup, flags, static_cast<UINT_PTR>(e.Id), Widen(caption).c_str());
    }
  }
}

void NWDBase::OnInitMenuPopup(HMENU popup) {
  // Mainnu_Click / Utilnu_Click: the whole popup is rebuilt from the present state.
  MenuInputs in = CurrentMenuInputs();
  for (int i = 0; i < GetMenuItemCount(menuBar_); ++i) {
    if (GetSubMenu(menuBar_, i) != popup) continue;
    if (i == 1) ReadLogMenuState(in);
    const std::vector<MenuTop> tops = BuildMainMenu(in);
    FillPopup(popup, tops[static_cast<size_t>(i)].Items);
    return;
  }
}

void NWDBase::OnCommand(int id, int code, HWND control) {
  Monitor& m = *monitor_;
  SettingsFileData& g = links::Global();
  if (control) {
    if (code != BN_CLICKED) return;
    switch (id) {
      case cmd::DialGoBtn:  // dial when disconnected, hang up when connected
        m.RequestLine(m.LineConnected() ? 1 : 0, false);
        return;
      case cmd::LockBtn:
        m.LockBtnAction(!g.Settings.LockState);
        return;
      case cmd::TopWinBtn:
        TopWinBtn_Click();
        return;
      default:
        return;
    }
  }
  // Menus. Commands of items that are hidden or disabled right now are ignored.
  MenuInputs in = CurrentMenuInputs();
  if (id == cmd::DelLognu) ReadLogMenuState(in);
  if (id == cmd::UserClear) {
    if (!userClearEnabled_) return;
  } else if (!CommandAvailable(in, id)) {
    return;
  }
  if (id >= cmd::DialSetDefItemnu && id < cmd::DialSetDefItemnu + cmd::kMaxDefaultSetItems) {
    m.SetDefaultSet(id - cmd::DialSetDefItemnu);  // DialSetDefItemnu_Click
    return;
  }
  if (id >= cmd::trDialSetDefItemnu && id < cmd::trDialSetDefItemnu + cmd::kMaxDefaultSetItems) {
    m.SetDefaultSet(id - cmd::trDialSetDefItemnu);  // trDialSetDefItemnu_Click
    return;
  }
  switch (id) {
    case cmd::DialUpnu: m.RequestLine(0, false); break;
    case cmd::DialHupnu: m.RequestLine(1, false); break;
    case cmd::Renewnu: m.Looker_Timer(); break;
    case cmd::Clearnu: m.ClearStatusList(); break;
    case cmd::TodayClear: m.ResetTodayCounter(); break;
    case cmd::UserClear: m.ResetUserCounter(); break;
    case cmd::Compnu: SetDisplayMode(kModeCompact); break;
    case cmd::InTraynu: CloseByProgram(); break;
    case cmd::Closenu:
      explicitExit_ = true;
      CloseByProgram();
      break;
    case cmd::Historynu: Historynu_Click(); break;
    case cmd::UtilActnu: UtilActnu_Click(); break;
    case cmd::UtilSprnu: UtilSprnu_Click(); break;
    case cmd::UtilSprWatchEntrynu: UtilSprWatchEntrynu_Click(); break;
    case cmd::Loggingnu:
    case cmd::AdsLognu:
    case cmd::DelLognu: LogCommand(id); break;
    case cmd::Apphpnu: links::Apphpnu_Click(); break;
    case cmd::Vernu: links::Vernu_Click(instance_, wnd_, TopWinFLG()); break;
    case cmd::trDialUpnu:
      // Only while the line is still as it was when the popup opened.
      if (m.LineConnected() == popupLineState_) m.RequestLine(popupLineState_ ? 1 : 0, false);
      break;
    case cmd::trExpnu: ExpWindowFromTaskTary(); break;
    case cmd::trEndnu:
      explicitExit_ = true;
      CloseByProgram();
      break;
    default: break;
  }
}

void NWDBase::TrayRightButton() {
  // RefreshTrayDefaultSetMenu, the trDialUpnu caption and PopupLineState, then the popup.
  MenuInputs in = CurrentMenuInputs();
  popupLineState_ = monitor_->LineConnected();
  if (!trayMenu_) trayMenu_ = CreatePopupMenu();
  FillPopup(trayMenu_, BuildTrayMenu(in));
  POINT pt{};
  GetCursorPos(&pt);
  // The popup closes properly only when our window is in the foreground.
  SetForegroundWindow(wnd_);
  TrackPopupMenu(trayMenu_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, wnd_, nullptr);
  PostMessageW(wnd_, WM_NULL, 0, 0);
}

void NWDBase::TopWinBtn_Click() {
  const bool on = SendMessageW(Control(cmd::TopWinBtn), BM_GETCHECK, 0, 0) == BST_CHECKED;
  ApplyTopmost(on);
}

void NWDBase::ApplyTopmost(bool on) {
  otkWinSetting::SetWindowTopmost(wnd_, on ? HWND_TOPMOST : HWND_NOTOPMOST);
  links::Global().TopWinFLG = on;
  SetTip(Control(cmd::TopWinBtn), on ? kTopOnTip : kTopOffTip);
}

bool NWDBase::TopWinFLG() const { return links::Global().TopWinFLG; }

// ---- display modes ------------------------------------------------------------------------------------

bool NWDBase::MainExpState() const { return wnd_ && IsWindowVisible(wnd_); }

void NWDBase::SetMainExpState(bool shown) {
  if (shown == MainExpState()) return;
  if (!shown) {
    ShowWindow(wnd_, SW_HIDE);
    return;
  }
  // The cycle's time becomes the present one: what the refresh logs or requests carries it.
  monitor_->RefreshNow();
  if (CompactShown()) {
    // Reappear where the compact window is, kept on the screen.
    links::CenterWindowOver(CompactWindow(), wnd_, true);
  }
  ShowWindow(wnd_, SW_SHOWNORMAL);
}

void NWDBase::SetDisplayMode(int32_t mode) {
  if (!SwitchDisplayMode(modes_, mode)) return;
  links::Global().PreviousDisplayMode = modes_.PreviousDisplayMode;
  switch (mode) {
    case kModeTray:
      SetMainExpState(false);
      SetCompactState(false);
      break;
    case kModeMain:
      SetMainExpState(true);
      SetCompactState(false);
      break;
    case kModeCompact:
      SetCompactState(true);
      SetMainExpState(false);
      break;
    default: break;
  }
}

void NWDBase::ExpWindowFromTaskTary() {
  if (modes_.DisplayMode == kModeTray) SetDisplayMode(RestoreDisplayMode());
  HWND front = modes_.DisplayMode == kModeCompact ? CompactWindow() : wnd_;
  if (!front) return;
  if (IsIconic(front)) ShowWindow(front, SW_RESTORE);
  SetForegroundWindow(front);
}

// ---- closing ----------------------------------------------------------------------------------------------

void NWDBase::CloseByProgram() {
  closeByProgram_ = true;
  SendMessageW(wnd_, WM_CLOSE, 0, 0);
}

bool NWDBase::Form_QueryUnload(CloseSource source) {
  switch (DecideClose(unloading_, source, tray_.TrayIconShown(), explicitExit_)) {
    case CloseDecision::Allow: return true;
    case CloseDecision::StayInTray:
      SetDisplayMode(kModeTray);
      return false;
    case CloseDecision::Unload:
      UnloadAction();
      return true;
  }
  return true;
}

void NWDBase::UnloadAction() {
  if (unloading_) return;
  unloading_ = true;  // also what the compact window looks at while it unloads
  monitor_->StopMonitoring();
  SaveAllSettings();
  SetTrayResidency(false);
  // Every other window of the program goes with it.
  SetCompactState(false);
  CloseNotice();
  links::CloseAboutBox();
  links::CloseUtilityDialog();
}

void NWDBase::CloseForGood() {
  UnloadAction();
  // Posted: the caller (the compact window's unload) is still on the stack.
  PostMessageW(wnd_, WM_CLOSE, 0, 0);
}

void NWDBase::FinishWindow() {
  if (wnd_) DestroyWindow(wnd_);
}

LiveWindowState NWDBase::LiveState() const {
  LiveWindowState live;
  live.DisplayMode = modes_.DisplayMode;
  live.LockShown = monitor_ && monitor_->LockButtonShown();
  live.TrayInstalled = trayResident_;
  // Minimized, the window is parked off the screen: what is stored is where it comes back.
  const RECT r = links::NormalWindowRect(wnd_);
  live.MainLeft = otkGdi::PixelsToTwips(r.left, dpi_);
  live.MainTop = otkGdi::PixelsToTwips(r.top, dpi_);
  return live;
}

void NWDBase::SaveAllSettings() {
  // The main window is stored where it will reappear: centred over a shown compact window.
  if (CompactShown()) links::CenterWindowOver(CompactWindow(), wnd_, false);
  nw::SaveSettings(LiveState());
}

// ---- tray -----------------------------------------------------------------------------------------------

void NWDBase::SetTrayResidency(bool on) {
  if (on == trayResident_) return;
  if (on) {
    InstallTrayIcon(wnd_);
  } else {
    UninstallTrayIcon();
  }
  // InTraynu follows residency; the menu is rebuilt from it each time it opens.
  trayResident_ = on;
}

void NWDBase::InstallTrayIcon(HWND wnd) {
  NWDWinProc::HookMainWindow(wnd, this);
  otk::otkIconIntoTray::AddArgs args;
  args.Owner = wnd;
  args.Tip = WindowCaption(wnd);
  args.Icon = TrayIcon(PresentTrayIconId());
  tray_.AddTrayIcon(args);
}

void NWDBase::UninstallTrayIcon() {
  NWDWinProc::UnhookMainWindow();
  tray_.RemoveTrayIcon();
}

int NWDBase::PresentTrayIconId() const { return monitor_ && monitor_->LineConnected() ? 102 : 101; }

HICON NWDBase::TrayIcon(int id) const {
  // Shared icons live as long as the module, so the tray record may keep the handle.
  return static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(id), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                       GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR | LR_SHARED));
}

void NWDBase::SetTrayTip(const std::string& tip) {
  if (!trayResident_) return;
  otk::otkIconIntoTray::ModifyArgs args;
  args.Tip = tip;
  args.TipGiven = true;
  tray_.ModifyTrayIcon(args);
}

void NWDBase::SetTrayIconImage(int iconId) {
  if (!trayResident_) return;
  otk::otkIconIntoTray::ModifyArgs args;
  // Shared icons from LoadImage(LR_SHARED) live as long as the module; no handle to track.
  args.Icon = TrayIcon(iconId);
  args.IconGiven = true;
  tray_.ModifyTrayIcon(args);
}

// ---- the view -------------------------------------------------------------------------------------------

void NWDBase::StatusAppend(const std::string& line) {
  HWND list = Control(cmd::StatusList);
  const std::wstring w = Widen(line);
  const LRESULT index = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.c_str()));
  if (index >= 0) SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // Long lines scroll sideways instead of being cut.
  otkGdi::WindowDc dc(list);
  otkGdi::SelectGuard sel(dc.Get(), font_.Get());
  const int width = otkGdi::MeasureText(dc.Get(), line) + S(8);
  if (width > static_cast<int>(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0)))
    SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(width), 0);
}

void NWDBase::StatusRemoveFirst() { SendMessageW(Control(cmd::StatusList), LB_DELETESTRING, 0, 0); }

void NWDBase::StatusClear() {
  SendMessageW(Control(cmd::StatusList), LB_RESETCONTENT, 0, 0);
  SendMessageW(Control(cmd::StatusList), LB_SETHORIZONTALEXTENT, 0, 0);
}

void NWDBase::SetMainCaption(const std::string& title) { SetWindowTextW(wnd_, Widen(title).c_str()); }

void NWDBase::SetDialButton(int bitmapId, const std::string& tip) {
  HWND btn = Control(cmd::DialGoBtn);
  const otkGdi::Bitmap& bmp = dialBitmaps_[bitmapId == 102 ? 1 : 0];
  if (bmp) SendMessageW(btn, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp.Get()));
  SetWindowTextW(btn, Widen(tip).c_str());
  SetTip(btn, tip);
}

void NWDBase::SetLockButton(int bitmapId, const std::string& tip) {
  HWND btn = Control(cmd::LockBtn);
  const otkGdi::Bitmap& bmp = lockBitmaps_[bitmapId == 106 ? 0 : 1];
  if (bmp) SendMessageW(btn, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp.Get()));
  SetWindowTextW(btn, Widen(tip).c_str());
  SetTip(btn, tip);
  ShowWindow(btn, monitor_ && monitor_->LockButtonShown() ? SW_SHOW : SW_HIDE);
}

void NWDBase::DrawCounterBox(CounterBox box, const std::string& timeText, const std::string& countText, bool grey) {
  BoxState& b = boxes_[box == BoxUser ? 1 : 0];
  b.Time = timeText;
  b.Count = countText;
  b.Grey = grey;
  b.Drawn = true;
  otkGdi::WindowDc dc(wnd_);
  DrawBox(dc.Get(), box);
}

void NWDBase::DrawPosTim(const std::string& text) {
  posTim_ = text;
  otkGdi::WindowDc dc(wnd_);
  DrawTimBox(dc.Get());
}

void NWDBase::DrawBox(HDC dc, CounterBox box) {
  BoxState& b = boxes_[box == BoxUser ? 1 : 0];
  if (!b.Drawn || !dc) return;
  const POINT at = box == BoxUser ? POINT{kPosUsr.x, kPosTdy.y} : kPosTdy;
  const COLORREF color = b.Grey ? RGB(128, 128, 128) : RGB(0, 0, 0);
  std::vector<otkGdi::TextLine> lines{{b.Time, 0, 0, color, false}, {b.Count, 0, S(kCountLineY), color, false}};
  b.Box.Draw(dc, S(at.x), S(at.y), S(kCounterBox.cx), S(kCounterBox.cy), font_.Get(), background_.Get(), lines);
}

void NWDBase::DrawTimBox(HDC dc) {
  if (!dc) return;
  std::vector<otkGdi::TextLine> lines{{posTim_, 0, 0, RGB(0, 0, 0), true}};
  posTimBox_.Draw(dc, S(kPosTim.x), S(kPosTim.y), S(kTimBox.cx), S(kTimBox.cy), font_.Get(), background_.Get(),
                  lines);
}

void NWDBase::DrawVolume(const std::string& volumeText, const std::string& allowanceText) {
  volume_ = volumeText;
  allowance_ = allowanceText;
  otkGdi::WindowDc dc(wnd_);
  DrawVolBox(dc.Get());
  PassVolumeToCompact();
}

void NWDBase::DrawVolBox(HDC dc) {
  if (!dc) return;
  // Empty texts draw the bare background: a line that goes away leaves its place blank.
  std::vector<otkGdi::TextLine> lines{{volume_, 0, 0, RGB(0, 0, 0), false},
                                      {allowance_, 0, S(kAllowanceLineY), RGB(0, 0, 0), false}};
  volBox_.Draw(dc, S(kPosVol.x), S(kPosVol.y), S(kVolBox.cx), S(kVolBox.cy), font_.Get(), background_.Get(), lines);
}

void NWDBase::ShowTrayBalloon(const std::string& title, const std::string& text) {
  if (trayResident_) tray_.ShowBalloon(title, text, otk::otkIconIntoTray::BalloonKind::Warning);
}

void NWDBase::PaintCounters(HDC dc) {
  // Form_Paint: the cached texts, drawn again.
  DrawBox(dc, BoxToday);
  DrawBox(dc, BoxUser);
  if (!posTim_.empty()) DrawTimBox(dc);
  if (!volume_.empty() || !allowance_.empty()) DrawVolBox(dc);
}

void NWDBase::SetUserCounterState(const std::string& menuCaption, bool menuEnabled, const std::string& labelText,
                                  bool grey) {
  userClearCaption_ = menuCaption;
  userClearEnabled_ = menuEnabled;
  userGrey_ = grey;
  SetWindowTextW(Control(cmd::UserDefine), Widen(labelText).c_str());
  InvalidateRect(Control(cmd::UserDefine), nullptr, TRUE);
}

void NWDBase::SetPollingTimer(bool enabled, int32_t intervalMs) {
  const int32_t interval = enabled ? std::clamp<int32_t>(intervalMs, 100, 30000) : 0;
  if (interval == lookerInterval_) return;
  lookerInterval_ = interval;
  if (interval)
    SetTimer(wnd_, kLookerTimer, static_cast<UINT>(interval), nullptr);
  else
    KillTimer(wnd_, kLookerTimer);
}

void NWDBase::SetLockButtonShown(bool shown) {
  monitor_->ShowLockButton(shown);
  ShowWindow(Control(cmd::LockBtn), monitor_->LockButtonShown() ? SW_SHOW : SW_HIDE);
}

void NWDBase::StartLookersb(int intervalMs) {
  SetTimer(wnd_, kLookersbTimer, static_cast<UINT>(std::clamp(intervalMs, 100, 30000)), nullptr);
  lookersbOn_ = true;
}

void NWDBase::StopLookersb() {
  KillTimer(wnd_, kLookersbTimer);
  lookersbOn_ = false;
}

}  // namespace nw
