#pragma once
// The main window's decisions, kept free of Windows so they are tested natively: display-mode
// switching, what a close request does, where a window is centred, and the menus' contents.
#include <cstdint>
#include <string>
#include <vector>

#include "data/ActivityLog.h"
#include "data/NWDGlobal.h"

namespace nw {

// 0 tray only, 1 main window, 2 compact window.
inline constexpr int32_t kModeTray = 0;
inline constexpr int32_t kModeMain = 1;
inline constexpr int32_t kModeCompact = 2;

struct DisplayModes {
  int32_t DisplayMode = kModeMain;
  int32_t PreviousDisplayMode = kModeMain;
};

// Records a switch to `mode`; false (and nothing changed) when it is the present mode.
bool SwitchDisplayMode(DisplayModes& modes, int32_t mode);
// The mode that showing the program again returns to: the main or the compact window, never
// nothing.
int32_t RestoreDisplayMode(const DisplayModes& modes);
// The mode applied at start-up from the saved one.
int32_t StartupDisplayMode(int32_t savedMode, bool expStart, const DisplayModes& modes);

// Where a close request comes from (the numbers are the classic unload modes).
enum class CloseSource : int { CloseBox = 0, Program = 1, SessionEnd = 2, TaskList = 3 };
enum class CloseDecision { Allow, StayInTray, Unload };
// `trayIconShown`: the icon is really in the notification area, so there is a way back.
CloseDecision DecideClose(bool unloading, CloseSource source, bool trayIconShown, bool explicitExit);

// A window rectangle in twips.
struct TwipRect {
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
};
// Centres `target` on `source`; with keepOnScreen it is then kept inside screenW x screenH.
TwipRect CenterFormOver(const TwipRect& source, TwipRect target, bool keepOnScreen, int32_t screenW,
                        int32_t screenH);

// One entry of a menu as the window builds it.
struct MenuEntry {
  int Id = 0;  // 0: separator (or a submenu holder, see Items)
  std::string Caption;
  bool Enabled = true;
  bool Checked = false;
  std::vector<MenuEntry> Items;  // non-empty: a submenu
  bool IsSeparator() const { return Id == 0 && Items.empty() && Caption.empty(); }
};
struct MenuTop {
  std::string Caption;
  std::vector<MenuEntry> Items;
};

// What the menus depend on, read at the moment a menu opens.
struct MenuInputs {
  bool LineConnected = false;
  bool TrayResident = false;
  bool LoggingFLG = false;
  bool LogFileExists = false;
  bool UserRenew = true;
  std::string CounterName;
  bool RsIdlFLG = false;
  std::vector<std::string> SetNames;
  int32_t RsSetInfoStd = -1;
};

// The log items of "設定(&U)" take what ActivityLogCommands::Utilnu_Click decided when the menu
// opened (probing an invalid path there switches the log off, so the tick comes from it too).
void TakeLogMenuState(MenuInputs& in, const ActivityLogCommands::MenuState& log);

// The menu bar: "ﾒｲﾝ(&M)", "設定(&U)", "ﾍﾙﾌﾟ(&H)".
std::vector<MenuTop> BuildMainMenu(const MenuInputs& in);
// The tray popup (right-click on the icon).
std::vector<MenuEntry> BuildTrayMenu(const MenuInputs& in);
// Whether a command id is currently offered (visible and enabled) by the menus built from `in`;
// commands arriving from outside for hidden or disabled items are ignored.
bool CommandAvailable(const MenuInputs& in, int id);

// The default-set items show only when dialing with stored sets and there is a choice to make.
bool DefaultSetMenuShown(bool rsIdlFLG, size_t setCount);
std::string DefaultSetItemCaption(const std::string& setName, bool isDefault);

// Caption of the user-counter reset item.
std::string UserClearCaption(bool userRenew, const std::string& counterName);

}  // namespace nw
