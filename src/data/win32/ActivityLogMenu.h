#pragma once
// The Windows side of the activity log commands: "ﾛｸﾞﾌｧｲﾙの場所(&W)..." through the common
// save dialog.
//
// The main window keeps one ActivityLogCommands (data/ActivityLog.h) over the settings record
// and calls it from its handlers (the "設定(&U)" menu's state included); the monitor's file port
// writes each line with AppendActivityLine.
#include <windows.h>

#include "data/ActivityLog.h"

namespace nw {

// Shows the save dialog set up for the log; on O.K. LogFileAddress becomes the chosen path.
// True when a path was chosen and taken.
bool AdsLognu_Click(HWND owner, ActivityLogCommands& commands);

}  // namespace nw
