#pragma once
// What the main window and the start-up reach in the other parts of the program: the process-wide
// settings, the settings file, the screen, help, and placing windows over each other. Below the
// main window: nothing here knows it.
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

// "目次(&C)...".
void Apphpnu_Click();
// F1 in any window opens that window's help page from the program's folder.
void InstallHelpOpener();

// CenterFormOver on real windows: `target` is moved so its centre lies on `source`'s centre.
void CenterWindowOver(HWND source, HWND target, bool keepOnScreen);

}  // namespace nw::links
