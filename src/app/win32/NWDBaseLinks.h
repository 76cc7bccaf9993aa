#pragma once
// What the main window reaches in the other parts of the program: the process-wide settings,
// the settings file, the activity log commands, the compact window, the about box and help.
// One place, so the main window's handlers stay one-line dispatches.
#include <windows.h>

#include <cstdint>
#include <string>

#include "classlib/DateValue.h"
#include "data/NWDGlobal.h"

namespace nw::links {

// The program folder (where every data file lives) and NwdUtil.dat read into the process-wide
// records (defaults when it is missing or damaged).
void LoadSettings();
inline SettingsFileData& Global() { return nw::Global(); }
// The primary screen in twips.
ScreenTwips ScreenSize();

Date Now();

// Activity log commands of the "設定(&U)" menu.
bool LogFileExists();
void Loggingnu_Click();
void AdsLognu_Click(HWND owner);
void DelLognu_Click();

// "目次(&C)..." and "ﾊﾞｰｼﾞｮﾝ情報(&V)...".
void Apphpnu_Click();
void Vernu_Click(HWND owner);

// The compact window (display mode 2).
bool CompactShown();
HWND CompactWindow();
void SetCompactState(bool shown);
void SetCompactCaption(const std::string& caption);
void ExpressAcmComp(int32_t agIToday, int32_t agIUser, int32_t agCIval);

// Closes every other window of the program (compact window, notice, about box) at shut-down.
void UnloadOtherWindows();

// CenterFormOver on real windows: `target` is moved so its centre lies on `source`'s centre.
void CenterWindowOver(HWND source, HWND target, bool keepOnScreen);

}  // namespace nw::links
