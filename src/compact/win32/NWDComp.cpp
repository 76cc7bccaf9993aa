#include "compact/win32/NWDComp.h"

#include "classlib/win32/WinText.h"
#include "res/resource.h"

namespace nw {
namespace {

// Row labels, placed by Relayout; the user's counter name is shown as written (its "&" is no
// mnemonic), and a tool tip shows it whole when it had to be shortened.
constexpr DWORD kMessStyle = SS_NOPREFIX | SS_NOTIFY;
constexpr otkForm::Control kLabels[] = {
    {otkForm::Kind::Label, NWDComp::kMessFirst, "", {}, kMessStyle},
    {otkForm::Kind::Label, NWDComp::kMessFirst + 1, "", {}, kMessStyle},
    {otkForm::Kind::Label, NWDComp::kMessFirst + 2, "", {}, kMessStyle},
};

void AppendItem(HMENU menu, int id, const std::string& caption, bool enabled = true, bool checked = false) {
  UINT flags = MF_STRING;
  if (!enabled) flags |= MF_GRAYED;
  if (checked) flags |= MF_CHECKED;
  AppendMenuW(menu, flags, static_cast<UINT_PTR>(id), win::Widen(caption).c_str());
}

void ClearMenu(HMENU menu) {
  while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, 0, MF_BYPOSITION);
}

}  // namespace

NWDComp::NWDComp(HINSTANCE instance, SettingsFileData& data, VolumeFileData& volume, CompactHost& host)
    : Form(instance), instance_(instance), data_(data), volume_(volume), host_(host) {}

NWDComp::~NWDComp() {
  if (Window()) {
    closing_ = true;
    Destroy();
  }
}

void NWDComp::SetCompactState(bool shown) {
  if (shown == CompactState()) return;
  if (shown) {
    Load();
  } else if (!closing_) {
    // Leaving display mode 2 from outside (or the program ending): only close.
    closing_ = true;
    Destroy();
  }
}

void NWDComp::Load() {
  closing_ = false;
  backRequest_ = false;

  HMENU bar = CreateMenu();
  mainMenu_ = CreatePopupMenu();
  viewMenu_ = CreatePopupMenu();
  AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(mainMenu_), win::Widen("ﾒｲﾝ(&M)").c_str());
  AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(viewMenu_), win::Widen("表示(&V)").c_str());

  // The main window's icon (the program's own when it has none).
  HWND main = host_.MainWindow();
  HICON big = main ? reinterpret_cast<HICON>(SendMessageW(main, WM_GETICON, ICON_BIG, 0)) : nullptr;
  HICON small = main ? reinterpret_cast<HICON>(SendMessageW(main, WM_GETICON, ICON_SMALL, 0)) : nullptr;
  if (!big) big = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_NETWARD));

  otkForm::FormOptions o;
  o.TopLevel = true;
  o.Menu = bar;
  o.Placement = otkForm::Place::At;  // where the main window is, once the grid is sized
  o.Position = POINT{CW_USEDEFAULT, CW_USEDEFAULT};
  o.ClientWidth = 300;
  o.ClientHeight = 80;
  o.Icon = big;
  o.SmallIcon = small;
  o.HelpPage = "compact.htm";
  o.ClassName = kClassName;
  if (!Create(o)) {
    mainMenu_ = viewMenu_ = nullptr;
    return;
  }
  AddControls(Window(), kLabels);

  host_.ShowAutoTitle(true);  // sets our caption in display mode 2
  if (data_.CompTopFLG) SetAlwaysOnTop(true);
  FillMainMenu();
  FillViewMenu();
  Relayout();
  host_.CenterFormOver(host_.MainWindow(), Window(), true);
  ExpressAcmComp(0, 0, 0);
  ShowWindow(Window(), SW_SHOW);
}

void NWDComp::Destroy() {
  timeMemory_.Forget();
  countMemory_.Forget();
  backRequest_ = false;
  Close();
  closing_ = false;
}

void NWDComp::CloseRedirecting() {
  if (closing_ || !Window()) return;
  closing_ = true;
  switch (comp::DecideUnload(host_.Unloading(), host_.ExplicitExit(), backRequest_, host_.TrayIconShown())) {
    case comp::UnloadLeadsTo::MainWindow:
      host_.SetDisplayMode(1);
      break;
    case comp::UnloadLeadsTo::Tray:
      host_.SetDisplayMode(0);
      // The main window reappears where the compact window was.
      host_.CenterFormOver(Window(), host_.MainWindow(), true);
      break;
    case comp::UnloadLeadsTo::EndProgram:
      host_.UnloadAction();
      break;
    case comp::UnloadLeadsTo::Nothing:
      break;
  }
  Destroy();
}

void NWDComp::SetCaption(const std::string& caption) {
  if (Window()) SetWindowTextW(Window(), win::Widen(caption).c_str());
}

void NWDComp::SetVolumeText(const std::string& text) {
  if (text == volumeText_) return;
  volumeText_ = text;
  if (!Window() || layoutInProgress_) return;
  otkGdi::WindowDc dc(Window());
  DrawVolumeLine(dc.Get());
}

void NWDComp::SetAlwaysOnTop(bool on) {
  data_.CompTopFLG = on;
  if (!Window()) return;
  SetTopmost(on);
  CheckMenuItem(viewMenu_, kWintopnu, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void NWDComp::FillMainMenu() {
  ClearMenu(mainMenu_);
  const bool connected = host_.LineConnected();
  AppendItem(mainMenu_, kDialUpnu, "ﾀﾞｲｱﾙｱｯﾌﾟ接続の開始(&D)", !connected);
  AppendItem(mainMenu_, kDialHupnu, "ﾀﾞｲｱﾙｱｯﾌﾟ接続を切断(&H)", connected);
  if (host_.LockButtonShown()) {
    AppendMenuW(mainMenu_, MF_SEPARATOR, 0, nullptr);  // Line1
    AppendItem(mainMenu_, kLocknu, "ﾀﾞｲｱﾙｱｯﾌﾟ接続のﾛｯｸ(&O)", true, data_.Settings.LockState);
  }
  const std::vector<std::string> sets = host_.DefaultSetMenuItems();
  if (!sets.empty()) {
    AppendMenuW(mainMenu_, MF_SEPARATOR, 0, nullptr);  // LineDSD
    HMENU sub = CreatePopupMenu();
    for (size_t i = 0; i < sets.size() && i < static_cast<size_t>(kMaxSetItems); ++i)
      AppendItem(sub, kDialSetDefItemnu + static_cast<int>(i), sets[i]);
    AppendMenuW(mainMenu_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub),
                win::Widen("標準の接続情報保存ｾｯﾄを指定(&F)").c_str());
  }
  AppendMenuW(mainMenu_, MF_SEPARATOR, 0, nullptr);
  AppendItem(mainMenu_, kBacknu, "戻る(&B)");
}

void NWDComp::FillViewMenu() {
  ClearMenu(viewMenu_);
  const SettingsRecord& s = data_.Settings;
  using comp::Item;
  AppendItem(viewMenu_, kExpLblnu, "説明ﾗﾍﾞﾙ表示(&L)", true, s.ExpLbl);
  AppendItem(viewMenu_, kExpTimnu, "接続時間表示(&M)", true, s.ExpTim);
  AppendItem(viewMenu_, kExpCntnu, "接続回数表示(&C)", true, s.ExpCnt);
  AppendMenuW(viewMenu_, MF_SEPARATOR, 0, nullptr);
  AppendItem(viewMenu_, kExpNownu, "\"接続／切断\" ｶｳﾝﾀ表示(&N)", true, s.ExpNow);
  AppendItem(viewMenu_, kExpTdynu, "\"今日\" ｶｳﾝﾀ表示(&T)", true, s.ExpTdy);
  AppendItem(viewMenu_, kExpUsrnu, comp::ExpUsrMenuCaption(s.CounterName), true, s.ExpUsr);
  AppendItem(viewMenu_, kExpVolnu, "ﾃﾞｰﾀ量表示(&D)", true, volume_.Display.ExpVol);
  AppendMenuW(viewMenu_, MF_SEPARATOR, 0, nullptr);
  AppendItem(viewMenu_, kWintopnu, "常に手前に表示(&O)", true, data_.CompTopFLG);
}

void NWDComp::Relayout() {
  layoutInProgress_ = true;
  {
    // The labels' widths in 96-DPI pixels, rounded up: the column grows until the labels fit.
    otkGdi::WindowDc dc(Window());
    otkGdi::SelectGuard sel(dc.Get(), Font());
    const int dpi = static_cast<int>(Dpi());
    layout_ = comp::ComputeLayout(data_.Settings, kPosLeft, kPosTop, volume_.Display.ExpVol,
                                  [&](const std::string& t) {
                                    return (otkGdi::MeasureText(dc.Get(), t) * 96 + dpi - 1) / dpi;
                                  });
  }

  // Row labels; the user counter's name may be long and is cut to the label's width (whole in
  // its tool tip).
  for (int k = 0; k < 3; ++k) {
    if (k >= static_cast<int>(layout_.Labels.size())) {
      ShowWindow(Mess(k), SW_HIDE);
      continue;
    }
    MoveWindow(Mess(k), Px(kPosLeft), Px(kPosTop + k * comp::kRowPitch), Px(layout_.LabelFit),
               Px(comp::kRowPitch - 2), FALSE);
    if (layout_.Rows[k] == comp::Row::User) {
      otkGdi::WindowDc dc(Window());
      otkGdi::SelectGuard sel(dc.Get(), Font());
      const std::string shown = comp::FitText(layout_.Labels[k], Px(layout_.LabelFit), [&](const std::string& t) {
        return otkGdi::MeasureText(dc.Get(), t);
      });
      SetText(kMessFirst + k, shown);
      if (shown != layout_.Labels[k]) SetTip(kMessFirst + k, layout_.Labels[k]);
    } else {
      SetText(kMessFirst + k, layout_.Labels[k]);
    }
    ShowWindow(Mess(k), SW_SHOWNA);
  }

  // Client area exactly the grid; a wrapping menu bar changes the frame, so measure again.
  const int wantW = Px(layout_.ClientWidth), wantH = Px(layout_.ClientHeight);
  for (int attempt = 0; attempt < 3; ++attempt) {
    RECT c{}, w{};
    GetClientRect(Window(), &c);
    GetWindowRect(Window(), &w);
    const int dw = wantW - c.right, dh = wantH - c.bottom;
    if (dw == 0 && dh == 0) break;
    SetWindowPos(Window(), nullptr, 0, 0, (w.right - w.left) + dw, (w.bottom - w.top) + dh,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  layoutInProgress_ = false;
  InvalidateRect(Window(), nullptr, TRUE);
  UpdateWindow(Window());
  ExpressAcmComp(0, 0, 0);
  otkGdi::WindowDc dc(Window());
  DrawColumns(dc.Get(), true);
}

void NWDComp::ExpressAcmComp(int32_t agIToday, int32_t agIUser, int32_t agCIval) {
  if (!Window()) return;
  const comp::ColumnTexts t =
      comp::MakeColumnTexts(data_.Settings, data_.Counters, host_.ConnectionSeconds(), agIToday, agIUser, agCIval);
  otkGdi::WindowDc dc(Window());
  if (data_.Settings.ExpTim && timeMemory_.Update(t.Time, false))
    DrawColumn(dc.Get(), layout_.TimeLeft, comp::kTimeWidth, t.Time, timeBox_);
  if (data_.Settings.ExpCnt && countMemory_.Update(t.Count, false))
    DrawColumn(dc.Get(), layout_.CountLeft, comp::kCountWidth, t.Count, countBox_);
}

void NWDComp::DrawColumns(HDC dc, bool force) {
  if (!force) return;
  if (layout_.TimeLeft >= 0) DrawColumn(dc, layout_.TimeLeft, comp::kTimeWidth, timeMemory_.Texts(), timeBox_);
  if (layout_.CountLeft >= 0) DrawColumn(dc, layout_.CountLeft, comp::kCountWidth, countMemory_.Texts(), countBox_);
  DrawVolumeLine(dc);
}

void NWDComp::DrawVolumeLine(HDC dc) {
  volumeDrawn_.clear();
  if (layout_.VolumeTop < 0 || !dc) return;
  // A long counter name would run out of the window: cut with "...", as the row labels are.
  {
    otkGdi::SelectGuard sel(dc, Font());
    volumeDrawn_ = comp::FitText(volumeText_, Px(comp::kVolumeWidth),
                                 [&](const std::string& t) { return otkGdi::MeasureText(dc, t); });
  }
  // An empty text draws the bare background: the line's place stays blank.
  const std::vector<otkGdi::TextLine> lines{{volumeDrawn_, 0, 0, RGB(0, 0, 0), false}};
  volumeBox_.Draw(dc, Px(kPosLeft), Px(layout_.VolumeTop), Px(comp::kVolumeWidth), Px(comp::kVolumeHeight),
                  Font(), GetSysColorBrush(COLOR_BTNFACE), lines);
}

void NWDComp::DrawColumn(HDC dc, int left, int width, const std::vector<std::string>& texts,
                         otkGdi::OffscreenTextBox& box) {
  if (left < 0 || layout_.BoxHeight <= 0) return;
  std::vector<otkGdi::TextLine> lines;
  for (size_t k = 0; k < texts.size(); ++k) {
    const uint32_t color = k < layout_.RowColors.size() ? layout_.RowColors[k] : 0;
    lines.push_back({texts[k], 0, Px(static_cast<int>(k) * comp::kRowPitch), static_cast<COLORREF>(color), false});
  }
  box.Draw(dc, Px(left), Px(layout_.DrawTop), Px(width), Px(layout_.BoxHeight), Font(),
           GetSysColorBrush(COLOR_BTNFACE), lines);
}

void NWDComp::OnMenuCommand(int id, int) {
  using comp::Item;
  auto toggle = [&](Item item) {
    if (!comp::ToggleItem(data_.Settings, item)) return;  // would leave the grid empty
    FillViewMenu();
    Relayout();
  };
  switch (id) {
    case kDialUpnu:
      if (!host_.LineConnected()) host_.RequestLine(0);
      return;
    case kDialHupnu:
      if (host_.LineConnected()) host_.RequestLine(1);
      return;
    case kLocknu:
      if (!host_.LockButtonShown()) return;
      host_.LockBtnAction(!data_.Settings.LockState);
      CheckMenuItem(mainMenu_, kLocknu, MF_BYCOMMAND | (data_.Settings.LockState ? MF_CHECKED : MF_UNCHECKED));
      host_.ShowAutoTitle(true);
      return;
    case kExpLblnu: toggle(Item::Lbl); return;
    case kExpTimnu: toggle(Item::Tim); return;
    case kExpCntnu: toggle(Item::Cnt); return;
    case kExpNownu: toggle(Item::Now); return;
    case kExpTdynu: toggle(Item::Tdy); return;
    case kExpUsrnu: toggle(Item::Usr); return;
    case kExpVolnu:
      volume_.Display.ExpVol = !volume_.Display.ExpVol;
      FillViewMenu();
      Relayout();
      return;
    case kWintopnu:
      SetAlwaysOnTop(!data_.CompTopFLG);
      return;
    case kBacknu:
      backRequest_ = true;
      CloseRedirecting();
      return;
    default:
      if (id >= kDialSetDefItemnu && id < kDialSetDefItemnu + kMaxSetItems) {
        const int index = id - kDialSetDefItemnu;
        if (index < static_cast<int>(host_.DefaultSetMenuItems().size())) host_.SetDefaultSet(index);
      }
      return;
  }
}

HBRUSH NWDComp::OnColorStatic(HWND control, HDC dc) {
  const size_t k = static_cast<size_t>(GetDlgCtrlID(control) - kMessFirst);
  SetTextColor(dc, k < layout_.RowColors.size() ? static_cast<COLORREF>(layout_.RowColors[k]) : 0);
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return GetSysColorBrush(COLOR_BTNFACE);
}

void NWDComp::OnDestroy() {
  mainMenu_ = viewMenu_ = nullptr;  // destroyed with the window's menu bar
}

LRESULT NWDComp::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITMENUPOPUP:
      if (reinterpret_cast<HMENU>(wp) == mainMenu_) FillMainMenu();
      if (reinterpret_cast<HMENU>(wp) == viewMenu_) FillViewMenu();
      return 0;
    case WM_PAINT: {
      otkGdi::PaintDc dc(Window());
      if (!layoutInProgress_) DrawColumns(dc.Get(), true);
      return 0;
    }
    case WM_GETMINMAXINFO: {
      // The grid may be narrower than the usual smallest window.
      auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
      mmi->ptMinTrackSize = POINT{1, 1};
      return 0;
    }
  }
  return Form::OnMessage(msg, wp, lp);
}

}  // namespace nw
