#pragma once
// Formatting of date-times with user-editable patterns (the display format of the status list,
// the history date formats) and of elapsed seconds (the duration formats).
//
// Date patterns, Sunday first day of the week, letters case-insensitive:
//   yyyy yy y      four-digit year, two-digit year, day of the year
//   m mm mmm mmmm  month (mmm/mmmm the locale's names); m/mm are minutes right after an hour
//                  token or right before a seconds token (literal text in between is allowed)
//   d dd ddd dddd  day, day names;  ddddd / dddddd the locale's short / long date
//   w ww q         weekday 1-7, week of the year (the week of 1 January is week 1), quarter
//   h hh n nn s ss hour, minute, second;  ttttt the locale's time;  c short date and time
//   AMPM           the locale's morning/afternoon designator; AM/PM am/pm A/P a/p literal ones;
//                  any of them switches the hours to 1-12
//   "text" \x      literal text, escaped character; everything else is copied.
#include <array>
#include <memory>
#include <cstdint>
#include <string>
#include <string_view>

#include "classlib/DateValue.h"

namespace nw {

// The locale texts a pattern may ask for. Defaults are those of a Japanese system.
struct DateFormatLocale {
  std::string Morning = "午前";
  std::string Afternoon = "午後";
  std::array<std::string, 12> MonthAbbrev{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};
  std::array<std::string, 12> MonthFull{"1月", "2月", "3月", "4月",  "5月",  "6月",
                                        "7月", "8月", "9月", "10月", "11月", "12月"};
  std::array<std::string, 7> DayAbbrev{"日", "月", "火", "水", "木", "金", "土"};
  std::array<std::string, 7> DayFull{"日曜日", "月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日"};
  // The system's date and time pictures, in the system's own syntax (not the pattern language):
  // date pictures d dd ddd dddd, M MM MMM MMMM, y yy yyyy, g gg (the era); time pictures h hh
  // (1-12), H HH (0-23), m mm, s ss, t tt (designator); 'text' is literal, '' a quote, and every
  // other character is copied. They never expand another picture.
  std::string ShortDate = "yyyy/MM/dd";
  std::string LongDate = "yyyy'年'M'月'd'日'";
  std::string LongTime = "H:mm:ss";
  std::string Era = "西暦";
};

// The operating system's texts (on Windows from the user's locale; elsewhere the defaults).
DateFormatLocale SystemDateFormatLocale();

// The texts FormatDate uses: the system's until a caller replaces them.
const DateFormatLocale& CurrentDateFormatLocale();
void SetDateFormatLocale(const DateFormatLocale& locale);

// `d` rendered with `pattern`; empty when `d` is not a valid date.
std::string FormatDate(Date d, std::string_view pattern);
std::string FormatDate(Date d, std::string_view pattern, const DateFormatLocale& locale);

// A pattern taken apart once, with the texts of the moment, for many dates (a page of rows).
class DatePattern {
 public:
  explicit DatePattern(std::string_view pattern);
  // As FormatDate(d, pattern).
  std::string Format(Date d) const;
  // The same at the end of `out`; nothing for a date that is not valid.
  void AppendTo(std::string& out, Date d) const;

 private:
  struct Parsed;
  std::shared_ptr<const Parsed> parsed_;
};

// Elapsed seconds: "hh" hours (at least two digits, not limited to 24), "mm" minutes and "ss"
// seconds (two digits), then the remaining "h", "m", "s" unpadded; case-sensitive; every other
// character is copied. A negative count is shown with a leading "-".
std::string FormatDuration(int64_t seconds, std::string_view pattern);

// The same at the end of `out` (a page of rows without a temporary per cell).
void AppendDuration(std::string& out, int64_t seconds, std::string_view pattern);

}  // namespace nw
