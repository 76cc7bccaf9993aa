// The record editor's boxes: filled from a record and read back, the checks in their order with
// their messages, carrying of out-of-range fields and the connection length beside the boxes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "history/NWDLogCngModel.h"

namespace nw {
namespace {

const std::string kTimeError = "時間の設定に誤りがあります。";
const std::string kCountError = "回数の設定に誤りがあります。";
const std::string kDateError = "日付の設定に誤りがあります。";

// A "今日" record of 1 hour and 2 connections renewed at 2026-12-08 00:00.
EditBoxes CounterBoxes() { return {"2026", "12", "8", "0", "0", "0", "1", "0", "0", "2"}; }
// A connection from 09:00:00 to 09:30:00, monitoring since 08:00:00.
EditBoxes DialBoxes() {
  return {"2026", "12", "7", "9", "0", "0", "2026", "12", "7", "9", "30", "0", "2026", "12", "7", "8", "0", "0"};
}

TEST(LogCngModel, CounterChecksRunInOrder) {
  struct Case {
    const char* What;
    std::function<void(EditBoxes&)> Edit;
    std::string Message;
    int32_t Time = 3600, Count = 2;
    Date Stamp = MakeDate(2026, 12, 8);
  };
  const Case cases[] = {
      {"as filled", [](EditBoxes&) {}, ""},
      {"all three wrong", [](EditBoxes& b) { b[6] = "", b[9] = "x", b[0] = ""; }, kTimeError},
      {"count and date wrong", [](EditBoxes& b) { b[9] = "x", b[0] = ""; }, kCountError},
      {"date wrong", [](EditBoxes& b) { b[2] = ""; }, kDateError},
      {"hours beyond 16 bits", [](EditBoxes& b) { b[6] = "32768"; }, kTimeError},
      {"longest duration", [](EditBoxes& b) { b[6] = "9999", b[7] = "59", b[8] = "59"; }, "", 35999999},
      {"minutes carry into hours", [](EditBoxes& b) { b[6] = "0", b[7] = "75"; }, "", 4500},
      {"count -1", [](EditBoxes& b) { b[9] = "-1"; }, kCountError},
      {"count 12a", [](EditBoxes& b) { b[9] = "12a"; }, kCountError},
      {"count with blanks", [](EditBoxes& b) { b[9] = " 12 "; }, "", 3600, 12},
      {"numbers with an exponent", [](EditBoxes& b) { b[6] = "1e1", b[9] = " 2.5E1 ", b[5] = "3E0"; }, "", 36000, 25,
       MakeDate(2026, 12, 8, 0, 0, 3)},
      {"exponent without digits", [](EditBoxes& b) { b[9] = "1e"; }, kCountError},
      {"month 13", [](EditBoxes& b) { b[1] = "13"; }, "", 3600, 2, MakeDate(2027, 1, 8)},
      {"minute 75", [](EditBoxes& b) { b[4] = "75"; }, "", 3600, 2, MakeDate(2026, 12, 8, 1, 15, 0)},
      {"year 12a", [](EditBoxes& b) { b[0] = "12a"; }, kDateError},
      {"year beyond the dates", [](EditBoxes& b) { b[0] = "10000"; }, kDateError},
  };
  for (int16_t kind : {int16_t{1}, int16_t{2}}) {
    for (const Case& c : cases) {
      EditBoxes b = CounterBoxes();
      c.Edit(b);
      const EditOutcome out = ApplyEdit(kind, b);
      EXPECT_EQ(out.Message, c.Message) << c.What;
      if (c.Message.empty()) {
        ASSERT_TRUE(out.Record) << c.What;
        EXPECT_EQ(*out.Record, (SelectedHistoryRecord{kind, true, 0, 0, c.Stamp, c.Time, c.Count})) << c.What;
      } else {
        EXPECT_FALSE(out.Record) << c.What;
      }
    }
  }
}

TEST(LogCngModel, ConnectionTimesInOrderOnly) {
  EditBoxes b = DialBoxes();
  EXPECT_EQ(DialDurationText(b, "h時間 mm分 ss秒"), "0時間 30分 00秒");
  // End equal to start.
  b[10] = "0";
  EXPECT_EQ(DialDurationText(b, "h時間 mm分 ss秒"), "0時間 00分 00秒");
  EditOutcome out = ApplyEdit(0, b);
  ASSERT_TRUE(out.Record);
  EXPECT_EQ(out.Record->DialEnd, out.Record->DialStart);
  // The watch start is not compared with the connection.
  b[12] = "2030";
  out = ApplyEdit(0, b);
  ASSERT_TRUE(out.Record);
  EXPECT_EQ(*out.Record, (SelectedHistoryRecord{0, true, MakeDate(2026, 12, 7, 9, 0, 0), MakeDate(2026, 12, 7, 9, 0, 0),
                                                MakeDate(2030, 12, 7, 8, 0, 0), 0, 0}));
  // End one second before start.
  b[9] = "8", b[10] = "59", b[11] = "59";
  EXPECT_EQ(DialDurationText(b, "h時間 mm分 ss秒"), "ｴﾗｰが発生しました。");
  EXPECT_EQ(ApplyEdit(0, b).Message, kDateError);
  // Each group of the three.
  for (int box : {0, 6, 12}) {
    b = DialBoxes();
    b[box + 1] = "";
    out = ApplyEdit(0, b);
    EXPECT_EQ(out.Message, kDateError) << box;
    EXPECT_FALSE(out.Record) << box;
  }
  b[14] = "x";  // the watch start does not take part in the length
  EXPECT_EQ(DialDurationText(b, "hh:mm:ss"), "00:30:00");

  // Before 1899-12-30 the day numbers do not sort in time order; the times still do.
  const EditBoxes early = {"1899", "12", "29", "6", "0", "0", "1899", "12", "29", "12", "0", "0",
                           "1899", "12", "29", "5", "0", "0"};
  EXPECT_EQ(DialDurationText(early, "h時間 mm分 ss秒"), "6時間 00分 00秒");
  ASSERT_TRUE(ApplyEdit(0, early).Record);
  EXPECT_EQ(ApplyEdit(0, early).Record->DialEnd, MakeDate(1899, 12, 29, 12, 0, 0));
  EditBoxes reversed = early;
  std::swap_ranges(reversed.begin(), reversed.begin() + 6, reversed.begin() + 6);
  EXPECT_EQ(DialDurationText(reversed, "h時間 mm分 ss秒"), "ｴﾗｰが発生しました。");
  EXPECT_EQ(ApplyEdit(0, reversed).Message, kDateError);
}

TEST(LogCngModel, BoxesShowTheRecordAndReadItBack) {
  const SelectedHistoryRecord today{1, false, 0, 0, MakeDate(2026, 12, 8), 36000, 2};
  const EditBoxes b = BoxesFor(today);
  EXPECT_EQ(std::vector<std::string>(b.begin(), b.begin() + 10),
            (std::vector<std::string>{"2026", "12", "8", "0", "0", "0", "10", "0", "0", "2"}));
  const SelectedHistoryRecord records[] = {
      today,
      {2, false, 0, 0, MakeDate(1999, 2, 28, 23, 59, 59), 35999999, 9999},
      {0, false, MakeDate(2026, 12, 7, 9, 0, 0), MakeDate(2026, 12, 7, 23, 1, 2), MakeDate(2026, 12, 1, 7, 3, 4), 0, 0},
  };
  for (SelectedHistoryRecord rec : records) {
    const EditOutcome out = ApplyEdit(rec.Kind, BoxesFor(rec));
    rec.Changed = true;
    ASSERT_TRUE(out.Record) << rec.Kind;
    EXPECT_EQ(*out.Record, rec);
  }
  EXPECT_EQ(BoxesFor(records[2])[6 + 3], "23");

  EXPECT_EQ(EditCaption(0, "x"), "Orvin.T.K. NetWard 接続／切断の履歴ﾘｽﾄの値の変更");
  EXPECT_EQ(EditCaption(1, "x"), "Orvin.T.K. NetWard \"今日\" ｶｳﾝﾀの履歴ﾘｽﾄの値の変更");
  EXPECT_EQ(EditCaption(2, "ﾌﾟﾛﾊﾞｲﾀﾞ"), "Orvin.T.K. NetWard \"ﾌﾟﾛﾊﾞｲﾀﾞ\" ｶｳﾝﾀの履歴ﾘｽﾄの値の変更");
}

}  // namespace
}  // namespace nw
