// The data files through the Windows file and code-page adapters, in a folder whose name is
// Japanese: what a user's program folder may well be.
#include <windows.h>

#include <utility>

#include <gtest/gtest.h>

#include "../unit/TestFiles.h"
#include "classlib/otkDateFormat.h"
#include "classlib/otkFileRWCtrl.h"
#include "classlib/otkFileString.h"
#include "classlib/win32/WinText.h"
#include "classlib/win32/otkAppFolder.h"
#include "data/NWDGlobal.h"
#include "data/NWDLogFiles.h"

using namespace nw;
using nw::test::ReadAll;
using nw::test::TempFolder;

namespace {

SettingsFileData Sample() {
  SettingsFileData d;
  SetDefaults(d, {19200, 14400});
  d.Counters = {MakeDate(2003, 1, 1), 3725, 4, MakeDate(2003, 2, 1, 5, 6, 7), 90061, 12};
  d.Settings.CounterName = "月額ﾌﾟﾗﾝ～上限";
  d.Settings.FormatNow = "yyyy年m月d日 h時n分";
  d.Settings.LogFileAddress = AppPath("活動記録.txt");
  d.Settings.WatchEntries = {"会社VPN", "ﾀﾞｲﾔﾙｱｯﾌﾟ"};
  d.Settings.RsSetInfo = {{"標準", "会社VPN", "山田", "p@ss"}};
  d.Settings.RsSetInfoStd = 0;
  d.History.hisFmtTime[2] = "h時間";
  d.TopWinFLG = true;
  return d;
}

constexpr LiveWindowState kLive{2, true, true, -300, 400};

struct JapaneseFolder : ::testing::Test {
  TempFolder dir{"ネット監視 設定"};
  void SetUp() override { SetProgramFolder(dir.Utf8()); }
};

}  // namespace

TEST_F(JapaneseFolder, SettingsRoundTrip) {
  const SettingsFileData written = Sample();
  ASSERT_TRUE(SaveSettings(written, kLive));
  EXPECT_NE(GetFileAttributesW(win::Widen(AppPath("NwdUtil.dat")).c_str()), INVALID_FILE_ATTRIBUTES);
  SettingsFileData read;
  LoadSettings(read, {19200, 14400});
  SettingsFileData expected = written;
  expected.SavedWindowState = {-300, 400, -1, -1, 2};
  EXPECT_EQ(read, expected);

  // The text is stored in code page 932 whatever the system's code page.
  const std::string bytes = ReadAll(dir.FsPath("NwdUtil.dat"));
  EXPECT_NE(bytes.find("\x8C\x8E\x8A\x7A\xCC\xDF\xD7\xDD\x81\x60\x8F\xE3\x8C\xC0"), std::string::npos);  // 月額ﾌﾟﾗﾝ～上限
}

TEST_F(JapaneseFolder, CounterBlockAndMissingFile) {
  const SettingsFileData d = Sample();
  ASSERT_TRUE(SaveCounterBlock(d, kLive));  // no file yet: the whole file is written
  SettingsFileData read;
  LoadSettings(read, {19200, 14400});
  EXPECT_EQ(read.Counters, d.Counters);
  EXPECT_EQ(read.Settings.CounterName, d.Settings.CounterName);

  SettingsFileData changed = d;
  changed.Counters.TodaySeconds = 1;
  ASSERT_TRUE(SaveCounterBlock(changed, kLive));
  LoadSettings(read, {19200, 14400});
  EXPECT_EQ(read.Counters.TodaySeconds, 1);
}

TEST_F(JapaneseFolder, ReadOnlyFilesAreReplacedAndCleared) {
  ASSERT_TRUE(SaveSettings(Sample(), kLive));
  const std::wstring path = win::Widen(AppPath("NwdUtil.dat"));
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  SettingsFileData d = Sample();
  d.Settings.TimerIval = 500;
  ASSERT_TRUE(SaveSettings(d, kLive));
  SettingsFileData read;
  LoadSettings(read, {19200, 14400});
  EXPECT_EQ(read.Settings.TimerIval, 500);

  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  otkFileRWCtrl f;
  f.FileAddress(AppPath("NwdUtil.dat"));
  ASSERT_TRUE(f.OpenForBinaryClearing());
  EXPECT_EQ(f.FileLength(), 0);
  f.CloseFile();
  EXPECT_TRUE(otkFileString::DeleteFileAt(AppPath("NwdUtil.dat")));
  EXPECT_EQ(otkFileString::FileKindOf(AppPath("NwdUtil.dat")), 0);
  EXPECT_EQ(otkFileString::FileKindOf(dir.Utf8()), 2);
}

TEST_F(JapaneseFolder, LogsInTheFolder) {
  StartDialRecord(MakeDate(2026, 12, 7), MakeDate(2026, 12, 7, 9, 0, 0));
  EndDialRecord(MakeDate(2026, 12, 7, 9, 30, 0));
  EXPECT_EQ(ReadAll(dir.FsPath("NwdDial.log")).size(), 147u);
  AppendCounterRecord(kTodayLog, MakeDate(2026, 12, 8), 7200, 3);
  AppendCounterRecord(kTodayLog, MakeDate(2026, 12, 8), 600, 1);
  HistoryLog log;
  ASSERT_TRUE(log.Open(kTodayLog));
  EXPECT_EQ(log.Ring().DataStart, 125);
  CounterRecord r;
  ASSERT_TRUE(log.ReadCounter(0, r));
  EXPECT_EQ(r, (CounterRecord{MakeDate(2026, 12, 8), 7800, 4}));
}

TEST(SystemLocale, JapaneseDesignatorsAndNames) {
  const DateFormatLocale loc = SystemDateFormatLocale();
  EXPECT_EQ(loc.Morning, "午前");
  EXPECT_EQ(loc.Afternoon, "午後");
  const Date sample = MakeDate(2003, 1, 1, 14, 20, 2);
  EXPECT_EQ(FormatDate(sample, "yyyy年 m月 d日 AMPM h:mm:ss"), "2003年 1月 1日 午後 2:20:02");
  EXPECT_EQ(FormatDate(sample, "dddd"), "水曜日");
  // The locale's own date and time pictures, as the system renders them.
  const SYSTEMTIME st{2003, 1, 3, 1, 14, 20, 2, 0};
  wchar_t buf[64];
  ASSERT_GT(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buf, 64), 0);
  EXPECT_EQ(FormatDate(sample, "ddddd"), win::Narrow(buf));
  ASSERT_GT(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &st, nullptr, buf, 64), 0);
  EXPECT_EQ(FormatDate(sample, "dddddd"), win::Narrow(buf));
  ASSERT_GT(GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, buf, 64), 0);
  EXPECT_EQ(FormatDate(sample, "ttttt"), win::Narrow(buf));

  // Any picture a user may set reads as the system reads it, letters of the pattern language too.
  const SYSTEMTIME later{2026, 12, 1, 7, 9, 5, 2, 0};
  const Date laterDate = MakeDate(2026, 12, 7, 9, 5, 2);
  DateFormatLocale custom = loc;
  for (const wchar_t* pic : {L"y/M/d", L"yy'年'MMMM dd'日' dddd", L"yyyy/MM/dd (c) q w n", L"g yyyy 'it''s'"}) {
    custom.ShortDate = win::Narrow(pic);
    ASSERT_GT(GetDateFormatW(LOCALE_USER_DEFAULT, 0, &later, pic, buf, 64), 0);
    EXPECT_EQ(FormatDate(laterDate, "ddddd", custom), win::Narrow(buf)) << custom.ShortDate;
  }
  for (const wchar_t* pic : {L"tt h:mm:ss", L"H'時'm'分's'秒' t", L"HH:mm (c) ttttt"}) {
    custom.LongTime = win::Narrow(pic);
    for (const auto& [time, date] : {std::pair{st, sample}, std::pair{later, laterDate}}) {
      ASSERT_GT(GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, pic, buf, 64), 0);
      EXPECT_EQ(FormatDate(date, "ttttt", custom), win::Narrow(buf)) << custom.LongTime;
    }
  }
}

TEST(SystemClock, LocalNowMatchesTheSystem) {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  const Date now = LocalNow();
  const Date system = MakeDate(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
  EXPECT_LE(std::abs(SecondsBetween(system, now)), 2);
}

TEST(ProgramFolder, IsTheFolderOfTheRunningProgram) {
  const std::string folder = win::ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\');
  EXPECT_EQ(otkFileString::FileKindOf(otkFileString::JoinPath(folder, "win32_tests.exe")), 1);
}

TEST_F(JapaneseFolder, ActivityLinesAreCodePage932) {
  ASSERT_TRUE(otkFileString::AppendTextLine(AppPath("LogFile.txt"), "今日"));
  EXPECT_EQ(ReadAll(dir.FsPath("LogFile.txt")), "\x8D\xA1\x93\xFA\r\n");
}
