#include "classlib/DateValue.h"

#include <chrono>
#include <cmath>

namespace nw {

namespace {

using std::chrono::days;
using std::chrono::sys_days;
using std::chrono::year_month_day;

constexpr int64_t kDaySeconds = 86400;
// 1899-12-30 relative to 1970-01-01.
constexpr int64_t kEpochOffsetDays = -25569;

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

// Day number (days from 1899-12-30) of a civil date with month and day carried; false when the
// year leaves what the calendar types hold.
bool DayNumber(int year, int month, int day, int64_t& ou) {
  const int64_t m0 = static_cast<int64_t>(month) - 1;
  const int64_t y = year + FloorDiv(m0, 12);
  if (y < -32000 || y > 32000) return false;
  const unsigned m = static_cast<unsigned>(m0 - FloorDiv(m0, 12) * 12 + 1);
  const sys_days first = year_month_day{std::chrono::year{static_cast<int>(y)}, std::chrono::month{m},
                                        std::chrono::day{1}};
  ou = first.time_since_epoch().count() - kEpochOffsetDays + (static_cast<int64_t>(day) - 1);
  return true;
}

}  // namespace

bool IsValidDate(Date d) { return std::isfinite(d) && d >= kMinDate && d <= kMaxDate + 1e-6; }

int64_t ToSeconds(Date d) {
  if (!IsValidDate(d)) return 0;
  const double dayPart = std::trunc(d);
  const double timePart = std::fabs(d - dayPart);
  return static_cast<int64_t>(dayPart) * kDaySeconds + std::llround(timePart * kSecondsPerDay);
}

Date FromSeconds(int64_t seconds) {
  const int64_t day = FloorDiv(seconds, kDaySeconds);
  const double time = static_cast<double>(seconds - day * kDaySeconds) / kSecondsPerDay;
  // Before the epoch the fraction still adds time of day, so it points away from zero.
  return day >= 0 ? static_cast<double>(day) + time : static_cast<double>(day) - time;
}

bool TryMakeDate(int year, int month, int day, int hour, int minute, int second, Date& ou) {
  int64_t dayNo = 0;
  if (!DayNumber(year, month, day, dayNo)) return false;
  const int64_t secs = dayNo * kDaySeconds + static_cast<int64_t>(hour) * 3600 + static_cast<int64_t>(minute) * 60 +
                       second;
  const Date d = FromSeconds(secs);
  if (!IsValidDate(d)) return false;
  ou = d;
  return true;
}

Date MakeDate(int year, int month, int day, int hour, int minute, int second) {
  Date d = 0;
  return TryMakeDate(year, month, day, hour, minute, second, d) ? d : 0;
}

Date DateOf(Date d) { return FromSeconds(FloorDiv(ToSeconds(d), kDaySeconds) * kDaySeconds); }

bool ToCivil(Date d, CivilDateTime& ou) {
  if (!IsValidDate(d)) return false;
  const int64_t secs = ToSeconds(d);
  const int64_t dayNo = FloorDiv(secs, kDaySeconds);
  const int64_t tod = secs - dayNo * kDaySeconds;
  const sys_days sd{days{dayNo + kEpochOffsetDays}};
  const year_month_day ymd{sd};
  ou.Year = static_cast<int>(ymd.year());
  ou.Month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  ou.Day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  ou.Hour = static_cast<int>(tod / 3600);
  ou.Minute = static_cast<int>(tod / 60 % 60);
  ou.Second = static_cast<int>(tod % 60);
  ou.Weekday = static_cast<int>(std::chrono::weekday{sd}.c_encoding()) + 1;
  return true;
}

}  // namespace nw
