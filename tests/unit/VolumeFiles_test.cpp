// NwdUtil.vol and the per-record volume files: round trips, damaged files read as empty and told,
// the replace that leaves the old file when the new one cannot be written, records matched by
// slot and key.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestFiles.h"
#include "data/NWDGlobal.h"
#include "data/NWDLogFiles.h"
#include "data/NWDVolumeFile.h"
#include "data/NWDVolumeLog.h"

using namespace nw;
using nw::test::ReadAll;
using nw::test::TempFolder;
using nw::test::WriteAll;

namespace {

struct VolumeFiles : ::testing::Test {
  TempFolder dir{"nwvol"};
  void SetUp() override { SetProgramFolder(dir.Utf8()); }
  std::filesystem::path Path(std::string_view name) { return dir.FsPath(name); }

  static VolumeFileData Sample() {
    VolumeFileData d;
    d.Quota.QuotaOn = true;
    d.Quota.Allowance = 3 * kMegabyte;
    d.Quota.AllowanceUnit = 0;
    d.Quota.WarnPercent1 = 50;
    d.Quota.WarnPercent2 = 100;
    d.Quota.AtFull = QuotaAction::HangUpAndHold;
    d.Quota.CountSent = false;
    d.Quota.Adapter = "ﾓﾊﾞｲﾙ 接続 #2";
    d.Counters.TodayDate = MakeDate(2026, 12, 7);
    d.Counters.Today = {1, UINT64_MAX};
    d.Counters.UserRenewTime = MakeDate(2027, 1, 1, 5, 0, 0);
    d.Counters.User = {uint64_t{5} << 40, 7};
    d.Counters.Marks = {true, false, true, true};
    d.Counters.ConnectionStart = MakeDate(2026, 12, 7, 9, 30, 15);
    d.Counters.Connection = {11, 12};
    d.Counters.TodayRunning = {13, 14};
    d.Counters.UserRunning = {15, 16};
    d.Display.htReceived = false;
    d.Display.gphVolume = true;
    d.Display.ExpVol = true;
    return d;
  }
};

}  // namespace

TEST_F(VolumeFiles, SettingsAndCountersRoundTrip) {
  VolumeFileData none;
  EXPECT_EQ(LoadVolumeFile(none), CheckedFileState::Missing);
  EXPECT_FALSE(std::filesystem::exists(Path(kVolumeFileName)));  // looking creates nothing
  EXPECT_EQ(none, VolumeFileData{});

  ASSERT_TRUE(SaveVolumeFile(Sample()));
  VolumeFileData back;
  EXPECT_EQ(LoadVolumeFile(back), CheckedFileState::Loaded);
  EXPECT_EQ(back, Sample());
  EXPECT_FALSE(std::filesystem::exists(Path("NwdUtil.vol.tmp")));

  // A body written before the display switches existed: the rest as it was, the switches default.
  const std::string good = ReadAll(Path(kVolumeFileName));
  const size_t bodyStart = 4 + 18 + 4 + 56 + 4 + kVolumeKindTag.size() + 2;
  const std::string older = good.substr(bodyStart, good.size() - 4 - 16 - bodyStart);
  const auto* b = reinterpret_cast<const unsigned char*>(older.data());
  WriteAll(Path(kVolumeFileName), good.substr(0, bodyStart) + older + nw::test::LE<uint32_t>(Crc32(b, older.size())));
  VolumeFileData expected = Sample();
  expected.Display = VolumeDisplaySettings{};
  EXPECT_EQ(LoadVolumeFile(back), CheckedFileState::Loaded);
  EXPECT_EQ(back, expected);
}

TEST_F(VolumeFiles, DamagedFilesReadAsEmptyAndSaySo) {
  ASSERT_TRUE(SaveVolumeFile(Sample()));
  const std::string good = ReadAll(Path(kVolumeFileName));
  const size_t header = 4 + 18 + 4 + 56 + 4 + kVolumeKindTag.size();  // the version follows
  std::string flipped = good, newer = good;
  flipped[header + 40] ^= 0x01;
  newer[header] = 2;
  const std::string damaged[] = {flipped, good.substr(0, good.size() - 1), good + '\0', newer, ""};
  for (const std::string& bytes : damaged) {
    WriteAll(Path(kVolumeFileName), bytes);
    VolumeFileData d;
    EXPECT_EQ(LoadVolumeFile(d), CheckedFileState::Damaged) << bytes.size();
    EXPECT_EQ(d, VolumeFileData{});
  }
  EXPECT_NE(VolumeFileDamagedLine(kVolumeFileName).find("NwdUtil.vol"), std::string::npos);
}

TEST_F(VolumeFiles, AFailedReplaceLeavesTheOldFile) {
  ASSERT_TRUE(SaveVolumeFile(Sample()));
  const std::string before = ReadAll(Path(kVolumeFileName));
  std::filesystem::create_directory(Path("NwdUtil.vol.tmp"));  // the new file cannot be made
  EXPECT_FALSE(SaveVolumeFile(VolumeFileData{}));
  EXPECT_EQ(ReadAll(Path(kVolumeFileName)), before);

  VolumeLog log;
  log.Set(3, MakeDate(2026, 12, 7), {1, 2});
  ASSERT_TRUE(log.Save(kDialVolume));
  const std::string logBefore = ReadAll(Path(kDialVolume.FileName));
  std::filesystem::create_directory(Path("NwdDial.vol.tmp"));
  log.Set(4, MakeDate(2026, 12, 8), {3, 4});
  EXPECT_FALSE(log.Save(kDialVolume));
  EXPECT_EQ(ReadAll(Path(kDialVolume.FileName)), logBefore);
}

TEST_F(VolumeFiles, ConnectionVolumeFollowsItsDialRecord) {
  const Date exe = MakeDate(2026, 12, 7, 8, 0, 0);
  const Date first = MakeDate(2026, 12, 7, 9, 0, 0), second = MakeDate(2026, 12, 7, 10, 0, 0);
  StartDialRecord(exe, first);
  EndDialRecord(MakeDate(2026, 12, 7, 9, 30, 0));
  EXPECT_TRUE(RecordDialVolume(first, {100, 200}).Written);
  StartDialRecord(exe, second);
  // Not ended yet (a run that did not end): the open slot is found by its start.
  EXPECT_TRUE(RecordDialVolume(second, {1, 2}).Written);
  EXPECT_FALSE(RecordDialVolume(MakeDate(2026, 12, 7, 11, 0, 0), {5, 5}).Written);  // no such record

  VolumeLog log;
  ASSERT_EQ(log.Load(kDialVolume), CheckedFileState::Loaded);
  EXPECT_EQ(log.Find(0, first), (VolumeAmount{100, 200}));
  EXPECT_EQ(log.Find(1, second), (VolumeAmount{1, 2}));
  // The slot reused by another connection (or the record's start edited) shows no stale volume.
  EXPECT_FALSE(log.Find(0, second));
  EXPECT_TRUE(log.Rekey(0, first, MakeDate(2026, 12, 7, 8, 59, 0)));
  EXPECT_EQ(log.Find(0, MakeDate(2026, 12, 7, 8, 59, 0)), (VolumeAmount{100, 200}));
  EXPECT_FALSE(log.Find(0, first));

  // A damaged volume file: told, and started anew with the new entry only.
  WriteAll(Path(kDialVolume.FileName), "broken");
  const VolumeRecordWrite w = RecordDialVolume(second, {3, 4});
  EXPECT_TRUE(w.Written);
  EXPECT_TRUE(w.Damaged);
  ASSERT_EQ(log.Load(kDialVolume), CheckedFileState::Loaded);
  EXPECT_FALSE(log.Find(0, first));
  EXPECT_EQ(log.Find(1, second), (VolumeAmount{3, 4}));
}

TEST_F(VolumeFiles, CounterVolumeMergesLikeItsRecord) {
  const Date day1 = MakeDate(2026, 12, 8), day2 = MakeDate(2026, 12, 9);
  // A manual reset and the renewal of the same day end up as one record, and one volume.
  AppendCounterRecord(kTodayLog, day1, 7200, 3);
  EXPECT_TRUE(RecordCounterVolume(kTodayLog, day1, {10, 20}).Written);
  AppendCounterRecord(kTodayLog, day1, 600, 1);
  EXPECT_TRUE(RecordCounterVolume(kTodayLog, day1, {1, 2}).Written);
  AppendCounterRecord(kTodayLog, day2, 60, 1);
  EXPECT_TRUE(RecordCounterVolume(kTodayLog, day2, {5, 5}).Written);
  // The history of the user counter is not kept: its record is missing, no volume is written.
  EXPECT_FALSE(RecordCounterVolume(kUserLog, day1, {9, 9}).Written);
  EXPECT_FALSE(std::filesystem::exists(Path(kUserVolume.FileName)));

  VolumeLog log;
  ASSERT_EQ(log.Load(VolumeLogFor(kTodayLog)), CheckedFileState::Loaded);
  EXPECT_EQ(log.Find(0, day1), (VolumeAmount{11, 22}));
  EXPECT_EQ(log.Find(1, day2), (VolumeAmount{5, 5}));
}
