// The history windows driven by real key strokes and mouse messages while their modal loops run:
// the record editor, the display settings, the counter graph and the list over a log that changes.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "../unit/TestFiles.h"
#include "classlib/win32/otkGdi.h"
#include "data/NWDLogFiles.h"
#include "history/NWDLogListIds.h"
#include "history/win32/NWDLogCng.h"
#include "history/win32/NWDLogGraph.h"
#include "history/win32/NWDLogList.h"
#include "history/win32/NWDLogUtil.h"
#include "WindowTestKit.h"

using nw::NWDLogCng;
using nw::NWDLogGraph;
using nw::NWDLogList;
using nw::NWDLogUtil;

namespace {

using wtk::Closer;
using wtk::Key;
using wtk::MessageBoxUp;
using wtk::MessageText;
using wtk::Script;
using wtk::Type;
void Alt(char letter) { Key(static_cast<WORD>(letter), {VK_MENU}); }

bool FocusIsAllSelected(HWND box) {
  DWORD from = 1, to = 0;
  SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  return GetFocus() == box && from == 0 && to == static_cast<DWORD>(GetWindowTextLengthW(box));
}

std::string Item(const otkForm::Form& f, int id) { return wtk::Text(f.Item(id)); }

}  // namespace

// ---- the record editor ------------------------------------------------------------------------

TEST(NWDLogCng, CounterRecordChangedByKeysAndStored) {
  wtk::HostWindow host;
  nw::SelectedHistoryRecord rec{1, true, 0, 0, nw::MakeDate(2003, 1, 5, 6, 7, 8), 36000, 5};
  NWDLogCng dlg(GetModuleHandleW(nullptr), rec, "ﾕｰｻﾞｰ", "h時間 mm分 ss秒");
  const int t = NWDLogCng::txTday;
  HWND other = nullptr;
  wtk::HelpRecorder help;
  Script script({
      [&] {
        EXPECT_EQ(wtk::Text(dlg.Window()), "Orvin.T.K. NetWard \"今日\" ｶｳﾝﾀの履歴ﾘｽﾄの値の変更");
        EXPECT_TRUE(IsWindowVisible(dlg.Item(NWDLogCng::CngHisTday)));
        EXPECT_FALSE(IsWindowVisible(dlg.Item(NWDLogCng::CngHisDial)));
        EXPECT_FALSE(IsWindowVisible(dlg.Item(NWDLogCng::CngHisUser)));
        EXPECT_FALSE(rec.Changed);  // cleared on opening
        const char* shown[] = {"2003", "1", "5", "6", "7", "8", "10", "0", "0", "5"};
        for (int i = 0; i < 10; ++i) EXPECT_EQ(Item(dlg, t + i), shown[i]) << "box " << i;
        EXPECT_TRUE(FocusIsAllSelected(dlg.Item(t)));
        Key(VK_F1);  // on a box of a page: the window's help page
        Alt('C');    // 累積接続回数(&C)
      },
      [&] {
        EXPECT_EQ(help.Pages, (std::vector<std::string>{"history.htm"}));
        EXPECT_TRUE(FocusIsAllSelected(dlg.Item(t + 9)));
        // Another window comes to the front and goes: the focus comes back to the same box.
        other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                                nullptr);
        SetForegroundWindow(other);
      },
      [&] {
        EXPECT_EQ(GetForegroundWindow(), other);
        EXPECT_NE(GetFocus(), dlg.Item(t + 9));
        DestroyWindow(other);
        SetForegroundWindow(dlg.Window());
      },
      [&] {
        EXPECT_TRUE(FocusIsAllSelected(dlg.Item(t + 9)));
        Type(L"77777");  // the box takes four characters
        Alt('T');        // 累積接続時間(&T)
      },
      [&] {
        EXPECT_EQ(Item(dlg, t + 9), "7777");
        EXPECT_TRUE(FocusIsAllSelected(dlg.Item(t + 6)));
        Type(L"9999");
        Key(VK_TAB);
        Type(L"59");
        Key(VK_TAB);
        Type(L"59");
        Key(VK_RETURN);  // 変更(&D), the default
      },
  }, Closer(dlg), 5000);
  dlg.ShowMe(host.Get(), nullptr, false);
  EXPECT_TRUE(rec.Changed);
  EXPECT_EQ(rec.Kind, 1);
  EXPECT_EQ(rec.PlusTime, 35999999);
  EXPECT_EQ(rec.PlusCount, 7777);
  EXPECT_EQ(rec.StampDate, nw::MakeDate(2003, 1, 5, 6, 7, 8));
}

TEST(NWDLogCng, RefusedCountKeepsTheDialogOpenResetRestoresEscapeChangesNothing) {
  wtk::HostWindow host;
  const nw::SelectedHistoryRecord opened{2, false, 0, 0, nw::MakeDate(2003, 1, 5), 36000, 5};
  nw::SelectedHistoryRecord rec = opened;
  NWDLogCng dlg(GetModuleHandleW(nullptr), rec, "ﾌﾟﾛﾊﾞｲﾀﾞ", "h時間 mm分 ss秒");
  const int u = NWDLogCng::txUser;
  std::string message, title;
  Script script({
      [&] {
        EXPECT_EQ(wtk::Text(dlg.Window()), "Orvin.T.K. NetWard \"ﾌﾟﾛﾊﾞｲﾀﾞ\" ｶｳﾝﾀの履歴ﾘｽﾄの値の変更");
        EXPECT_TRUE(IsWindowVisible(dlg.Item(NWDLogCng::CngHisUser)));
        Alt('C');
        Type(L"12a");
        Alt('T');
        Type(L"3");
        Alt('D');  // 変更(&D) by its mnemonic
      },
      [&] {
        message = MessageText();
        title = wtk::Text(MessageBoxUp());
        Key(VK_RETURN);
      },
      [&] {
        ASSERT_NE(dlg.Window(), nullptr);
        EXPECT_EQ(Item(dlg, u + 9), "12a");  // the user's input stays
        EXPECT_EQ(Item(dlg, u + 6), "3");
        EXPECT_EQ(rec, opened);
        Alt('U');  // ﾘｾｯﾄ(&U)
      },
      [&] {
        EXPECT_EQ(Item(dlg, u + 9), "5");
        EXPECT_EQ(Item(dlg, u + 6), "10");
        Alt('C');
        Type(L"8");
        Key(VK_ESCAPE);
      },
  }, Closer(dlg), 6000);
  dlg.ShowMe(host.Get(), nullptr, false);
  EXPECT_EQ(message, "回数の設定に誤りがあります。");
  EXPECT_EQ(title, "Orvin.T.K. NetWard");
  EXPECT_EQ(rec, opened);  // Changed stays clear
}

TEST(NWDLogCng, ConnectionLengthFollowsTheBoxesAndAnEndBeforeTheStartIsRefused) {
  wtk::HostWindow host;
  const nw::Date start = nw::MakeDate(2003, 1, 5, 10, 0, 0);
  nw::SelectedHistoryRecord rec{0, false, start, nw::MakeDate(2003, 1, 5, 11, 0, 0), nw::MakeDate(2003, 1, 5, 9), 0, 0};
  NWDLogCng dlg(GetModuleHandleW(nullptr), rec, "", "h時間 mm分 ss秒");
  const int d = NWDLogCng::txDial;
  std::string live, message;
  Script script({
      [&] {
        EXPECT_EQ(wtk::Text(dlg.Window()), "Orvin.T.K. NetWard 接続／切断の履歴ﾘｽﾄの値の変更");
        EXPECT_TRUE(IsWindowVisible(dlg.Item(NWDLogCng::CngHisDial)));
        EXPECT_FALSE(IsWindowVisible(dlg.Item(NWDLogCng::CngHisTday)));
        EXPECT_EQ(Item(dlg, NWDLogCng::lblDialTime), "1時間 00分 00秒");
        Alt('E');  // 接続終了日時(&E): the year, then on to the hour
        Key(VK_TAB);
        Key(VK_TAB);
        Key(VK_TAB);
        Type(L"9");
      },
      [&] {
        EXPECT_TRUE(GetFocus() == dlg.Item(d + 9));
        live = Item(dlg, NWDLogCng::lblDialTime);
        Key(VK_RETURN);
      },
      [&] {
        message = MessageText();
        Key(VK_RETURN);
      },
      [&] {
        ASSERT_NE(dlg.Window(), nullptr);
        EXPECT_FALSE(rec.Changed);
        EXPECT_EQ(GetFocus(), dlg.Item(d + 9));  // back in the box Enter was pressed in
        Alt('E');
        Key(VK_TAB);
        Key(VK_TAB);
        Key(VK_TAB);
        Type(L"10");
      },
      [&] {
        EXPECT_EQ(Item(dlg, NWDLogCng::lblDialTime), "0時間 00分 00秒");  // equal is allowed
        // The watch start does not take part in the length.
        SetWindowTextW(dlg.Item(d + 12), L"x");
        EXPECT_EQ(Item(dlg, NWDLogCng::lblDialTime), "0時間 00分 00秒");
        SetWindowTextW(dlg.Item(d + 12), L"2003");
        Key(VK_RETURN);
      },
  }, Closer(dlg), 6000);
  dlg.ShowMe(host.Get(), nullptr, false);
  EXPECT_EQ(live, "ｴﾗｰが発生しました。");
  EXPECT_EQ(message, "日付の設定に誤りがあります。");
  EXPECT_TRUE(rec.Changed);
  EXPECT_EQ(rec.DialStart, start);
  EXPECT_EQ(rec.DialEnd, start);
  EXPECT_EQ(rec.StampDate, nw::MakeDate(2003, 1, 5, 9));
}

// ---- the display settings ---------------------------------------------------------------------

TEST(NWDLogUtil, PageSizeRefusedOnTheThirdPageAndCancelKeepsEverySetting) {
  wtk::HostWindow host;
  nw::HistoryDisplaySettings h;
  const nw::HistoryDisplaySettings before = h;
  int accepted = 0;
  const std::string name = "とても長い名前のﾕｰｻﾞｰ定義ｶｳﾝﾀ";
  NWDLogUtil dlg(GetModuleHandleW(nullptr), h, name, [&] { ++accepted; });
  std::string message;
  Script script({
      [&] {
        EXPECT_EQ(wtk::Text(dlg.Window()), "Orvin.T.K. NetWard 履歴の設定");
        EXPECT_EQ(Item(dlg, NWDLogUtil::UtilWord + 1), "\"今日\" ｶｳﾝﾀの設定");
        // The user page's caption is shortened to its label.
        const std::string user = Item(dlg, NWDLogUtil::UtilWord + 2);
        EXPECT_EQ(user.substr(0, 7), "\"とて");
        EXPECT_EQ(user.substr(user.size() - 3), "...");
        EXPECT_EQ(Item(dlg, NWDLogUtil::hisFmtDateEx + 0), "03/01/01 14:20:02");
        EXPECT_EQ(Item(dlg, NWDLogUtil::hisFmtTimeEx + 0), "5時間 05分 05秒");
        EXPECT_TRUE(FocusIsAllSelected(dlg.Item(NWDLogUtil::hisShowMaw + 0)));
        Type(L"20");
        Key(VK_TAB, {VK_CONTROL});
      },
      [&] {
        EXPECT_TRUE(IsWindowVisible(dlg.Item(NWDLogUtil::utilTday)));
        EXPECT_TRUE(FocusIsAllSelected(dlg.Item(NWDLogUtil::hisShowMaw + 1)));
        Type(L"1234");  // three characters at most
        Key(VK_TAB, {VK_CONTROL});
      },
      [&] {
        EXPECT_EQ(Item(dlg, NWDLogUtil::hisShowMaw + 1), "123");
        EXPECT_TRUE(FocusIsAllSelected(dlg.Item(NWDLogUtil::hisShowMaw + 2)));
        Type(L"13");
        Key(VK_TAB, {VK_CONTROL});  // away from the page: the check must bring it back
      },
      [&] {
        EXPECT_TRUE(IsWindowVisible(dlg.Item(NWDLogUtil::utilGph)));
        EXPECT_EQ(GetFocus(), dlg.Item(NWDLogUtil::hisShowMawlbl));
        Key(VK_RETURN);
      },
      [&] {
        message = MessageText();
        Key(VK_RETURN);
      },
      [&] {
        EXPECT_TRUE(IsWindowVisible(dlg.Item(NWDLogUtil::utilUser)));
        EXPECT_TRUE(FocusIsAllSelected(dlg.Item(NWDLogUtil::hisShowMaw + 2)));
        Key(VK_ESCAPE);
      },
  }, Closer(dlg), 6000);
  dlg.ShowModal(host.Get(), nullptr, false);
  EXPECT_EQ(message, "ﾘｽﾄ最大表示件数は、14～999の数値を入力して下さい。");
  EXPECT_EQ(h, before);  // also pages 0 and 1: all or nothing
  EXPECT_EQ(accepted, 0);
}

TEST(NWDLogUtil, MoveCountRefusedThenGraphSettingsAndAColourStoredByOK) {
  wtk::HostWindow host;
  nw::HistoryDisplaySettings h;
  int accepted = 0;
  NWDLogUtil dlg(GetModuleHandleW(nullptr), h, "ISP", [&] { ++accepted; });
  std::string message, example, colourTitle;
  Script script({
      [&] {
        EXPECT_EQ(Item(dlg, NWDLogUtil::UtilWord + 2), "\"ISP\" ｶｳﾝﾀの設定");  // fits as it is
        for (int i = 0; i < 3; ++i) Key(VK_NEXT, {VK_CONTROL});
      },
      [&] {
        EXPECT_TRUE(IsWindowVisible(dlg.Item(NWDLogUtil::utilGph)));
        EXPECT_EQ(Item(dlg, NWDLogUtil::hisShowMawlbl), "32");
        EXPECT_EQ(Item(dlg, NWDLogUtil::hisMoveMax), "3");
        EXPECT_TRUE(dlg.Checked(NWDLogUtil::gphGetWay + 1));
        Alt('V');
        Type(L"0");
        Key(VK_RETURN);
      },
      [&] {
        message = MessageText();
        Key(VK_RETURN);
      },
      [&] {
        EXPECT_TRUE(FocusIsAllSelected(dlg.Item(NWDLogUtil::hisMoveMax)));
        Type(L"32");
        Alt('T');  // 指定項目までの32件分(&T)
        Key(VK_NEXT, {VK_CONTROL});
      },
      [&] {
        EXPECT_TRUE(IsWindowVisible(dlg.Item(NWDLogUtil::utilExpgph)));
        Alt('D');
        Type(L"yyyy/m/d");
      },
      [&] {
        example = Item(dlg, NWDLogUtil::hisFmtDateEx + 3);
        Alt('B');  // ｸﾞﾗﾌの背景色(&B): its "..." button opens the colour dialog
        Key(VK_SPACE);
      },
      [&] {
        colourTitle = wtk::Text(MessageBoxUp());
        Key(VK_ESCAPE);  // cancelled: nothing changes
      },
      [&] {
        EXPECT_EQ(MessageBoxUp(), nullptr);
        EXPECT_EQ(GetFocus(), dlg.Item(NWDLogUtil::gphBgColorSel));
        Key(VK_SPACE);
      },
      [&] {
        ASSERT_NE(MessageBoxUp(), nullptr);
        Key(VK_RETURN);  // confirmed on the colour it started on
      },
      [&] {
        Key(VK_TAB);  // past the other "..." to "O.K."
        Key(VK_TAB);
        Key(VK_RETURN);
      },
  }, Closer(dlg), 8000);
  dlg.ShowModal(host.Get(), nullptr, false);
  EXPECT_EQ(message, "ｸﾞﾗﾌ移動件数は、1～32の数値を入力して下さい。");
  EXPECT_EQ(example, "2003/1/1");
  EXPECT_EQ(accepted, 1);
  EXPECT_EQ(h.hisMoveMax[3], 32);
  EXPECT_EQ(h.gphGetWay, 2);
  EXPECT_EQ(h.hisFmtDate[3], "yyyy/m/d");
  EXPECT_EQ(h.hisShowMaw[0], 99);
  EXPECT_EQ(h.hisMoveMax[0], 50);
  // The system colour the swatch showed is now a colour of its own; the other one is untouched.
  EXPECT_FALSE(colourTitle.empty());
  EXPECT_EQ(static_cast<uint32_t>(h.gphBgColor), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(h.gphNtColor, 0x000080FF);
}

// ---- the counter graph ------------------------------------------------------------------------

namespace {

struct FakeGraphSource : nw::NWDLogGraphSource {
  std::vector<nw::LogWindowMode> Calls;
  std::vector<nw::GraphData> Answers;  // in call order
  std::optional<nw::GraphData> setHisTdayGraph(nw::LogWindowMode mode) override {
    Calls.push_back(mode);
    if (Calls.size() > Answers.size()) return std::nullopt;
    return Answers[Calls.size() - 1];
  }
};

nw::GraphData Points(std::initializer_list<int32_t> seconds, int64_t maxTime, std::string mesCase) {
  nw::GraphData d;
  int i = 0;
  for (int32_t s : seconds) {
    d.Points.push_back({s, i + 1, nw::MakeDate(2003, 1, 1 + i, 6, 0, 0), std::nullopt});
    ++i;
  }
  d.MaxTime = maxTime;
  d.MesCase = std::move(mesCase);
  return d;
}

int Px(int twips) { return otkGdi::TwipsToPixels(twips, otkGdi::ScreenDpi()); }

// Bars shown, and each shown bar's rectangle against the twip geometry.
int CheckBars(const NWDLogGraph& g, std::initializer_list<int> heightsTwips) {
  int shown = 0;
  for (int i = 0; i < 32; ++i) shown += IsWindowVisible(g.Item(NWDLogGraph::gphSource + i)) ? 1 : 0;
  int i = 0;
  for (int h : heightsTwips) {
    const RECT r = wtk::ChildRect(g.Item(NWDLogGraph::gphSource + i));
    EXPECT_EQ(r.left, Px(600 + 180 * i)) << "bar " << i;
    EXPECT_EQ(r.right, Px(600 + 180 * i + 135)) << "bar " << i;
    EXPECT_EQ(r.bottom, Px(4935)) << "bar " << i;
    EXPECT_EQ(r.top, Px(4935 - h)) << "bar " << i;
    ++i;
  }
  return shown;
}

COLORREF BarPixel(const NWDLogGraph& g, int i) {
  otkGdi::WindowDc dc(g.Item(NWDLogGraph::gphSource + i));
  return GetPixel(dc.Get(), 2, 2);
}

}  // namespace

TEST(NWDLogGraph, BarsReadoutByMouseAndKeysAndPaging) {
  wtk::HostWindow host;
  SetCursorPos(0, 0);  // not over the graph: the readout starts empty
  nw::HistoryDisplaySettings h;
  FakeGraphSource source;
  // A day is the scale; 90 000 s (an edited record) is more than the chart holds.
  source.Answers.push_back(Points({0, 11520, 46080, 86400, 90000}, 90000, "1件～5件目"));
  source.Answers.push_back(Points({0, 24, 48}, 48, "3件～5件目"));
  source.Answers.push_back(Points({}, 0, "ﾛｸﾞﾌｧｲﾙに件数がありません。"));
  NWDLogGraph g(GetModuleHandleW(nullptr), h, source);
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT), hot = RGB(255, 128, 0);
  auto move = [&](HWND target, POINT client) { PostMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y)); };
  Script script({
      [&] {
        EXPECT_EQ(wtk::Text(g.Window()), "Orvin.T.K. NetWard \"今日\"ｶｳﾝﾀの履歴のｸﾞﾗﾌ");
        EXPECT_EQ(CheckBars(g, {15, 530, 2120, 3975, 3975}), 5);
        EXPECT_EQ(Item(g, NWDLogGraph::mesBlock), "（1日）");
        EXPECT_EQ(Item(g, NWDLogGraph::mesMax), "1");
        EXPECT_EQ(Item(g, NWDLogGraph::mesMidl), "0.5");
        EXPECT_EQ(Item(g, NWDLogGraph::mesBase), "0");
        EXPECT_EQ(Item(g, NWDLogGraph::mesDay), "（32日）");
        EXPECT_EQ(Item(g, NWDLogGraph::MesCase), "1件～5件目");
        EXPECT_EQ(Item(g, NWDLogGraph::gphTime), "選択なし");
        EXPECT_EQ(g.HotBar(), -1);
        EXPECT_EQ(BarPixel(g, 4), highlight);
        EXPECT_EQ(GetFocus(), g.Item(NWDLogGraph::cdOK));
        // Over column 4, in the gap right of the bar: the form itself gets the move.
        move(g.Window(), {Px(600 + 180 * 4 + 160), Px(2000)});
      },
      [&] {
        EXPECT_EQ(g.HotBar(), 4);
        EXPECT_EQ(Item(g, NWDLogGraph::gphTime), "25時間 00分 00秒");
        EXPECT_EQ(Item(g, NWDLogGraph::gphCount), "5 回");
        EXPECT_EQ(Item(g, NWDLogGraph::gphDate), "03/01/05 06:00:00");
        EXPECT_EQ(BarPixel(g, 4), hot);
        move(g.Item(NWDLogGraph::gphSource + 3), {2, 2});  // over bar 3 itself
      },
      [&] {
        EXPECT_EQ(g.HotBar(), 3);
        EXPECT_EQ(Item(g, NWDLogGraph::gphTime), "24時間 00分 00秒");
        EXPECT_EQ(BarPixel(g, 3), hot);
        EXPECT_EQ(BarPixel(g, 4), highlight);
        move(g.Window(), {Px(600 + 180 * 9), Px(2000)});  // a column without a bar
        Key(VK_LEFT);
      },
      [&] {
        EXPECT_EQ(g.HotBar(), 2);
        EXPECT_EQ(Item(g, NWDLogGraph::gphTime), "12時間 48分 00秒");
        Key(VK_RIGHT, {VK_MENU});  // like "次へ"
      },
      [&] {
        EXPECT_EQ(source.Calls.size(), 2u);
        EXPECT_EQ(g.HotBar(), -1);
        EXPECT_EQ(Item(g, NWDLogGraph::gphTime), "12時間 48分 00秒");  // the readout stays
        EXPECT_EQ(CheckBars(g, {15, 1590, 3180}), 3);
        EXPECT_EQ(Item(g, NWDLogGraph::mesBlock), "（1分）");
        EXPECT_EQ(BarPixel(g, 2), highlight);
        Key(VK_TAB);  // "前へ"
        Key(VK_SPACE);
      },
      [&] {
        EXPECT_EQ(CheckBars(g, {}), 0);
        EXPECT_EQ(Item(g, NWDLogGraph::MesCase), "ﾛｸﾞﾌｧｲﾙに件数がありません。");
        Key(VK_ESCAPE);
      },
  }, Closer(g), 7000);
  g.ShowModal(host.Get(), nullptr, false);
  EXPECT_EQ(source.Calls, (std::vector<nw::LogWindowMode>{nw::KeepPosition, nw::PageNext, nw::PageBack}));
}

// ---- the history list -------------------------------------------------------------------------

TEST(NWDLogList, RowOfALogRecreatedSinceTheFillIsNotEditedButRefilled) {
  nw::test::TempFolder dir{"nwlist"};
  nw::SetProgramFolder(dir.Utf8());
  auto connections = [](int firstHour, int n) {
    for (int i = 0; i < n; ++i) {
      nw::StartDialRecord(nw::MakeDate(2026, 12, 7, 8), nw::MakeDate(2026, 12, 7, firstHour + i));
      nw::EndDialRecord(nw::MakeDate(2026, 12, 7, firstHour + i, 30));
    }
  };
  connections(9, 2);
  wtk::HostWindow host;
  nw::HistoryDisplaySettings h;
  NWDLogList list(GetModuleHandleW(nullptr), h, "ﾌﾟﾛﾊﾞｲﾀﾞ");
  auto rows = [&] { return static_cast<int>(SendMessageW(list.Item(nw::loglist::HisList), LB_GETCOUNT, 0, 0)); };
  HWND editor = nullptr;
  Script script({
      [&] {
        ASSERT_EQ(rows(), 2);
        wtk::ClickListItem(list.Item(nw::loglist::HisList), 0);
      },
      [&] {
        // The monitor re-creates the log meanwhile: index 0 now holds another connection.
        ASSERT_TRUE(DeleteFileW(nw::win::Widen(nw::AppPath("NwdDial.log")).c_str()));
        connections(13, 3);
        PostMessageW(list.Item(nw::loglist::cdCngVal), BM_CLICK, 0, 0);
      },
      [&] {
        editor = wtk::WindowTitled("Orvin.T.K. NetWard 接続／切断の履歴ﾘｽﾄの値の変更");
        if (editor) PostMessageW(editor, WM_CLOSE, 0, 0);
      },
      [&] {
        EXPECT_EQ(Item(list, nw::loglist::MesSeltime), "接続／切断の履歴を保存するﾌｧｲﾙに変更がありました。");
        EXPECT_EQ(rows(), 3);
        PostMessageW(list.Window(), WM_CLOSE, 0, 0);
      },
  }, Closer(list), 6000);
  list.ShowModal(host.Get(), nullptr, false);
  EXPECT_EQ(editor, nullptr) << "the editor opened on another record";
}

namespace {

// Whether the list draws anything in columns [from, to) of its first row.
bool InkIn(HWND list, int from, int to) {
  RECT item{};
  SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
  const COLORREF back = GetSysColor(COLOR_WINDOW);
  otkGdi::WindowDc dc(list);
  for (int x = from; x < to; ++x)
    // Inside the focus rectangle the list draws round its current item.
    for (int y = item.top + 2; y < item.bottom - 2; ++y)
      if (GetPixel(dc.Get(), x, y) != back) return true;
  return false;
}

// The header's item names and their left edges in the list's client coordinates.
struct HeaderItem {
  std::string Name;
  int Left;
};
std::vector<HeaderItem> HeaderItems(HWND page, HWND list) {
  std::vector<HeaderItem> out;
  HWND header = FindWindowExW(page, nullptr, WC_HEADERW, nullptr);
  if (!header) return out;
  const int n = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    wchar_t text[64] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    RECT r{};
    SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(header, list, reinterpret_cast<POINT*>(&r), 2);
    out.push_back({nw::win::Narrow(text), r.left});
  }
  return out;
}

}  // namespace

// The cells stand in columns under a line of their names, one column per switch that is on, the
// volume's among them; over an empty log what needs records is grey, and the picture buttons' tips
// name their keys.
TEST(NWDLogList, ColumnsUnderTheirNamesAndAnEmptyLogGreysWhatNeedsRecords) {
  nw::test::TempFolder dir{"nwcols"};
  nw::SetProgramFolder(dir.Utf8());
  nw::StartDialRecord(nw::MakeDate(2026, 1, 1), nw::MakeDate(2026, 1, 1, 9, 0, 0));
  nw::EndDialRecord(nw::MakeDate(2026, 1, 1, 9, 0, 26));
  nw::VolumeGlobal().Display = nw::VolumeDisplaySettings{};  // every volume column on
  wtk::HostWindow host;
  nw::HistoryDisplaySettings h;
  NWDLogList list(GetModuleHandleW(nullptr), h, "ﾌﾟﾛﾊﾞｲﾀﾞ");
  namespace ids = nw::loglist;
  const int px = otkGdi::Scale(4, otkGdi::ScreenDpi());
  auto enabled = [&](int id) { return IsWindowEnabled(list.Item(id)) != FALSE; };
  std::vector<std::string> names;
  // Each of the first `cells` cells of the first row begins where its name does (as the header
  // writes a name: inside its item by the header's margin), blank for more than a space before it
  // ("00秒 26/01/01" was one space apart).
  auto underTheirNames = [&](size_t cells) {
    HWND rows = list.Item(ids::HisList);
    wtk::Pump(100);
    const std::vector<HeaderItem> head = HeaderItems(list.Item(ids::DialFrm), rows);
    ASSERT_GE(head.size(), cells);
    const int margin = 3 * GetSystemMetrics(SM_CXEDGE);
    for (size_t c = 1; c < cells; ++c) {
      const int x = head[c].Left + margin;
      EXPECT_FALSE(InkIn(rows, x - 3 * px, x - px)) << head[c].Name;
      EXPECT_TRUE(InkIn(rows, x - px, x + px)) << head[c].Name;
    }
  };
  Script script({
      [&] {
        HWND rows = list.Item(ids::HisList);
        EXPECT_TRUE(enabled(ids::cdCngVal) && enabled(ids::cdCsv) && enabled(ids::cdBack) && enabled(ids::cdNext));
        EXPECT_EQ(wtk::TipOf(list.Window(), list.Item(ids::cdBack)), "前へ50件移動");
        EXPECT_EQ(wtk::TipOf(list.Window(), list.Item(ids::cdNext)), "次へ50件移動");
        for (const HeaderItem& i : HeaderItems(list.Item(ids::DialFrm), rows)) names.push_back(i.Name);
        underTheirNames(4);  // no volume recorded: the last two cells are empty
        // Switched off, a column leaves the header and the rows alike.
        Alt('T');
      },
      [&] {
        const std::vector<HeaderItem> head = HeaderItems(list.Item(ids::DialFrm), list.Item(ids::HisList));
        ASSERT_EQ(head.size(), 5u);
        EXPECT_EQ(head[2].Name, "監視開始日時");
        underTheirNames(3);
        Key(VK_TAB, {VK_CONTROL});  // the empty "今日" log
      },
      [&] {
        EXPECT_EQ(Item(list, ids::MesCase), "ﾛｸﾞﾌｧｲﾙに件数がありません。");
        EXPECT_FALSE(enabled(ids::cdCngVal) || enabled(ids::cdCsv) || enabled(ids::cdBack) || enabled(ids::cdNext));
        EXPECT_TRUE(enabled(ids::cdGraph) && enabled(ids::cdDetail));
        EXPECT_EQ(wtk::TipOf(list.Window(), list.Item(ids::cdGraph)), "ｸﾞﾗﾌの表示");
        EXPECT_EQ(GetFocus(), list.Item(ids::HisList + 1));
        EXPECT_EQ(HeaderItems(list.Item(ids::TdayFrm), list.Item(ids::HisList + 1)).size(), 5u);
        Key(VK_TAB, {VK_CONTROL, VK_SHIFT});  // back to the connections: usable again
      },
      [&] {
        EXPECT_TRUE(enabled(ids::cdCngVal) && enabled(ids::cdCsv) && enabled(ids::cdBack) && enabled(ids::cdNext));
        Key(VK_ESCAPE);
      },
  }, Closer(list), 6000);
  list.ShowModal(host.Get(), nullptr, false);
  EXPECT_EQ(names, (std::vector<std::string>{"接続開始日時", "接続終了日時", "接続時間", "監視開始日時", "送信量", "受信量"}));
  EXPECT_TRUE(h.hdDialStart && !h.hdTime);
}
