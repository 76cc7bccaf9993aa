#pragma once
// What the main window reaches in the other parts of the program: the process-wide settings,
// the settings file, the activity log commands, the compact window, the about box and help.
// One place, so the main window's handlers stay one-line dispatches.
#include <windows.h>

#include <cstdint>
#include <string>

#include "classlib/DateValue.h"
#include "data/NWDGlobal.h"
#include "data/NWDVolumeFile.h"

namespace nw::links {

// The program folder (where every data file lives), NwdUtil.dat and NwdUtil.vol read into the
// process-wide records (defaults when missing or damaged).
void LoadSettings();
// How NwdUtil.vol was found: Damaged is said in the status list once the monitor runs.
CheckedFileState VolumeFileState();
inline SettingsFileData& Global() { return nw::Global(); }
// The primary screen and the main window's outer size on it, in twips.
ScreenTwips ScreenSize();
// Where a window is (screen pixels), or comes back to when it is minimized.
RECT NormalWindowRect(HWND wnd);

Date Now();

// "目次(&C)..." and "ﾊﾞｰｼﾞｮﾝ情報(&V)...".
void Apphpnu_Click();
// F1 in any window opens that window's help page from the program's folder.
void InstallHelpOpener();
void Vernu_Click(HINSTANCE instance, HWND owner, bool topmost);
// Closes the about box when it is open (program end).
void CloseAboutBox();
// Closes the open settings dialog without applying it (program end).
void CloseUtilityDialog();

// CenterFormOver on real windows: `target` is moved so its centre lies on `source`'s centre.
void CenterWindowOver(HWND source, HWND target, bool keepOnScreen);

}  // namespace nw::links
