#include "monitor/win32/NWDDialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/win32/otkGdi.h"
#include "ClippedControls.h"
#include "WindowTestKit.h"

using nw::NWDDialog;
using wtk::ItemText;
using wtk::Later;

namespace {

struct Recorder {
  std::vector<std::string> Events;
  nw::NoticeEvents Make() {
    return {[this] { Events.push_back("loaded"); }, [this] { Events.push_back("go"); },
            [this] { Events.push_back("negative"); }, [this] { Events.push_back("unloaded"); }};
  }
};

void Click(HWND dlg, int id) { SendMessageW(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }
int LeftTwips(HWND dlg, int id) {
  return otkGdi::PixelsToTwips(wtk::ChildRect(GetDlgItem(dlg, id)).left, otkGdi::ScreenDpi());
}

}  // namespace

TEST(NWDDialog, OneButtonNoticeShowsTextsOnTopAndReportsTheChoice) {
  wtk::HostWindow host;
  NWDDialog dlg(GetModuleHandleW(nullptr), host.Get());
  Recorder rec;
  dlg.SetEvents(rec.Make());
  bool checked = false;
  Later(200, [&] {
    HWND w = dlg.Window();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(wtk::Text(w), "Orvin.T.K. NetWard");
    EXPECT_EQ(ItemText(w, NWDDialog::kMainMess), "ﾛｸﾞﾌｧｲﾙの保存場所が無効です。");
    EXPECT_EQ(ItemText(w, NWDDialog::kSubMess), "ﾛｸﾞﾌｧｲﾙの保存場所が無効なため、「ﾛｸﾞ」機能の設定を初期化しました。");
    EXPECT_EQ(ItemText(w, NWDDialog::kBtnGo), "O.K.");
    EXPECT_NEAR(LeftTwips(w, NWDDialog::kBtnGo), 2700, 15);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(w, NWDDialog::kBtnNgtv)));
    EXPECT_EQ(wtk::ClippedControls(w), std::vector<std::string>{});
    EXPECT_TRUE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(w, WM_GETICON, ICON_BIG, 0)),
              reinterpret_cast<HICON>(GetClassLongPtrW(host.Get(), GCLP_HICON)));
    RECT c{};
    GetClientRect(w, &c);
    EXPECT_NEAR(otkGdi::PixelsToTwips(c.right, otkGdi::ScreenDpi()), 6615, 15);
    EXPECT_NEAR(otkGdi::PixelsToTwips(c.bottom, otkGdi::ScreenDpi()), 1155, 15);
    // Modal: the main window takes no input meanwhile.
    EXPECT_FALSE(IsWindowEnabled(host.Get()));
    EXPECT_EQ(rec.Events, (std::vector<std::string>{"loaded"}));
    checked = true;
    Click(w, NWDDialog::kBtnGo);
  });
  dlg.ShowMe("ﾛｸﾞﾌｧｲﾙの保存場所が無効です。", "ﾛｸﾞﾌｧｲﾙの保存場所が無効なため、「ﾛｸﾞ」機能の設定を初期化しました。", 0,
             -1);
  EXPECT_TRUE(checked);
  EXPECT_FALSE(dlg.Loaded());
  EXPECT_TRUE(IsWindowEnabled(host.Get()));
  EXPECT_EQ(rec.Events, (std::vector<std::string>{"loaded", "go", "unloaded"}));
}

TEST(NWDDialog, QuestionReplacedByANoticeKeepsItsSecondButton) {
  wtk::HostWindow host;
  NWDDialog dlg(GetModuleHandleW(nullptr), host.Get());
  Recorder rec;
  dlg.SetEvents(rec.Make());
  Later(150, [&] {
    HWND w = dlg.Window();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(ItemText(w, NWDDialog::kBtnGo), "はい(&Y)");
    EXPECT_NEAR(LeftTwips(w, NWDDialog::kBtnGo), 2040, 15);
    EXPECT_EQ(ItemText(w, NWDDialog::kBtnNgtv), "いいえ(&N)");
    EXPECT_NEAR(LeftTwips(w, NWDDialog::kBtnNgtv), 3360, 15);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(w, NWDDialog::kBtnNgtv)));
    EXPECT_EQ(wtk::ClippedControls(w), std::vector<std::string>{});

    // A second notice while open replaces the texts; ShowMe on a loaded dialog does the same.
    dlg.ShowMe("接続時間が制限を超えました。", "詳細", 0, -1);
    EXPECT_EQ(ItemText(w, NWDDialog::kMainMess), "接続時間が制限を超えました。");
    EXPECT_EQ(ItemText(w, NWDDialog::kBtnGo), "O.K.");
    EXPECT_NEAR(LeftTwips(w, NWDDialog::kBtnGo), 2700, 15);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(w, NWDDialog::kBtnNgtv)));
    EXPECT_EQ(ItemText(w, NWDDialog::kBtnNgtv), "いいえ(&N)");

    // An unknown mood changes nothing at all.
    dlg.ShowMeRe("x", "y", 7, -1);
    EXPECT_EQ(ItemText(w, NWDDialog::kMainMess), "接続時間が制限を超えました。");
    EXPECT_EQ(ItemText(w, NWDDialog::kSubMess), "詳細");

    dlg.ShowMeRe("時刻が変更されました。", "適用しますか?", 2, 2);
    EXPECT_EQ(ItemText(w, NWDDialog::kBtnGo), "適用(&A)");
    EXPECT_EQ(ItemText(w, NWDDialog::kBtnNgtv), "戻す(&B)");
    Click(w, NWDDialog::kBtnNgtv);
  });
  dlg.ShowMe("ﾀﾞｲｱﾙｱｯﾌﾟ接続を切断しますか?", "", 1, 0);
  EXPECT_EQ(rec.Events, (std::vector<std::string>{"loaded", "negative", "unloaded"}));
}

TEST(NWDDialog, CloseBoxAndEscapeUnloadWithoutAction) {
  wtk::HostWindow host;
  NWDDialog dlg(GetModuleHandleW(nullptr), host.Get());
  Recorder rec;
  dlg.SetEvents(rec.Make());
  Later(100, [&] { SendMessageW(dlg.Window(), WM_CLOSE, 0, 0); });
  dlg.ShowMe("a", "b", 1, 0);
  EXPECT_EQ(rec.Events, (std::vector<std::string>{"loaded", "unloaded"}));

  rec.Events.clear();
  Later(100, [&] { SendMessageW(dlg.Window(), WM_COMMAND, IDCANCEL, 0); });
  dlg.ShowMe("a", "b", 0, -1);
  EXPECT_EQ(rec.Events, (std::vector<std::string>{"loaded", "unloaded"}));
}

TEST(NWDDialog, TimersKeepRunningWhileOpenAndQuitIsPassedOn) {
  wtk::HostWindow host;
  host.StartTimer(50);
  NWDDialog dlg(GetModuleHandleW(nullptr), host.Get());
  int ticksWhenClosing = 0;
  Later(700, [&] {
    ticksWhenClosing = host.Ticks();
    PostQuitMessage(3);  // the program ends while the notice is open
  });
  dlg.ShowMe("a", "b", 0, -1);
  EXPECT_GE(ticksWhenClosing, 5);
  EXPECT_FALSE(dlg.Loaded());
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
  KillTimer(host.Get(), 1);
}

TEST(NWDDialog, KeysAloneAnswerTheQuestion) {
  // Keys as the keyboard delivers them to the focused control; the dialog translates them itself.
  auto key = [](UINT msg, WPARAM vk) {
    const LPARAM alt = msg == WM_SYSKEYDOWN ? (1 << 29) : 0;
    PostMessageW(GetFocus(), msg, vk, 1 | alt);
  };
  struct Round {
    std::vector<std::pair<UINT, WPARAM>> Keys;
    std::vector<std::string> Events;
  };
  const Round rounds[] = {
      {{{WM_KEYDOWN, VK_RETURN}}, {"loaded", "go", "unloaded"}},                            // the default
      {{{WM_KEYDOWN, VK_TAB}, {WM_KEYDOWN, VK_RETURN}}, {"loaded", "negative", "unloaded"}},  // the focused one
      {{{WM_SYSKEYDOWN, 'N'}}, {"loaded", "negative", "unloaded"}},                         // "いいえ(&N)"
      {{{WM_SYSKEYDOWN, 'Y'}}, {"loaded", "go", "unloaded"}},                               // "はい(&Y)"
      {{{WM_KEYDOWN, VK_ESCAPE}}, {"loaded", "unloaded"}},
  };
  for (const Round& r : rounds) {
    wtk::HostWindow host;
    NWDDialog dlg(GetModuleHandleW(nullptr), host.Get());
    Recorder rec;
    dlg.SetEvents(rec.Make());
    Later(150, [&] {
      ASSERT_EQ(GetFocus(), GetDlgItem(dlg.Window(), NWDDialog::kBtnGo));
      for (const auto& [msg, vk] : r.Keys) key(msg, vk);
    });
    dlg.ShowMe("ﾀﾞｲｱﾙｱｯﾌﾟ接続を切断しますか?", "", 1, 0);
    EXPECT_EQ(rec.Events, r.Events) << r.Keys.size() << " key(s), first " << r.Keys.front().second;
  }
}
