// The history list over real logs written by the data layer: rows and labels for every column
// switch, paging a wrapped log, selection totals, taking a record out for the editor and writing it
// back into its slot only while the slot still holds it, the CSV export and the graph's window.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <functional>

#include "TestFiles.h"
#include "data/NWDGlobal.h"
#include "data/NWDLogFiles.h"
#include "data/NWDVolumeLog.h"
#include "history/NWDLogListModel.h"

namespace nw {
namespace {

using test::LE;
using test::ReadAll;
using test::TempFolder;

std::string D(Date d) { return LE<uint64_t>(std::bit_cast<uint64_t>(d)); }

const Date kWatch = MakeDate(2026, 12, 7, 8, 0, 0);
const Date kDay = MakeDate(2000, 1, 1);

struct HistoryList : ::testing::Test {
  TempFolder dir{"nwhist"};
  HistoryDisplaySettings h;
  // The settings record's columns alone unless a test switches the volume columns on.
  VolumeDisplaySettings vol{false, false, false, false, false, false, false};
  NWDLogListModel model{h, vol, "ﾌﾟﾛﾊﾞｲﾀﾞ"};
  void SetUp() override { SetProgramFolder(dir.Utf8()); }

  std::string Bytes(const LogFileKind& k) { return ReadAll(dir.FsPath(k.FileName)); }
  // Two connections: 09:00:00-09:05:05 and 10:00:00-11:02:03.
  void TwoConnections() {
    StartDialRecord(kWatch, MakeDate(2026, 12, 7, 9, 0, 0));
    EndDialRecord(MakeDate(2026, 12, 7, 9, 5, 5));
    StartDialRecord(kWatch, MakeDate(2026, 12, 7, 10, 0, 0));
    EndDialRecord(MakeDate(2026, 12, 7, 11, 2, 3));
  }
  // Counter records i = from..to-1: i days after 2000-01-01, i seconds, i connections.
  void Counters(const LogFileKind& k, int from, int to) {
    for (int i = from; i < to; ++i) AppendCounterRecord(k, kDay + i, i, i);
  }
};

TEST_F(HistoryList, RowsFollowEveryColumnSwitch) {
  TwoConnections();
  AppendCounterRecord(kTodayLog, MakeDate(2026, 12, 8), 3600, 2);
  AppendCounterRecord(kTodayLog, MakeDate(2026, 12, 9), 2700, 3);
  AppendCounterRecord(kUserLog, MakeDate(2026, 12, 31, 18, 30, 0), 90061, 7);
  AppendCounterRecord(kUserLog, MakeDate(2027, 1, 31, 18, 30, 0), 0, 0);
  // Each list its own formats.
  h.hisFmtDate[1] = "yyyy-mm-dd";
  h.hisFmtTime[1] = "h:mm:ss";
  h.hisFmtDate[2] = "yyyy/m/d h:mm";
  h.hisFmtTime[2] = "hh:mm:ss";

  struct Column {
    bool HistoryDisplaySettings::*Flag;
    std::string Label;
    std::array<std::string, 2> Cells;  // of the older and the newer record
  };
  struct Kind {
    int Index;
    std::vector<Column> Columns;
    std::string Period;
  };
  const Kind kinds[] = {
      {0,
       {{&HistoryDisplaySettings::hdDialStart, "／接続開始日時", {"26/12/07 09:00:00", "26/12/07 10:00:00"}},
        {&HistoryDisplaySettings::hdDialEnd, "／接続終了日時", {"26/12/07 09:05:05", "26/12/07 11:02:03"}},
        {&HistoryDisplaySettings::hdTime, "／接続時間", {"0時間 05分 05秒", "1時間 02分 03秒"}},
        {&HistoryDisplaySettings::hdExeStart, "／監視開始日時", {"26/12/07 08:00:00", "26/12/07 08:00:00"}}},
       "26/12/07 09:00:00～26/12/07 11:02:03 を表示中"},
      {1,
       {{&HistoryDisplaySettings::htPlusTime, "／累積接続時間", {"1:00:00", "0:45:00"}},
        {&HistoryDisplaySettings::htPlusCount, "／累積接続回数", {"2 回", "3 回"}},
        {&HistoryDisplaySettings::htReset, "／ｶｳﾝﾀ更新日時", {"2026-12-08", "2026-12-09"}}},
       "ｶｳﾝﾀ更新日時 2026-12-08～2026-12-09 を表示中"},
      {2,
       {{&HistoryDisplaySettings::huPlusTime, "／累積接続時間", {"25:01:01", "00:00:00"}},
        {&HistoryDisplaySettings::huPlusCount, "／累積接続回数", {"7 回", "0 回"}},
        {&HistoryDisplaySettings::huReset, "／ｶｳﾝﾀ更新日時", {"2026/12/31 18:30", "2027/1/31 18:30"}}},
       "ｶｳﾝﾀ更新日時 2026/12/31 18:30～2027/1/31 18:30 を表示中"},
  };
  for (const Kind& k : kinds) {
    const size_t n = k.Columns.size();
    for (unsigned mask = 0; mask < (1u << n); ++mask) {
      std::string label = "表示項目";
      std::array<std::string, 2> rows;
      std::vector<ShownColumn> columns;  // named as in the label; each cell's digits as "0"
      for (size_t c = 0; c < n; ++c) {
        const bool on = (mask >> c) & 1u;
        h.*k.Columns[c].Flag = on;
        if (!on) continue;
        label += k.Columns[c].Label;
        for (int r = 0; r < 2; ++r) rows[r] += k.Columns[c].Cells[r] + "\t";
        std::vector<std::string> shapes{CellShape(k.Columns[c].Cells[0]), CellShape(k.Columns[c].Cells[1])};
        std::sort(shapes.begin(), shapes.end());
        shapes.erase(std::unique(shapes.begin(), shapes.end()), shapes.end());
        columns.push_back({k.Columns[c].Label.substr(std::string("／").size()), shapes});
      }
      const HistoryPageFill f = model.Fill(k.Index, mask == 0 ? ShowNewest : KeepPosition);
      EXPECT_EQ(f.ColumnLabel, label) << k.Index << " " << mask;
      EXPECT_EQ(f.Rows, (std::vector<std::string>{rows[0], rows[1]})) << k.Index << " " << mask;
      EXPECT_EQ(f.Columns, columns) << k.Index << " " << mask;
      EXPECT_EQ(f.MesCase, "1件～2件目");
      EXPECT_EQ(f.MesPeriod, k.Period);
      EXPECT_EQ(f.Window, (LogWindow{0, 1}));
      EXPECT_EQ(model.Shown(k.Index), f.Window);
    }
  }

  // The empty user log after re-creation.
  std::filesystem::remove(dir.FsPath(kUserLog.FileName));
  const HistoryPageFill empty = model.Fill(2, KeepPosition);
  EXPECT_TRUE(empty.Rows.empty());
  EXPECT_EQ(empty.Columns, (std::vector<ShownColumn>{{"累積接続時間", {}}, {"累積接続回数", {}}, {"ｶｳﾝﾀ更新日時", {}}}));
  EXPECT_EQ(CellShape("25:01:01 7 回"), "00:00:00 0 回");
  EXPECT_EQ(empty.MesCase, EmptyLogMessage());
  EXPECT_EQ(EmptyLogMessage(), "ﾛｸﾞﾌｧｲﾙに件数がありません。");
  EXPECT_EQ(empty.MesPeriod, "");
  EXPECT_EQ(UserLogCaption("ﾌﾟﾛﾊﾞｲﾀﾞ"), "\"ﾌﾟﾛﾊﾞｲﾀﾞ\" ｶｳﾝﾀのﾛｸﾞ");
  EXPECT_EQ(MoveTip(false, 50), "前へ50件移動");
  EXPECT_EQ(MoveTip(true, 3), "次へ3件移動");
}

TEST_F(HistoryList, PagesThroughAWrappedLogWithTheSettingsOfTheMoment) {
  Counters(kTodayLog, 0, 1003);  // wrapped; NextSlot 3; records 4..1002 are shown
  h.htPlusTime = h.htReset = false;
  HistoryPageFill f = model.Fill(1, ShowNewest);
  EXPECT_EQ(f.MesCase, "900件～999件目");
  ASSERT_EQ(f.Rows.size(), 100u);
  EXPECT_EQ(f.Rows.front(), "903 回\t");
  EXPECT_EQ(f.Rows.back(), "1002 回\t");
  f = model.Fill(1, PageBack);
  EXPECT_EQ(f.Window, (LogWindow{-147, -48}));
  EXPECT_EQ(f.Rows.back(), "952 回\t");

  // A size the arithmetic cannot take: the defaults, the settings left as they are.
  h.hisShowMaw[1] = 1500;
  f = model.Fill(1, KeepPosition);
  EXPECT_EQ(f.Rows.size(), 100u);
  EXPECT_EQ(h.hisShowMaw[1], 1500);

  h.hisShowMaw[1] = 998;
  h.hisMoveMax[1] = 499;
  f = model.Fill(1, ShowNewest);
  ASSERT_EQ(f.Rows.size(), 999u);
  EXPECT_EQ(f.MesCase, "1件～999件目");
  EXPECT_EQ(f.Rows.front(), "4 回\t");
  EXPECT_EQ(f.Rows[995], "999 回\t");  // slot 999, then the ring goes on at slot 0
  EXPECT_EQ(f.Rows[996], "1000 回\t");
  EXPECT_EQ(f.Rows.back(), "1002 回\t");
}

TEST_F(HistoryList, SelectionTotals) {
  TwoConnections();
  for (auto [day, time, count] : {std::tuple{1, 600, 1}, {2, 3600, 2}, {3, 2700, 3}, {4, 1200, 2}})
    AppendCounterRecord(kTodayLog, kDay + day, time, count);
  for (int day = 1; day <= 3; ++day) AppendCounterRecord(kUserLog, kDay + day, INT32_MAX, INT32_MAX);
  for (int kind = 0; kind < 3; ++kind) model.Fill(kind, ShowNewest);

  const int32_t lastThree[] = {1, 2, 3};
  EXPECT_EQ(model.SelectionTotals(1, 4, lastThree), "選択数: 3, 合計時間: 2時間 05分 00秒, 合計回数: 7 回");
  const int32_t firstAndLast[] = {0, 3};
  EXPECT_EQ(model.SelectionTotals(1, 4, firstAndLast), "選択数: 2, 合計時間: 0時間 30分 00秒, 合計回数: 3 回");
  const int32_t both[] = {0, 1};
  EXPECT_EQ(model.SelectionTotals(0, 2, both), "選択数: 2, 合計時間: 1時間 07分 08秒");
  // Three periods of 2^31 - 1 seconds and connections each: no 32-bit sum.
  const int32_t all[] = {0, 1, 2};
  EXPECT_EQ(model.SelectionTotals(2, 3, all), "選択数: 3, 合計時間: 1789569時間 42分 21秒, 合計回数: 6442450941 回");

  // Each log deleted and re-created by the monitor under its window.
  const std::string changed[] = {"接続／切断の履歴を保存するﾌｧｲﾙに変更がありました。",
                                 "\"今日\" ｶｳﾝﾀの履歴を保存するﾌｧｲﾙに変更がありました。",
                                 "\"ﾕｰｻﾞｰ定義\" ｶｳﾝﾀの履歴を保存するﾌｧｲﾙに変更がありました。"};
  std::filesystem::remove(dir.FsPath(kDialLog.FileName));
  StartDialRecord(kWatch, MakeDate(2026, 12, 8, 9, 0, 0));
  EndDialRecord(MakeDate(2026, 12, 8, 9, 1, 0));
  for (const LogFileKind* k : {&kTodayLog, &kUserLog}) {
    std::filesystem::remove(dir.FsPath(k->FileName));
    AppendCounterRecord(*k, kDay + 9, 60, 1);
  }
  const int32_t first[] = {0};
  for (int kind = 0; kind < 3; ++kind) {
    EXPECT_EQ(ChangedFileMessage(kind), changed[kind]);
    EXPECT_EQ(model.SelectionTotals(kind, model.Shown(kind).Count(), first), changed[kind]) << kind;
  }
}

TEST_F(HistoryList, EditGoesBackIntoItsSlotOnlyWhileTheSlotHoldsIt) {
  TwoConnections();
  model.Fill(0, ShowNewest);
  std::optional<SelectedHistoryRecord> rec = model.RecordForEdit(0, 2, 0);
  ASSERT_TRUE(rec);
  EXPECT_EQ(*rec, (SelectedHistoryRecord{0, false, MakeDate(2026, 12, 7, 9, 0, 0), MakeDate(2026, 12, 7, 9, 5, 5),
                                         kWatch, 0, 0}));
  std::string bytes = Bytes(kDialLog);
  rec->DialEnd = MakeDate(2026, 12, 7, 9, 30, 0);
  EXPECT_EQ(model.WriteEdited(*rec), WriteBack::Written);
  bytes.replace(123 + 16, 8, D(MakeDate(2026, 12, 7, 9, 30, 0)));
  EXPECT_EQ(Bytes(kDialLog), bytes);

  struct Case {
    const char* What;
    int32_t Focused;                  // of the four records in slots 0..3
    std::function<void()> Meanwhile;  // what the monitor does while the editor is open
    WriteBack Want;
  };
  const Case cases[] = {
      {"untouched", 2, [] {}, WriteBack::Written},
      {"a young log grows behind it", 1, [&] { Counters(kUserLog, 10, 13); }, WriteBack::Written},
      {"newest merged by a renewal", 3, [&] { AppendCounterRecord(kUserLog, kDay + 4, 10, 1); }, WriteBack::FileChanged},
      {"log re-created", 1, [&] { std::filesystem::remove(dir.FsPath(kUserLog.FileName)), Counters(kUserLog, 20, 25); },
       WriteBack::FileChanged},
      {"ring wrapped over the slot", 0, [&] { Counters(kUserLog, 100, 1097); }, WriteBack::FileChanged},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(dir.FsPath(kUserLog.FileName));
    Counters(kUserLog, 1, 5);
    model.Fill(2, ShowNewest);
    rec = model.RecordForEdit(2, 4, c.Focused);
    ASSERT_TRUE(rec) << c.What;
    EXPECT_EQ(*rec, (SelectedHistoryRecord{2, false, 0, 0, kDay + c.Focused + 1, c.Focused + 1, c.Focused + 1}));
    c.Meanwhile();
    bytes = Bytes(kUserLog);
    rec->PlusCount = 777;
    rec->StampDate = MakeDate(2001, 2, 3, 4, 5, 6);
    rec->Changed = true;
    EXPECT_EQ(model.WriteEdited(*rec), c.Want) << c.What;
    if (c.Want == WriteBack::Written)
      bytes.replace(123 + c.Focused * 16, 16,
                    D(MakeDate(2001, 2, 3, 4, 5, 6)) + LE<int32_t>(c.Focused + 1) + LE<int32_t>(777));
    EXPECT_EQ(Bytes(kUserLog), bytes) << c.What;
  }
  // A row taken after records were appended behind the young page is still its own record.
  std::filesystem::remove(dir.FsPath(kUserLog.FileName));
  Counters(kUserLog, 1, 5);
  model.Fill(2, ShowNewest);
  Counters(kUserLog, 10, 12);
  rec = model.RecordForEdit(2, 4, 1);
  ASSERT_TRUE(rec);
  EXPECT_EQ(rec->PlusTime, 2);
  SetProgramFolder(dir.Utf8() + "\\gone");
  EXPECT_EQ(model.WriteEdited(*rec), WriteBack::Failed);
}

TEST_F(HistoryList, CsvHoldsTheWholeLogOldestFirst) {
  TwoConnections();
  Counters(kUserLog, 0, 1001);  // wrapped; NextSlot 1; records 2..1000 are in the file's window
  std::string csv = model.ExportCsv(0);
  std::erase(csv, '\r');
  EXPECT_EQ(csv,
            "\xEF\xBB\xBF"
            "接続開始日時,接続終了日時,接続時間,監視開始日時,送信ﾊﾞｲﾄ数,受信ﾊﾞｲﾄ数\n"
            "2026-12-07 09:00:00,2026-12-07 09:05:05,305,2026-12-07 08:00:00,,\n"
            "2026-12-07 10:00:00,2026-12-07 11:02:03,3723,2026-12-07 08:00:00,,\n");

  // A zeroed and a damaged end: no duration at all, not one counted back to 1899.
  StartDialRecord(kWatch, MakeDate(2026, 12, 7, 12, 0, 0));
  EndDialRecord(0);
  StartDialRecord(kWatch, MakeDate(2026, 12, 7, 13, 0, 0));
  EndDialRecord(1e300);
  csv = model.ExportCsv(0);
  std::erase(csv, '\r');
  EXPECT_TRUE(csv.ends_with("\n2026-12-07 12:00:00,,,2026-12-07 08:00:00,,\n"
                            "2026-12-07 13:00:00,,,2026-12-07 08:00:00,,\n"))
      << csv;

  h.huPlusCount = false;  // the export does not follow the column switches
  csv = model.ExportCsv(2);
  std::erase(csv, '\r');
  ASSERT_TRUE(csv.starts_with(
      "\xEF\xBB\xBF累積接続時間,累積接続回数,ｶｳﾝﾀ更新日時,送信ﾊﾞｲﾄ数,受信ﾊﾞｲﾄ数\n2,2,2000-01-03 00:00:00,,\n3,3,"));
  EXPECT_TRUE(csv.ends_with("\n999,999,2002-09-26 00:00:00,,\n1000,1000,2002-09-27 00:00:00,,\n"));
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1000);

  csv = model.ExportCsv(1);  // empty
  std::erase(csv, '\r');
  EXPECT_EQ(csv, "\xEF\xBB\xBF累積接続時間,累積接続回数,ｶｳﾝﾀ更新日時,送信ﾊﾞｲﾄ数,受信ﾊﾞｲﾄ数\n");
}

// The volume of each record from its entry in the volume file, matched by slot and key date: the
// columns, the totals, the exact bytes of the CSV, the graph and an edited date taking the entry along.
TEST_F(HistoryList, VolumeOfEachRecordFromItsOwnEntry) {
  TwoConnections();
  // Slot 1 holds an entry of a record the ring has since replaced: never shown against the new one.
  VolumeLog dial;
  dial.Set(0, MakeDate(2026, 12, 7, 9, 0, 0), {1536, 5 * 1024 * 1024 + 1});
  dial.Set(1, MakeDate(2020, 1, 1), {7, 7});
  ASSERT_TRUE(dial.Save(kDialVolume));
  AppendCounterRecord(kTodayLog, kDay + 1, 60, 1);
  AppendCounterRecord(kTodayLog, kDay + 2, 60, 1);
  ASSERT_TRUE(RecordCounterVolume(kTodayLog, kDay + 2, {uint64_t{3} << 30, 999}).Written);

  vol.hdReceived = vol.htSent = vol.htReceived = true;
  HistoryPageFill f = model.Fill(0, ShowNewest);
  EXPECT_EQ(f.ColumnLabel, "表示項目／接続開始日時／接続終了日時／接続時間／監視開始日時／受信量");
  EXPECT_EQ(f.Rows[0], "26/12/07 09:00:00\t26/12/07 09:05:05\t0時間 05分 05秒\t26/12/07 08:00:00\t5.00 MB\t");
  EXPECT_EQ(f.Rows[1], "26/12/07 10:00:00\t26/12/07 11:02:03\t1時間 02分 03秒\t26/12/07 08:00:00\t\t");
  h.htPlusTime = h.htPlusCount = h.htReset = false;
  f = model.Fill(1, ShowNewest);
  EXPECT_EQ(f.ColumnLabel, "表示項目／送信量／受信量");
  EXPECT_EQ(f.Rows, (std::vector<std::string>{"\t\t", "3.00 GB\t999 バイト\t"}));

  // Totals: the volume of the records that have it; none said when none has.
  const int32_t both[] = {0, 1}, second[] = {1};
  EXPECT_EQ(model.SelectionTotals(0, 2, both), "選択数: 2, 合計時間: 1時間 07分 08秒, 送信量: 1.50 KB, 受信量: 5.00 MB");
  EXPECT_EQ(model.SelectionTotals(0, 2, second), "選択数: 1, 合計時間: 1時間 02分 03秒");
  EXPECT_EQ(model.SelectionTotals(1, 2, both), "選択数: 2, 合計時間: 0時間 02分 00秒, 合計回数: 2 回, "
                                               "送信量: 3.00 GB, 受信量: 999 バイト");

  std::string csv = model.ExportCsv(1);
  std::erase(csv, '\r');
  EXPECT_TRUE(csv.ends_with("\n60,1,2000-01-02 00:00:00,,\n60,1,2000-01-03 00:00:00,3221225472,999\n")) << csv;

  model.AnchorGraph(2, 1);
  const std::optional<GraphData> g = model.LoadGraph(KeepPosition);
  ASSERT_TRUE(g);
  ASSERT_EQ(g->Points.size(), 2u);
  EXPECT_EQ(g->Points[0].Volume, std::nullopt);
  EXPECT_EQ(g->MaxVolume, (uint64_t{3} << 30) + 999);

  // A new start date takes the entry along; the entry of the other record stays as it was.
  std::optional<SelectedHistoryRecord> rec = model.RecordForEdit(0, 2, 0);
  ASSERT_TRUE(rec);
  rec->DialStart = MakeDate(2026, 12, 7, 8, 30, 0);
  ASSERT_EQ(model.WriteEdited(*rec), WriteBack::Written);
  VolumeLog after;
  ASSERT_EQ(after.Load(kDialVolume), CheckedFileState::Loaded);
  EXPECT_EQ(after.Find(0, MakeDate(2026, 12, 7, 8, 30, 0)), (VolumeAmount{1536, 5 * 1024 * 1024 + 1}));
  EXPECT_EQ(after.Find(0, MakeDate(2026, 12, 7, 9, 0, 0)), std::nullopt);
  EXPECT_EQ(after.Find(1, MakeDate(2020, 1, 1)), (VolumeAmount{7, 7}));
  EXPECT_EQ(model.Fill(0, KeepPosition).Rows[0].substr(0, 17), "26/12/07 08:30:00");
  EXPECT_NE(model.Fill(0, KeepPosition).Rows[0].find("\t5.00 MB\t"), std::string::npos);
}

TEST_F(HistoryList, GraphWindowFromTheSelectedRecord) {
  Counters(kTodayLog, 0, 100);
  h.hisFmtDate[3] = "yyyy/m/d";
  model.Fill(1, ShowNewest);  // indices 0..99, record i holds i seconds

  struct Case {
    int32_t Way;
    int32_t First;  // of the 32 records; the 51st record is the one selected
  };
  for (const Case& c : {Case{0, 51}, Case{1, 35}, Case{2, 19}, Case{7, 35}}) {
    h.gphGetWay = c.Way;
    model.AnchorGraph(100, 50);
    const std::optional<GraphData> g = model.LoadGraph(KeepPosition);
    ASSERT_TRUE(g) << c.Way;
    ASSERT_EQ(g->Points.size(), 32u) << c.Way;
    EXPECT_EQ(g->Points.front(), (GraphPoint{c.First, c.First, kDay + c.First, std::nullopt})) << c.Way;
    EXPECT_EQ(g->Points.back().PlusTime, c.First + 31) << c.Way;
    EXPECT_EQ(g->MaxTime, c.First + 31) << c.Way;
    EXPECT_EQ(g->MesCase, std::to_string(c.First + 1) + "件～" + std::to_string(c.First + 32) + "件目");
  }
  // From 35..66 back by three, then from the newest record forward past it.
  std::optional<GraphData> g = model.LoadGraph(PageBack);
  ASSERT_TRUE(g);
  EXPECT_EQ(g->Points.front().PlusTime, 32);
  EXPECT_EQ(g->MesPeriod, "ｶｳﾝﾀ更新日時 2000/2/2～2000/3/4 を表示中");
  h.gphGetWay = 2;
  model.AnchorGraph(100, 99);
  g = model.LoadGraph(PageNext);
  ASSERT_TRUE(g);
  EXPECT_EQ(g->Points.back().PlusTime, 99);
  EXPECT_FALSE(model.LoadGraph(ShowNewest));

  std::filesystem::remove(dir.FsPath(kTodayLog.FileName));
  g = model.LoadGraph(KeepPosition);
  ASSERT_TRUE(g);
  EXPECT_TRUE(g->Points.empty());
  EXPECT_EQ(g->MaxTime, 0);
  EXPECT_EQ(g->MesCase, EmptyLogMessage());
  EXPECT_EQ(g->MesPeriod, "");
}

}  // namespace
}  // namespace nw
