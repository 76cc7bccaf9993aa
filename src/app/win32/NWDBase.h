#pragma once
// NWDBase, the main window: status list, dial and lock buttons, the counter boxes, the menus, the
// tray icon, the two cycle timers and the three display modes. It is the monitor's view; every
// handler dispatches to the monitor, the data layer or another window.
#include <windows.h>

#include <memory>
#include <string>

#include "app/NWDWindowRules.h"
#include "classlib/win32/otkGdi.h"
#include "classlib/win32/otkModal.h"
#include "monitor/MonitorPorts.h"
#include "monitor/win32/NWDWinProc.h"
#include "monitor/win32/otkIconIntoTray.h"

namespace nw {

class Monitor;

class NWDBase final : public MonitorView, public TrayEvents {
 public:
  static constexpr const wchar_t* kClassName = L"NWDBase";

  NWDBase();
  ~NWDBase() override;
  NWDBase(const NWDBase&) = delete;
  NWDBase& operator=(const NWDBase&) = delete;

  // Creates the window and runs its load sequence; false when the window could not be created.
  bool Form_Load(HINSTANCE instance);
  HWND Handle() const { return wnd_; }
  // The window's outer size at `dpi` (client area, frame, caption and menu bar), in pixels.
  static SIZE OuterSize(UINT dpi);
  Monitor& monitor() { return *monitor_; }
  // Keyboard navigation among the main window's controls.
  bool PreTranslate(MSG& msg);

  // ---- public operations of the form ---------------------------------------------------------
  bool MainExpState() const;
  void SetMainExpState(bool shown);
  void UnloadAction();
  // UnloadAction and then the main window itself goes: the program ends.
  void CloseForGood();
  void ExpWindowFromTaskTary();
  void SetDisplayMode(int32_t mode);
  int32_t RestoreDisplayMode() const { return nw::RestoreDisplayMode(modes_); }
  int32_t PreviousDisplayMode() const { return modes_.PreviousDisplayMode; }
  bool ExplicitExit() const { return explicitExit_; }
  bool Unloading() const { return unloading_; }
  bool TopWinFLG() const;
  // "動作の設定(&A)...": the operation settings dialog, modal; the window refreshes afterwards.
  void UtilActnu_Click();
  // "高度な設定(&S)..." and "監視ｴﾝﾄﾘの高度な設定(&E)...": modal; afterwards the probe forgets the
  // connections it watched and one monitor cycle runs.
  void UtilSprnu_Click();
  void UtilSprWatchEntrynu_Click();
  // "履歴の一覧(&H)...": the history list over the process's display settings, modal.
  void Historynu_Click();
  // The RAS queries of this machine (the probe's own adapter).
  RasQuery& RasProbe();
  // Looker on or off, at `intervalMs` (restarted only when that changes).
  void SetPollingTimer(bool enabled, int32_t intervalMs);
  // Shows or hides the lock button (showing a hidden one applies the stored lock state).
  void SetLockButtonShown(bool shown);

  // ---- tray --------------------------------------------------------------------------------------
  bool TrayResident() const { return trayResident_; }
  void SetTrayResidency(bool on);
  void InstallTrayIcon(HWND wnd);
  void UninstallTrayIcon();
  HICON MainIcon() const { return bigIcon_; }
  // The window state the settings file stores (display mode, lock button, tray, position).
  LiveWindowState LiveState() const;

  // ---- MonitorView --------------------------------------------------------------------------------
  int DisplayMode() override { return modes_.DisplayMode; }
  void StatusAppend(const std::string& line) override;
  void StatusRemoveFirst() override;
  void StatusClear() override;
  void SetMainCaption(const std::string& title) override;
  bool TrayIconShown() override { return tray_.TrayIconShown(); }
  void SetTrayTip(const std::string& tip) override;
  void SetTrayIcon(int iconId) override { SetTrayIconImage(iconId); }
  void SetCompactCaption(const std::string& caption) override;
  void SetDialButton(int bitmapId, const std::string& tip) override;
  void SetLockButton(int bitmapId, const std::string& tip) override;
  void DrawCounterBox(CounterBox box, const std::string& timeText, const std::string& countText,
                      bool grey) override;
  void DrawPosTim(const std::string& text) override;
  void ExpressAcmComp(int32_t agIToday, int32_t agIUser, int32_t agCIval) override;
  void DrawVolume(const std::string& volumeText, const std::string& allowanceText) override;
  void ShowTrayBalloon(const std::string& title, const std::string& text) override;
  void SetUserCounterState(const std::string& menuCaption, bool menuEnabled, const std::string& labelText,
                           bool grey) override;
  void StartLookersb(int intervalMs) override;
  void StopLookersb() override;
  bool LookersbEnabled() override { return lookersbOn_; }

  void SetTrayIconImage(int iconId);
  HICON TrayIcon(int id) const;
  // 102 while the line is connected, else 101.
  int PresentTrayIconId() const;

  // ---- TrayEvents -------------------------------------------------------------------------------
  void TrayDoubleClick() override { ExpWindowFromTaskTary(); }
  void TrayRightButton() override;

 private:
  static LRESULT CALLBACK StaticWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);

  void CreateControls();
  void ReleaseWindowResources();
  // Builds the monitor with this machine's adapters (clock, probe, dialer, files, notice dialog).
  void CreateMonitor();
  int S(int px96) const { return otkGdi::Scale(px96, dpi_); }
  HWND Control(int id) const { return GetDlgItem(wnd_, id); }
  void SetTip(HWND control, const std::string& text);

  MenuInputs CurrentMenuInputs();
  void FillPopup(HMENU popup, const std::vector<MenuEntry>& items);
  void OnInitMenuPopup(HMENU popup);
  void OnCommand(int id, int code, HWND control);

  // Form_QueryUnload: true when the window may go.
  bool Form_QueryUnload(CloseSource source);
  void CloseByProgram();  // the "Unload Me" of the exit commands
  void FinishWindow();

  void TopWinBtn_Click();
  void ApplyTopmost(bool on);
  void PaintCounters(HDC dc);
  void DrawBox(HDC dc, CounterBox box);
  void DrawTimBox(HDC dc);
  void DrawVolBox(HDC dc);
  void SaveAllSettings();
  void CloseNotice();
  // The activity log commands of "設定(&U)".
  void ReadLogMenuState(MenuInputs& in);
  void LogCommand(int id);
  // The compact window (display mode 2).
  bool CompactShown() const;
  HWND CompactWindow() const;
  void SetCompactState(bool shown);
  void PassVolumeToCompact();

  HINSTANCE instance_ = nullptr;
  HWND wnd_ = nullptr;
  HWND tooltip_ = nullptr;
  HMENU menuBar_ = nullptr;
  HMENU trayMenu_ = nullptr;
  UINT dpi_ = 96;
  UINT taskbarCreatedMsg_ = 0;
  otkGdi::Font font_;
  otkGdi::Brush background_;
  otkGdi::Bitmap dialBitmaps_[2];  // 101 disconnected, 102 connected
  otkGdi::Bitmap lockBitmaps_[2];  // 106 locked, 107 unlocked
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;

  DisplayModes modes_;
  bool explicitExit_ = false;
  bool unloading_ = false;
  bool trayResident_ = false;
  int popupLineState_ = 0;  // PopupLineState
  otkModal::FocusKeeper focus_;
  bool closeFromBox_ = false;
  bool closeByProgram_ = false;
  bool lookersbOn_ = false;
  int32_t lookerInterval_ = 0;  // 0 while Looker is off
  bool inLooker_ = false;
  bool inLookersb_ = false;

  // What the counter boxes and PosTim show, for repaints.
  struct BoxState {
    std::string Time, Count;
    bool Grey = false;
    bool Drawn = false;
    otkGdi::OffscreenTextBox Box;
  };
  BoxState boxes_[2];
  std::string posTim_;
  otkGdi::OffscreenTextBox posTimBox_;
  std::string volume_, allowance_;  // the volume line and the daily-allowance line
  otkGdi::OffscreenTextBox volBox_;
  std::string userClearCaption_;
  bool userClearEnabled_ = true;
  bool userGrey_ = false;

  otk::otkIconIntoTray tray_;
  struct Adapters;  // the monitor's ports on this machine, the notice and the compact window
  std::unique_ptr<Adapters> ports_;
  std::unique_ptr<Monitor> monitor_;
};

}  // namespace nw
