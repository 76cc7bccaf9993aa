#include "compact/NWDCompLayout.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace nw;
using namespace nw::comp;

namespace {
SettingsRecord AllShown() {
  SettingsRecord s;
  s.FormatIval = "h:mm:ss";
  return s;
}
}  // namespace

TEST(CompLayout, EverythingShownIs266By54PastThePositionMarker) {
  const SettingsRecord s = AllShown();
  const Layout l = ComputeLayout(s, 8, 4, false);
  EXPECT_EQ(l.ClientWidth, 8 + 266);
  EXPECT_EQ(l.ClientHeight, 4 + 54);
  EXPECT_EQ(l.TimeLeft, 8 + 116);
  EXPECT_EQ(l.CountLeft, 8 + 116 + 108);
  EXPECT_EQ(l.DrawTop, 4);
  EXPECT_EQ(l.BoxHeight, 3 * 18 - 5);
  EXPECT_EQ(l.Labels, (std::vector<std::string>{"\"接続／切断\" ｶｳﾝﾀ:", "\"今日\" ｶｳﾝﾀ:", "\"ﾕｰｻﾞｰ定義\" ｶｳﾝﾀ:"}));
  EXPECT_EQ(l.RowColors, (std::vector<uint32_t>{0, 0, 0}));
}

TEST(CompLayout, LabelColumnGrowsUntilTheLabelsFitWithinItsLimit) {
  SettingsRecord s = AllShown();
  // Seven pixels a character: the user label is measured with the "..." its shortening would add.
  auto measure = [](const std::string& t) {
    return 7 * static_cast<int>(std::count_if(t.begin(), t.end(), [](char c) { return (c & 0xC0) != 0x80; }));
  };
  s.CounterName = "ab";
  EXPECT_EQ(ComputeLayout(s, 8, 4, false, measure).LabelFit, kLabelFit);  // short labels: the design width
  s.CounterName = "abcdefgh";  // "\"abcdefgh\" ｶｳﾝﾀ:..." is 19 characters
  Layout l = ComputeLayout(s, 8, 4, false, measure);
  EXPECT_EQ(l.LabelFit, 19 * 7);
  EXPECT_EQ(l.TimeLeft, 8 + 19 * 7 + (kLabelWidth - kLabelFit));
  s.CounterName = std::string(40, 'x');  // too long: the limit, and the label is shortened
  EXPECT_EQ(ComputeLayout(s, 8, 4, false, measure).LabelFit, kLabelMaxFit);
  s.ExpLbl = false;
  EXPECT_EQ(ComputeLayout(s, 8, 4, false, measure).TimeLeft, 8);
}

TEST(CompLayout, OnlyTheTodayCountIsOneRowOfTheCountColumn) {
  SettingsRecord s = AllShown();
  s.ExpLbl = s.ExpTim = s.ExpNow = s.ExpUsr = false;
  s.ExpTdy = true;
  CounterBlock c;
  c.TodayCount = 4;
  const Layout l = ComputeLayout(s, 8, 4, false);
  EXPECT_EQ(l.Rows, (std::vector<Row>{Row::Today}));
  EXPECT_EQ(l.TimeLeft, -1);
  EXPECT_EQ(l.CountLeft, 8);
  EXPECT_EQ(l.ClientWidth, 8 + 42);
  EXPECT_EQ(l.ClientHeight, 4 + 18);
  EXPECT_EQ(l.BoxHeight, 13);
  EXPECT_TRUE(l.Labels.empty());
  const ColumnTexts t = MakeColumnTexts(s, c, 0, 0, 0, 1);
  EXPECT_TRUE(t.Time.empty());
  EXPECT_EQ(t.Count, (std::vector<std::string>{"5 回"}));
}

TEST(CompLayout, SwitchedOffUserCounterIsGreyAndStandsStill) {
  SettingsRecord s = AllShown();
  s.UserRenew = false;
  s.CounterName = "月間";
  CounterBlock c;
  c.TodaySeconds = 60;
  c.UserSeconds = 3600;
  c.UserCount = 2;
  const Layout l = ComputeLayout(s, 0, 0, false);
  EXPECT_EQ(l.RowColors, (std::vector<uint32_t>{0, 0, kGrey}));
  EXPECT_EQ(l.Labels[2], "\"月間\" ｶｳﾝﾀ:");
  const ColumnTexts t = MakeColumnTexts(s, c, 125, 5, 5, 1);
  EXPECT_EQ(t.Time, (std::vector<std::string>{"0:02:05", "0:01:05", "1:00:00"}));
  // The connection row's count is always "--"; the counts add the running connection, except
  // the switched-off user counter's.
  EXPECT_EQ(t.Count, (std::vector<std::string>{"--", "1 回", "2 回"}));
  s.UserRenew = true;
  EXPECT_EQ(MakeColumnTexts(s, c, 125, 5, 5, 1).Time[2], "1:00:05");
  EXPECT_EQ(MakeColumnTexts(s, c, 125, 5, 5, 1).Count[2], "3 回");
}

TEST(CompLayout, TogglesNeverLeaveTheGridEmpty) {
  SettingsRecord s = AllShown();
  s.ExpTdy = s.ExpUsr = false;
  EXPECT_FALSE(ToggleItem(s, Item::Now));  // the only row
  EXPECT_TRUE(s.ExpNow);
  EXPECT_TRUE(ToggleItem(s, Item::Usr));
  EXPECT_TRUE(ToggleItem(s, Item::Now));
  EXPECT_FALSE(s.ExpNow);

  EXPECT_TRUE(ToggleItem(s, Item::Tim));
  EXPECT_FALSE(ToggleItem(s, Item::Cnt));  // the only column
  EXPECT_TRUE(s.ExpCnt);
  EXPECT_TRUE(ToggleItem(s, Item::Tim));  // switching on is always allowed
  EXPECT_TRUE(s.ExpTim);
  // Labels are not a column of their own: they can always go.
  EXPECT_TRUE(ToggleItem(s, Item::Lbl));
  EXPECT_FALSE(ItemChecked(s, Item::Lbl));
}

TEST(CompLayout, ColumnsRedrawOnlyWhenATextChanges) {
  ColumnMemory m;
  EXPECT_EQ(m.LastIndex(), -1);
  EXPECT_TRUE(m.Update({"0:00:01", "0:10:00"}, false));
  EXPECT_EQ(m.LastIndex(), 1);
  EXPECT_FALSE(m.Update({"0:00:01", "0:10:00"}, false));
  EXPECT_TRUE(m.Update({"0:00:01", "0:10:00"}, true));
  EXPECT_TRUE(m.Update({"0:00:02", "0:10:00"}, false));
  EXPECT_TRUE(m.Update({"0:00:02"}, false));  // a row went away
  m.Forget();
  EXPECT_TRUE(m.Update({"0:00:02"}, false));
}

TEST(CompLayout, FitTextCutsAtTheFirstCharacterThatDoesNotFit) {
  // Every character 10 wide, "..." 9 wide.
  auto measure = [](const std::string& t) {
    int w = 0;
    for (size_t i = 0; i < t.size();) {
      const unsigned char b = static_cast<unsigned char>(t[i]);
      if (t.compare(i, 3, "...") == 0 && i + 3 == t.size()) {
        w += 9;
        break;
      }
      i += b < 0x80 ? 1 : (b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2);
      w += 10;
    }
    return w;
  };
  EXPECT_EQ(FitText("ABCDEFGHIJ", 109, measure), "ABCDEFGHIJ");  // 100 + 9 fits
  EXPECT_EQ(FitText("ABCDEFGHIJ", 108, measure), "ABCDEFGHI...");
  EXPECT_EQ(FitText("ABCDEFGHIJK", 109, measure), "ABCDEFGHIJ...");
  EXPECT_EQ(FitText("\"とても長いカウンタの名前\" ｶｳﾝﾀ:", 109, measure), "\"とても長いカウンタ...");
  EXPECT_EQ(FitText("", 108, measure), "");
}

TEST(CompLayout, UnloadLeadsWhereTheUserExpects) {
  EXPECT_EQ(DecideUnload(true, false, true, true), UnloadLeadsTo::Nothing);
  EXPECT_EQ(DecideUnload(false, true, false, false), UnloadLeadsTo::Nothing);
  EXPECT_EQ(DecideUnload(false, false, true, false), UnloadLeadsTo::MainWindow);
  EXPECT_EQ(DecideUnload(false, false, false, true), UnloadLeadsTo::Tray);
  EXPECT_EQ(DecideUnload(false, false, false, false), UnloadLeadsTo::EndProgram);
}

TEST(CompLayout, MenuCaptionOfTheUserRow) {
  EXPECT_EQ(ExpUsrMenuCaption("ﾕｰｻﾞｰ定義"), "\"ﾕｰｻﾞｰ定義\" ｶｳﾝﾀ表示(&U)");
}

TEST(CompLayout, VolumeLineGoesBelowTheRowsAtItsOwnWidth) {
  SettingsRecord s = AllShown();
  Layout l = ComputeLayout(s, 8, 4, true);
  EXPECT_EQ(l.VolumeTop, 4 + 54);
  EXPECT_EQ(l.ClientHeight, 4 + 72);
  EXPECT_EQ(l.ClientWidth, 8 + std::max(266, kVolumeWidth));
  EXPECT_EQ(l.BoxHeight, 3 * 18 - 5);  // the columns keep their boxes
  s.ExpLbl = s.ExpTim = s.ExpNow = s.ExpUsr = false;
  l = ComputeLayout(s, 8, 4, true);
  EXPECT_EQ(l.VolumeTop, 4 + 18);
  EXPECT_EQ(l.ClientWidth, 8 + kVolumeWidth);
  EXPECT_EQ(ComputeLayout(s, 8, 4, false).VolumeTop, -1);
}
