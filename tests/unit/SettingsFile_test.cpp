#include <gtest/gtest.h>

#include <bit>

#include "TestFiles.h"
#include "classlib/otkCodePage932.h"
#include "classlib/otkFileString.h"
#include "data/NWDGlobal.h"
#include "data/NWDVerCheck.h"

using namespace nw;
using nw::test::LE;
using nw::test::ReadAll;
using nw::test::TempFolder;
using nw::test::WriteAll;

namespace {

constexpr ScreenTwips kScreen{19200, 14400};  // 1280 x 960 pixels

std::string Str(std::string_view utf8) {
  const std::string bytes = cp932::FromUtf8(utf8);
  return LE<int32_t>(static_cast<int32_t>(cp932::CharCount(bytes))) + bytes;
}

std::string Header(std::string_view kind, int16_t version) {
  return Str(kMakerTag) + Str(kProductTag) + Str(kind) + LE<int16_t>(version);
}

// Every field away from its default, lists and double-byte text included.
SettingsFileData Unusual() {
  SettingsFileData d;
  SetDefaults(d, kScreen);
  d.Counters = {MakeDate(2003, 1, 1), 3725, 4, MakeDate(2003, 2, 1, 5, 6, 7), 90061, 12};
  SettingsRecord& s = d.Settings;
  s.TimerActv = false;
  s.TimerIval = 3000;
  s.MaxCount = 500;
  s.UserRenew = false;
  s.FormatNow = "yyyy/mm/dd (ddd) hh:nn";
  s.FormatIval = "hh:mm";
  s.WhenRenewMonth = 12;
  s.WhenWeek = 6;
  s.WhenRenewDay = 31;
  s.WhenRenewHour = 23;
  s.WhenRenewMinute = 59;
  s.WhenRenewSecond = 58;
  s.RNInterval = 5;
  s.RenewFreq = 7;
  s.CounterName = "月額ﾌﾟﾗﾝ～上限";
  s.LoggingFLG = true;
  s.LogFileAddress = "D:\\ログ\\記録.txt";
  s.FormatWin = "m分";
  s.FormatWinVis = false;
  s.ExpStart = false;
  s.DblErr = true;
  s.LockState = true;
  s.CngConnLockOnFLG = s.CngDisconnLockOnFLG = s.CngConnLockOffFLG = s.CngDisconnLockOffFLG = true;
  s.LDialSave = s.LTdaySave = s.LUserSave = false;
  s.AtCutDialog = s.AtCutHangup = s.AuCutDialog = s.AuCutHangup = s.AdCutDialog = s.AdCutHangup = true;
  s.AtCutTime = 1;
  s.AuCutTime = 2;
  s.AdCutTime = -3;
  s.AlDalDial = s.AcDalDialog = s.AcDalDial = s.RdByManu = s.RdByAuto = true;
  s.RdInterval = 120;
  s.ExpLbl = s.ExpTim = s.ExpCnt = s.ExpNow = s.ExpTdy = s.ExpUsr = false;
  s.WayWatchEn = 1;
  s.WatchEntries = {"会社VPN", "", "ﾀﾞｲﾔﾙｱｯﾌﾟ"};
  s.WatchDetail = 4096;
  s.RsIdlFLG = true;
  s.RsSetInfo = {{"標準", "会社VPN", "山田", "p@ss"}, {"予備", "dial", "", ""}};
  s.RsSetInfoStd = 1;
  s.SyTimeOut = 5;
  s.SyCngDlg = 2;
  s.SyOutDlg = 1;
  HistoryDisplaySettings& h = d.History;
  h.hisShowMaw = {1, 2, 3, 4};
  h.hisMoveMax = {5, 6, 7, 8};
  h.hdDialStart = h.hdTime = h.htPlusCount = h.huReset = false;
  h.hisFmtDate = {"yyyy年", "m/d", "h:mm", ""};
  h.hisFmtTime = {"h時間", "ss秒", "mm", "x"};
  h.gphGetWay = 2;
  h.gphBgColor = 0x123456;
  h.gphNtColor = static_cast<int32_t>(0x80000005);
  d.TopWinFLG = true;
  d.CompTopFLG = false;
  d.PreviousDisplayMode = 2;
  return d;
}

constexpr LiveWindowState kLive{1, true, false, 1234, 567};

struct SettingsFile : ::testing::Test {
  TempFolder dir{"nwsettings"};
  void SetUp() override { SetProgramFolder(dir.Utf8()); }
  std::string Bytes() { return ReadAll(dir.FsPath("NwdUtil.dat")); }
  void Put(std::string_view bytes) { WriteAll(dir.FsPath("NwdUtil.dat"), bytes); }
  SettingsFileData Load() {
    SettingsFileData d = Unusual();  // every field must be overwritten by the load
    LoadSettings(d, kScreen);
    return d;
  }
  SettingsFileData Defaults(CounterBlock counters = {}) {
    SettingsFileData d;
    SetDefaults(d, kScreen);
    d.Counters = counters;
    return d;
  }
};

}  // namespace

TEST_F(SettingsFile, HeaderIs117BytesAndChecksTagsAndVersion) {
  otkFileRWCtrl f;
  f.FileAddress(dir.File("h.bin"));
  ASSERT_TRUE(f.OpenForBinary());
  EXPECT_TRUE(WriteHeader(f, kSettingsKindTag, 51));
  EXPECT_EQ(f.CurrentPoint(), 118);
  f.CloseFile();
  const std::string bytes = ReadAll(dir.FsPath("h.bin"));
  EXPECT_EQ(bytes.size(), 117u);
  EXPECT_EQ(bytes, LE<int32_t>(18) + "Orvin.T.K. NetWard" + LE<int32_t>(56) +
                       "Orvin.T.K. Soft By R.W. NetWard(NetWardDialupLineKeeper)" + LE<int32_t>(29) +
                       "Orvin.T.K. NetWardSaveUtility" + LE<int16_t>(51));

  auto check = [&](std::string_view kind, int16_t version) {
    f.OpenForBinary();
    const auto r = CheckHeader(f, kind, version);
    f.CloseFile();
    return r;
  };
  EXPECT_EQ(check(kSettingsKindTag, 51), HeaderSame);
  EXPECT_EQ(check(kSettingsKindTag, 52), HeaderOlder);
  EXPECT_EQ(check(kSettingsKindTag, 50), HeaderNewer);
  EXPECT_EQ(check("Orvin.T.K. NetWardSaveutility", 51), HeaderBad);
  EXPECT_EQ(check("Orvin.T.K. NetWardSaveDialLog", 51), HeaderBad);
}

TEST_F(SettingsFile, HeaderWithOverlongTagIsBad) {
  WriteAll(dir.FsPath("h.bin"), LE<int32_t>(65) + std::string(200, 'x'));
  otkFileRWCtrl f;
  f.FileAddress(dir.File("h.bin"));
  ASSERT_TRUE(f.OpenForBinary());
  EXPECT_EQ(CheckHeader(f, kSettingsKindTag, 51), HeaderBad);
  EXPECT_EQ(f.CurrentPoint(), 5);  // stopped behind the rejected count
}

TEST_F(SettingsFile, MissingFileGivesDefaultsAndLeavesAnEmptyFile) {
  const SettingsFileData d = Load();
  EXPECT_EQ(d, Defaults());
  EXPECT_EQ(d.Settings.LogFileAddress, dir.Utf8() + "\\LogFile.txt");
  EXPECT_EQ(d.SavedWindowState[SwLeft], 7215);
  EXPECT_EQ(d.SavedWindowState[SwTop], 5692);  // 5692.5 rounds to even
  EXPECT_EQ(Bytes(), "");
}

TEST_F(SettingsFile, DefaultsFileLayout) {
  ASSERT_TRUE(SaveSettings(Defaults(), LiveWindowState{0, false, true, 7215, 5692}));
  const std::string b = Bytes();
  const std::string logPath = cp932::FromUtf8(AppPath("LogFile.txt"));
  // 611 bytes of fixed-length fields and default texts, plus the log file's path.
  ASSERT_EQ(b.size(), 611 + logPath.size());
  EXPECT_EQ(b.substr(0, 117), Header(kSettingsKindTag, 51));
  EXPECT_EQ(b.substr(117, 32), std::string(32, '\0'));  // the counters block
  EXPECT_EQ(b.substr(149, 20), LE<int32_t>(0) + LE<int32_t>(1) + LE<int16_t>(0) + LE<int16_t>(-1) +
                                   LE<int16_t>(-1) + LE<int16_t>(1000) + LE<int16_t>(32) + LE<int16_t>(-1));
  EXPECT_EQ(b.substr(169, 31), Str("yyyy年 m月 d日 AMPM h:mm:ss"));
  EXPECT_EQ(b.substr(200, 19), Str("h時間 mm分 ss秒"));
  EXPECT_EQ(b.substr(239, 13), Str("ﾕｰｻﾞｰ定義"));
  EXPECT_EQ(b.substr(b.size() - 20), LE<int32_t>(1) + LE<int32_t>(static_cast<int32_t>(0x8000000D)) +
                                         LE<int32_t>(0x80FF) + LE<int32_t>(7215) + LE<int32_t>(5692));
  EXPECT_EQ(Load(), Defaults());
}

TEST_F(SettingsFile, EveryFieldRoundTrips) {
  const SettingsFileData written = Unusual();
  ASSERT_TRUE(SaveSettings(written, kLive));
  SettingsFileData expected = written;
  expected.SavedWindowState = {1234, 567, 0, -1, 1};
  EXPECT_EQ(Load(), expected);
  // And a second save of what was read is byte-identical.
  const std::string first = Bytes();
  ASSERT_TRUE(SaveSettings(Load(), kLive));
  EXPECT_EQ(Bytes(), first);
}

TEST_F(SettingsFile, PreviousDisplayModeZeroIsWrittenAsOne) {
  SettingsFileData d = Defaults();
  d.PreviousDisplayMode = 0;
  ASSERT_TRUE(SaveSettings(d, kLive));
  EXPECT_EQ(Bytes().substr(153, 4), LE<int32_t>(1));
  EXPECT_EQ(Load().PreviousDisplayMode, 1);
}

TEST_F(SettingsFile, OtherVersionsKeepOnlyTheCounters) {
  const SettingsFileData written = Unusual();
  ASSERT_TRUE(SaveSettings(written, kLive));
  const std::string body = Bytes().substr(117);
  for (int16_t version : {50, 52}) {
    Put(Header(kSettingsKindTag, version) + body);
    const SettingsFileData d = Load();
    EXPECT_EQ(d, Defaults(written.Counters)) << version;
    EXPECT_EQ(d.Settings.TimerIval, 1000);
    EXPECT_EQ(d.Settings.CounterName, "ﾕｰｻﾞｰ定義");
  }
}

TEST_F(SettingsFile, ForeignOrDamagedHeaderZeroesTheCounters) {
  ASSERT_TRUE(SaveSettings(Unusual(), kLive));
  std::string b = Bytes();
  b[0] = 65;  // the first tag now claims 65 characters
  Put(b);
  EXPECT_EQ(Load(), Defaults());
  Put(Header("Orvin.T.K. NetWardSaveDialLog", 51) + Bytes().substr(117));
  EXPECT_EQ(Load(), Defaults());
}

TEST_F(SettingsFile, DamagedListLengthKeepsOnlyTheCounters) {
  SettingsFileData d = Unusual();
  d.Settings.WatchEntries = {"AAAA", "BBBB"};
  ASSERT_TRUE(SaveSettings(d, kLive));
  std::string b = Bytes();
  const size_t at = b.find(LE<int32_t>(4) + "BBBB");
  ASSERT_NE(at, std::string::npos);
  b.replace(at, 4, LE<int32_t>(300));
  Put(b);
  EXPECT_EQ(Load(), Defaults(d.Counters));
}

TEST_F(SettingsFile, DamagedConnectionInformationKeepsOnlyTheCounters) {
  SettingsFileData d = Unusual();
  ASSERT_TRUE(SaveSettings(d, kLive));
  std::string b = Bytes();
  const size_t at = b.find(Str("p@ss"));
  ASSERT_NE(at, std::string::npos);
  b.replace(at, 4, LE<int32_t>(-2));
  Put(b);
  EXPECT_EQ(Load(), Defaults(d.Counters));
}

TEST_F(SettingsFile, AbsurdListIndexNeitherHangsNorAllocates) {
  SettingsFileData d = Unusual();
  d.Settings.WatchEntries.clear();
  ASSERT_TRUE(SaveSettings(d, kLive));
  const std::string b = Bytes();
  const std::string lastIndexThenDetail = LE<int32_t>(-1) + LE<int32_t>(4096);
  const size_t at = b.find(lastIndexThenDetail);
  ASSERT_NE(at, std::string::npos);
  for (int32_t last : {0x7FFFFFFF, 0x10000000, -2, static_cast<int32_t>(0x80000000)}) {
    std::string damaged = b;
    damaged.replace(at, 4, LE<int32_t>(last));
    Put(damaged);
    EXPECT_EQ(Load(), Defaults(d.Counters)) << last;
  }
}

TEST_F(SettingsFile, ShortFileReadsZerosBeyondItsEnd) {
  ASSERT_TRUE(SaveSettings(Defaults(), kLive));
  Put(Bytes().substr(0, 163));  // cut inside the settings: TimerIval onwards is missing
  const SettingsFileData d = Load();
  EXPECT_EQ(d.Settings.TimerIval, 0);
  EXPECT_EQ(d.Settings.FormatNow, "");
  EXPECT_EQ(d.Settings.WatchEntries, std::vector<std::string>{""});  // last index 0: one empty entry
  EXPECT_EQ(d.Settings.RsSetInfo.size(), 1u);
  EXPECT_EQ(d.SavedWindowState[SwLeft], 0);
}

TEST_F(SettingsFile, WindowIsKeptOnScreenUnlessCompactModeWasSaved) {
  SettingsFileData d = Defaults();
  ASSERT_TRUE(SaveSettings(d, LiveWindowState{1, false, true, -500, 99999}));
  EXPECT_EQ(Load().SavedWindowState[SwLeft], 0);
  EXPECT_EQ(Load().SavedWindowState[SwTop], kScreen.Height - 3015);
  ASSERT_TRUE(SaveSettings(d, LiveWindowState{2, false, true, -500, 99999}));
  EXPECT_EQ(Load().SavedWindowState[SwLeft], -500);
  EXPECT_EQ(Load().SavedWindowState[SwTop], 99999);
  EXPECT_EQ(Load().SavedWindowState[SwDisplayMode], 2);
}

TEST_F(SettingsFile, DefaultPositionAndClampUseTheWindowsRealSize) {
  // A main window taller than the classic 3015 twips (caption, menu bar, status list).
  const ScreenTwips screen{19200, 14400, 4770, 4455};
  SettingsFileData d;
  LoadSettings(d, screen);
  EXPECT_EQ(d.SavedWindowState[SwLeft], 7215);
  EXPECT_EQ(d.SavedWindowState[SwTop], 4972);  // (14400 - 4455) / 2 = 4972.5 rounds to even
  ASSERT_TRUE(SaveSettings(d, LiveWindowState{1, false, true, 99999, 12000}));
  LoadSettings(d, screen);
  EXPECT_EQ(d.SavedWindowState[SwLeft], 19200 - 4770);
  EXPECT_EQ(d.SavedWindowState[SwTop], 14400 - 4455);  // its bottom edge stays on the screen
}

TEST_F(SettingsFile, CounterBlockIsRewrittenInPlace) {
  SettingsFileData d = Unusual();
  ASSERT_TRUE(SaveSettings(d, kLive));
  const std::string before = Bytes();
  d.Counters = {MakeDate(2026, 12, 7), 1, 2, MakeDate(2027, 1, 1), 3, 4};
  d.Settings.TimerIval = 100;  // not written by the counters save
  ASSERT_TRUE(SaveCounterBlock(d, kLive));
  const std::string after = Bytes();
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(after.substr(0, 117), before.substr(0, 117));
  EXPECT_EQ(after.substr(149), before.substr(149));
  EXPECT_EQ(after.substr(117, 32), LE<uint64_t>(std::bit_cast<uint64_t>(MakeDate(2026, 12, 7))) + LE<int32_t>(1) +
                                       LE<int32_t>(2) + LE<uint64_t>(std::bit_cast<uint64_t>(MakeDate(2027, 1, 1))) +
                                       LE<int32_t>(3) + LE<int32_t>(4));
  const SettingsFileData loaded = Load();
  EXPECT_EQ(loaded.Counters, d.Counters);
  EXPECT_EQ(loaded.Settings.TimerIval, 3000);
}

// Without a valid header a 32-byte write at 118 would be lost at the next load: the whole file
// is written instead.
TEST_F(SettingsFile, CounterBlockWithoutValidHeaderWritesTheWholeFile) {
  const SettingsFileData d = Unusual();
  for (std::string_view start : {"missing", "", "foreign file contents"}) {
    std::filesystem::remove(dir.FsPath("NwdUtil.dat"));
    if (start != "missing") Put(start);
    ASSERT_TRUE(SaveCounterBlock(d, kLive)) << start;
    SettingsFileData expected = d;
    expected.SavedWindowState = {1234, 567, 0, -1, 1};
    EXPECT_EQ(Load(), expected) << start;
  }
}

TEST_F(SettingsFile, FailedSaveKeepsTheOldFile) {
  ASSERT_TRUE(SaveSettings(Unusual(), kLive));
  const std::string before = Bytes();
  std::filesystem::create_directory(dir.FsPath("NwdUtil.dat.tmp"));  // the temporary cannot be made
  EXPECT_FALSE(SaveSettings(Defaults(), kLive));
  EXPECT_EQ(Bytes(), before);
  std::filesystem::remove(dir.FsPath("NwdUtil.dat.tmp"));

  // What an interrupted save leaves behind does not disturb the next load or save.
  WriteAll(dir.FsPath("NwdUtil.dat.tmp"), before.substr(0, 200));
  EXPECT_EQ(Load().Settings.TimerIval, 3000);
  ASSERT_TRUE(SaveSettings(Defaults(), kLive));
  EXPECT_EQ(otkFileString::FileKindOf(dir.File("NwdUtil.dat.tmp")), 0);
  EXPECT_EQ(Load().Settings.TimerIval, 1000);
}

TEST_F(SettingsFile, ReadOnlySettingsFileIsStillReplaced) {
  ASSERT_TRUE(SaveSettings(Unusual(), kLive));
  std::filesystem::permissions(dir.FsPath("NwdUtil.dat"), std::filesystem::perms::owner_read);
  ASSERT_TRUE(SaveSettings(Defaults(), kLive));
  EXPECT_EQ(Load().Settings.TimerIval, 1000);
}

TEST_F(SettingsFile, MissingProgramFolderMeansDefaultsAndFailedSaves) {
  SetProgramFolder(dir.Utf8() + "\\gone");
  EXPECT_EQ(Load().Settings.TimerIval, 1000);
  EXPECT_FALSE(SaveSettings(Unusual(), kLive));
  EXPECT_FALSE(SaveCounterBlock(Unusual(), kLive));
}
