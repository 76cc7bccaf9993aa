// The main window's frame: the load sequence, the window's messages, the display modes, closing
// and saving the settings at the end.
#include "app/win32/NWDBase.h"

#include <commctrl.h>

#include <algorithm>

#include "app/NWDMenuIds.h"
#include "app/win32/NWDBaseLayout.h"
#include "app/win32/NWDBaseLinks.h"
#include "app/win32/NWDBasePorts.h"
#include "classlib/win32/WinText.h"
#include "monitor/Monitor.h"
#include "res/resource.h"

namespace nw {

using namespace mainlayout;

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

constexpr UINT_PTR kLookerTimer = 1;
constexpr UINT_PTR kLookersbTimer = 2;

constexpr int LabelStatus = 3103;

using otkForm::Kind;
// Tab order follows the table: the status list's label comes right before the list so its
// mnemonic focuses it (the two picture buttons come first). The counter table's heading and row
// names are drawn with its values (NWDCounterBoxes): under Wine each label fewer saves a start
// about 2 ms, to make it and to erase it when the window shows.
constexpr otkForm::Control kControls[] = {
    {Kind::Check, cmd::TopWinBtn, "常に手前に表示(&O)", kTopWinBtn},
    // The counter's name is the user's text: an "&" in it is shown, not made a mnemonic.
    {Kind::Label, cmd::UserDefine, "ﾕｰｻﾞｰ定義のｶｳﾝﾀ", kUserDefine, SS_CENTER | SS_ENDELLIPSIS | SS_NOPREFIX},
    {Kind::Label, LabelStatus, "状況(&S):", kStatusLabel},
    {Kind::List, cmd::StatusList, "", kStatusList, WS_HSCROLL},
};

constexpr const char* kTopOnTip = "ｳｨﾝﾄﾞｳを常に手前に表示する";
constexpr const char* kTopOffTip = "ｳｨﾝﾄﾞｳを常に手前に表示しない";

HICON LoadIconSized(HINSTANCE inst, int id, int size) {
  return static_cast<HICON>(LoadImageW(inst, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// What the compact window asks of the main window and the monitor.
class CompactHostOf final : public CompactHost {
 public:
  explicit CompactHostOf(NWDBase& main) : main_(main) {}
  HWND MainWindow() override { return main_.Handle(); }
  bool LineConnected() override { return main_.monitor().LineConnected() != 0; }
  int32_t ConnectionSeconds() override { return main_.monitor().ConnectionSeconds(); }
  bool Unloading() override { return main_.Unloading(); }
  bool ExplicitExit() override { return main_.ExplicitExit(); }
  bool TrayIconShown() override { return main_.TrayIconShown(); }
  bool LockButtonShown() override { return main_.monitor().LockButtonShown(); }
  void RequestLine(int32_t hangUp) override { main_.monitor().RequestLine(hangUp, false); }
  void LockBtnAction(bool whc) override { main_.monitor().LockBtnAction(whc); }
  void ShowAutoTitle(bool rdw) override { main_.monitor().ShowAutoTitle(rdw); }
  std::vector<std::string> DefaultSetMenuItems() override {
    return main_.monitor().DefaultSetMenuVisible() ? main_.monitor().DefaultSetMenuItems() : std::vector<std::string>{};
  }
  void SetDefaultSet(int32_t index) override { main_.monitor().SetDefaultSet(index); }
  void SetDisplayMode(int32_t mode) override { main_.SetDisplayMode(mode); }
  void UnloadAction() override { main_.CloseForGood(); }
  void CenterFormOver(HWND source, HWND target, bool keepOnScreen) override {
    links::CenterWindowOver(source, target, keepOnScreen);
  }

 private:
  NWDBase& main_;
};

}  // namespace

NWDBase::NWDBase() : Form(nullptr) {}

NWDBase::~NWDBase() {
  // The monitor goes before the ports it holds references to.
  monitor_.reset();
  ports_.reset();
  if (bigIcon_) DestroyIcon(bigIcon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
}

// ---- load -----------------------------------------------------------------------------------------

bool NWDBase::Form_Load(HINSTANCE instance) {
  instance_ = instance;
  loading_ = true;
  taskbarCreatedMsg_ = RegisterWindowMessageW(L"TaskbarCreated");

  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof icc;
  icc.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&icc);

  bigIcon_ = LoadIconSized(instance, IDI_NETWARD, GetSystemMetrics(SM_CXICON));
  smallIcon_ = LoadIconSized(instance, IDI_NETWARD, GetSystemMetrics(SM_CXSMICON));

  // Position: the saved left/top in twips.
  const SettingsFileData& g = links::Global();
  const UINT dpi = otkGdi::ScreenDpi();
  otkForm::FormOptions o;
  o.TopLevel = true;
  o.Menu = menu_.CreateBar(CurrentMenuInputs());
  o.Placement = otkForm::Place::At;
  o.Position = POINT{otkGdi::TwipsToPixels(g.SavedWindowState[SwLeft], dpi),
                     otkGdi::TwipsToPixels(g.SavedWindowState[SwTop], dpi)};
  o.ClientWidth = kClientW;
  o.ClientHeight = kClientH;
  o.Icon = bigIcon_ ? bigIcon_ : LoadIconW(nullptr, IDI_APPLICATION);
  o.SmallIcon = smallIcon_;
  o.HelpPage = "mainwin.htm";
  o.ClassName = kClassName;
  o.TipsAfterLoad = true;
  SetInstance(instance);
  if (!Create(o)) return false;

  counters_.Setup(Dpi(), Font());
  SelectObject(measureDc_.Get(), Font());
  // The monitor gives the dial button its picture as it starts.
  const bool dialPicture = static_cast<bool>(Picture(101));
  // The picture buttons keep their texts (for the keyboard and tools) under the pictures. The lock
  // button is made when it is first shown (MakeLockButton).
  const otkForm::Control buttons[] = {
      {Kind::Button, cmd::DialGoBtn, "ﾀﾞｲｱﾙｱｯﾌﾟ接続の開始", kDialGoBtn,
       static_cast<DWORD>(dialPicture ? BS_BITMAP : BS_MULTILINE), "ﾀﾞｲｱﾙｱｯﾌﾟ接続の開始"},
  };
  AddControls(Window(), buttons);
  AddControls(Window(), kControls);
  dialogs_ = std::make_unique<NWDBaseDialogs>(instance);

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
    SetChecked(cmd::TopWinBtn, true);
    ApplyTopmost(true);
  } else {
    SetTip(cmd::TopWinBtn, kTopOffTip);
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
  loading_ = false;
  return true;
}

void NWDBase::CreateMonitor() {
  compactHost_ = std::make_unique<CompactHostOf>(*this);
  NWDBasePorts::Needs needs;
  needs.LiveState = [this] { return LiveState(); };
  needs.WatchedHandles = [this] { return monitor_->WatchedHandles(); };
  needs.Notice = [this](const std::string& main, const std::string& sub) {
    monitor_->ShowNoticeDialog(main, sub, 0, -1);
  };
  ports_ = std::make_unique<NWDBasePorts>(instance_, Window(), *compactHost_, std::move(needs));
  monitor_ = std::make_unique<Monitor>(links::Global().Settings, links::Global().Counters, VolumeGlobal(),
                                       ports_->For(*this), ProgramFolder());
  Monitor& m = *monitor_;
  ports_->Notice.SetEvents({[&m] { m.OnNoticeLoaded(); }, [&m] { m.OnNoticeGo(); }, [&m] { m.OnNoticeNegative(); },
                            [&m] { m.OnNoticeUnloaded(); }});
}

RasQuery& NWDBase::RasProbe() { return ports_->Ras; }

MenuInputs NWDBase::CurrentMenuInputs() const {
  return MenuInputsNow(links::Global().Settings, monitor_ && monitor_->LineConnected() != 0,
                       trayResident_ && tray_.TrayIconShown());
}

// ---- window messages ------------------------------------------------------------------------------

void NWDBase::OnTimer(UINT_PTR id) {
  // A cycle that opened a notice is still running while the notice's modal loop dispatches timer
  // messages: a timer never re-enters its own cycle (Lookersb carries on meanwhile).
  if (id == kLookerTimer && !inLooker_) {
    const RunningMark running(inLooker_);
    monitor_->Looker_Timer();
  } else if (id == kLookersbTimer && !inLookersb_) {
    const RunningMark running(inLookersb_);
    monitor_->Lookersb_Timer();
  }
}

HBRUSH NWDBase::OnColorStatic(HWND control, HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetDlgCtrlID(control) == cmd::UserDefine && userGrey_ ? RGB(128, 128, 128)
                                                                         : GetSysColor(COLOR_BTNTEXT));
  return counters_.Background() ? counters_.Background() : GetSysColorBrush(COLOR_BTNFACE);
}

LRESULT NWDBase::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == taskbarCreatedMsg_ && taskbarCreatedMsg_ != 0) {
    ReAddTrayIcon();
    return 0;
  }
  switch (msg) {
    case kAddTrayIconMsg:
      AddTrayIconAfterLoad();
      return 0;
    case WM_INITMENUPOPUP:
      // Mainnu_Click / Utilnu_Click: the whole popup is rebuilt from the present state.
      if (!HIWORD(lp)) {
        const HMENU popup = reinterpret_cast<HMENU>(wp);
        const int index = menu_.BarIndex(popup);
        if (index < 0) return 0;
        MenuInputs in = CurrentMenuInputs();
        if (index == 1) TakeLogMenuState(in, ports_->Log.Utilnu_Click());
        menu_.Refill(popup, index, in);
      }
      return 0;
    case WM_PAINT: {
      otkGdi::PaintDc dc(Window());
      counters_.Paint(dc.Get());
      return 0;
    }
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_CLOSE) closeFromBox_ = true;
      break;
    case WM_POWERBROADCAST:
      // Sleep: the monitor checkpoints the running connection and dates a line lost meanwhile to
      // the suspend. Whichever resume message comes first ends the sleep.
      if (monitor_ && wp == PBT_APMSUSPEND) {
        monitor_->OnSuspend();
      } else if (monitor_ &&
                 (wp == PBT_APMRESUMEAUTOMATIC || wp == PBT_APMRESUMESUSPEND || wp == PBT_APMRESUMECRITICAL)) {
        monitor_->OnResume();
      }
      return TRUE;
    case WM_QUERYENDSESSION:
      // Agree; the shut-down runs at WM_ENDSESSION, once the session really ends.
      return TRUE;
    case WM_ENDSESSION:
      if (wp && Form_QueryUnload(CloseSource::SessionEnd)) Close();
      return 0;
  }
  return Form::OnMessage(msg, wp, lp);
}

void NWDBase::OnClose() {
  const CloseSource source =
      closeByProgram_ ? CloseSource::Program : closeFromBox_ ? CloseSource::CloseBox : CloseSource::TaskList;
  closeFromBox_ = closeByProgram_ = false;
  if (Form_QueryUnload(source)) Close();
}

void NWDBase::OnDestroy() {
  KillTimer(Window(), kLookerTimer);
  KillTimer(Window(), kLookersbTimer);
  if (NWDWinProc::Hooked()) NWDWinProc::UnhookMainWindow();
  tray_.RemoveTrayIcon();
  PostQuitMessage(0);
}

// ---- timers and buttons ---------------------------------------------------------------------------

void NWDBase::SetPollingTimer(bool enabled, int32_t intervalMs) {
  const int32_t interval = enabled ? std::clamp<int32_t>(intervalMs, 100, 30000) : 0;
  if (interval == lookerInterval_) return;
  lookerInterval_ = interval;
  if (interval)
    SetTimer(Window(), kLookerTimer, static_cast<UINT>(interval), nullptr);
  else
    KillTimer(Window(), kLookerTimer);
}

void NWDBase::StartLookersb(int intervalMs) {
  SetTimer(Window(), kLookersbTimer, static_cast<UINT>(std::clamp(intervalMs, 100, 30000)), nullptr);
  lookersbOn_ = true;
}

void NWDBase::StopLookersb() {
  KillTimer(Window(), kLookersbTimer);
  lookersbOn_ = false;
}

void NWDBase::SetLockButtonShown(bool shown) {
  monitor_->ShowLockButton(shown);
  Show(cmd::LockBtn, monitor_->LockButtonShown());
}

// Most users never show the lock button: it is made when first wanted, after the dial button in
// the tab order, rather than made hidden at every start.
void NWDBase::MakeLockButton() {
  if (Item(cmd::LockBtn)) return;
  const bool picture = FindResourceW(instance_, MAKEINTRESOURCEW(107), RT_BITMAP) != nullptr;
  const otkForm::Control lock[] = {
      {Kind::Button, cmd::LockBtn, "ﾛｯｸ", kLockBtn, static_cast<DWORD>(picture ? BS_BITMAP : 0)}};
  AddControls(Window(), lock);
  SetWindowPos(Item(cmd::LockBtn), Item(cmd::DialGoBtn), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void NWDBase::ApplyTopmost(bool on) {
  SetTopmost(on);
  links::Global().TopWinFLG = on;
  SetTip(cmd::TopWinBtn, on ? kTopOnTip : kTopOffTip);
}

bool NWDBase::TopWinFLG() const { return links::Global().TopWinFLG; }

// ---- closing and saving ---------------------------------------------------------------------------------

void NWDBase::CloseByProgram() {
  closeByProgram_ = true;
  SendMessageW(Window(), WM_CLOSE, 0, 0);
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
  if (ports_ && ports_->Notice.Loaded()) ports_->Notice.Close();
  dialogs_->CloseAll();
}

void NWDBase::CloseForGood() {
  UnloadAction();
  // Posted: the caller (the compact window's unload) is still on the stack.
  PostMessageW(Window(), WM_CLOSE, 0, 0);
}

LiveWindowState NWDBase::LiveState() const {
  LiveWindowState live;
  live.DisplayMode = modes_.DisplayMode;
  live.LockShown = monitor_ && monitor_->LockButtonShown();
  live.TrayInstalled = trayResident_;
  // Minimized, the window is parked off the screen: what is stored is where it comes back.
  const RECT r = links::NormalWindowRect(Window());
  live.MainLeft = otkGdi::PixelsToTwips(r.left, Dpi());
  live.MainTop = otkGdi::PixelsToTwips(r.top, Dpi());
  return live;
}

void NWDBase::SaveAllSettings() {
  // The main window is stored where it will reappear: centred over a shown compact window.
  if (CompactShown()) links::CenterWindowOver(CompactWindow(), Window(), false);
  nw::SaveSettings(LiveState());
}

}  // namespace nw
