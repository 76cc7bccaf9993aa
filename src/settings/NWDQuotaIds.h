#pragma once
// Control identifiers of the "ﾃﾞｰﾀ量の設定" page of the operation settings dialog: page index 10,
// after the ten pages of NWDUtilIds.h, with its container and label in the same numbering.
namespace nw::util {

inline constexpr int kPageQuota = 10;
inline constexpr int DecQuota = 4010;  // container; its labels are UtilSel + 10, UtilWord + 10
// QuotaOn check box; QuotaSize box with the QuotaUnit list (0 MB, 1 GB); QuotaWarn(0..1) boxes;
// QuotaAction(0..1) options (0 tell only, 1 hang up and keep the line down); QuotaCountSent check box.
// QuotaAdapter list (0 all adapters, then by name); QuotaNote the period the allowance counts in.
inline constexpr int QuotaOn = 4400, QuotaSize = 4401, QuotaUnit = 4402, QuotaWarn = 4403, QuotaAction = 4405,
                     QuotaCountSent = 4407, QuotaAdapter = 4408, QuotaNote = 4409;

}  // namespace nw::util
