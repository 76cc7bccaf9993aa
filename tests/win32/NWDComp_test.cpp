#include "compact/win32/NWDComp.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ClippedControls.h"
#include "WindowTestKit.h"

using nw::NWDComp;

namespace {

struct FakeHost : nw::CompactHost {
  NWDComp* comp = nullptr;
  wtk::HostWindow main{L"main"};
  bool connected = false, unloading = false, explicitExit = false, tray = true, lockShown = false;
  int32_t connectionSeconds = 0;
  std::vector<std::string> sets;
  std::vector<std::string> calls;

  HWND MainWindow() override { return main.Get(); }
  bool LineConnected() override { return connected; }
  int32_t ConnectionSeconds() override { return connectionSeconds; }
  bool Unloading() override { return unloading; }
  bool ExplicitExit() override { return explicitExit; }
  bool TrayIconShown() override { return tray; }
  bool LockButtonShown() override { return lockShown; }
  void RequestLine(int32_t hangUp) override { calls.push_back("request " + std::to_string(hangUp)); }
  void LockBtnAction(bool whc) override { calls.push_back(std::string("lock ") + (whc ? "on" : "off")); }
  void ShowAutoTitle(bool) override { comp->SetCaption("切断状態 0:00:00"); }
  std::vector<std::string> DefaultSetMenuItems() override { return sets; }
  void SetDefaultSet(int32_t i) override { calls.push_back("set " + std::to_string(i)); }
  void SetDisplayMode(int32_t mode) override {
    calls.push_back("mode " + std::to_string(mode));
    if (mode != 2) comp->SetCompactState(false);  // as the main window's switch does
  }
  void UnloadAction() override {
    unloading = true;
    calls.push_back("unload");
    comp->SetCompactState(false);
  }
  void CenterFormOver(HWND source, HWND target, bool keep) override {
    calls.push_back(std::string("center ") + (source == main.Get() ? "main" : "comp") + " over " +
                    (target == main.Get() ? "main" : "comp") + (keep ? " kept" : ""));
  }
};

struct CompFixture : ::testing::Test {
  nw::SettingsFileData data;
  nw::VolumeFileData volume;
  FakeHost host;
  NWDComp comp{GetModuleHandleW(nullptr), data, volume, host};
  UINT dpi = otkGdi::ScreenDpi();
  void SetUp() override {
    host.comp = &comp;
    data.Settings.FormatIval = "h:mm:ss";
    data.CompTopFLG = false;
  }
  SIZE Client() {
    RECT r{};
    GetClientRect(comp.Window(), &r);
    return {r.right, r.bottom};
  }
  int Px(int v) const { return otkGdi::Scale(v, dpi); }
  void Command(int id) { SendMessageW(comp.Window(), WM_COMMAND, id, 0); }
  HWND Mess(int k) { return GetDlgItem(comp.Window(), NWDComp::kMessFirst + k); }
  HMENU Popup(int pos) { return GetSubMenu(GetMenu(comp.Window()), pos); }
  std::string ItemCaption(HMENU m, int id) {
    wchar_t buf[256] = {};
    GetMenuStringW(m, id, buf, 256, MF_BYCOMMAND);
    return nw::win::Narrow(buf);
  }
  UINT ItemState(HMENU m, int id) { return GetMenuState(m, id, MF_BYCOMMAND); }
  int CountPixels(int left96, int top96, int width96, int height96, COLORREF c) {
    return wtk::CountPixels(comp.Window(), RECT{left96, top96, left96 + width96, top96 + height96}, c);
  }
};

}  // namespace

TEST_F(CompFixture, OpensSizedToTheFullGridWithLabelsAndCounters) {
  data.Counters.TodaySeconds = 3600;
  data.Counters.TodayCount = 2;
  data.Counters.UserSeconds = 7200;
  data.Counters.UserCount = 5;
  data.Settings.CounterName = "月間";
  comp.SetCompactState(true);
  ASSERT_TRUE(comp.CompactState());
  EXPECT_EQ(wtk::Text(comp.Window()), "切断状態 0:00:00");
  EXPECT_TRUE(IsWindowVisible(comp.Window()));
  EXPECT_EQ(Client().cx, Px(NWDComp::kPosLeft + 266));
  EXPECT_EQ(Client().cy, Px(NWDComp::kPosTop + 54));
  EXPECT_EQ(wtk::Text(Mess(0)), "\"接続／切断\" ｶｳﾝﾀ:");
  EXPECT_EQ(wtk::Text(Mess(1)), "\"今日\" ｶｳﾝﾀ:");
  EXPECT_EQ(wtk::Text(Mess(2)), "\"月間\" ｶｳﾝﾀ:");
  EXPECT_EQ(comp.TimeTexts(), (std::vector<std::string>{"0:00:00", "1:00:00", "2:00:00"}));
  EXPECT_EQ(comp.CountTexts(), (std::vector<std::string>{"--", "2 回", "5 回"}));
  EXPECT_EQ(host.calls, (std::vector<std::string>{"center main over comp kept"}));
  EXPECT_NE(SendMessageW(comp.Window(), WM_GETICON, ICON_BIG, 0), 0);

  host.connectionSeconds = 65;
  comp.ExpressAcmComp(65, 65, 1);
  EXPECT_EQ(comp.TimeTexts(), (std::vector<std::string>{"0:01:05", "1:01:05", "2:01:05"}));
  EXPECT_EQ(comp.CountTexts(), (std::vector<std::string>{"--", "3 回", "6 回"}));
}

TEST_F(CompFixture, DisplayItemsResizeTheWindowAndNeverEmptyIt) {
  comp.SetCompactState(true);
  // The default names fit whole.
  EXPECT_EQ(wtk::Text(Mess(2)), "\"ﾕｰｻﾞｰ定義\" ｶｳﾝﾀ:");
  EXPECT_EQ(wtk::ClippedControls(comp.Window()), std::vector<std::string>{});
  Command(NWDComp::kExpLblnu);
  EXPECT_FALSE(data.Settings.ExpLbl);
  EXPECT_FALSE(IsWindowVisible(Mess(0)));
  EXPECT_EQ(Client().cx, Px(NWDComp::kPosLeft + 150));

  Command(NWDComp::kExpTimnu);
  Command(NWDComp::kExpNownu);
  Command(NWDComp::kExpUsrnu);
  EXPECT_EQ(Client().cx, Px(NWDComp::kPosLeft + 42));
  EXPECT_EQ(Client().cy, Px(NWDComp::kPosTop + 18));
  EXPECT_EQ(comp.CountTexts(), (std::vector<std::string>{"0 回"}));

  Command(NWDComp::kExpCntnu);  // the last column stays
  Command(NWDComp::kExpTdynu);  // the last row stays
  EXPECT_TRUE(data.Settings.ExpCnt);
  EXPECT_TRUE(data.Settings.ExpTdy);
  SendMessageW(comp.Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Popup(1)), 1);
  EXPECT_TRUE(ItemState(Popup(1), NWDComp::kExpCntnu) & MF_CHECKED);
  EXPECT_FALSE(ItemState(Popup(1), NWDComp::kExpTimnu) & MF_CHECKED);

  Command(NWDComp::kWintopnu);
  EXPECT_TRUE(data.CompTopFLG);
  EXPECT_TRUE(GetWindowLongW(comp.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  Command(NWDComp::kWintopnu);
  EXPECT_FALSE(data.CompTopFLG);
  EXPECT_FALSE(GetWindowLongW(comp.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(CompFixture, MainMenuFollowsTheLineLockAndSets) {
  host.connected = true;
  host.lockShown = true;
  host.sets = {"会社 - (標準)", "自宅"};
  data.Settings.LockState = true;
  data.Settings.CounterName = "月間";
  comp.SetCompactState(true);
  HMENU m = Popup(0);
  SendMessageW(comp.Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(m), 0);
  EXPECT_TRUE(ItemState(m, NWDComp::kDialUpnu) & MF_GRAYED);
  EXPECT_FALSE(ItemState(m, NWDComp::kDialHupnu) & MF_GRAYED);
  EXPECT_TRUE(ItemState(m, NWDComp::kLocknu) & MF_CHECKED);
  EXPECT_EQ(ItemCaption(m, NWDComp::kDialSetDefItemnu + 1), "自宅");
  EXPECT_EQ(ItemCaption(m, NWDComp::kBacknu), "戻る(&B)");
  SendMessageW(comp.Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Popup(1)), 1);
  EXPECT_EQ(ItemCaption(Popup(1), NWDComp::kExpUsrnu), "\"月間\" ｶｳﾝﾀ表示(&U)");

  Command(NWDComp::kDialUpnu);  // disabled while connected: ignored
  Command(NWDComp::kDialHupnu);
  Command(NWDComp::kLocknu);
  Command(NWDComp::kDialSetDefItemnu + 1);
  Command(NWDComp::kDialSetDefItemnu + 5);  // no such set
  EXPECT_EQ(host.calls, (std::vector<std::string>{"center main over comp kept", "request 1", "lock off", "set 1"}));

  host.lockShown = false;
  SendMessageW(comp.Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(m), 0);
  EXPECT_EQ(GetMenuState(m, NWDComp::kLocknu, MF_BYCOMMAND), static_cast<UINT>(-1));  // gone
}

TEST_F(CompFixture, CloseBoxGoesToTheTrayOrEndsTheProgram) {
  comp.SetCompactState(true);
  host.calls.clear();
  SendMessageW(comp.Window(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(comp.CompactState());
  EXPECT_EQ(host.calls, (std::vector<std::string>{"mode 0", "center comp over main kept"}));

  host.tray = false;
  comp.SetCompactState(true);
  host.calls.clear();
  SendMessageW(comp.Window(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(comp.CompactState());
  EXPECT_EQ(host.calls, (std::vector<std::string>{"unload"}));
}

TEST_F(CompFixture, BackReturnsToTheMainWindowAndExitOrModeSwitchJustCloses) {
  comp.SetCompactState(true);
  host.calls.clear();
  Command(NWDComp::kBacknu);
  EXPECT_FALSE(comp.CompactState());
  EXPECT_EQ(host.calls, (std::vector<std::string>{"mode 1"}));

  comp.SetCompactState(true);
  host.calls.clear();
  comp.SetCompactState(false);
  EXPECT_TRUE(host.calls.empty());

  comp.SetCompactState(true);
  host.calls.clear();
  host.explicitExit = true;
  SendMessageW(comp.Window(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(comp.CompactState());
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(CompFixture, LongCounterNameIsCutAndSwitchedOffUserRowIsGrey) {
  data.Settings.CounterName = "とても長い名前のユーザー定義カウンタです";
  data.Settings.UserRenew = false;
  comp.SetCompactState(true);
  const std::string label = wtk::Text(Mess(2));
  ASSERT_GE(label.size(), 3u);
  EXPECT_EQ(label.substr(label.size() - 3), "...");
  EXPECT_LT(label.size(), nw::comp::RowLabel(nw::comp::Row::User, data.Settings.CounterName).size());
  // Its tool tip shows it whole.
  HWND tip = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
  while (tip && GetWindow(tip, GW_OWNER) != comp.Window()) tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr);
  ASSERT_NE(tip, nullptr);
  wchar_t whole[256] = {};
  TOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.hwnd = comp.Window();
  ti.uId = reinterpret_cast<UINT_PTR>(Mess(2));
  ti.lpszText = whole;
  SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&ti));
  EXPECT_EQ(nw::win::Narrow(whole), nw::comp::RowLabel(nw::comp::Row::User, data.Settings.CounterName));

  // The time column's third row is drawn in grey, the first in black.
  auto count = [&](int row, COLORREF c) {
    return CountPixels(NWDComp::kPosLeft + 116, NWDComp::kPosTop + row * 18, 60, 13, c);
  };
  EXPECT_GT(count(2, RGB(128, 128, 128)), 5);
  EXPECT_EQ(count(2, RGB(0, 0, 0)), 0);
  EXPECT_GT(count(0, RGB(0, 0, 0)), 5);
}

TEST_F(CompFixture, VolumeLineIsAnItemBelowTheRowsBlankWithoutText) {
  const std::string text = "ﾃﾞｰﾀ量: 接続中 1.50 MB / ﾕｰｻﾞｰ定義 12.3 MB";
  comp.SetVolumeText(text);  // given before the window opens, as the main window does
  comp.SetCompactState(true);
  EXPECT_EQ(Client().cy, Px(NWDComp::kPosTop + 54));  // off until chosen
  EXPECT_EQ(comp.VolumeLine(), "");

  Command(NWDComp::kExpVolnu);
  EXPECT_TRUE(volume.Display.ExpVol);
  EXPECT_EQ(Client().cx, Px(NWDComp::kPosLeft + std::max(266, nw::comp::kVolumeWidth)));
  EXPECT_EQ(Client().cy, Px(NWDComp::kPosTop + 72));
  EXPECT_EQ(comp.VolumeLine(), text);
  SendMessageW(comp.Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Popup(1)), 1);
  EXPECT_TRUE(ItemState(Popup(1), NWDComp::kExpVolnu) & MF_CHECKED);
  const int volumeTop = NWDComp::kPosTop + 54;
  EXPECT_GT(CountPixels(NWDComp::kPosLeft, volumeTop, 200, 13, RGB(0, 0, 0)), 20);

  // A narrow grid keeps the line's width; a text too long for it ends in "...".
  Command(NWDComp::kExpLblnu);
  Command(NWDComp::kExpTimnu);
  EXPECT_EQ(Client().cx, Px(NWDComp::kPosLeft + nw::comp::kVolumeWidth));
  comp.SetVolumeText("ﾃﾞｰﾀ量: 接続中 1023.99 MB / とても長い名前のユーザー定義カウンタです 1023.99 GB");
  ASSERT_GE(comp.VolumeLine().size(), 3u);
  EXPECT_EQ(comp.VolumeLine().substr(comp.VolumeLine().size() - 3), "...");

  comp.SetVolumeText("");  // no volume to show: the place stays blank
  EXPECT_EQ(CountPixels(NWDComp::kPosLeft, volumeTop, 200, 13, RGB(0, 0, 0)), 0);

  Command(NWDComp::kExpVolnu);
  EXPECT_FALSE(volume.Display.ExpVol);
  EXPECT_EQ(Client().cy, Px(NWDComp::kPosTop + 54));
}
