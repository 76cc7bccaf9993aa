// Windows side of the locale seam: designators, names and date/time pictures of the user's locale.
#include <windows.h>

#include "classlib/otkDateFormat.h"
#include "classlib/win32/WinText.h"

namespace nw {

namespace {

std::string LocaleText(LCTYPE type, const std::string& fallback) {
  wchar_t buf[128] = {};
  const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buf, static_cast<int>(std::size(buf)));
  if (n <= 1) return fallback;
  return win::Narrow(std::wstring_view(buf, static_cast<size_t>(n - 1)));
}

// The era of the Gregorian calendar ("g" in a date picture; the years shown are Gregorian ones);
// empty when the locale has none.
std::string EraText() {
  wchar_t buf[64] = {};
  const int n = GetCalendarInfoW(LOCALE_USER_DEFAULT, CAL_GREGORIAN, CAL_SERASTRING, buf,
                                 static_cast<int>(std::size(buf)), nullptr);
  return n > 1 ? win::Narrow(std::wstring_view(buf, static_cast<size_t>(n - 1))) : std::string();
}

}  // namespace

DateFormatLocale SystemDateFormatLocale() {
  DateFormatLocale loc;
  loc.Morning = LocaleText(LOCALE_S1159, loc.Morning);
  loc.Afternoon = LocaleText(LOCALE_S2359, loc.Afternoon);
  for (int i = 0; i < 12; ++i) {
    loc.MonthAbbrev[i] = LocaleText(LOCALE_SABBREVMONTHNAME1 + i, loc.MonthAbbrev[i]);
    loc.MonthFull[i] = LocaleText(LOCALE_SMONTHNAME1 + i, loc.MonthFull[i]);
  }
  // Windows counts the day names from Monday; the patterns from Sunday.
  for (int i = 0; i < 7; ++i) {
    const int win = (i + 6) % 7;
    loc.DayAbbrev[i] = LocaleText(LOCALE_SABBREVDAYNAME1 + win, loc.DayAbbrev[i]);
    loc.DayFull[i] = LocaleText(LOCALE_SDAYNAME1 + win, loc.DayFull[i]);
  }
  // The pictures stay in the system's syntax; the formatter reads them token by token.
  loc.ShortDate = LocaleText(LOCALE_SSHORTDATE, loc.ShortDate);
  loc.LongDate = LocaleText(LOCALE_SLONGDATE, loc.LongDate);
  loc.LongTime = LocaleText(LOCALE_STIMEFORMAT, loc.LongTime);
  loc.Era = EraText();
  return loc;
}

}  // namespace nw
