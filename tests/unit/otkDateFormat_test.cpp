#include "classlib/otkDateFormat.h"

#include <gtest/gtest.h>

using namespace nw;

namespace {
const Date kSample = MakeDate(2003, 1, 1, 14, 20, 2);  // a Wednesday afternoon
const DateFormatLocale kJa;
std::string F(std::string_view p, Date d = kSample) { return FormatDate(d, p, kJa); }
}  // namespace

TEST(FormatDate, DefaultPatterns) {
  EXPECT_EQ(F("yy/mm/dd hh:mm:ss"), "03/01/01 14:20:02");
  EXPECT_EQ(F("yyyy/m/d"), "2003/1/1");
  EXPECT_EQ(F("yyyy年 m月 d日 AMPM h:mm:ss"), "2003年 1月 1日 午後 2:20:02");
  EXPECT_EQ(F("yyyy年 m月 d日 AMPM h:mm:ss", MakeDate(2003, 11, 9, 0, 5, 9)), "2003年 11月 9日 午前 12:05:09");
  EXPECT_EQ(F("yyyy年 m月 d日 AMPM h:mm:ss", MakeDate(2003, 11, 9, 12, 0, 0)), "2003年 11月 9日 午後 12:00:00");
}

TEST(FormatDate, MonthOrMinuteByNeighbour) {
  EXPECT_EQ(F("h時m分"), "14時20分");
  EXPECT_EQ(F("mm:ss"), "20:02");
  EXPECT_EQ(F("m/d h"), "1/1 14");
  EXPECT_EQ(F("n nn"), "20 20");
  EXPECT_EQ(F("hh:nn", MakeDate(2003, 1, 1, 3, 4, 5)), "03:04");
}

TEST(FormatDate, NamesWeeksAndQuarters) {
  EXPECT_EQ(F("mmm mmmm"), "1 1月");
  EXPECT_EQ(F("ddd dddd"), "水 水曜日");
  EXPECT_EQ(F("w"), "4");
  EXPECT_EQ(F("ww"), "1");
  EXPECT_EQ(F("ww", MakeDate(2003, 1, 5)), "2");  // the first Sunday opens week 2
  EXPECT_EQ(F("ww", MakeDate(2003, 12, 31)), "53");
  EXPECT_EQ(F("q"), "1");
  EXPECT_EQ(F("q", MakeDate(2003, 10, 1)), "4");
  EXPECT_EQ(F("y"), "1");
  EXPECT_EQ(F("y", MakeDate(2004, 12, 31)), "366");
}

TEST(FormatDate, DesignatorsAndTwelveHours) {
  EXPECT_EQ(F("h AM/PM"), "2 PM");
  EXPECT_EQ(F("h am/pm"), "2 pm");
  EXPECT_EQ(F("h A/P"), "2 P");
  EXPECT_EQ(F("h a/p"), "2 p");
  EXPECT_EQ(F("hh AMPM", MakeDate(2003, 1, 1, 9, 0, 0)), "09 午前");
  DateFormatLocale en = kJa;
  en.Morning = "AM";
  en.Afternoon = "PM";
  EXPECT_EQ(FormatDate(kSample, "AMPM h", en), "PM 2");
}

TEST(FormatDate, LiteralsAndCase) {
  EXPECT_EQ(F("\"yyyy\" yyyy"), "yyyy 2003");
  EXPECT_EQ(F("\\d\\a\\y d"), "day 1");
  EXPECT_EQ(F("\\年 YYYY/MM/DD"), "年 2003/01/01");
  EXPECT_EQ(F("x-z!"), "x-z!");
  EXPECT_EQ(F("\"unterminated"), "unterminated");
  EXPECT_EQ(F("d\\"), "1");  // a trailing backslash escapes nothing
}

TEST(FormatDate, LocalePictures) {
  EXPECT_EQ(F("ddddd"), "2003/01/01");
  EXPECT_EQ(F("dddddd"), "2003年1月1日");
  EXPECT_EQ(F("ttttt"), "14:20:02");
  EXPECT_EQ(F("c"), "2003/01/01 14:20:02");
  EXPECT_EQ(F("c", MakeDate(2003, 1, 1)), "2003/01/01");
}

TEST(FormatDate, SystemPicturesAreReadTokenByTokenAndNeverExpandAgain) {
  DateFormatLocale loc = kJa;
  // Letters of the pattern language in the system's pictures are plain text there.
  loc.ShortDate = "yyyy/MM/dd (c) ddddd";
  loc.LongDate = "gg y'年' MMMM d'日' (dddd) 'it''s' '' q w n";
  loc.LongTime = "tt h:mm:ss (H時) t ttttt c";
  auto G = [&](std::string_view p, Date d = kSample) { return FormatDate(d, p, loc); };
  EXPECT_EQ(G("ddddd"), "2003/01/01 (c) 水曜日");
  EXPECT_EQ(G("dddddd"), "西暦 3年 1月 1日 (水曜日) it's ' q w n");
  EXPECT_EQ(G("ttttt"), "午後 2:20:02 (14時) 午 午後 c");
  EXPECT_EQ(G("c"), "2003/01/01 (c) 水曜日 午後 2:20:02 (14時) 午 午後 c");
  EXPECT_EQ(G("dddddd", MakeDate(2026, 12, 7)), "西暦 26年 12月 7日 (月曜日) it's ' q w n");
  // Date letters in a time picture and time letters in a date picture are text.
  loc.ShortDate = "d/M hh:mm";
  loc.LongTime = "HH:mm dd";
  EXPECT_EQ(G("ddddd"), "1/1 hh:mm");
  EXPECT_EQ(G("ttttt", MakeDate(2003, 1, 1, 9, 5, 0)), "09:05 dd");
  // A locale without an era drops "g"; an unterminated quote runs to the end.
  loc.Era.clear();
  loc.LongDate = "g yy/M/d 'end";
  EXPECT_EQ(G("dddddd"), " 03/1/1 end");
}

TEST(FormatDate, InvalidDateGivesEmptyText) { EXPECT_EQ(F("yyyy", 1e308), ""); }

TEST(FormatDuration, ReplacesPaddedThenUnpadded) {
  EXPECT_EQ(FormatDuration(3725, "h時間 mm分 ss秒"), "1時間 02分 05秒");
  EXPECT_EQ(FormatDuration(3725, "h:mm:ss"), "1:02:05");
  EXPECT_EQ(FormatDuration(90061, "h:mm:ss"), "25:01:01");
  EXPECT_EQ(FormatDuration(0, "h:mm:ss"), "0:00:00");
  EXPECT_EQ(FormatDuration(3725, "hh:m:s"), "01:2:5");
  EXPECT_EQ(FormatDuration(3725, "hhh hmh ssss"), "011 121 0505");  // runs taken in pairs, left to right
  EXPECT_EQ(FormatDuration(3600 * 123, "hh"), "123");
  EXPECT_EQ(FormatDuration(3725, "H:MM"), "H:MM");  // case-sensitive
  EXPECT_EQ(FormatDuration(-65, "m:ss"), "-1:05");
  EXPECT_EQ(FormatDuration(INT64_MIN, "h").substr(0, 2), "-2");
}
