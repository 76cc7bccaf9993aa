#include "monitor/RenewalSchedule.h"

namespace nw {

bool TryRenewalMoment(const SettingsRecord& s, Date now, int32_t k, Date& ou) {
  CivilDateTime c;
  if (!ToCivil(now, c)) return false;
  const int h = s.WhenRenewHour, mi = s.WhenRenewMinute, sec = s.WhenRenewSecond;
  switch (s.RNInterval) {
    case 0:
      return TryMakeDate(c.Year + k, s.WhenRenewMonth, s.WhenRenewDay, h, mi, sec, ou);
    case 1:
      return TryMakeDate(c.Year, c.Month + k, s.WhenRenewDay, h, mi, sec, ou);
    case 2: {
      const int w = c.Weekday - 1;  // 0 Sunday
      const int back = (w - s.WhenWeek) % 7;  // sign of the dividend: stays in this week
      return TryMakeDate(c.Year, c.Month, c.Day - back + 7 * k, h, mi, sec, ou);
    }
    case 3:
      return TryMakeDate(c.Year, c.Month, c.Day + k, h, mi, sec, ou);
    case 4:
      return TryMakeDate(c.Year, c.Month, c.Day, c.Hour + k, mi, sec, ou);
    case 5:
    default:
      return TryMakeDate(c.Year, c.Month, c.Day, c.Hour, c.Minute + k, sec, ou);
  }
}

}  // namespace nw
