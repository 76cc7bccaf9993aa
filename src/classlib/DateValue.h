#pragma once
// The Date value of every data file and of all date-times in memory: days since 1899-12-30 00:00
// as a double, the fraction being the time of day; 0 means "no date".
//
// Before 1899-12-30 the value keeps the OLE Automation convention: the integer part counts days
// backwards and the fraction is still the time of day (-1.25 is 1899-12-29 06:00).
#include <cstdint>

namespace nw {

using Date = double;

inline constexpr double kSecondsPerDay = 86400.0;

// Civil calendar fields of a Date. Weekday is 1 (Sunday) to 7 (Saturday).
struct CivilDateTime {
  int Year = 1899, Month = 12, Day = 30;
  int Hour = 0, Minute = 0, Second = 0;
  int Weekday = 7;
  bool operator==(const CivilDateTime&) const = default;
};

// The range the Date form can express as a calendar date (years 100 to 9999).
inline constexpr double kMinDate = -657434.0;
inline constexpr double kMaxDate = 2958465.99999;

bool IsValidDate(Date d);  // finite and within the range above

// Date -> calendar fields, rounded to the nearest second. False (fields untouched) when the
// value is not a valid date, e.g. read from a damaged file.
bool ToCivil(Date d, CivilDateTime& ou);

// Calendar fields -> Date, carrying out-of-range fields the way the old date functions do:
// month 13 is January of the next year, day 0 the last day of the previous month, minute 75
// is 1 hour 15 minutes, negative values borrow.
// False (ou untouched) when the result lies outside the years 100 to 9999; MakeDate gives 0 then.
bool TryMakeDate(int year, int month, int day, int hour, int minute, int second, Date& ou);
Date MakeDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// Whole seconds since 1899-12-30 00:00 (rounded to the nearest second; 0 for a value that is not
// a date), and back.
int64_t ToSeconds(Date d);
Date FromSeconds(int64_t seconds);

// Whole seconds from `from` to `to`.
inline int64_t SecondsBetween(Date from, Date to) { return ToSeconds(to) - ToSeconds(from); }

inline Date AddSeconds(Date d, int64_t seconds) { return FromSeconds(ToSeconds(d) + seconds); }

// Midnight of the day of `d`.
Date DateOf(Date d);

// The local wall-clock time now (whole seconds), from the operating system.
Date LocalNow();

}  // namespace nw
