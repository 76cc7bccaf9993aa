#pragma once
// Command identifiers of the main window's menus, buttons and tray popup. They are part of the
// program's outside contract: the end-to-end tests drive the window with WM_COMMAND and these ids.
namespace nw::cmd {

// "ﾒｲﾝ(&M)"
inline constexpr int DialUpnu = 1001;
inline constexpr int DialHupnu = 1002;
inline constexpr int Renewnu = 1003;
inline constexpr int Clearnu = 1004;
inline constexpr int TodayClear = 1005;
inline constexpr int UserClear = 1006;
inline constexpr int Historynu = 1007;
inline constexpr int Compnu = 1008;
inline constexpr int InTraynu = 1009;
inline constexpr int Closenu = 1010;
// "設定(&U)"
inline constexpr int UtilActnu = 1101;
inline constexpr int UtilSprnu = 1102;
inline constexpr int UtilSprWatchEntrynu = 1103;
inline constexpr int Loggingnu = 1104;
inline constexpr int AdsLognu = 1105;
inline constexpr int DelLognu = 1106;
// "ﾍﾙﾌﾟ(&H)"
inline constexpr int Apphpnu = 1201;
inline constexpr int Vernu = 1202;
// Tray popup
inline constexpr int trDialUpnu = 1301;
inline constexpr int trExpnu = 1302;
inline constexpr int trEndnu = 1303;
// Default connection information set items: base + set index (up to 255 sets).
inline constexpr int DialSetDefItemnu = 2000;
inline constexpr int trDialSetDefItemnu = 2300;
inline constexpr int kMaxDefaultSetItems = 256;

// Controls of the main window (also their dialog-item ids).
inline constexpr int StatusList = 3001;
inline constexpr int DialGoBtn = 3002;
inline constexpr int LockBtn = 3003;
inline constexpr int TopWinBtn = 3004;
inline constexpr int UserDefine = 3005;

// The tray icon's callback message (WM_USER + 1).
inline constexpr unsigned kTrayCallbackMessage = 1025;

}  // namespace nw::cmd
