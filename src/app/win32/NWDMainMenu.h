#pragma once
// The main window's menus as Windows menus: the menu bar ("ﾒｲﾝ(&M)", "設定(&U)", "ﾍﾙﾌﾟ(&H)"),
// each popup rebuilt from the present state when it opens, and the tray icon's popup. What they
// hold is decided in NWDWindowRules; this only builds them.
#include <windows.h>

#include <string>
#include <vector>

#include "app/NWDWindowRules.h"

namespace nw {

// What the menus depend on now.
MenuInputs MenuInputsNow(const SettingsRecord& s, bool lineConnected, bool trayIconShown);

class NWDMainMenu {
 public:
  NWDMainMenu() = default;
  ~NWDMainMenu();
  NWDMainMenu(const NWDMainMenu&) = delete;
  NWDMainMenu& operator=(const NWDMainMenu&) = delete;

  // The menu bar; the window it is given to destroys it.
  HMENU CreateBar(const MenuInputs& in);
  // The position of `popup` in the menu bar, -1 when it is none of its popups.
  int BarIndex(HMENU popup) const;
  // Rebuilds the bar's popup at `index` (WM_INITMENUPOPUP).
  void Refill(HMENU popup, int index, const MenuInputs& in);
  // Opens the tray popup at the cursor; its commands go to `owner`.
  void TrackTray(HWND owner, const MenuInputs& in);

  // The user counter's reset item: its caption (empty: the built one) and whether it may be chosen.
  void SetUserClear(const std::string& caption, bool enabled);
  // Whether command `id` is offered now (hidden or disabled items are ignored).
  bool Available(const MenuInputs& in, int id) const;

 private:
  void Fill(HMENU popup, const std::vector<MenuEntry>& items);

  HMENU bar_ = nullptr;
  HMENU tray_ = nullptr;
  std::string userClearCaption_;
  bool userClearEnabled_ = true;
};

}  // namespace nw
