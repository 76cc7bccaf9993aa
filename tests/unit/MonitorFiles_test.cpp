// The monitor writing the real data files: counters block, connection and counter logs and the
// activity log, driven through cycles.
#include <gtest/gtest.h>

#include "MonitorFakes.h"
#include "TestFiles.h"
#include "data/NWDLogFiles.h"
#include "monitor/MonitorFiles.h"

namespace nw::test {
namespace {

struct MonitorFilesTest : ::testing::Test {
  TempFolder dir{"nwmon"};
  SettingsFileData data;
  Harness h{MakeDate(2026, 12, 7, 23, 59, 0)};
  std::unique_ptr<MonitorFiles> files;
  std::unique_ptr<Monitor> monitor;

  void SetUp() override {
    SetProgramFolder(dir.Utf8());
    SetDefaults(data, ScreenTwips{19200, 14400});
    data.Counters = {MakeDate(2026, 12, 7), 100, 1, MakeDate(2027, 1, 1), 0, 0};
    data.Settings.LoggingFLG = true;
    data.Settings.LogFileAddress = dir.File("LogFile.txt");
    files = std::make_unique<MonitorFiles>(data, [] { return LiveWindowState{}; });
    monitor = std::make_unique<Monitor>(
        data.Settings, data.Counters,
        MonitorPorts{h.clock, h.internet, h.ras, h.dialer, *files, h.view, h.notice}, dir.Utf8());
    h.notice.monitor = monitor.get();
    monitor->StartMonitoring();
    monitor->CompleteStart();
  }
  void Step(int s) {
    h.Advance(s);
    monitor->Looker_Timer();
  }
};

TEST_F(MonitorFilesTest, ConnectionAcrossMidnightLandsInEveryFile) {
  h.internet.online = true;
  Step(30);  // 23:59:30 up
  Step(60);  // 00:00:30: the old day is closed into NwdTday.log
  h.internet.online = false;
  Step(30);  // 00:01:00 down

  HistoryLog dial;
  ASSERT_TRUE(dial.Open(kDialLog));
  ASSERT_EQ(RecordCount(dial.Ring()), 1);
  DialRecord r;
  ASSERT_TRUE(dial.ReadDial(SlotNewestFirst(dial.Ring(), 0), r));
  dial.Close();
  EXPECT_EQ(r.ExeStart, MakeDate(2026, 12, 7, 23, 59, 0));
  EXPECT_EQ(ToSeconds(r.DialStart), ToSeconds(MakeDate(2026, 12, 7, 23, 59, 30)));
  EXPECT_EQ(ToSeconds(r.DialEnd), ToSeconds(MakeDate(2026, 12, 8, 0, 1, 0)));

  HistoryLog today;
  ASSERT_TRUE(today.Open(kTodayLog));
  ASSERT_EQ(RecordCount(today.Ring()), 1);
  CounterRecord c;
  ASSERT_TRUE(today.ReadCounter(0, c));
  today.Close();
  EXPECT_EQ(c.ResetDate, MakeDate(2026, 12, 8));
  EXPECT_EQ(c.PlusTime, 130);
  EXPECT_EQ(c.PlusCount, 1);

  SettingsFileData loaded;
  LoadSettings(loaded, ScreenTwips{19200, 14400});
  EXPECT_EQ(loaded.Counters.TodayDate, MakeDate(2026, 12, 8));
  EXPECT_EQ(loaded.Counters.TodaySeconds, 60);
  EXPECT_EQ(loaded.Counters.TodayCount, 1);

  const std::string log = ReadAll(dir.FsPath("LogFile.txt"));
  // "   切断状態になりました。" in code page 932, one line each, CR LF.
  EXPECT_NE(log.find("   \x90\xd8\x92\x66\x8f\xf3\x91\xd4\x82\xc9\x82\xc8\x82\xe8\x82\xdc\x82\xb5\x82\xbd\x81\x42\r\n"),
            std::string::npos);
  EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
}

TEST_F(MonitorFilesTest, ActivityLogInAMissingFolderFails) {
  EXPECT_FALSE(files->AppendActivityLine(dir.File("gone\\LogFile.txt"), "x"));
  EXPECT_FALSE(files->AppendActivityLine("", "x"));
  EXPECT_FALSE(files->AppendActivityLine(dir.Utf8(), "x"));  // a folder
  EXPECT_TRUE(files->AppendActivityLine(dir.File("a.txt"), "ab"));
  EXPECT_TRUE(files->AppendActivityLine(dir.File("a.txt"), "c"));
  EXPECT_EQ(ReadAll(dir.FsPath("a.txt")), "ab\r\nc\r\n");
}

}  // namespace
}  // namespace nw::test
