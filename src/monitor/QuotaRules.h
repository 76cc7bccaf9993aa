#pragma once
// The quota of the user period: which warnings are due, whether the allowance is reached and what
// is left for each remaining day. Pure functions over the quota settings, the period's volume and
// the period's marks; the monitor announces (tray balloon, notice dialog), hangs up and holds the line.
//
//   QuotaCheck q = CheckQuota(quota, volume.UserTotal(), block.Marks);
//   if (q.WarnDue || q.FullDue) { MarkQuotaAnnounced(q, block.Marks); announce q.WarnDue / q.FullDue; }
//   if (q.HoldLineDown) keep the line down (hang up if it is up);
#include <cstdint>
#include <string>

#include "classlib/DateValue.h"
#include "data/NWDGlobal.h"
#include "data/NWDVolumeFile.h"

namespace nw {

// The bytes the allowance is measured against: sent + received, or received only.
uint64_t QuotaMeasure(const QuotaSettings& quota, VolumeAmount period);

struct QuotaCheck {
  bool Active = false;  // the quota is on and has an allowance
  uint64_t Used = 0;
  uint64_t Left = 0;     // allowance - used, 0 once reached
  int32_t Percent = 0;   // used in whole percent of the allowance (rounded down, at most 999)
  // The warning to announce now: its percentage (WarnPercent1 or WarnPercent2), 0 for none. When
  // both became due at once only the higher is announced; both are marked.
  int32_t WarnDue = 0;
  bool FullDue = false;       // the allowance was reached and this was not announced yet
  bool Reached = false;       // used >= allowance
  bool HoldLineDown = false;  // hang-up action, reached and not released by the user
};

QuotaCheck CheckQuota(const QuotaSettings& quota, VolumeAmount period, const QuotaMarks& marks);

// The smallest measure at which CheckQuota's answer can change from "nothing due, not reached":
// the threshold of the next warning not yet made, else the allowance. The monitor checks again
// only from there (or when the settings or marks change).
uint64_t QuotaNextThreshold(const QuotaSettings& quota, const QuotaMarks& marks);

// Sets the marks of what `check` announces, before the announcement opens (nested cycles must not
// repeat it). A due 100 % also marks the warnings below it.
void MarkQuotaAnnounced(const QuotaSettings& quota, const QuotaCheck& check, QuotaMarks& marks);

// What is left spread over the days left in the user period, today included.
struct DailyAllowance {
  bool Known = false;  // a quota and a running user counter with a period end
  uint64_t Bytes = 0;
  int32_t DaysLeft = 0;
  Date PeriodEnd = 0;
};

// The period ends at `userRenewTime` when that lies ahead, else at the next moment of the user
// counter's schedule. A day is a calendar day: the day the period ends counts when the period ends
// after its midnight.
DailyAllowance ComputeDailyAllowance(const SettingsRecord& schedule, Date userRenewTime, Date now,
                                     const QuotaSettings& quota, VolumeAmount period);

// Texts of the announcements: the balloon of a warning and the notice of the reached allowance.
std::string QuotaWarningText(const QuotaSettings& quota, int32_t percent, uint64_t used);
std::string QuotaReachedText(const std::string& counterName, const QuotaSettings& quota);
std::string QuotaReachedSubText(const QuotaSettings& quota);

}  // namespace nw
