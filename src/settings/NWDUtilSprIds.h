#pragma once
// Control identifiers of the advanced settings dialog (nw::spr) and the watch-entry dialog
// (nw::ent). Stable: the checks name the failing field by them and the end-to-end tests find the
// controls by them.
namespace nw::spr {

inline constexpr int kPageCount = 2;
inline constexpr int RASConn = 5000, SysTimBack = 5001;  // page containers
inline constexpr int UtilSel = 5010;                     // + page index
inline constexpr int UtilWord = 5020;                    // + page index
inline constexpr int OK = 1, Cancel = 2;

// Page 0 "ﾀﾞｲｱﾙｱｯﾌﾟ接続設定"
inline constexpr int RsSetInfoTxt = 5100, RsSetInfoLst = 5101, RsSetInfoDefault = 5102, RsSetInfoReg = 5103,
                     RsSetInfoRenew = 5104, RsSetInfoDel = 5105, RsIdlFLG = 5106, RsEntryName = 5107,
                     RsEntryNameReset = 5108, RsEntryNameErr = 5109, RsUserName = 5110, RsPassword = 5111;
// Page 1 "時刻補正の設定": option groups SyCngDlg(0..2), SyOutDlg(0..2)
inline constexpr int fmeSyCngDlg = 5200, SyCngDlg = 5201, SyTimeOut = 5205, fmeSyOutDlg = 5206, SyOutDlg = 5207;

}  // namespace nw::spr

namespace nw::ent {

inline constexpr int kPageCount = 3;
inline constexpr int DecWatchWay = 5500, DecEntry = 5501, DecDetail = 5502;  // page containers
inline constexpr int UtilSel = 5510;                                          // + page index
inline constexpr int UtilWord = 5520;                                         // + page index
inline constexpr int OK = 1, Cancel = 2;

inline constexpr int WayWatchEn = 5600;  // (0) browser, (1) operating system
inline constexpr int lstEntries = 5610, cdRedraw = 5611, EtyName = 5612, EtyState = 5613;
inline constexpr int WatchDetail = 5620;  // (0..6)

}  // namespace nw::ent
