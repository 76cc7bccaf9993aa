// Damaged data files by the thousand: random mutations of valid files must never crash, hang,
// allocate beyond what the file holds, or make a writer reach outside its ring.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>

#include "TestFiles.h"
#include "data/NWDGlobal.h"
#include "data/NWDLogFiles.h"

namespace {

// The largest single allocation while watching.
std::atomic<bool> g_watch{false};
std::atomic<size_t> g_largest{0};

void* Allocate(size_t n) {
  if (g_watch.load(std::memory_order_relaxed)) {
    size_t seen = g_largest.load(std::memory_order_relaxed);
    while (n > seen && !g_largest.compare_exchange_weak(seen, n)) {
    }
  }
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(size_t n) { return Allocate(n); }
void* operator new[](size_t n) { return Allocate(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }

using namespace nw;
using nw::test::ReadAll;
using nw::test::TempFolder;
using nw::test::WriteAll;

namespace {

class Mutator {
 public:
  explicit Mutator(uint32_t seed) : rng_(seed) {}

  std::string Damage(std::string b) {
    const int edits = Pick(1, 4);
    for (int e = 0; e < edits; ++e) {
      switch (Pick(0, 4)) {
        case 0:  // flip a byte
          if (!b.empty()) b[Index(b)] = static_cast<char>(Pick(0, 255));
          break;
        case 1:  // a length or count gone wild
          if (b.size() >= 4) {
            static constexpr int32_t wild[] = {-1, -2, 0, 64, 65, 258, 259, 300, 999, 1000, 0x10000, 0x7FFFFFFF,
                                               INT32_MIN};
            const int32_t v = wild[Pick(0, std::size(wild) - 1)];
            const size_t at = Index(b);
            for (size_t k = 0; k < 4 && at + k < b.size(); ++k) b[at + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
          }
          break;
        case 2:  // cut short
          b.resize(b.empty() ? 0 : Index(b));
          break;
        case 3:  // trailing garbage
          for (int k = Pick(1, 64); k > 0; --k) b += static_cast<char>(Pick(0, 255));
          break;
        default:  // a double-byte lead byte in text
          if (!b.empty()) b[Index(b)] = static_cast<char>(0x81 + Pick(0, 0x1E));
          break;
      }
    }
    return b;
  }

 private:
  size_t Index(const std::string& b) { return static_cast<size_t>(Pick(0, static_cast<int>(b.size()) - 1)); }
  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  std::mt19937 rng_;
};

SettingsFileData Sample() {
  SettingsFileData d;
  SetDefaults(d, {19200, 14400});
  d.Counters = {MakeDate(2003, 1, 1), 3725, 4, MakeDate(2003, 2, 1), 90061, 12};
  d.Settings.WatchEntries = {"会社VPN", "ﾀﾞｲﾔﾙｱｯﾌﾟ", "x"};
  d.Settings.RsSetInfo = {{"標準", "会社VPN", "山田", "p@ss"}, {"予備", "dial", "", ""}};
  d.Settings.CounterName = "月額ﾌﾟﾗﾝ";
  return d;
}

size_t AllowedFor(size_t fileSize) { return 16 * fileSize + 64 * 1024; }

struct DataFilesFuzz : ::testing::Test {
  TempFolder dir{"nwfuzz"};
  void SetUp() override { SetProgramFolder(dir.Utf8()); }

  // Runs `op` watching allocations; fails when one exceeds what the file size allows.
  template <class Op>
  void Watched(size_t fileSize, Op op, int round) {
    g_largest = 0;
    g_watch = true;
    op();
    g_watch = false;
    EXPECT_LE(g_largest.load(), AllowedFor(fileSize)) << "round " << round;
  }
};

}  // namespace

TEST_F(DataFilesFuzz, LoadSettingsSurvivesDamage) {
  ASSERT_TRUE(SaveSettings(Sample(), LiveWindowState{1, true, true, 100, 200}));
  const std::string valid = ReadAll(dir.FsPath("NwdUtil.dat"));
  Mutator m(20261207);
  for (int round = 0; round < 3000; ++round) {
    const std::string damaged = m.Damage(valid);
    WriteAll(dir.FsPath("NwdUtil.dat"), damaged);
    SettingsFileData d;
    Watched(damaged.size(), [&] { LoadSettings(d, {19200, 14400}); }, round);
    EXPECT_LE(d.Settings.WatchEntries.size(), damaged.size() / 4 + 1);
    if (round % 50 != 0) continue;
    // Whatever was read is a value the file can hold: saved and read again, it stays the same.
    const LiveWindowState live{d.SavedWindowState[SwDisplayMode], d.SavedWindowState[SwLockShown] != 0,
                               d.SavedWindowState[SwTrayIn] != 0, d.SavedWindowState[SwLeft],
                               d.SavedWindowState[SwTop]};
    ASSERT_TRUE(SaveSettings(d, live));
    const std::string once = ReadAll(dir.FsPath("NwdUtil.dat"));
    SettingsFileData again;
    LoadSettings(again, {19200, 14400});
    ASSERT_TRUE(SaveSettings(again, live));
    EXPECT_EQ(ReadAll(dir.FsPath("NwdUtil.dat")), once) << "round " << round;
  }
}

TEST_F(DataFilesFuzz, LogReadersAndWritersStayInsideTheRing) {
  for (int i = 0; i < 40; ++i) {
    StartDialRecord(MakeDate(2026, 1, 1), MakeDate(2026, 1, 1, 1, i, 0));
    EndDialRecord(MakeDate(2026, 1, 1, 2, i, 0));
    AppendCounterRecord(kTodayLog, MakeDate(2026, 1, 1 + i), i, 1);
    AppendCounterRecord(kUserLog, MakeDate(2026, 1 + i, 1), i, 1);
  }
  Mutator m(7);
  for (const LogFileKind* kind : {&kDialLog, &kTodayLog, &kUserLog}) {
    const std::string valid = ReadAll(dir.FsPath(kind->FileName));
    const size_t ringEnd = 124 + kLogCapacity * static_cast<size_t>(kind->RecordSize);
    for (int round = 0; round < 1000; ++round) {
      const std::string damaged = m.Damage(valid);
      WriteAll(dir.FsPath(kind->FileName), damaged);
      Watched(damaged.size(), [&] {
        HistoryLog log;
        if (!log.Open(*kind)) return;
        const LogRing ring = log.Ring();
        ASSERT_GE(ring.NextSlot, 0);
        ASSERT_LT(ring.NextSlot, kLogCapacity);
        for (int32_t i = 0; i < RecordCount(ring); ++i) {
          DialRecord dr;
          CounterRecord cr;
          const int32_t slot = SlotNewestFirst(ring, i);
          ASSERT_TRUE(kind->RecordSize == 24 ? log.ReadDial(slot, dr) : log.ReadCounter(slot, cr));
        }
      }, round);
      if (kind == &kDialLog) {
        StartDialRecord(MakeDate(2026, 2, 1), MakeDate(2026, 2, 1, 1, 0, 0));
        EndDialRecord(MakeDate(2026, 2, 1, 2, 0, 0));
      } else {
        AppendCounterRecord(*kind, MakeDate(2026, 3, 1), 1, 1);
      }
      EXPECT_LE(ReadAll(dir.FsPath(kind->FileName)).size(), std::max(damaged.size(), ringEnd)) << round;
    }
  }
}
