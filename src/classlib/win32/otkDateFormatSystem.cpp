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

// A Windows date/time picture in the pattern language: 'text' becomes "text", t/tt the
// designator; the letters d M y H h m s mean the same in both.
std::string FromWindowsPicture(const std::string& pic) {
  std::string out;
  for (size_t i = 0; i < pic.size(); ++i) {
    if (pic[i] == '\'') {
      if (i + 1 < pic.size() && pic[i + 1] == '\'') {
        out += "\\'";
        ++i;
        continue;
      }
      const size_t end = pic.find('\'', i + 1);
      const size_t stop = end == std::string::npos ? pic.size() : end;
      out += '"' + pic.substr(i + 1, stop - i - 1) + '"';
      i = stop;
    } else if (pic[i] == 't') {
      while (i + 1 < pic.size() && pic[i + 1] == 't') ++i;
      out += "AMPM";
    } else if (pic[i] == '"' || pic[i] == '\\') {
      out += '\\';
      out += pic[i];
    } else {
      out += pic[i];
    }
  }
  return out;
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
  loc.ShortDate = FromWindowsPicture(LocaleText(LOCALE_SSHORTDATE, "yyyy/MM/dd"));
  loc.LongDate = FromWindowsPicture(LocaleText(LOCALE_SLONGDATE, "yyyy'年'M'月'd'日'"));
  loc.LongTime = FromWindowsPicture(LocaleText(LOCALE_STIMEFORMAT, "H:mm:ss"));
  return loc;
}

}  // namespace nw
