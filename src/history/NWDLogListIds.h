#pragma once
// Control identifiers of the history list window. Stable: the end-to-end tests find the controls
// by them.
namespace nw::loglist {

inline constexpr int kPageCount = 3;
// Page containers DialFrm, TdayFrm, UserFrm (LogListKind order) and the page tabs ListSel(i) /
// ListWord(i).
inline constexpr int DialFrm = 6000, TdayFrm = 6001, UserFrm = 6002;
inline constexpr int ListSel = 6010;   // + page index
inline constexpr int ListWord = 6020;  // + page index

// The lists HisDial, HisTday, HisUser (+ kind) and the column names under each.
inline constexpr int HisList = 6030;
inline constexpr int MesKind = 6040;  // MesDialkd, MesTdaykd, MesUserkd
// Column check boxes: page 0 in row order, then pages 1 and 2 (time, count, renewal date-time), each
// page's sent and received after them.
inline constexpr int hdDialStart = 6050, hdDialEnd = 6051, hdTime = 6052, hdExeStart = 6053, hdSent = 6054,
                     hdReceived = 6055;
inline constexpr int htPlusTime = 6060, htPlusCount = 6061, htReset = 6062, htSent = 6063, htReceived = 6064;
inline constexpr int huPlusTime = 6070, huPlusCount = 6071, huReset = 6072, huSent = 6073, huReceived = 6074;

inline constexpr int MesCase = 6080, MesPeriod = 6081, MesSeltime = 6082;
inline constexpr int cdBack = 6090, cdNext = 6091, cdGraph = 6092, cdCngVal = 6093, cdDetail = 6094,
                     cdCsv = 6095;
inline constexpr int cdOK = 1;  // IDOK: Enter outside a list closes the window

}  // namespace nw::loglist
