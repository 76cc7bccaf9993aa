#pragma once
// The "ﾃﾞｰﾀ量の設定" page without its window: what it shows, its check and the texts of its controls.
// The quota is kept in NwdUtil.vol (NWDVolumeFile.h), not in the settings record, so the page works
// on its own copy and the dialog stores it when every page passed:
//
//     QuotaValues v = LoadQuota(volumeData.Quota);
//     ... the window shows v, the user edits, the window reads the controls back into v ...
//     QuotaSettings copy = volumeData.Quota;
//     if (UtilProblem p = CheckQuota(v, copy)) { select p.Page, warn p.Message, focus p.Field; }
//     else after the other pages passed: volumeData.Quota = copy; SaveVolumeFile(volumeData);
#include <string>

#include "data/NWDVolumeFile.h"
#include "settings/NWDUtilModel.h"

namespace nw {

// The page's controls as the window holds them: boxes as typed, the list and options as indexes.
struct QuotaValues {
  bool QuotaOn = false;
  std::string QuotaSize;
  int QuotaUnit = 1;  // 0 "MB", 1 "GB"
  std::string QuotaWarn1, QuotaWarn2;
  int QuotaAction = 0;  // 0 tell only, 1 hang up and keep the line down
  bool QuotaCountSent = true;
};

// The longest allowance the size box takes (7 characters).
inline constexpr int64_t kMaxQuotaSize = 9999999;

QuotaValues LoadQuota(const QuotaSettings& quota);

// Checks the page and writes it into `copy` (Adapter is not on the page and stays). An empty result
// means success; otherwise page kPageQuota, the control to focus and the warning.
UtilProblem CheckQuota(const QuotaValues& values, QuotaSettings& copy);

// The captions of the page and its controls.
struct QuotaTexts {
  const char* Page;         // the page label UtilWord(10)
  const char* QuotaOn;
  const char* SizeLabel;
  const char* Units[2];     // the QuotaUnit list
  const char* WarnLabels[2];
  const char* PercentUnit;  // beside each warning box
  const char* ActionFrame;
  const char* Actions[2];
  const char* CountSent;
};
const QuotaTexts& QuotaPageTexts();

}  // namespace nw
