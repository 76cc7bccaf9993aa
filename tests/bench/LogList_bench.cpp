// A full page of the connection list: 999 records of a wrapped log, opened, read and formatted
// into rows, against a plain read of the same bytes. The page fill reports its time as a multiple
// of the plain read ("x_raw"); the target is at most 3.
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <vector>

#include "TestFiles.h"
#include "data/NWDGlobal.h"
#include "data/NWDLogFiles.h"
#include "history/NWDLogListModel.h"

namespace nw::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPage = 999;

// 1500 connections: the ring has wrapped and NextSlot is 500.
struct WrappedDialLog {
  TempFolder dir{"nwbench"};
  WrappedDialLog() {
    SetProgramFolder(dir.Utf8());
    const Date watch = MakeDate(2026, 1, 1, 8, 0, 0);
    for (int i = 0; i < 1500; ++i) {
      const Date start = AddSeconds(watch, int64_t{i} * 3600);
      StartDialRecord(watch, start);
      EndDialRecord(AddSeconds(start, 600 + i));
    }
  }
};

WrappedDialLog& Log() {
  static WrappedDialLog log;
  return log;
}

double g_rawSecondsPerRead = 0;

template <typename F>
double SecondsPerIteration(benchmark::State& state, F&& body) {
  const auto t0 = Clock::now();
  for (auto _ : state) body();
  return std::chrono::duration<double>(Clock::now() - t0).count() / static_cast<double>(state.iterations());
}

// What any reader must do at least: open the file, take NextSlot from the header and read the 999
// records' bytes in their two runs (behind NextSlot to slot 999, then from slot 0).
void BM_RawRead999Records(benchmark::State& state) {
  const auto path = Log().dir.FsPath(kDialLog.FileName);
  constexpr int64_t kNextSlotAt = 119;  // 0-based: behind the 117-byte header and Wrapped
  constexpr int64_t kDataAt = 123;
  std::vector<char> records(kPage * 24);
  g_rawSecondsPerRead = SecondsPerIteration(state, [&] {
    std::ifstream in(path, std::ios::binary);
    int32_t next = 0;
    in.seekg(kNextSlotAt);
    in.read(reinterpret_cast<char*>(&next), sizeof next);
    const int32_t older = kLogCapacity - 1 - next;  // slots next + 1 .. 999
    in.seekg(kDataAt + (next + 1) * 24);
    in.read(records.data(), older * 24);
    in.seekg(kDataAt);
    in.read(records.data() + older * 24, next * 24);
    benchmark::DoNotOptimize(records.data());
    if (!in) state.SkipWithError("the log could not be read");
  });
  state.SetBytesProcessed(state.iterations() * kPage * 24);
}
BENCHMARK(BM_RawRead999Records);

// The same records through the data layer's record reader (a read per field), without formatting:
// how much of a fill the reading takes.
void BM_ReadPageThroughHistoryLog(benchmark::State& state) {
  Log();
  for (auto _ : state) {
    HistoryLog log;
    log.Open(kDialLog);
    DialRecord r;
    for (int32_t i = 0; i < kPage; ++i) log.ReadDial(SlotOldestFirst(log.Ring(), i), r);
    benchmark::DoNotOptimize(r);
  }
  state.SetItemsProcessed(state.iterations() * kPage);
}
BENCHMARK(BM_ReadPageThroughHistoryLog);

void BM_FillFullPage(benchmark::State& state) {
  Log();
  HistoryDisplaySettings h;
  h.hisShowMaw[LogDial] = kPage - 1;
  h.hisMoveMax[LogDial] = kPage / 2;
  const VolumeDisplaySettings volume;  // the volume columns on, their file missing
  NWDLogListModel model(h, volume, "ﾕｰｻﾞｰ");
  if (model.Fill(LogDial, ShowNewest).Rows.size() != kPage) state.SkipWithError("the page is not full");
  const double fill = SecondsPerIteration(state, [&] {
    HistoryPageFill page = model.Fill(LogDial, ShowNewest);
    benchmark::DoNotOptimize(page.Rows.data());
  });
  state.SetItemsProcessed(state.iterations() * kPage);
  if (g_rawSecondsPerRead > 0) state.counters["x_raw"] = fill / g_rawSecondsPerRead;
}
BENCHMARK(BM_FillFullPage);

}  // namespace
}  // namespace nw::test
