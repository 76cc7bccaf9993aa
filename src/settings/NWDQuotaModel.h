#pragma once
// The "ﾃﾞｰﾀ量の設定" page without its window: what it shows, its check and the texts of its controls.
// The quota is kept in NwdUtil.vol (NWDVolumeFile.h), not in the settings record, so the page works
// on its own copy and the dialog stores it when every page passed:
//
//     QuotaValues q = LoadQuota(VolumeGlobal().Quota);
//     ... the window shows q, the user edits, the window reads the controls back into q ...
//     QuotaSettings copy = VolumeGlobal().Quota;
//     UtilProblem p = ApplyUtilityWithQuota(values, q, copy, host);   // the ten pages, then this one
//     if (!p) { VolumeGlobal().Quota = copy; SaveVolumeFile(VolumeGlobal()); }
#include <string>
#include <vector>

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
  std::string Adapter;  // the adapter lines not watched through RAS are measured on; empty: all
};

// The longest allowance the size box takes (7 characters).
inline constexpr int64_t kMaxQuotaSize = 9999999;

QuotaValues LoadQuota(const QuotaSettings& quota);

// Checks the page and writes it into `copy`. An empty result means success; otherwise page
// kPageQuota, the control to focus and the warning.
UtilProblem CheckQuota(const QuotaValues& values, QuotaSettings& copy);

// The operation settings dialog's apply with this page as its last: the ten pages' checks in their
// order, then this page's, and only when all passed the settings and their effects (ApplyUtility)
// and `quota` = the page's values. The caller then writes NwdUtil.vol.
UtilProblem ApplyUtilityWithQuota(const UtilValues& values, const QuotaValues& quotaValues, QuotaSettings& quota,
                                  UtilityHost& host, bool lateDayAccepted = false);

// The adapter list of the page: "すべてのｱﾀﾞﾌﾟﾀ" first, then the adapters present, then the stored one
// when it is not present now (an adapter unplugged stays the user's choice until changed).
struct AdapterChoices {
  std::vector<std::string> Items;
  int Selected = 0;
  // The adapter of list item `index`; empty for "all" (and for an index outside the list).
  std::string AdapterAt(int index) const;
};
AdapterChoices MakeAdapterChoices(const std::vector<std::string>& present, const std::string& stored);

// The page's note on the period the allowance counts in, with the user counter's name.
std::string QuotaPeriodNote(const std::string& counterName);
// The warning when NwdUtil.vol could not be written after "O.K.".
std::string QuotaSaveFailedMessage();

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
  const char* AdapterLabel;
  const char* AllAdapters;  // the first item of the adapter list
};
const QuotaTexts& QuotaPageTexts();

}  // namespace nw
