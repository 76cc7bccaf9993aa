// The history display settings: what the boxes show, the checks in their order with their
// messages, nothing stored on a refusal, and the format examples.
#include <gtest/gtest.h>

#include <tuple>

#include "history/NWDLogUtilModel.h"

namespace nw {
namespace {

const std::string kSizeError = "ﾘｽﾄ最大表示件数は、14～999の数値を入力して下さい。";
const std::string kMoveError = "ｸﾞﾗﾌ移動件数は、1～32の数値を入力して下さい。";

TEST(LogUtilModel, LoadAndAccept) {
  HistoryDisplaySettings h;
  h.hisShowMaw[1] = 13;
  h.gphGetWay = 2;
  HistoryUtilValues v = LoadHistorySettings(h);
  EXPECT_EQ(v.hisShowMaw, (std::array<std::string, 3>{"100", "14", "100"}));
  EXPECT_EQ(std::tie(v.hisShowMawlbl, v.hisMoveMax, v.gphGetWay), std::make_tuple("32", "3", 2));
  EXPECT_EQ(std::tie(v.hisFmtDate[3], v.hisFmtTime[0]), std::make_tuple("yy/mm/dd hh:mm:ss", "h時間 mm分 ss秒"));
  EXPECT_EQ(std::tie(v.gphBgColor, v.gphNtColor), std::make_tuple(0x8000000Du, 0x000080FFu));

  v.hisShowMaw = {"14", "999", " 15 "};
  v.hisMoveMax = "32";
  v.hisFmtDate[2] = "yyyy/m/d";
  v.hisFmtTime[3] = "hh:mm";
  v.gphGetWay = 0;
  v.gphBgColor = 0x00123456;
  v.gphNtColor = 0x80000005;
  EXPECT_FALSE(ApplyHistorySettings(v, h));
  EXPECT_EQ(h.hisShowMaw, (std::array<int32_t, 4>{13, 998, 14, 31}));
  EXPECT_EQ(h.hisMoveMax, (std::array<int32_t, 4>{7, 499, 7, 32}));  // the larger half of size - 1
  EXPECT_EQ(std::tie(h.hisFmtDate[2], h.hisFmtTime[3]), std::make_tuple("yyyy/m/d", "hh:mm"));
  EXPECT_EQ(std::tie(h.gphGetWay, h.gphBgColor, h.gphNtColor),
            std::make_tuple(0, 0x00123456, static_cast<int32_t>(0x80000005)));
  v.gphGetWay = -1;  // no option reported: the mode stays
  EXPECT_FALSE(ApplyHistorySettings(v, h));
  EXPECT_EQ(h.gphGetWay, 0);
}

TEST(LogUtilModel, DamagedSizesShowWhatIsInUseAndBoxesTakeAnExponent) {
  HistoryDisplaySettings h;
  h.hisShowMaw[1] = 5000;  // no list shows more than 999 records
  h.hisShowMaw[3] = 50;    // the graph has 32 bars
  h.hisMoveMax[3] = 0;
  HistoryUtilValues v = LoadHistorySettings(h);
  EXPECT_EQ(v.hisShowMaw[1], "100");
  EXPECT_EQ(std::tie(v.hisShowMawlbl, v.hisMoveMax), std::make_tuple("32", "3"));

  v.hisShowMaw = {"1e2", " 2.5E1 ", "14"};
  v.hisMoveMax = "3.2e1";
  EXPECT_FALSE(ApplyHistorySettings(v, h));
  EXPECT_EQ(std::tie(h.hisShowMaw[0], h.hisShowMaw[1], h.hisMoveMax[3]), std::make_tuple(99, 24, 32));
}

TEST(LogUtilModel, RefusalNamesItsPageAndStoresNothing) {
  struct Case {
    int Box;  // 0..2 a page size, 3 the move count
    const char* Text;
    std::string Message;
  };
  const Case cases[] = {
      {0, "13", kSizeError}, {1, "abc", kSizeError}, {2, "1000", kSizeError}, {2, "", kSizeError},
      {2, "-14", kSizeError}, {3, "0", kMoveError},   {3, "33", kMoveError},   {3, "x", kMoveError},
  };
  for (const Case& c : cases) {
    HistoryDisplaySettings h;
    const HistoryDisplaySettings before = h;
    HistoryUtilValues v = LoadHistorySettings(h);
    v.hisShowMaw = {"14", "20", "30"};  // good values on the pages before a failing one
    v.hisMoveMax = "5";
    v.hisFmtDate[0] = "yyyy";
    v.gphGetWay = 2;
    (c.Box < 3 ? v.hisShowMaw[c.Box] : v.hisMoveMax) = c.Text;
    const HistoryUtilProblem p = ApplyHistorySettings(v, h);
    ASSERT_TRUE(p) << c.Text;
    EXPECT_EQ(p.Page, c.Box) << c.Text;
    EXPECT_EQ(p.Box, c.Box < 3 ? c.Box : MoveCountBox) << c.Text;
    EXPECT_EQ(p.Message, c.Message) << c.Text;
    EXPECT_EQ(h, before) << c.Text;
  }
}

TEST(LogUtilModel, Examples) {
  EXPECT_EQ(HistoryDateExample("yy/mm/dd hh:mm:ss"), "03/01/01 14:20:02");
  EXPECT_EQ(HistoryDateExample("yyyy/m/d"), "2003/1/1");
  EXPECT_EQ(HistoryDurationExample("h時間 mm分 ss秒"), "5時間 05分 05秒");
  EXPECT_EQ(HistoryDurationExample("hh:mm:ss"), "05:05:05");
  EXPECT_EQ(UserSettingsCaption("ﾌﾟﾛﾊﾞｲﾀﾞ"), "\"ﾌﾟﾛﾊﾞｲﾀﾞ\" ｶｳﾝﾀの設定");
}

}  // namespace
}  // namespace nw
