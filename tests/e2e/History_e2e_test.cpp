// The history windows of the real NetWard.exe over logs written beforehand by the data layer,
// driven by keys and the mouse: the connection list paged back and forth, the "今日" list totalled
// by keyboard selection, one record edited through the editor and written into its slot alone,
// the display settings changing the page size, the graph's bars and the CSV export.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "E2eFixture.h"
#include "E2eInput.h"
#include "E2eSettings.h"
#include "E2eSupport.h"
#include "LineSimState.h"
#include "app/NWDMenuIds.h"
#include "data/NWDLogFiles.h"
#include "data/NWDVolumeFile.h"
#include "data/NWDVolumeLog.h"
#include "history/NWDLogListIds.h"
#include "history/win32/NWDLogGraph.h"

namespace e2e {
namespace {

namespace cmd = nw::cmd;
namespace ids = nw::loglist;

// Connection i: monitoring from 2026-01-01 00:00, up at i hours past it, down (i mod 50) + 1
// minutes later.
nw::Date DialStart(int i) { return nw::MakeDate(2026, 1, 1 + i / 24, i % 24, 0, 0); }
nw::Date DialEnd(int i) { return nw::MakeDate(2026, 1, 1 + i / 24, i % 24, i % 50 + 1, 0); }

void WriteDialLog(const ProgramFolder& folder, int records) {
  nw::SetProgramFolder(Narrow(folder.Dir()));
  for (int i = 0; i < records; ++i) {
    nw::StartDialRecord(nw::MakeDate(2026, 1, 1), DialStart(i));
    nw::EndDialRecord(DialEnd(i));
  }
}

// The row of connection i with every column and the default formats (no volume recorded).
std::string DialRow(int i) {
  char row[160];
  std::snprintf(row, sizeof row, "26/01/%02d %02d:00:00\t26/01/%02d %02d:%02d:00\t0時間 %02d分 00秒\t26/01/01 00:00:00\t\t\t",
                1 + i / 24, i % 24, 1 + i / 24, i % 24, i % 50 + 1, i % 50 + 1);
  return row;
}

// The bars the graph shows.
int VisibleBars(HWND graph) {
  int n = 0;
  for (int i = 0; i < nw::kGraphBars; ++i) n += Visible(Control(graph, nw::NWDLogGraph::gphSource + i)) ? 1 : 0;
  return n;
}

std::string TextOf(HWND wnd, int id) { return Narrow(Text(Control(wnd, id))); }

std::vector<std::string> Rows(HWND list, int kind) {
  std::vector<std::string> out;
  for (const std::wstring& line : ListLines(Control(list, ids::HisList + kind))) out.push_back(Narrow(line));
  return out;
}

class HistoryE2e : public NetWardE2e {
 protected:
  HistoryE2e() : NetWardE2e(140s) {}
  void SetUp() override {
    NetWardE2e::SetUp();
    ASSERT_TRUE(linesim::Modify(folder_.SimState(), [](linesim::State& s) { s = linesim::State{}; }));
    ASSERT_TRUE(WriteSettings(folder_, [](nw::SettingsFileData&) {}));
  }

  // A form of NetWard with this caption, shown and holding the focus.
  HWND WaitForForm(const std::string& caption) {
    HWND found = nullptr;
    EXPECT_TRUE(WaitUntil(
        [&] {
          for (HWND w : TopWindows(proc_->Pid(), L"NetWardForm"))
            if (Visible(w) && Narrow(Text(w)) == caption && FocusId(w) != 0) found = w;
          return found != nullptr;
        },
        15s))
        << caption;
    return found;
  }

  // "履歴の一覧(&H)..." from the main menu.
  HWND OpenList() {
    PostMessageW(main_, WM_COMMAND, cmd::Historynu, 0);
    return WaitForForm("Orvin.T.K. NetWard 履歴の一覧");
  }

  void CloseWith(HWND wnd, WORD vk) {
    Key(vk);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(wnd); }, 5s));
  }

  // "CSV形式で保存(&V)..." with the file `name` of the program folder typed into the save dialog;
  // true once the file is there and the dialog gone.
  bool SaveCsvAs(const wchar_t* name) {
    watcher_.Expect(L"CSV");
    Key('V', {VK_MENU});
    HWND save = WaitForDialogBox();
    if (!save) return false;
    std::this_thread::sleep_for(500ms);
    Key(VK_HOME);
    Key(VK_END, {VK_SHIFT});
    Type(folder_.Path(name));
    Key(VK_RETURN);
    return WaitUntil([&] { return folder_.Exists(name) && !IsWindow(save); }, 10s);
  }

  static bool TextIs(HWND wnd, int id, const std::string& text) {
    return WaitUntil([&] { return TextOf(wnd, id) == text; }, 5s);
  }
};

TEST_F(HistoryE2e, ConnectionListPagesAndTheTodayListTotalsAKeyboardSelection) {
  WriteDialLog(folder_, 250);
  const int seconds[] = {3600, 2700, 1200}, counts[] = {2, 3, 2};
  for (int i = 0; i < 3; ++i)
    nw::AppendCounterRecord(nw::kTodayLog, nw::MakeDate(2026, 2, 1 + i), seconds[i], counts[i]);
  StartNetWard();
  HWND list = OpenList();

  // The newest hundred of 250, oldest at the top.
  EXPECT_TRUE(Visible(Control(list, ids::DialFrm)));
  ASSERT_TRUE(TextIs(list, ids::MesCase, "151件～250件目"));
  std::vector<std::string> rows = Rows(list, 0);
  ASSERT_EQ(rows.size(), 100u);
  EXPECT_EQ(rows.front(), DialRow(150));
  EXPECT_EQ(rows.back(), DialRow(249));
  EXPECT_EQ(TextOf(list, ids::MesPeriod), "26/01/07 06:00:00～26/01/11 09:50:00 を表示中");
  EXPECT_EQ(TextOf(list, ids::MesKind + 0), "表示項目／接続開始日時／接続終了日時／接続時間／監視開始日時／送信量／受信量");
  Shot(list, "history-list-page0");

  // "前へ" by the mouse three times reaches the oldest hundred; once more by Alt+B stays there.
  Click(Control(list, ids::cdBack));
  EXPECT_TRUE(TextIs(list, ids::MesCase, "101件～200件目"));
  Click(Control(list, ids::cdBack));
  EXPECT_TRUE(TextIs(list, ids::MesCase, "51件～150件目"));
  Click(Control(list, ids::cdBack));
  EXPECT_TRUE(TextIs(list, ids::MesCase, "1件～100件目"));
  Key('B', {VK_MENU});
  Key('N', {VK_MENU});  // from the oldest page: one step of 50 on
  EXPECT_TRUE(TextIs(list, ids::MesCase, "51件～150件目"));
  EXPECT_EQ(Rows(list, 0).front(), DialRow(50));

  // Alt+T takes the duration out of every row; the same records stay.
  Key('T', {VK_MENU});
  ASSERT_TRUE(TextIs(list, ids::MesKind + 0, "表示項目／接続開始日時／接続終了日時／監視開始日時／送信量／受信量"));
  rows = Rows(list, 0);
  ASSERT_EQ(rows.size(), 100u);
  EXPECT_EQ(rows.front(), "26/01/03 02:00:00\t26/01/03 02:01:00\t26/01/01 00:00:00\t\t\t");
  Key('T', {VK_MENU});
  EXPECT_TRUE(WaitUntil([&] { return Rows(list, 0).front() == DialRow(50); }, 5s));
  // The volume columns off (Alt+O, Alt+I) and on again.
  Key('O', {VK_MENU});
  Key('I', {VK_MENU});
  ASSERT_TRUE(TextIs(list, ids::MesKind + 0, "表示項目／接続開始日時／接続終了日時／接続時間／監視開始日時"));
  Shot(list, "history-list-novolume");
  Key('O', {VK_MENU});
  Key('I', {VK_MENU});
  EXPECT_TRUE(WaitUntil([&] { return Rows(list, 0).front() == DialRow(50); }, 5s));

  // Ctrl+Tab: the "今日" page; the first three rows selected by the keyboard are totalled.
  Key(VK_TAB, {VK_CONTROL});
  ASSERT_TRUE(WaitUntil([&] { return Visible(Control(list, ids::TdayFrm)); }, 5s));
  EXPECT_FALSE(Visible(Control(list, ids::DialFrm)));
  ASSERT_TRUE(TextIs(list, ids::MesCase, "1件～3件目"));
  EXPECT_EQ(Rows(list, 1).front(), "1時間 00分 00秒\t2 回\t26/02/01 00:00:00\t\t\t");
  EXPECT_EQ(FocusId(list), ids::HisList + 1);
  Key(VK_HOME);
  Key(VK_DOWN, {VK_SHIFT});
  Key(VK_DOWN, {VK_SHIFT});
  EXPECT_TRUE(TextIs(list, ids::MesSeltime, "選択数: 3, 合計時間: 2時間 05分 00秒, 合計回数: 7 回"));
  Shot(list, "history-list-page1");
  Key(VK_NEXT, {VK_CONTROL});
  ASSERT_TRUE(WaitUntil([&] { return Visible(Control(list, ids::UserFrm)); }, 5s));
  EXPECT_TRUE(TextIs(list, ids::MesCase, "ﾛｸﾞﾌｧｲﾙに件数がありません。"));
  EXPECT_EQ(TextOf(list, ids::MesSeltime), "");
  Shot(list, "history-list-page2");

  // Esc closes; the window opens again on the page it showed last.
  Key(VK_PRIOR, {VK_CONTROL});
  CloseWith(list, VK_ESCAPE);
  list = OpenList();
  EXPECT_TRUE(Visible(Control(list, ids::TdayFrm)));
  EXPECT_TRUE(TextIs(list, ids::MesCase, "1件～3件目"));
  CloseWith(list, VK_ESCAPE);
}

TEST_F(HistoryE2e, AnEditedRecordIsWrittenIntoItsSlotAndNothingElseChanges) {
  WriteDialLog(folder_, 5);
  const std::string before = folder_.ReadFile(L"NwdDial.log");
  StartNetWard();
  HWND list = OpenList();
  ASSERT_TRUE(TextIs(list, ids::MesCase, "1件～5件目"));
  ASSERT_EQ(FocusId(list), ids::HisList + 0);

  // No row chosen yet: the editor is refused.
  watcher_.Expect(L"変更する項目");
  const std::string refused = MessageAfter([] { Key('D', {VK_MENU}); });
  EXPECT_NE(refused.find("履歴ﾘｽﾄから変更する項目を指定して下さい。"), std::string::npos) << refused;

  // The third row by the keyboard; Enter opens the editor, Esc leaves it untouched.
  ASSERT_TRUE(WaitUntil([&] { return FocusId(list) == ids::HisList + 0; }, 5s));
  Key(VK_HOME);
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_TRUE(TextIs(list, ids::MesSeltime, "選択数: 1, 合計時間: 0時間 03分 00秒"));
  const std::string caption = "Orvin.T.K. NetWard 接続／切断の履歴ﾘｽﾄの値の変更";
  Key(VK_RETURN);
  HWND editor = WaitForForm(caption);
  ASSERT_NE(editor, nullptr);
  CloseWith(editor, VK_ESCAPE);
  EXPECT_EQ(folder_.ReadFile(L"NwdDial.log"), before);

  // "値の変更(&D)": the end's minute becomes 59.
  Key('D', {VK_MENU});
  editor = WaitForForm(caption);
  ASSERT_NE(editor, nullptr);
  Shot(editor, "history-editor");
  Key('E', {VK_MENU});  // "接続終了日時(&E):" focuses the end's year
  for (int i = 0; i < 4; ++i) Key(VK_TAB);
  Type(L"59");
  CloseWith(editor, VK_RETURN);

  // Only the end of slot 2 changed, to the new date-time; the same row is focused and selected.
  const nw::Date oldEnd = DialEnd(2), newEnd = nw::MakeDate(2026, 1, 1, 2, 59, 0);
  const size_t at = before.find(std::string(reinterpret_cast<const char*>(&oldEnd), sizeof oldEnd));
  ASSERT_NE(at, std::string::npos);
  std::string expected = before;
  std::memcpy(&expected[at], &newEnd, sizeof newEnd);
  EXPECT_TRUE(WaitUntil([&] { return folder_.ReadFile(L"NwdDial.log") == expected; }, 5s));
  HWND rowsBox = Control(list, ids::HisList + 0);
  EXPECT_TRUE(WaitUntil([&] { return Rows(list, 0)[2].find("26/01/01 02:59:00") != std::string::npos; }, 5s));
  EXPECT_EQ(SendMessageW(rowsBox, LB_GETCARETINDEX, 0, 0), 2);
  EXPECT_GT(SendMessageW(rowsBox, LB_GETSEL, 2, 0), 0);
  EXPECT_EQ(SendMessageW(rowsBox, LB_GETSELCOUNT, 0, 0), 1);
  CloseWith(list, VK_ESCAPE);
}

TEST_F(HistoryE2e, DisplaySettingsGraphAndCsvExport) {
  WriteDialLog(folder_, 250);
  // "今日" records of 40 days, the k-th with k minutes in k connections.
  for (int k = 1; k <= 40; ++k) nw::AppendCounterRecord(nw::kTodayLog, nw::MakeDate(2026, 3, 1) + k, k * 60, k);
  StartNetWard();
  HWND list = OpenList();
  ASSERT_TRUE(TextIs(list, ids::MesCase, "151件～250件目"));

  // "詳細設定(&U)": the first list's size typed as 20; the list then shows 20 records ending at
  // the same newest one, the focus still on the record chosen before (End: the newest).
  ASSERT_TRUE(WaitUntil([&] { return FocusId(list) == ids::HisList + 0; }, 5s));
  Key(VK_END);
  EXPECT_TRUE(TextIs(list, ids::MesSeltime, "選択数: 1, 合計時間: 0時間 50分 00秒"));
  Key('U', {VK_MENU});
  HWND settings = WaitForForm("Orvin.T.K. NetWard 履歴の設定");
  ASSERT_NE(settings, nullptr);
  Shot(settings, "history-settings");
  Key('M', {VK_MENU});
  Type(L"20");
  CloseWith(settings, VK_RETURN);
  ASSERT_TRUE(TextIs(list, ids::MesCase, "231件～250件目"));
  std::vector<std::string> rows = Rows(list, 0);
  ASSERT_EQ(rows.size(), 20u);
  EXPECT_EQ(rows.front(), DialRow(230));
  EXPECT_EQ(rows.back(), DialRow(249));
  EXPECT_EQ(SendMessageW(Control(list, ids::HisList + 0), LB_GETCARETINDEX, 0, 0), 19);

  // The graph from the "今日" page (Alt+G): 32 bars.
  Key(VK_TAB, {VK_CONTROL});
  ASSERT_TRUE(TextIs(list, ids::MesCase, "1件～40件目"));
  Key('G', {VK_MENU});
  const std::string graphCaption = "Orvin.T.K. NetWard \"今日\"ｶｳﾝﾀの履歴のｸﾞﾗﾌ";
  HWND graph = WaitForForm(graphCaption);
  ASSERT_NE(graph, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return VisibleBars(graph) == 32; }, 5s)) << VisibleBars(graph);
  Shot(graph, "history-graph");
  CloseWith(graph, VK_ESCAPE);

  // "CSV形式で保存(&V)...": the whole "今日" log through the save dialog.
  ASSERT_TRUE(SaveCsvAs(L"today.csv"));
  std::string csv = "\xEF\xBB\xBF累積接続時間,累積接続回数,ｶｳﾝﾀ更新日時,送信ﾊﾞｲﾄ数,受信ﾊﾞｲﾄ数\r\n";
  for (int k = 1; k <= 40; ++k) {
    nw::CivilDateTime day;
    ASSERT_TRUE(nw::ToCivil(nw::MakeDate(2026, 3, 1) + k, day));
    char row[80];
    std::snprintf(row, sizeof row, "%d,%d,2026-%02d-%02d 00:00:00,,\r\n", k * 60, k, day.Month, day.Day);
    csv += row;
  }
  EXPECT_TRUE(WaitUntil([&] { return folder_.ReadFile(L"today.csv") == csv; }, 5s))
      << folder_.ReadFile(L"today.csv");

  // A column switched off (Alt+R) and the graph open over the list when the program ends: both
  // windows go with it, and the settings file keeps the column and the page size.
  Key('R', {VK_MENU});
  ASSERT_TRUE(TextIs(list, ids::MesKind + 1, "表示項目／累積接続時間／累積接続回数／送信量／受信量"));
  Key('G', {VK_MENU});
  ASSERT_NE(WaitForForm(graphCaption), nullptr);
  PostMessageW(main_, WM_COMMAND, cmd::Closenu, 0);
  ASSERT_TRUE(proc_->WaitExit(10s));
  const nw::SettingsFileData saved = ReadSettings(folder_);
  EXPECT_FALSE(saved.History.htReset);
  EXPECT_TRUE(saved.History.htPlusTime);
  EXPECT_EQ(saved.History.hisShowMaw[0], 19);
}

// The volume of each record from the .vol files written beside the logs: the columns, switched by
// Alt+O, the totals of a keyboard selection, the CSV's exact bytes, and the switch kept in NwdUtil.vol.
TEST_F(HistoryE2e, VolumeColumnsTotalsAndTheCsvBytes) {
  WriteDialLog(folder_, 3);
  nw::VolumeLog volumes;  // connections 0 and 2; connection 1 was recorded before volume was counted
  volumes.Set(0, DialStart(0), {2048, 3 * 1024 * 1024});
  volumes.Set(2, DialStart(2), {uint64_t{5} << 30, 1000});
  ASSERT_TRUE(volumes.Save(nw::kDialVolume));
  StartNetWard();
  HWND list = OpenList();
  ASSERT_TRUE(TextIs(list, ids::MesCase, "1件～3件目"));
  std::vector<std::string> rows = Rows(list, 0);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_TRUE(rows[0].ends_with("\t2.00 KB\t3.00 MB\t")) << rows[0];
  EXPECT_EQ(rows[1], DialRow(1));
  EXPECT_TRUE(rows[2].ends_with("\t5.00 GB\t1000 バイト\t")) << rows[2];

  ASSERT_TRUE(WaitUntil([&] { return FocusId(list) == ids::HisList + 0; }, 5s));
  Key(VK_HOME);
  Key(VK_END, {VK_SHIFT});
  EXPECT_TRUE(TextIs(list, ids::MesSeltime,
                     "選択数: 3, 合計時間: 0時間 06分 00秒, 送信量: 5.00 GB, 受信量: 3.00 MB"));
  Shot(list, "history-list-volume");

  Key('O', {VK_MENU});  // 送信量(&O) off
  ASSERT_TRUE(TextIs(list, ids::MesKind + 0, "表示項目／接続開始日時／接続終了日時／接続時間／監視開始日時／受信量"));
  EXPECT_TRUE(Rows(list, 0)[0].ends_with(":00\t3.00 MB\t"));

  ASSERT_TRUE(SaveCsvAs(L"dial.csv"));
  const std::string csv =
      "\xEF\xBB\xBF接続開始日時,接続終了日時,接続時間,監視開始日時,送信ﾊﾞｲﾄ数,受信ﾊﾞｲﾄ数\r\n"
      "2026-01-01 00:00:00,2026-01-01 00:01:00,60,2026-01-01 00:00:00,2048,3145728\r\n"
      "2026-01-01 01:00:00,2026-01-01 01:02:00,120,2026-01-01 00:00:00,,\r\n"
      "2026-01-01 02:00:00,2026-01-01 02:03:00,180,2026-01-01 00:00:00,5368709120,1000\r\n";
  EXPECT_TRUE(WaitUntil([&] { return folder_.ReadFile(L"dial.csv") == csv; }, 5s)) << folder_.ReadFile(L"dial.csv");

  // The switch goes into NwdUtil.vol when the window closes.
  CloseWith(list, VK_ESCAPE);
  nw::SetProgramFolder(Narrow(folder_.Dir()));
  nw::VolumeFileData saved;
  ASSERT_EQ(nw::LoadVolumeFile(saved), nw::CheckedFileState::Loaded);
  EXPECT_FALSE(saved.Display.hdSent);
  EXPECT_TRUE(saved.Display.hdReceived);
}

// Opening the window on a full wrapped log (999 records, all on one page) against the yardstick of
// tests/e2e/reference: a program of the same toolchain that opens a window with one list box of the
// same style and adds 999 rows made in advance. Both run warm; each opening is timed from the command
// posted to the list holding its 999 rows on a shown window, the two programs taking turns, and the
// medians are compared. Not part of the regular run; run it with
//   wine e2e_tests.exe --gtest_also_run_disabled_tests --gtest_filter='*OpenOnFullLogs*'
TEST_F(HistoryE2e, DISABLED_OpenOnFullLogs) {
  ASSERT_TRUE(WriteSettings(folder_, [](nw::SettingsFileData& d) {
    for (int kind = 0; kind < 3; ++kind) d.History.hisShowMaw[static_cast<size_t>(kind)] = 998;
  }));
  WriteDialLog(folder_, 1200);
  StartNetWard();
  ASSERT_TRUE(proc_->WaitIdle(10s));
  Process reference;
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring exe = self;
  exe = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"HistoryListReference.exe";  // built beside the tests
  ASSERT_TRUE(reference.Start(exe, L"", folder_.Dir()));
  HWND referenceCommand = WaitForWindow(reference.Pid(), L"NWListReference", 15s);
  ASSERT_NE(referenceCommand, nullptr);
  ASSERT_TRUE(reference.WaitIdle(10s));

  // Milliseconds from posting `command` to `target` until a window of class `cls` of `pid` is shown
  // with 999 rows in its list `listId`; the window is closed again.
  auto timeOpening = [](HWND target, WPARAM command, DWORD pid, const wchar_t* cls, int listId) {
    const auto start = std::chrono::steady_clock::now();
    PostMessageW(target, WM_COMMAND, command, 0);
    HWND shown = nullptr;
    const bool full = WaitUntil(
        [&] {
          for (HWND w : TopWindows(pid, cls))
            if (Visible(w) && SendMessageW(Control(w, listId), LB_GETCOUNT, 0, 0) == 999) shown = w;
          return shown != nullptr;
        },
        20s, 1ms);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(full);
    if (shown) PostMessageW(shown, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !shown || !IsWindow(shown); }, 10s));
    return ms;
  };
  // One opening of each first, not counted: both programs then run warm.
  timeOpening(main_, cmd::Historynu, proc_->Pid(), L"NetWardForm", ids::HisList + 0);
  timeOpening(referenceCommand, 1, reference.Pid(), L"NWListReferenceForm", 100);
  std::vector<double> history, yardstick, pairs;
  for (int run = 0; run < 15; ++run) {
    history.push_back(timeOpening(main_, cmd::Historynu, proc_->Pid(), L"NetWardForm", ids::HisList + 0));
    yardstick.push_back(timeOpening(referenceCommand, 1, reference.Pid(), L"NWListReferenceForm", 100));
    pairs.push_back(history.back() / yardstick.back());
    std::printf("opening %d: history list %.1f ms, reference %.1f ms\n", run + 1, history.back(), yardstick.back());
  }
  auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  // The ratio of the medians, and the median of the ratios of openings made one after the other
  // (less swayed by a machine whose load changes during the run).
  const double h = median(history), r = median(yardstick), paired = median(pairs);
  std::printf("history list on a full wrapped log: median %.1f ms, reference %.1f ms, ratio %.2f, paired ratio %.2f\n",
              h, r, h / r, paired);
  RecordProperty("history_open_ratio", std::to_string(paired));
  PostMessageW(referenceCommand, WM_CLOSE, 0, 0);
  reference.WaitExit(10s);
}

}  // namespace
}  // namespace e2e
