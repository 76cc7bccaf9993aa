#include "monitor/QuotaRules.h"

#include <algorithm>

#include "classlib/otkSizeText.h"
#include "monitor/RenewalSchedule.h"

namespace nw {

namespace {

// `percent` % of the allowance, rounded up: ceil(allowance × percent / 100), split so that nothing
// overflows.
uint64_t PercentBytes(uint64_t allowance, int32_t percent) {
  const uint64_t p = static_cast<uint64_t>(std::clamp(percent, 0, 100));
  return allowance / 100 * p + (allowance % 100 * p + 99) / 100;
}

bool AtPercent(uint64_t used, uint64_t allowance, int32_t percent) { return used >= PercentBytes(allowance, percent); }

// The end of the user period that contains `now`: the counter's own renewal time while it lies
// ahead (it is what the renewal will use), else the schedule's next moment after `now`.
bool PeriodEnd(const SettingsRecord& s, Date userRenewTime, Date now, Date& ou) {
  const int64_t at = ToSeconds(now);
  if (userRenewTime != 0 && ToSeconds(userRenewTime) > at) {
    ou = userRenewTime;
    return true;
  }
  Date next = 0;
  if (TryRenewalMoment(s, now, 0, next) && ToSeconds(next) > at) {
    ou = next;
    return true;
  }
  if (TryRenewalMoment(s, now, std::max<int32_t>(s.RenewFreq, 1), next) && ToSeconds(next) > at) {
    ou = next;
    return true;
  }
  return false;
}

}  // namespace

uint64_t QuotaMeasure(const QuotaSettings& quota, VolumeAmount period) {
  return quota.CountSent ? period.Total() : period.Received;
}

QuotaCheck CheckQuota(const QuotaSettings& quota, VolumeAmount period, const QuotaMarks& marks) {
  QuotaCheck q;
  if (!quota.QuotaOn || quota.Allowance == 0) return q;
  q.Active = true;
  q.Used = QuotaMeasure(quota, period);
  q.Reached = q.Used >= quota.Allowance;
  q.Left = q.Reached ? 0 : quota.Allowance - q.Used;
  q.Percent = static_cast<int32_t>(std::min<uint64_t>(otk::ScaledQuotient(q.Used, quota.Allowance, 2), 999));
  q.FullDue = q.Reached && !marks.FullNoticed;
  // The notice of the full allowance says more than a warning: no warning beside it.
  if (!q.FullDue && !marks.FullNoticed) {
    if (!marks.Warned2 && AtPercent(q.Used, quota.Allowance, quota.WarnPercent2))
      q.WarnDue = quota.WarnPercent2;
    else if (!marks.Warned1 && !marks.Warned2 && AtPercent(q.Used, quota.Allowance, quota.WarnPercent1))
      q.WarnDue = quota.WarnPercent1;
  }
  q.HoldLineDown = q.Reached && quota.AtFull == QuotaAction::HangUpAndHold && !marks.Released;
  return q;
}

uint64_t QuotaNextThreshold(const QuotaSettings& quota, const QuotaMarks& marks) {
  uint64_t next = quota.Allowance;
  if (!marks.FullNoticed && !marks.Warned2) next = std::min(next, PercentBytes(quota.Allowance, quota.WarnPercent2));
  if (!marks.FullNoticed && !marks.Warned1 && !marks.Warned2)
    next = std::min(next, PercentBytes(quota.Allowance, quota.WarnPercent1));
  return next;
}

void MarkQuotaAnnounced(const QuotaSettings& quota, const QuotaCheck& check, QuotaMarks& marks) {
  if (check.FullDue) marks.FullNoticed = marks.Warned2 = marks.Warned1 = true;
  if (check.WarnDue != 0) {
    marks.Warned1 = true;
    if (check.WarnDue == quota.WarnPercent2) marks.Warned2 = true;
  }
}

DailyAllowance ComputeDailyAllowance(const SettingsRecord& schedule, Date userRenewTime, Date now,
                                     const QuotaSettings& quota, VolumeAmount period) {
  DailyAllowance d;
  const QuotaCheck q = CheckQuota(quota, period, QuotaMarks{});
  if (!q.Active || !schedule.UserRenew || !PeriodEnd(schedule, userRenewTime, now, d.PeriodEnd)) return d;
  // The last second of the period decides its last day: a period ending at midnight ends the day before.
  const int64_t lastDay = ToSeconds(DateOf(AddSeconds(d.PeriodEnd, -1))) / 86400;
  const int64_t today = ToSeconds(DateOf(now)) / 86400;
  d.DaysLeft = static_cast<int32_t>(std::clamp<int64_t>(lastDay - today + 1, 1, INT32_MAX));
  d.Bytes = q.Left / static_cast<uint64_t>(d.DaysLeft);
  d.Known = true;
  return d;
}

std::string QuotaWarningText(const QuotaSettings& quota, int32_t percent, uint64_t used) {
  return "ﾃﾞｰﾀ量が上限の" + std::to_string(percent) + "%に達しました。(" + otk::FormatSize(used) + " / " +
         otk::FormatSize(quota.Allowance) + ")";
}

std::string QuotaReachedText(const std::string& counterName, const QuotaSettings& quota) {
  return "\"" + counterName + "\" ｶｳﾝﾀのﾃﾞｰﾀ量が上限の " + otk::FormatSize(quota.Allowance) + " に達しました。";
}

std::string QuotaReachedSubText(const QuotaSettings& quota) {
  if (quota.AtFull == QuotaAction::HangUpAndHold)
    return "ﾀﾞｲｱﾙｱｯﾌﾟ接続の切断を試行しました。期間が更新されるか、解除されるまで接続しません。";
  return "ﾀﾞｲｱﾙｱｯﾌﾟ接続は切断しません。";
}

}  // namespace nw
