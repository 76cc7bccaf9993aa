#include <gtest/gtest.h>

#include <bit>

#include "TestFiles.h"
#include "classlib/otkCodePage932.h"
#include "classlib/otkFileString.h"
#include "data/NWDGlobal.h"
#include "data/NWDLogFiles.h"

using namespace nw;
using nw::test::LE;
using nw::test::ReadAll;
using nw::test::TempFolder;
using nw::test::WriteAll;

namespace {

std::string D(Date d) { return LE<uint64_t>(std::bit_cast<uint64_t>(d)); }

std::string Str(std::string_view s) { return LE<int32_t>(static_cast<int32_t>(s.size())) + std::string(s); }

std::string Header(const LogFileKind& k) {
  return Str("Orvin.T.K. NetWard") + Str("Orvin.T.K. Soft By R.W. NetWard(NetWardDialupLineKeeper)") +
         Str(k.KindTag) + LE<int16_t>(k.Version);
}

const Date kMonitorStart = MakeDate(2026, 12, 7, 8, 0, 0);
Date Minute(int n) { return MakeDate(2026, 12, 7, 9, n, 0); }

struct LogFiles : ::testing::Test {
  TempFolder dir{"nwlogs"};
  void SetUp() override { SetProgramFolder(dir.Utf8()); }
  std::string Bytes(const LogFileKind& k) { return ReadAll(dir.FsPath(k.FileName)); }
  LogRing Ring(const LogFileKind& k) {
    HistoryLog log;
    EXPECT_TRUE(log.Open(k));
    return log.Ring();
  }
  CounterRecord Counter(const LogFileKind& k, int32_t slot) {
    HistoryLog log;
    CounterRecord r;
    EXPECT_TRUE(log.Open(k) && log.ReadCounter(slot, r));
    return r;
  }
  DialRecord Dial(int32_t slot) {
    HistoryLog log;
    DialRecord r;
    EXPECT_TRUE(log.Open(kDialLog) && log.ReadDial(slot, r));
    return r;
  }
};

}  // namespace

TEST_F(LogFiles, FirstConnectionLayout) {
  StartDialRecord(kMonitorStart, Minute(0));
  const std::string started = Bytes(kDialLog);
  EXPECT_EQ(started, Header(kDialLog) + LE<int16_t>(0) + LE<int32_t>(0) + D(kMonitorStart) + D(Minute(0)));
  EXPECT_EQ(Header(kDialLog).size(), 117u);

  EndDialRecord(Minute(5));
  const std::string ended = Bytes(kDialLog);
  ASSERT_EQ(ended.size(), 147u);
  EXPECT_EQ(ended.substr(117, 6), LE<int16_t>(0) + LE<int32_t>(1));
  EXPECT_EQ(ended.substr(139), D(Minute(5)));
  EXPECT_EQ(Dial(0), (DialRecord{kMonitorStart, Minute(0), Minute(5)}));
}

TEST_F(LogFiles, TodayLogDataStartsOneByteLater) {
  const Date midnight = MakeDate(2026, 12, 8);
  AppendCounterRecord("NwdTday.log", "Orvin.T.K. NetWardSaveTodayLog", 0, 1000, midnight, 7200, 3);
  const std::string b = Bytes(kTodayLog);
  ASSERT_EQ(b.size(), 124u + 16u);
  EXPECT_EQ(b.substr(0, 118), Header(kTodayLog));
  EXPECT_EQ(b.substr(118, 6), LE<int16_t>(0) + LE<int32_t>(1));
  EXPECT_EQ(b.substr(124), D(midnight) + LE<int32_t>(7200) + LE<int32_t>(3));
  EXPECT_EQ(Ring(kTodayLog).DataStart, 125);
  EXPECT_EQ(Ring(kUserLog).DataStart, 124);
  EXPECT_EQ(Ring(kDialLog).DataStart, 124);
  EXPECT_EQ(&LogFileKindFor(LogGraph), &kTodayLog);
  EXPECT_EQ(&LogFileKindFor(LogUser), &kUserLog);
}

TEST_F(LogFiles, RingWrapsAtTheThousandthRecord) {
  for (int i = 0; i < 1000; ++i) {
    StartDialRecord(kMonitorStart, FromSeconds(ToSeconds(Minute(0)) + i * 60));
    EndDialRecord(FromSeconds(ToSeconds(Minute(0)) + i * 60 + 30));
  }
  LogRing ring = Ring(kDialLog);
  EXPECT_TRUE(ring.Wrapped);
  EXPECT_EQ(ring.NextSlot, 0);
  EXPECT_EQ(Dial(999).DialStart, FromSeconds(ToSeconds(Minute(0)) + 999 * 60));
  EXPECT_EQ(Bytes(kDialLog).size(), 123u + 1000u * 24u);

  StartDialRecord(kMonitorStart, MakeDate(2027, 1, 1));  // the 1001st overwrites slot 0
  EXPECT_EQ(Dial(0).DialStart, MakeDate(2027, 1, 1));
  EXPECT_EQ(Dial(0).DialEnd, FromSeconds(ToSeconds(Minute(0)) + 30));  // not yet ended
  EndDialRecord(MakeDate(2027, 1, 2));
  ring = Ring(kDialLog);
  EXPECT_TRUE(ring.Wrapped);
  EXPECT_EQ(ring.NextSlot, 1);
  EXPECT_EQ(Bytes(kDialLog).size(), 123u + 1000u * 24u);  // never grows beyond the ring
}

TEST_F(LogFiles, ReadersOrderTheRing) {
  LogRing ring{false, 3, 124};
  EXPECT_EQ(RecordCount(ring), 3);
  EXPECT_EQ(SlotNewestFirst(ring, 0), 2);
  EXPECT_EQ(SlotNewestFirst(ring, 2), 0);
  EXPECT_EQ(SlotNewestFirst(ring, 3), -1);
  EXPECT_EQ(SlotOldestFirst(ring, 0), 0);

  ring = {true, 2, 124};  // slot 2 is reused next and is not shown
  EXPECT_EQ(RecordCount(ring), 999);
  EXPECT_EQ(SlotNewestFirst(ring, 0), 1);
  EXPECT_EQ(SlotNewestFirst(ring, 1), 0);
  EXPECT_EQ(SlotNewestFirst(ring, 2), 999);
  EXPECT_EQ(SlotNewestFirst(ring, 998), 3);
  EXPECT_EQ(SlotOldestFirst(ring, 0), 3);
  EXPECT_EQ(SlotOldestFirst(ring, 998), 1);
  EXPECT_EQ(SlotNewestFirst(LogRing{true, 0, 124}, 0), 999);
}

TEST_F(LogFiles, SameResetDateMerges) {
  const Date midnight = MakeDate(2026, 12, 8);
  AppendCounterRecord(kTodayLog, MakeDate(2026, 12, 7), 100, 1);
  AppendCounterRecord(kTodayLog, midnight, 7200, 3);
  AppendCounterRecord(kTodayLog, midnight, 600, 1);
  EXPECT_EQ(Ring(kTodayLog).NextSlot, 2);
  EXPECT_EQ(Counter(kTodayLog, 1), (CounterRecord{midnight, 7800, 4}));
  EXPECT_EQ(Counter(kTodayLog, 0), (CounterRecord{MakeDate(2026, 12, 7), 100, 1}));
  AppendCounterRecord(kTodayLog, MakeDate(2026, 12, 9), 1, 1);
  EXPECT_EQ(Ring(kTodayLog).NextSlot, 3);
}

TEST_F(LogFiles, MergeAcrossTheRingBoundaryUsesTheNewestRecord) {
  for (int i = 0; i < 1000; ++i) AppendCounterRecord(kUserLog, MakeDate(2000, 1, 1 + i), i, 1);
  LogRing ring = Ring(kUserLog);
  ASSERT_TRUE(ring.Wrapped);
  ASSERT_EQ(ring.NextSlot, 0);
  AppendCounterRecord(kUserLog, MakeDate(2000, 1, 1000), 1, 1);  // same period as slot 999
  ring = Ring(kUserLog);
  EXPECT_EQ(ring.NextSlot, 0);
  EXPECT_EQ(Counter(kUserLog, 999), (CounterRecord{MakeDate(2000, 1, 1000), 1000, 2}));
  EXPECT_EQ(Counter(kUserLog, 0), (CounterRecord{MakeDate(2000, 1, 1), 0, 1}));
}

TEST_F(LogFiles, MergedSumsSaturate) {
  AppendCounterRecord(kUserLog, MakeDate(2026, 1, 1), INT32_MAX - 5, 1);
  AppendCounterRecord(kUserLog, MakeDate(2026, 1, 1), 100, 1);
  EXPECT_EQ(Counter(kUserLog, 0).PlusTime, INT32_MAX);
}

TEST_F(LogFiles, NoPeriodWritesNothing) {
  AppendCounterRecord(kTodayLog, 0, 7200, 3);
  EXPECT_EQ(otkFileString::FileKindOf(dir.File("NwdTday.log")), 0);
}

TEST_F(LogFiles, ForeignOrDamagedLogIsReinitialised) {
  AppendCounterRecord(kUserLog, MakeDate(2026, 1, 1), 5, 1);
  AppendCounterRecord(kUserLog, MakeDate(2026, 2, 1), 5, 1);
  std::filesystem::copy_file(dir.FsPath("NwdUser.log"), dir.FsPath("NwdTday.log"));
  const LogRing ring = Ring(kTodayLog);
  EXPECT_FALSE(ring.Wrapped);
  EXPECT_EQ(ring.NextSlot, 0);
  EXPECT_EQ(Bytes(kTodayLog).substr(0, 124), Header(kTodayLog) + LE<int16_t>(0) + LE<int32_t>(0));

  // A NextSlot outside the ring would write anywhere: the log starts over instead.
  for (int32_t bad : {-5, 1000, 0x7FFFFFFF}) {
    WriteAll(dir.FsPath("NwdDial.log"), Header(kDialLog) + LE<int16_t>(-1) + LE<int32_t>(bad));
    StartDialRecord(kMonitorStart, Minute(1));
    EndDialRecord(Minute(2));
    EXPECT_EQ(Bytes(kDialLog).size(), 147u) << bad;
    EXPECT_EQ(Ring(kDialLog).NextSlot, 1) << bad;
    EXPECT_FALSE(Ring(kDialLog).Wrapped) << bad;
  }
}

TEST_F(LogFiles, OtherVersionIsReinitialisedAndItsRecordsNoLongerCount) {
  WriteAll(dir.FsPath("NwdDial.log"), Str("Orvin.T.K. NetWard") +
                                         Str("Orvin.T.K. Soft By R.W. NetWard(NetWardDialupLineKeeper)") +
                                         Str(kDialLog.KindTag) + LE<int16_t>(0) + LE<int16_t>(-1) + LE<int32_t>(7));
  EXPECT_EQ(Ring(kDialLog).NextSlot, 0);

  // A counter log of a newer version: re-initialised, its slot 0 still holds an old record of the
  // same date, and the first new record is not merged with it.
  const Date midnight = MakeDate(2026, 12, 8);
  AppendCounterRecord(kTodayLog, midnight, 7200, 3);
  std::string bytes = Bytes(kTodayLog);
  bytes.replace(Header(kTodayLog).size() - 2, 2, LE<int16_t>(1));
  WriteAll(dir.FsPath("NwdTday.log"), bytes);
  AppendCounterRecord(kTodayLog, midnight, 600, 1);
  EXPECT_EQ(Ring(kTodayLog).NextSlot, 1);
  EXPECT_EQ(Counter(kTodayLog, 0), (CounterRecord{midnight, 600, 1}));
}

TEST_F(LogFiles, EditingRewritesOneRecordInPlace) {
  for (int i = 0; i < 3; ++i) {
    StartDialRecord(kMonitorStart, Minute(i * 10));
    EndDialRecord(Minute(i * 10 + 5));
  }
  {
    HistoryLog log;
    ASSERT_TRUE(log.Open(kDialLog));
    EXPECT_TRUE(log.WriteDial(1, DialRecord{kMonitorStart, Minute(11), Minute(12)}));
    CounterRecord wrongKind;
    EXPECT_FALSE(log.ReadCounter(1, wrongKind));
    EXPECT_FALSE(log.WriteDial(1000, DialRecord{}));
  }
  EXPECT_EQ(Dial(1), (DialRecord{kMonitorStart, Minute(11), Minute(12)}));
  EXPECT_EQ(Dial(2).DialStart, Minute(20));
  EXPECT_EQ(Ring(kDialLog).NextSlot, 3);
}

TEST_F(LogFiles, UnopenableLogIsSkippedQuietly) {
  SetProgramFolder(dir.Utf8() + "\\gone");
  StartDialRecord(kMonitorStart, Minute(0));
  EndDialRecord(Minute(1));
  AppendCounterRecord(kTodayLog, MakeDate(2026, 1, 1), 1, 1);
  HistoryLog log;
  EXPECT_FALSE(log.Open(kDialLog));
  DialRecord r;
  EXPECT_FALSE(log.ReadDial(0, r));
}
