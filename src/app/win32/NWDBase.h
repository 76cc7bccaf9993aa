#pragma once
// NWDBase, the main window: status list, dial and lock buttons, the counter boxes, the menus, the
// tray icon, the two cycle timers and the three display modes. It is the monitor's view; every
// handler dispatches to the monitor, the data layer or another window. A top-level form of the
// kit, so its keyboard is every form's.
//
// Its files, by concern; each calls only what is further down this list:
//   NWDBaseCommands.cpp  menu and button commands, the dialogs they open
//   NWDBaseView.cpp      the monitor's view (MonitorView): status list, caption, buttons, counters
//   NWDBase.cpp          the frame: load sequence, window messages, timers, closing, saving
//   NWDBaseModes.cpp     the display modes (tray only, main window, compact window)
//   NWDBaseTray.cpp      the tray icon
//   NWDMainMenu, NWDCounterBoxes, NWDBaseDialogs, NWDBasePorts, NWDBaseLinks, NWDBaseLayout.h:
//                        the pieces it is built from (menus, drawn texts, dialogs, the monitor's
//                        adapters, process-wide state, design layout), which know nothing of it.
#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "app/NWDWindowRules.h"
#include "app/win32/NWDBaseDialogs.h"
#include "app/win32/NWDCounterBoxes.h"
#include "app/win32/NWDMainMenu.h"
#include "classlib/win32/otkForm.h"
#include "classlib/win32/otkGdi.h"
#include "monitor/MonitorPorts.h"
#include "monitor/win32/NWDWinProc.h"
#include "monitor/win32/otkIconIntoTray.h"

namespace nw {

class Monitor;
class CompactHost;
struct NWDBasePorts;

class NWDBase final : public otkForm::Form, public MonitorView, public TrayEvents {
 public:
  static constexpr const wchar_t* kClassName = L"NWDBase";
  // Posted to itself during the load: the tray icon's add.
  static constexpr UINT kAddTrayIconMsg = WM_APP + 1;

  NWDBase();
  ~NWDBase() override;

  // Creates the window and runs its load sequence; false when the window could not be created.
  bool Form_Load(HINSTANCE instance);
  HWND Handle() const { return Window(); }
  Monitor& monitor() { return *monitor_; }

  // ---- public operations of the form ---------------------------------------------------------
  bool MainExpState() const;
  void SetMainExpState(bool shown);
  void UnloadAction();
  // UnloadAction and then the main window itself goes: the program ends.
  void CloseForGood();
  void ExpWindowFromTaskTary();
  void SetDisplayMode(int32_t mode);
  int32_t RestoreDisplayMode() const { return nw::RestoreDisplayMode(modes_); }
  bool ExplicitExit() const { return explicitExit_; }
  bool Unloading() const { return unloading_; }
  bool TopWinFLG() const;
  bool TrayResident() const { return trayResident_; }
  // Looker on or off, at `intervalMs` (restarted only when that changes).
  void SetPollingTimer(bool enabled, int32_t intervalMs);
  // Shows or hides the lock button (showing a hidden one applies the stored lock state).
  void SetLockButtonShown(bool shown);
  void SetTrayResidency(bool on);
  HICON MainIcon() const { return bigIcon_; }
  // The RAS queries of this machine (the probe's own adapter).
  RasQuery& RasProbe();
  // The window state the settings file stores (display mode, lock button, tray, position).
  LiveWindowState LiveState() const;

  // ---- MonitorView (NWDBaseView.cpp; the timers in NWDBase.cpp) ---------------------------------
  int DisplayMode() override { return modes_.DisplayMode; }
  void StatusAppend(const std::string& line) override;
  void StatusRemoveFirst() override;
  void StatusClear() override;
  void SetMainCaption(const std::string& title) override;
  bool TrayIconShown() override { return tray_.TrayIconShown(); }
  void SetTrayTip(const std::string& tip) override;
  void SetTrayIcon(int iconId) override;
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

  // ---- TrayEvents (NWDBaseCommands.cpp) ------------------------------------------------------
  void TrayDoubleClick() override { ExpWindowFromTaskTary(); }
  void TrayRightButton() override;

 private:
  // ---- the frame (NWDBase.cpp) ----
  void OnCommand(int id, int code) override;          // NWDBaseCommands.cpp
  void OnMenuCommand(int id, int code) override;      // NWDBaseCommands.cpp
  void OnCancel() override {}                         // Esc closes nothing here
  void OnClose() override;
  void OnTimer(UINT_PTR id) override;
  HBRUSH OnColorStatic(HWND control, HDC dc) override;
  void OnDestroy() override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // Builds the monitor with this machine's adapters (clock, probe, dialer, files, notice dialog).
  void CreateMonitor();
  MenuInputs CurrentMenuInputs() const;
  // Form_QueryUnload: true when the window may go.
  bool Form_QueryUnload(CloseSource source);
  void CloseByProgram();  // the "Unload Me" of the exit commands
  void SaveAllSettings();
  void ApplyTopmost(bool on);
  void MakeLockButton();
  // A button picture by resource id, loaded when first shown.
  const otkGdi::Bitmap& Picture(int id);
  // ---- the compact window (NWDBaseModes.cpp) ----
  bool CompactShown() const;
  HWND CompactWindow() const;
  void SetCompactState(bool shown);

  // ---- the tray icon (NWDBaseTray.cpp) ----
  void InstallTrayIcon();
  void AddTrayIconAfterLoad();
  void UninstallTrayIcon();
  void ReAddTrayIcon();  // the shell (re)started
  HICON TrayIcon(int id) const;
  // 102 while the line is connected, else 101.
  std::string PresentTrayTip() const;
  int PresentTrayIconId() const;

  // ---- commands (NWDBaseCommands.cpp) ----
  void TopWinBtn_Click();
  void UtilActnu_Click();
  void UtilSprnu_Click();
  void UtilSprWatchEntrynu_Click();
  void LogCommand(int id);

  HINSTANCE instance_ = nullptr;
  UINT taskbarCreatedMsg_ = 0;
  // The button pictures loaded so far (Picture): 101 disconnected, 102 connected; 106 locked,
  // 107 unlocked.
  std::map<int, otkGdi::Bitmap> pictures_;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;

  DisplayModes modes_;
  bool explicitExit_ = false;
  bool unloading_ = false;
  bool trayResident_ = false;
  // While the window loads, the tray icon's add waits for the message loop (kAddTrayIconMsg): the
  // window shows first.
  bool loading_ = false;
  bool trayAddPosted_ = false;
  int popupLineState_ = 0;  // PopupLineState
  bool closeFromBox_ = false;
  bool closeByProgram_ = false;
  bool lookersbOn_ = false;
  int32_t lookerInterval_ = 0;  // 0 while Looker is off
  bool inLooker_ = false;
  bool inLookersb_ = false;
  bool userGrey_ = false;

  NWDMainMenu menu_;
  NWDCounterBoxes counters_;
  // The status lines are measured here, in the window's font, rather than in a DC of the list
  // taken for each line.
  otkGdi::MemoryDc measureDc_{nullptr};
  std::unique_ptr<NWDBaseDialogs> dialogs_;
  otk::otkIconIntoTray tray_;
  std::unique_ptr<CompactHost> compactHost_;
  std::unique_ptr<NWDBasePorts> ports_;
  std::unique_ptr<Monitor> monitor_;
};

}  // namespace nw
