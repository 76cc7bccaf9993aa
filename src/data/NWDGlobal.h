#pragma once
// The settings, counters and history display settings that live once in the process, from
// LoadSettings at start-up to SaveSettings at shut-down. Field names are the names used everywhere.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/DateValue.h"

namespace nw {

// One connection information set: what a dial request needs.
struct RsSetInfoEntry {
  std::string SetName;
  std::string EntryName;
  std::string UserName;
  std::string Password;
  bool operator==(const RsSetInfoEntry&) const = default;
};

// The operation settings; the settings dialogs edit a copy and copy it back on O.K.
// Kinds follow the file: int16_t Integer, int32_t Long, bool Boolean, Date, std::string String.
// The two lists carry their "last index" implicitly: WatchEntriesLast() == size() - 1.
struct SettingsRecord {
  bool TimerActv = true;
  int16_t TimerIval = 1000;
  int16_t MaxCount = 32;
  bool UserRenew = true;
  std::string FormatNow = "yyyy年 m月 d日 AMPM h:mm:ss";
  std::string FormatIval = "h時間 mm分 ss秒";
  int16_t WhenRenewMonth = 1;
  int32_t WhenWeek = 0;
  int16_t WhenRenewDay = 1;
  int16_t WhenRenewHour = 0;
  int16_t WhenRenewMinute = 0;
  int16_t WhenRenewSecond = 0;
  int32_t RNInterval = 0;  // 0 year, 1 month, 2 week, 3 day, 4 hour, 5 minute
  int16_t RenewFreq = 1;
  std::string CounterName = "ﾕｰｻﾞｰ定義";
  bool LoggingFLG = false;
  std::string LogFileAddress;  // default: program folder + "LogFile.txt" (SetDefaults)
  std::string FormatWin = "h:mm:ss";
  bool FormatWinVis = true;
  bool ExpStart = true;
  bool DblErr = false;
  bool LockState = false;
  bool CngConnLockOnFLG = false;
  bool CngDisconnLockOnFLG = false;
  bool CngConnLockOffFLG = false;
  bool CngDisconnLockOffFLG = false;
  bool LDialSave = true;
  bool LTdaySave = true;
  bool LUserSave = true;
  bool AtCutDialog = false;
  bool AtCutHangup = false;
  int32_t AtCutTime = 7200;
  bool AuCutDialog = false;
  bool AuCutHangup = false;
  int32_t AuCutTime = 14400;
  bool AdCutDialog = false;
  bool AdCutHangup = false;
  int32_t AdCutTime = 3600;
  bool AlDalDial = false;
  bool AcDalDialog = false;
  bool AcDalDial = false;
  bool RdByManu = false;
  bool RdByAuto = false;
  int32_t RdInterval = 0;
  bool ExpLbl = true;
  bool ExpTim = true;
  bool ExpCnt = true;
  bool ExpNow = true;
  bool ExpTdy = true;
  bool ExpUsr = true;
  int32_t WayWatchEn = 0;  // 0 browser-dependent (WinInet), 1 dial-up networking (RAS)
  std::vector<std::string> WatchEntries;
  int32_t WatchDetail = 8192;
  bool RsIdlFLG = false;
  std::vector<RsSetInfoEntry> RsSetInfo;
  int32_t RsSetInfoStd = -1;
  int32_t SyTimeOut = 60;
  int32_t SyCngDlg = 0;
  int32_t SyOutDlg = 0;

  int32_t WatchEntriesLast() const { return static_cast<int32_t>(WatchEntries.size()) - 1; }
  int32_t RsSetInfoLast() const { return static_cast<int32_t>(RsSetInfo.size()) - 1; }
  bool operator==(const SettingsRecord&) const = default;
};

// The persistent state of the two counters, rewritten in place after every disconnection.
struct CounterBlock {
  Date TodayDate = 0;
  int32_t TodaySeconds = 0;
  int32_t TodayCount = 0;
  Date UserRenewTime = 0;
  int32_t UserSeconds = 0;
  int32_t UserCount = 0;
  bool operator==(const CounterBlock&) const = default;
};

// Counter arithmetic: a Long that would overflow stays at its limit instead of changing sign.
inline int32_t SaturatingAdd(int32_t a, int64_t b) {
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t{a} + b, INT32_MIN, INT32_MAX));
}

// Index of the four-entry history arrays.
enum LogListKind : int { LogDial = 0, LogToday = 1, LogUser = 2, LogGraph = 3 };

struct HistoryDisplaySettings {
  std::array<int32_t, 4> hisShowMaw{99, 99, 99, 31};
  std::array<int32_t, 4> hisMoveMax{50, 50, 50, 3};
  bool hdDialStart = true, hdDialEnd = true, hdTime = true, hdExeStart = true;
  bool htPlusTime = true, htPlusCount = true, htReset = true;
  bool huPlusTime = true, huPlusCount = true, huReset = true;
  std::array<std::string, 4> hisFmtDate{"yy/mm/dd hh:mm:ss", "yy/mm/dd hh:mm:ss", "yy/mm/dd hh:mm:ss",
                                        "yy/mm/dd hh:mm:ss"};
  std::array<std::string, 4> hisFmtTime{"h時間 mm分 ss秒", "h時間 mm分 ss秒", "h時間 mm分 ss秒", "h時間 mm分 ss秒"};
  int32_t gphGetWay = 1;
  int32_t gphBgColor = static_cast<int32_t>(0x8000000D);  // system colour: highlight
  int32_t gphNtColor = 0x000080FF;
  bool operator==(const HistoryDisplaySettings&) const = default;
};

// Indices of SavedWindowState.
enum SavedWindowIndex : int { SwLeft = 0, SwTop = 1, SwTrayIn = 2, SwLockShown = 3, SwDisplayMode = 4 };

// Everything NwdUtil.dat holds, as one value. SavedWindowState holds Booleans as -1 / 0.
struct SettingsFileData {
  SettingsRecord Settings;
  CounterBlock Counters;
  HistoryDisplaySettings History;
  bool TopWinFLG = false;
  bool CompTopFLG = true;
  std::array<int32_t, 5> SavedWindowState{0, 0, -1, 0, 0};
  int32_t PreviousDisplayMode = 1;
  bool operator==(const SettingsFileData&) const = default;
};

// ---- The program's folder, where every data file lives.

// Set once at start-up by the program (tests use temporary folders).
void SetProgramFolder(std::string folder);
const std::string& ProgramFolder();
// The program folder joined with `name` by exactly one "\".
std::string AppPath(std::string_view name);

// ---- The settings file NwdUtil.dat.

inline constexpr std::string_view kSettingsFileName = "NwdUtil.dat";
inline constexpr std::string_view kSettingsKindTag = "Orvin.T.K. NetWardSaveUtility";
inline constexpr int16_t kSettingsVersion = 51;
inline constexpr int64_t kCounterBlockPoint = 118;  // first byte behind the version-51 header
inline constexpr int32_t kMainWindowWidth = 4770;    // twips, when the window layer gives no size
inline constexpr int32_t kMainWindowHeight = 3015;

// The primary screen's size in twips, and the main window's outer size on it (both from the
// window layer): the default position centres that window, and a stored one is kept so that the
// whole window stays on the screen.
struct ScreenTwips {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t WindowWidth = kMainWindowWidth;
  int32_t WindowHeight = kMainWindowHeight;
};

// What the window layer reports at save time in place of SavedWindowState.
struct LiveWindowState {
  int32_t DisplayMode = 1;  // 0 tray only, 1 main window, 2 compact window
  bool LockShown = false;
  bool TrayInstalled = true;
  int32_t MainLeft = 0;  // twips; with the compact window shown, the main window centred over it
  int32_t MainTop = 0;
};

// Every field but the CounterBlock to its default; the window centred on `screen`.
void SetDefaults(SettingsFileData& data, ScreenTwips screen);

// Fills `data` from NwdUtil.dat, or with defaults where the file is missing, foreign or damaged
// (a file of another format version keeps its counters). Creates an empty file when none exists.
void LoadSettings(SettingsFileData& data, ScreenTwips screen);

// Writes the whole file anew: into a temporary file in the same folder, flushed, then moved over
// the old one in one step. False (old file untouched) when anything fails.
bool SaveSettings(const SettingsFileData& data, const LiveWindowState& live);

// Rewrites the counters in place behind a valid version-51 header, flushed to disk. Without such
// a header (missing, empty, foreign file) the whole file is written instead, so the counters
// survive the next load.
bool SaveCounterBlock(const SettingsFileData& data, const LiveWindowState& live);

// The process's one instance, from LoadSettings at start-up to SaveSettings at shut-down, and the
// same operations on it.
SettingsFileData& Global();
inline void LoadSettings(ScreenTwips screen) { LoadSettings(Global(), screen); }
inline bool SaveSettings(const LiveWindowState& live) { return SaveSettings(Global(), live); }
inline bool SaveCounterBlock(const LiveWindowState& live) { return SaveCounterBlock(Global(), live); }

}  // namespace nw
