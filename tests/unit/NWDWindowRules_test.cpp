#include "app/NWDWindowRules.h"

#include <gtest/gtest.h>

#include "TestFiles.h"
#include "app/NWDMenuIds.h"

namespace nw {
namespace {

TEST(DisplayModeTest, SwitchRemembersThePreviousModeAndIgnoresTheSameMode) {
  DisplayModes m{kModeMain, kModeMain};
  EXPECT_FALSE(SwitchDisplayMode(m, kModeMain));
  EXPECT_TRUE(SwitchDisplayMode(m, kModeCompact));
  EXPECT_EQ(m.DisplayMode, kModeCompact);
  EXPECT_EQ(m.PreviousDisplayMode, kModeMain);
  EXPECT_TRUE(SwitchDisplayMode(m, kModeTray));
  EXPECT_EQ(m.PreviousDisplayMode, kModeCompact);
  // Showing the program again returns to the compact window.
  EXPECT_EQ(RestoreDisplayMode(m), kModeCompact);
}

TEST(DisplayModeTest, RestoreAlwaysShowsAWindowEvenFromADamagedPreviousMode) {
  EXPECT_EQ(RestoreDisplayMode(DisplayModes{kModeMain, kModeTray}), kModeMain);
  for (int32_t damaged : {3, 7, -1, INT32_MIN}) {
    EXPECT_EQ(RestoreDisplayMode(DisplayModes{kModeTray, damaged}), kModeMain) << damaged;
    // Hidden at the last exit and shown at start: the main window, not nothing.
    EXPECT_EQ(StartupDisplayMode(kModeTray, true, DisplayModes{kModeTray, damaged}), kModeMain) << damaged;
  }
}

TEST(DisplayModeTest, StartupModeFollowsSavedModeAndExpStart) {
  const DisplayModes prevCompact{kModeTray, kModeCompact};
  EXPECT_EQ(StartupDisplayMode(kModeTray, true, prevCompact), kModeCompact);
  EXPECT_EQ(StartupDisplayMode(kModeTray, false, prevCompact), kModeTray);
  EXPECT_EQ(StartupDisplayMode(kModeTray, true, DisplayModes{kModeTray, kModeTray}), kModeMain);
  EXPECT_EQ(StartupDisplayMode(kModeCompact, false, prevCompact), kModeCompact);
  // A damaged stored mode shows the main window rather than nothing.
  EXPECT_EQ(StartupDisplayMode(7, false, prevCompact), kModeMain);
}

TEST(CloseDecisionTest, EveryUnloadMode) {
  using S = CloseSource;
  using D = CloseDecision;
  // Close box or the program's own close with the icon shown: back to the tray.
  EXPECT_EQ(DecideClose(false, S::CloseBox, true, false), D::StayInTray);
  EXPECT_EQ(DecideClose(false, S::Program, true, false), D::StayInTray);
  // Exit commands, no icon, or Windows itself: the shut-down runs.
  EXPECT_EQ(DecideClose(false, S::Program, true, true), D::Unload);
  EXPECT_EQ(DecideClose(false, S::CloseBox, false, false), D::Unload);
  EXPECT_EQ(DecideClose(false, S::SessionEnd, true, false), D::Unload);
  EXPECT_EQ(DecideClose(false, S::TaskList, true, false), D::Unload);
  // Once unloading, every close is allowed without running the shut-down twice.
  EXPECT_EQ(DecideClose(true, S::CloseBox, true, false), D::Allow);
}

TEST(CenterFormOverTest, CentresAndKeepsOnScreen) {
  const TwipRect compact{3000, 2000, 2000, 1000};
  TwipRect main{0, 0, 4770, 3015};
  TwipRect r = CenterFormOver(compact, main, false, 15360, 11520);
  EXPECT_EQ(r.Left, 3000 + (2000 - 4770) / 2);  // -1385 + 3000
  EXPECT_EQ(r.Top, 2000 - 1008);  // (1000 - 3015) / 2 = -1007.5 rounds to even: -1008
  EXPECT_EQ(CenterFormOver(TwipRect{0, 0, 1005, 0}, TwipRect{0, 0, 0, 0}, false, 0, 0).Left, 502);
  EXPECT_EQ(r.Width, 4770);
  const TwipRect corner{0, 0, 1000, 1000};
  r = CenterFormOver(corner, main, true, 15360, 11520);
  EXPECT_EQ(r.Left, 0);
  EXPECT_EQ(r.Top, 0);
  const TwipRect farRight{15000, 11000, 1000, 1000};
  r = CenterFormOver(farRight, main, true, 15360, 11520);
  EXPECT_EQ(r.Left, 15360 - 4770);
  EXPECT_EQ(r.Top, 11520 - 3015);
}

const MenuEntry* Find(const std::vector<MenuEntry>& items, int id) {
  for (const MenuEntry& e : items) {
    if (e.Id == id) return &e;
    if (const MenuEntry* sub = Find(e.Items, id)) return sub;
  }
  return nullptr;
}

TEST(MainMenuTest, CaptionsAndDialItemsFollowTheLine) {
  MenuInputs in;
  in.CounterName = "ﾌﾟﾛﾊﾞｲﾀﾞ";
  auto menus = BuildMainMenu(in);
  ASSERT_EQ(menus.size(), 3u);
  EXPECT_EQ(menus[0].Caption, "ﾒｲﾝ(&M)");
  EXPECT_EQ(menus[1].Caption, "設定(&U)");
  auto main = menus[0].Items;
  EXPECT_TRUE(Find(main, cmd::DialUpnu)->Enabled);
  EXPECT_FALSE(Find(main, cmd::DialHupnu)->Enabled);
  EXPECT_EQ(Find(main, cmd::TodayClear)->Caption, "\"今日\" ｶｳﾝﾄﾘｾｯﾄ(&T)");
  EXPECT_EQ(Find(main, cmd::UserClear)->Caption, "\"ﾌﾟﾛﾊﾞｲﾀﾞ\" ｶｳﾝﾄﾘｾｯﾄ(&U)");
  EXPECT_EQ(Find(main, cmd::Closenu)->Caption, "閉じる(&X)");
  in.LineConnected = true;
  in.UserRenew = false;
  main = BuildMainMenu(in)[0].Items;
  EXPECT_FALSE(Find(main, cmd::DialUpnu)->Enabled);
  EXPECT_TRUE(Find(main, cmd::DialHupnu)->Enabled);
  EXPECT_EQ(Find(main, cmd::UserClear)->Caption, "ﾕｰｻﾞｰ定義は設定されていません");
  EXPECT_FALSE(Find(main, cmd::UserClear)->Enabled);
}

TEST(MainMenuTest, HistoryAndSettingsWindowsAreAvailable) {
  MenuInputs in;
  auto menus = BuildMainMenu(in);
  EXPECT_EQ(Find(menus[0].Items, cmd::Historynu)->Caption, "履歴の一覧(&H)...");
  for (int id : {cmd::Historynu, cmd::UtilActnu, cmd::UtilSprnu, cmd::UtilSprWatchEntrynu})
    EXPECT_TRUE(CommandAvailable(in, id));
}

TEST(MainMenuTest, InTrayOnlyWhileResidentAndLogItemsFollowTheLog) {
  MenuInputs in;
  EXPECT_EQ(Find(BuildMainMenu(in)[0].Items, cmd::InTraynu), nullptr);
  EXPECT_FALSE(CommandAvailable(in, cmd::InTraynu));
  in.TrayResident = true;
  EXPECT_EQ(Find(BuildMainMenu(in)[0].Items, cmd::InTraynu)->Caption, "ﾀｽｸﾄﾚｲに入れる(&T)");
  EXPECT_TRUE(CommandAvailable(in, cmd::InTraynu));

  // The log items show what Utilnu_Click decides as the menu opens.
  test::TempFolder dir;
  SettingsRecord s;
  int notices = 0;
  ActivityLogCommands log(s, [&](const std::string&, const std::string&) { ++notices; });
  auto util = [&] {
    TakeLogMenuState(in, log.Utilnu_Click());
    return BuildMainMenu(in)[1].Items;
  };
  s.LogFileAddress = dir.File("LogFile.txt");
  EXPECT_FALSE(Find(util(), cmd::Loggingnu)->Checked);
  EXPECT_FALSE(Find(util(), cmd::DelLognu)->Enabled);
  s.LoggingFLG = true;
  ASSERT_TRUE(AppendActivityLine(s.LogFileAddress, "x"));
  EXPECT_TRUE(Find(util(), cmd::Loggingnu)->Checked);
  EXPECT_TRUE(Find(util(), cmd::DelLognu)->Enabled);
  // A path no file can have switches the log off while the menu opens: no tick is left behind.
  s.LogFileAddress = "C:\\bad|name.txt";
  const auto items = util();
  EXPECT_FALSE(Find(items, cmd::Loggingnu)->Checked);
  EXPECT_FALSE(Find(items, cmd::DelLognu)->Enabled);
  EXPECT_FALSE(CommandAvailable(in, cmd::DelLognu));
  EXPECT_EQ(notices, 1);
}

TEST(MainMenuTest, DefaultSetItemsOnlyWithTwoSetsAndStandalonDialing) {
  MenuInputs in;
  in.RsIdlFLG = true;
  in.SetNames = {"会社"};
  EXPECT_EQ(Find(BuildMainMenu(in)[0].Items, cmd::DialSetDefItemnu), nullptr);
  in.SetNames = {"会社", "自宅"};
  in.RsSetInfoStd = 1;
  auto main = BuildMainMenu(in)[0].Items;
  EXPECT_EQ(Find(main, cmd::DialSetDefItemnu)->Caption, "会社");
  EXPECT_EQ(Find(main, cmd::DialSetDefItemnu + 1)->Caption, "自宅 - (標準)");
  auto tray = BuildTrayMenu(in);
  EXPECT_EQ(Find(tray, cmd::trDialSetDefItemnu + 1)->Caption, "自宅 - (標準)");
  in.RsIdlFLG = false;
  EXPECT_FALSE(CommandAvailable(in, cmd::DialSetDefItemnu));
}

TEST(TrayMenuTest, FirstItemNamesTheRequestForTheLine) {
  MenuInputs in;
  auto tray = BuildTrayMenu(in);
  EXPECT_EQ(tray.front().Caption, "接続(&D)");
  in.LineConnected = true;
  tray = BuildTrayMenu(in);
  EXPECT_EQ(tray.front().Caption, "切断(&H)");
  EXPECT_EQ(Find(tray, cmd::trExpnu)->Caption, "表示(&E)...");
  EXPECT_EQ(Find(tray, cmd::trEndnu)->Caption, "終了(&X)");
}

}  // namespace
}  // namespace nw
