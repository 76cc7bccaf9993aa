#pragma once
// NWDComp: the compact window, display mode 2. A grid of up to three counter rows ("接続／切断",
// "今日", the user-defined counter) with a label column, a time column and a count column, sized
// to what is shown; the main window's line commands in its menu.
//
// The main window owns one NWDComp and implements CompactHost for it:
//   SetDisplayMode(2)          -> comp.SetCompactState(true)
//   leaving mode 2             -> comp.SetCompactState(false)   (closes it without redirecting)
//   the monitor's view         -> comp.ExpressAcmComp(...), comp.SetCaption(title), comp.SetVolumeText(text)
//   UnloadAction               -> comp.SetCompactState(false) after Unloading is set
// The window itself decides, on its close box and on "戻る(&B)", where the program goes next.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/win32/otkForm.h"
#include "classlib/win32/otkGdi.h"
#include "compact/NWDCompLayout.h"
#include "data/NWDGlobal.h"
#include "data/NWDVolumeFile.h"

namespace nw {

// What the compact window needs from the main window and the monitor.
class CompactHost {
 public:
  virtual ~CompactHost() = default;
  virtual HWND MainWindow() = 0;
  virtual bool LineConnected() = 0;
  virtual int32_t ConnectionSeconds() = 0;
  virtual bool Unloading() = 0;
  virtual bool ExplicitExit() = 0;
  // The tray icon really is in the notification area (so hiding everything leaves a way back).
  virtual bool TrayIconShown() = 0;
  virtual bool LockButtonShown() = 0;
  virtual void RequestLine(int32_t hangUp) = 0;  // manual request: 1 hang up, 0 dial
  virtual void LockBtnAction(bool whc) = 0;
  virtual void ShowAutoTitle(bool rdw) = 0;
  // Default connection information set items ("" list: the submenu is not shown).
  virtual std::vector<std::string> DefaultSetMenuItems() = 0;
  virtual void SetDefaultSet(int32_t index) = 0;
  virtual void SetDisplayMode(int32_t mode) = 0;
  virtual void UnloadAction() = 0;
  // Moves `target` so that its centre is on `source`'s, kept on the screen when asked.
  virtual void CenterFormOver(HWND source, HWND target, bool keepOnScreen) = 0;
};

// A top-level form of the kit: its keyboard is the menu bar's (Alt with a menu letter) and F1.
class NWDComp final : public otkForm::Form {
 public:
  // Menu command ids (the end-to-end tests send them as WM_COMMAND).
  static constexpr int kDialUpnu = 1001;
  static constexpr int kDialHupnu = 1002;
  static constexpr int kLocknu = 1501;
  static constexpr int kExpLblnu = 1511;
  static constexpr int kExpTimnu = 1512;
  static constexpr int kExpCntnu = 1513;
  static constexpr int kExpNownu = 1514;
  static constexpr int kExpTdynu = 1515;
  static constexpr int kExpUsrnu = 1516;
  static constexpr int kWintopnu = 1517;
  static constexpr int kBacknu = 1518;
  static constexpr int kExpVolnu = 1519;
  static constexpr int kDialSetDefItemnu = 2600;  // + set index
  static constexpr int kMaxSetItems = 256;
  static constexpr int kMessFirst = 101;          // row labels Mess(0..2): ids 101..103
  static constexpr const wchar_t* kClassName = L"NetWardNWDComp";
  // Design position of the grid's origin (PosPx), 96-DPI pixels.
  static constexpr int kPosLeft = 6;
  static constexpr int kPosTop = 5;

  // volume: its Display.ExpVol switches the volume line (stored with the volume file).
  NWDComp(HINSTANCE instance, SettingsFileData& data, VolumeFileData& volume, CompactHost& host);
  ~NWDComp() override;
  NWDComp(const NWDComp&) = delete;
  NWDComp& operator=(const NWDComp&) = delete;

  // Shown (true: load and show; false: close without deciding where to go).
  bool CompactState() const { return Window() != nullptr; }
  void SetCompactState(bool shown);

  void ExpressAcmComp(int32_t agIToday, int32_t agIUser, int32_t agCIval);
  void SetCaption(const std::string& caption);
  // The volume line's text; kept while the window is closed, so it shows at once when it opens.
  void SetVolumeText(const std::string& text);

  bool AlwaysOnTop() const { return data_.CompTopFLG; }
  void SetAlwaysOnTop(bool on);

  // The texts last drawn in the time and count columns (tests).
  const std::vector<std::string>& TimeTexts() const { return timeMemory_.Texts(); }
  const std::vector<std::string>& CountTexts() const { return countMemory_.Texts(); }
  // The volume line as last drawn, cut to its width ("" while it is not shown).
  const std::string& VolumeLine() const { return volumeDrawn_; }

 private:
  void Load();
  void CloseRedirecting();  // close box and "戻る(&B)"
  void Destroy();
  void BuildMenus();
  void FillMainMenu();
  void FillViewMenu();
  void Relayout();
  void DrawColumns(HDC dc, bool force);
  void DrawColumn(HDC dc, int left, int width, const std::vector<std::string>& texts, otkGdi::OffscreenTextBox& box);
  void DrawVolumeLine(HDC dc);
  HWND Mess(int k) const { return Item(kMessFirst + k); }
  int Px(int px96) const { return S(px96); }

  void OnCommand(int, int) override {}  // the labels' clicks
  void OnMenuCommand(int id, int code) override;
  void OnCancel() override {}  // Esc closes nothing here
  void OnClose() override { CloseRedirecting(); }
  void OnDestroy() override;
  HBRUSH OnColorStatic(HWND control, HDC dc) override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  HINSTANCE instance_;
  SettingsFileData& data_;
  VolumeFileData& volume_;
  CompactHost& host_;
  HMENU mainMenu_ = nullptr, viewMenu_ = nullptr;
  otkGdi::OffscreenTextBox timeBox_, countBox_, volumeBox_;
  std::string volumeText_, volumeDrawn_;
  comp::Layout layout_;
  comp::ColumnMemory timeMemory_, countMemory_;
  bool backRequest_ = false;
  bool layoutInProgress_ = false;
  bool closing_ = false;
};

}  // namespace nw
