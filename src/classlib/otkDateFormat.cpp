#include "classlib/otkDateFormat.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <mutex>
#include <optional>
#include <vector>

namespace nw {

namespace {

// The designators come last: UsesTwelveHours relies on it. YearShort, Hour12*, Hour24* and
// LocaleAmPm1 come only from the system's pictures.
enum class Tok {
  Literal, Year4, Year2, YearShort, DayOfYear, Month, Month2, MonthAbbrev, MonthFull, Day, Day2, DayAbbrev,
  DayFull, ShortDate, LongDate, Weekday, Week, Quarter, Hour, Hour2, Hour12, Hour12_2, Hour24, Hour24_2,
  Minute, Minute2, Second, Second2, LongTime, DateAndTime,
  LocaleAmPm, LocaleAmPm1, AmPmUpper, AmPmLower, APUpper, APLower
};

struct Token {
  Tok kind;
  std::string text;  // Literal only
};

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

size_t RunOf(std::string_view p, size_t i, char c) {
  size_t n = 0;
  while (i + n < p.size() && Lower(p[i + n]) == c) ++n;
  return n;
}

bool StartsWithNoCase(std::string_view p, size_t i, std::string_view word) {
  if (p.size() - i < word.size()) return false;
  for (size_t k = 0; k < word.size(); ++k)
    if (Lower(p[i + k]) != word[k]) return false;
  return true;
}

// Bytes of the UTF-8 character starting at p[i].
size_t Utf8Len(std::string_view p, size_t i) {
  size_t n = 1;
  while (i + n < p.size() && (static_cast<unsigned char>(p[i + n]) & 0xC0) == 0x80) ++n;
  return n;
}

void AddLiteral(std::vector<Token>& out, std::string_view text) {
  if (!out.empty() && out.back().kind == Tok::Literal)
    out.back().text += text;
  else
    out.push_back({Tok::Literal, std::string(text)});
}

// The token a run of `run` letters `c` begins with, and how many letters it takes.
std::pair<Tok, size_t> RunToken(char c, size_t run) {
  auto pick = [run](std::initializer_list<Tok> byLength) {
    const size_t n = run < byLength.size() ? run : byLength.size();
    return std::pair{*(byLength.begin() + (n - 1)), n};
  };
  switch (c) {
    case 'y':
      if (run >= 4) return {Tok::Year4, 4};
      return run >= 2 ? std::pair{Tok::Year2, size_t{2}} : std::pair{Tok::DayOfYear, size_t{1}};
    case 'm': return pick({Tok::Month, Tok::Month2, Tok::MonthAbbrev, Tok::MonthFull});
    case 'd': return pick({Tok::Day, Tok::Day2, Tok::DayAbbrev, Tok::DayFull, Tok::ShortDate, Tok::LongDate});
    case 'h': return pick({Tok::Hour, Tok::Hour2});
    case 'n': return pick({Tok::Minute, Tok::Minute2});
    case 's': return pick({Tok::Second, Tok::Second2});
    case 'w': return pick({Tok::Weekday, Tok::Week});
    case 'q': return {Tok::Quarter, 1};
    case 'c': return {Tok::DateAndTime, 1};
    default: return {Tok::Literal, 0};
  }
}

// The morning/afternoon tokens at p[i], if any.
std::optional<std::pair<Tok, size_t>> AmPmToken(std::string_view p, size_t i) {
  const bool upper = p[i] == 'A';
  if (StartsWithNoCase(p, i, "ampm")) return std::pair{Tok::LocaleAmPm, size_t{4}};
  if (StartsWithNoCase(p, i, "am/pm")) return std::pair{upper ? Tok::AmPmUpper : Tok::AmPmLower, size_t{5}};
  if (StartsWithNoCase(p, i, "a/p")) return std::pair{upper ? Tok::APUpper : Tok::APLower, size_t{3}};
  return std::nullopt;
}

std::vector<Token> Tokenize(std::string_view p) {
  std::vector<Token> out;
  size_t i = 0;
  while (i < p.size()) {
    const char c = Lower(p[i]);
    if (p[i] == '"') {
      const size_t end = p.find('"', i + 1);
      const size_t stop = end == std::string_view::npos ? p.size() : end;
      AddLiteral(out, p.substr(i + 1, stop - i - 1));
      i = stop + 1;
    } else if (p[i] == '\\') {
      if (i + 1 < p.size()) AddLiteral(out, p.substr(i + 1, Utf8Len(p, i + 1)));
      i += 1 + (i + 1 < p.size() ? Utf8Len(p, i + 1) : 0);
    } else if (c == 'a' && AmPmToken(p, i)) {
      const auto [kind, n] = *AmPmToken(p, i);
      out.push_back({kind, {}});
      i += n;
    } else if (c == 't' && RunOf(p, i, 't') == 5) {
      out.push_back({Tok::LongTime, {}});
      i += 5;
    } else if (const auto [kind, n] = RunToken(c, RunOf(p, i, c)); n > 0) {
      out.push_back({kind, {}});
      i += n;
    } else {
      const size_t len = Utf8Len(p, i);
      AddLiteral(out, p.substr(i, len));
      i += len;
    }
  }
  return out;
}

// A system picture, token by token: its letters become the tokens of the same meaning, 'text' and
// every other character literal text. Date pictures know only date letters, time pictures only
// time letters, as the system reads them; no token they yield expands another picture.
enum class Picture { Date, Time };

std::vector<Token> TokenizePicture(std::string_view p, Picture kind, const DateFormatLocale& loc) {
  std::vector<Token> out;
  auto pick = [](size_t run, std::initializer_list<Tok> byLength) {
    return *(byLength.begin() + (std::min(run, byLength.size()) - 1));
  };
  size_t i = 0;
  while (i < p.size()) {
    const char c = p[i];
    if (c == '\'') {
      // 'text' is literal; '' is a quote, inside quoted text as well as outside.
      std::string text;
      size_t k = i + 1;
      for (; k < p.size(); ++k) {
        if (p[k] != '\'') {
          text += p[k];
        } else if (k + 1 < p.size() && p[k + 1] == '\'') {
          text += '\'';
          ++k;
        } else {
          break;
        }
      }
      if (k == i + 1 && k < p.size()) text.assign(1, '\'');  // '' outside quoted text
      AddLiteral(out, text);
      i = k + 1;
      continue;
    }
    size_t run = 1;
    while (i + run < p.size() && p[i + run] == c) ++run;
    std::optional<Tok> tok;
    if (kind == Picture::Date) {
      if (c == 'd') tok = pick(run, {Tok::Day, Tok::Day2, Tok::DayAbbrev, Tok::DayFull});
      if (c == 'M') tok = pick(run, {Tok::Month, Tok::Month2, Tok::MonthAbbrev, Tok::MonthFull});
      if (c == 'y') tok = pick(run, {Tok::YearShort, Tok::Year2, Tok::Year2, Tok::Year4});
      if (c == 'g') {
        AddLiteral(out, loc.Era);
        i += run;
        continue;
      }
    } else {
      if (c == 'h') tok = pick(run, {Tok::Hour12, Tok::Hour12_2});
      if (c == 'H') tok = pick(run, {Tok::Hour24, Tok::Hour24_2});
      if (c == 'm') tok = pick(run, {Tok::Minute, Tok::Minute2});
      if (c == 's') tok = pick(run, {Tok::Second, Tok::Second2});
      if (c == 't') tok = pick(run, {Tok::LocaleAmPm1, Tok::LocaleAmPm});
    }
    if (tok) {
      out.push_back({*tok, {}});
      i += run;
    } else {
      const size_t len = Utf8Len(p, i);
      AddLiteral(out, p.substr(i, len));
      i += len;
    }
  }
  return out;
}

bool IsHour(Tok k) { return k == Tok::Hour || k == Tok::Hour2; }
bool IsSecond(Tok k) { return k == Tok::Second || k == Tok::Second2; }

// The nearest non-literal token before (step -1) or after (step +1) index i.
std::optional<Tok> Neighbour(const std::vector<Token>& toks, size_t i, int step) {
  for (long k = static_cast<long>(i) + step; k >= 0 && k < static_cast<long>(toks.size()); k += step)
    if (toks[k].kind != Tok::Literal) return toks[k].kind;
  return std::nullopt;
}

// "m"/"mm" next to hours or seconds ("h:mm", "mm:ss") mean minutes.
void ResolveMinutes(std::vector<Token>& toks) {
  for (size_t i = 0; i < toks.size(); ++i) {
    Tok& k = toks[i].kind;
    if (k != Tok::Month && k != Tok::Month2) continue;
    const auto before = Neighbour(toks, i, -1);
    const auto after = Neighbour(toks, i, +1);
    if ((before && IsHour(*before)) || (after && IsSecond(*after))) k = k == Tok::Month ? Tok::Minute : Tok::Minute2;
  }
}

bool UsesTwelveHours(const std::vector<Token>& toks) {
  for (const auto& t : toks)
    if (t.kind >= Tok::LocaleAmPm) return true;
  return false;
}

void AppendNum(std::string& out, int v, int width) {
  if (v >= 0 && v < 100 && width <= 2) {  // nearly every field of a date
    const char two[2] = {static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
    const bool both = v >= 10 || width == 2;
    out.append(both ? two : two + 1, both ? 2 : 1);
    return;
  }
  char digits[16];
  const unsigned magnitude = v < 0 ? 0u - static_cast<unsigned>(v) : static_cast<unsigned>(v);
  const size_t n = static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, magnitude).ptr - digits);
  if (v < 0) out += '-';
  if (static_cast<size_t>(width) > n) out.append(static_cast<size_t>(width) - n, '0');
  out.append(digits, n);
}

int DayOfYear(const CivilDateTime& c) {
  return static_cast<int>(ToSeconds(MakeDate(c.Year, c.Month, c.Day)) / 86400 -
                          ToSeconds(MakeDate(c.Year, 1, 1)) / 86400) + 1;
}

// Week of the year, Sunday first, the week holding 1 January being week 1.
int WeekOfYear(const CivilDateTime& c) {
  CivilDateTime jan1;
  ToCivil(MakeDate(c.Year, 1, 1), jan1);
  return (DayOfYear(c) - 1 + (jan1.Weekday - 1)) / 7 + 1;
}

void AppendPicture(std::string& out, Date d, const CivilDateTime& c, std::string_view picture, Picture kind,
                   const DateFormatLocale& loc);

// Renders one token at the end of `out`: a page of rows is formatted into its strings without
// a temporary per field.
void AppendToken(std::string& out, const Token& t, Date d, const CivilDateTime& c, bool twelve,
                 const DateFormatLocale& loc) {
  const int hour12 = c.Hour % 12 == 0 ? 12 : c.Hour % 12;
  const int hour = twelve ? hour12 : c.Hour;
  const bool pm = c.Hour >= 12;
  switch (t.kind) {
    case Tok::Literal: out += t.text; return;
    case Tok::Year4: return AppendNum(out, c.Year, 1);
    case Tok::Year2: return AppendNum(out, c.Year % 100, 2);
    case Tok::YearShort: return AppendNum(out, c.Year % 100, 1);
    case Tok::DayOfYear: return AppendNum(out, DayOfYear(c), 1);
    case Tok::Month: return AppendNum(out, c.Month, 1);
    case Tok::Month2: return AppendNum(out, c.Month, 2);
    case Tok::MonthAbbrev: out += loc.MonthAbbrev[c.Month - 1]; return;
    case Tok::MonthFull: out += loc.MonthFull[c.Month - 1]; return;
    case Tok::Day: return AppendNum(out, c.Day, 1);
    case Tok::Day2: return AppendNum(out, c.Day, 2);
    case Tok::DayAbbrev: out += loc.DayAbbrev[c.Weekday - 1]; return;
    case Tok::DayFull: out += loc.DayFull[c.Weekday - 1]; return;
    case Tok::ShortDate: return AppendPicture(out, d, c, loc.ShortDate, Picture::Date, loc);
    case Tok::LongDate: return AppendPicture(out, d, c, loc.LongDate, Picture::Date, loc);
    case Tok::Weekday: return AppendNum(out, c.Weekday, 1);
    case Tok::Week: return AppendNum(out, WeekOfYear(c), 1);
    case Tok::Quarter: return AppendNum(out, (c.Month - 1) / 3 + 1, 1);
    case Tok::Hour: return AppendNum(out, hour, 1);
    case Tok::Hour2: return AppendNum(out, hour, 2);
    case Tok::Hour12: return AppendNum(out, hour12, 1);
    case Tok::Hour12_2: return AppendNum(out, hour12, 2);
    case Tok::Hour24: return AppendNum(out, c.Hour, 1);
    case Tok::Hour24_2: return AppendNum(out, c.Hour, 2);
    case Tok::Minute: return AppendNum(out, c.Minute, 1);
    case Tok::Minute2: return AppendNum(out, c.Minute, 2);
    case Tok::Second: return AppendNum(out, c.Second, 1);
    case Tok::Second2: return AppendNum(out, c.Second, 2);
    case Tok::LongTime: return AppendPicture(out, d, c, loc.LongTime, Picture::Time, loc);
    case Tok::DateAndTime: {
      // The date alone at midnight, the time alone on day 0, else both.
      const int64_t secs = ToSeconds(d);
      const bool hasTime = secs % 86400 != 0, hasDate = secs < 0 || secs >= 86400;
      const size_t before = out.size();
      if (hasDate || !hasTime) AppendPicture(out, d, c, loc.ShortDate, Picture::Date, loc);
      if (!hasTime) return;
      if (out.size() != before) out += ' ';
      AppendPicture(out, d, c, loc.LongTime, Picture::Time, loc);
      return;
    }
    case Tok::LocaleAmPm: out += pm ? loc.Afternoon : loc.Morning; return;
    case Tok::LocaleAmPm1: {
      const std::string& designator = pm ? loc.Afternoon : loc.Morning;
      if (!designator.empty()) out.append(designator, 0, Utf8Len(designator, 0));
      return;
    }
    case Tok::AmPmUpper: out += pm ? "PM" : "AM"; return;
    case Tok::AmPmLower: out += pm ? "pm" : "am"; return;
    case Tok::APUpper: out += pm ? 'P' : 'A'; return;
    case Tok::APLower: out += pm ? 'p' : 'a'; return;
  }
}

void AppendPicture(std::string& out, Date d, const CivilDateTime& c, std::string_view picture, Picture kind,
                   const DateFormatLocale& loc) {
  for (const auto& t : TokenizePicture(picture, kind, loc)) AppendToken(out, t, d, c, false, loc);
}

std::vector<Token> PatternTokens(std::string_view pattern) {
  auto toks = Tokenize(pattern);
  ResolveMinutes(toks);
  return toks;
}

// False (and `out` untouched) when `d` is not a valid date.
bool AppendRendered(std::string& out, Date d, const std::vector<Token>& toks, const DateFormatLocale& loc) {
  CivilDateTime c;
  if (!ToCivil(d, c)) return false;
  const bool twelve = UsesTwelveHours(toks);
  for (const auto& t : toks) AppendToken(out, t, d, c, twelve, loc);
  return true;
}

std::string Render(Date d, const std::vector<Token>& toks, const DateFormatLocale& loc) {
  std::string out;
  out.reserve(32);
  AppendRendered(out, d, toks, loc);
  return out;
}

std::mutex& LocaleMutex() {
  static std::mutex m;
  return m;
}

std::optional<DateFormatLocale>& LocaleSlot() {
  static std::optional<DateFormatLocale> slot;
  return slot;
}

}  // namespace

const DateFormatLocale& CurrentDateFormatLocale() {
  std::lock_guard lock(LocaleMutex());
  auto& slot = LocaleSlot();
  if (!slot) slot = SystemDateFormatLocale();
  return *slot;
}

void SetDateFormatLocale(const DateFormatLocale& locale) {
  std::lock_guard lock(LocaleMutex());
  LocaleSlot() = locale;
}

std::string FormatDate(Date d, std::string_view pattern, const DateFormatLocale& locale) {
  return Render(d, PatternTokens(pattern), locale);
}

std::string FormatDate(Date d, std::string_view pattern) {
  return Render(d, PatternTokens(pattern), CurrentDateFormatLocale());
}

struct DatePattern::Parsed {
  std::vector<Token> Tokens;
  DateFormatLocale Locale;
};

DatePattern::DatePattern(std::string_view pattern)
    : parsed_(std::make_shared<const Parsed>(Parsed{PatternTokens(pattern), CurrentDateFormatLocale()})) {}

std::string DatePattern::Format(Date d) const { return Render(d, parsed_->Tokens, parsed_->Locale); }

void DatePattern::AppendTo(std::string& out, Date d) const { AppendRendered(out, d, parsed_->Tokens, parsed_->Locale); }

// "hh" before "h", left to right: a run of letters is taken in pairs and a last single one.
void AppendDuration(std::string& out, int64_t seconds, std::string_view pattern) {
  const uint64_t total = seconds < 0 ? 0 - static_cast<uint64_t>(seconds) : static_cast<uint64_t>(seconds);
  const uint64_t hours = total / 3600, minutes = total / 60 % 60, secs = total % 60;
  if (seconds < 0) out += '-';
  for (size_t i = 0; i < pattern.size();) {
    size_t text = i;
    while (text < pattern.size() && pattern[text] != 'h' && pattern[text] != 'm' && pattern[text] != 's') ++text;
    out.append(pattern.substr(i, text - i));
    if (text == pattern.size()) break;
    i = text;
    const char unit = pattern[i];
    const bool two = i + 1 < pattern.size() && pattern[i + 1] == unit;
    const uint64_t v = unit == 'h' ? hours : unit == 'm' ? minutes : secs;
    if (two && v < 10) out += '0';
    char digits[24];
    out.append(digits, static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, v).ptr - digits));
    i += two ? 2 : 1;
  }
}

std::string FormatDuration(int64_t seconds, std::string_view pattern) {
  std::string out;
  out.reserve(pattern.size() + 8);
  AppendDuration(out, seconds, pattern);
  return out;
}

}  // namespace nw
