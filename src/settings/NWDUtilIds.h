#pragma once
// Control identifiers of the operation settings dialog. Stable: the dialog's checks name the
// failing field by them and the end-to-end tests find the controls by them.
namespace nw::util {

inline constexpr int kPageCount = 10;
// Page containers (index order) and the page labels UtilSel(i) / UtilWord(i).
inline constexpr int DecRenew = 4000, Dial = 4001, DialHangup = 4002, DecMaintain = 4003, DecRedial = 4004,
                     DecDialVal = 4005, DecExpress = 4006, DecTimer = 4007, DecLaunch = 4008, DecTaskTray = 4009;
inline constexpr int UtilSel = 4100;   // + page index
inline constexpr int UtilWord = 4120;  // + page index
inline constexpr int OK = 1;           // IDOK
inline constexpr int Cancel = 2;       // IDCANCEL

// Page 0
inline constexpr int UserRenew = 4200, CounterName = 4201, RNInterval = 4202, RenewFreq = 4203, FreqExp = 4204,
                     WhenWeek = 4205, WhenRenew = 4206;  // WhenRenew(0..4): month, day, hour, minute, second
// Page 1
inline constexpr int AlDalDial = 4220, AcDalDial = 4221, AcDalDialog = 4222;
// Page 2: per group hang-up, announce, limit boxes (hours, minutes, seconds)
inline constexpr int AtCutHangup = 4230, AtCutDialog = 4231, AtCutTime = 4232;
inline constexpr int AuCutHangup = 4235, AuCutDialog = 4236, AuCutTime = 4237;
inline constexpr int AdCutHangup = 4240, AdCutDialog = 4241, AdCutTime = 4242;
inline constexpr int AuCutCaption = 4245;
// Page 3
inline constexpr int ExpLock = 4250, CngConnLockOnFLG = 4251, CngDisconnLockOnFLG = 4252, CngConnLockOffFLG = 4253,
                     CngDisconnLockOffFLG = 4254;
// Page 4
inline constexpr int RdByAuto = 4260, RdByManu = 4261, RdInterval = 4262;
// Page 5: option groups (0 keep, 1 change) and boxes (0 hours, 1 count, 2 minutes, 3 seconds)
inline constexpr int frmCngToday = 4270, opCngToday = 4271, TodayCnter = 4273;
inline constexpr int frmCngUser = 4277, opCngUser = 4278, UserCnter = 4280;
// Page 6
inline constexpr int FormatWin = 4290, FormatWinVis = 4291, ExFormatWin = 4292, FormatIval = 4293,
                     ExFormatIval = 4294, FormatNow = 4295, ExFormatNow = 4296, MaxCount = 4297;
// Page 7: TimerOp(0..4)
inline constexpr int TimerActv = 4300, TimerOp = 4301, UserTimerIval = 4306;
// Page 8
inline constexpr int MesLaunchStatus = 4310, MesRegStatus = 4311, MesRegPlace = 4312, cmRegRegist = 4313,
                     cmRegDelete = 4314, MesSupStatus = 4315, MesSupPlace = 4316, cmSupRegist = 4317,
                     cmSupDelete = 4318;
// Page 9
inline constexpr int TackTrayIn = 4320, ExpStart = 4321, DblErr = 4322, LDialSave = 4323, LTdaySave = 4324,
                     LUserSave = 4325;

}  // namespace nw::util
