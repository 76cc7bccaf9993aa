// One monitor cycle on its steady path (line up, nothing changes but the seconds) and one cycle
// with a transition (the line drops: status lines, counters, records, lock request). The steady
// connected cycles run without volume counting (/0) and with it (/1: traffic every cycle, a quota
// with its daily allowance), so one run gives both.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "MonitorFakes.h"

#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

// Heap allocations, counted for the allocations-per-cycle figure.
static std::atomic<long> g_allocs{0};
void* operator new(std::size_t n) {
  ++g_allocs;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace nw::test {
namespace {

// Runs `cycle` per iteration and reports heap allocations per cycle.
template <typename F>
void Measure(benchmark::State& state, int cyclesPerIteration, F&& cycle) {
  const long before = g_allocs.load();
  for (auto _ : state) cycle();
  state.counters["allocs/cycle"] = benchmark::Counter(
      static_cast<double>(g_allocs.load() - before) / static_cast<double>(state.iterations() * cyclesPerIteration));
}

void ConfigureRas(Harness& h) {
  h.settings.WayWatchEn = 1;
  h.settings.WatchEntries = {"Provider", "Office"};
  h.ras.conns = {{0x40, "Office", RasQuery::kConnected}, {0x41, "Provider", RasQuery::kConnected}};
  h.counters = {MakeDate(2026, 12, 7), 0, 0, MakeDate(2027, 1, 1), 0, 0};
}

// /1: the line's counters move every cycle and a quota is on; /0: no traffic source.
void ConfigureVolume(Harness& h, const benchmark::State& state) {
  h.countVolume = state.range(0) != 0;
  h.traffic.valid = true;
  h.volume.Quota.QuotaOn = true;
  h.volume.Quota.Allowance = uint64_t{1} << 40;
}

// Traffic of one cycle: a few kilobytes, different every time.
void MoveTraffic(Harness& h) { h.traffic.Add(1200 + (h.traffic.reads & 7), 9000 + (h.traffic.reads & 15)); }

void BM_SteadyCycleConnected(benchmark::State& state) {
  Harness h(MakeDate(2026, 12, 7, 9, 0, 0));
  ConfigureRas(h);
  ConfigureVolume(h, state);
  h.settings.AdCutHangup = true;
  h.settings.AdCutTime = 1 << 30;
  h.settings.MaxCount = 32;
  Monitor& m = h.Start(true);
  h.Step(1);
  m.LockBtnAction(true);
  Measure(state, 1, [&] {
    MoveTraffic(h);
    h.Advance(1);
    m.Looker_Timer();
  });
  benchmark::DoNotOptimize(h.view.caption);
}
BENCHMARK(BM_SteadyCycleConnected)->Arg(0)->Arg(1);

// The 100 ms timer: ten cycles a second, nine of them within the same second.
void BM_SteadyCycleConnected100ms(benchmark::State& state) {
  Harness h(MakeDate(2026, 12, 7, 9, 0, 0));
  ConfigureRas(h);
  ConfigureVolume(h, state);
  h.settings.MaxCount = 32;
  Monitor& m = h.Start(true);
  h.Step(1);
  m.LockBtnAction(true);
  int n = 0;
  Measure(state, 1, [&] {
    MoveTraffic(h);
    h.clock.tick += 100;
    if (++n % 10 == 0) h.clock.now = AddSeconds(h.clock.now, 1);
    m.Looker_Timer();
  });
  benchmark::DoNotOptimize(h.view.caption);
}
BENCHMARK(BM_SteadyCycleConnected100ms)->Arg(0)->Arg(1);

void BM_SteadyCycleDisconnected(benchmark::State& state) {
  Harness h(MakeDate(2026, 12, 7, 9, 0, 0));
  h.counters = {MakeDate(2026, 12, 7), 0, 0, MakeDate(2027, 1, 1), 0, 0};
  h.settings.MaxCount = 32;
  Monitor& m = h.Start();
  Measure(state, 1, [&] {
    h.Advance(1);
    m.Looker_Timer();
  });
  benchmark::DoNotOptimize(h.view.posTim);
}
BENCHMARK(BM_SteadyCycleDisconnected);

// Each iteration: the line drops (disconnect transition, lock dial request), then comes back.
void BM_TransitionCycles(benchmark::State& state) {
  Harness h(MakeDate(2026, 12, 7, 9, 0, 0));
  ConfigureRas(h);
  h.settings.MaxCount = 32;
  Monitor& m = h.Start(true);
  h.Step(1);
  m.LockBtnAction(true);
  const auto up = h.ras.conns;
  Measure(state, 2, [&] {
    h.ras.conns.clear();
    h.dialer.running = false;
    h.Advance(1);
    m.Looker_Timer();
    h.ras.conns = up;
    h.dialer.running = false;
    h.Advance(1);
    m.Looker_Timer();
    // The fakes' records would otherwise grow without end.
    h.store.events.clear();
    h.store.savedBlocks.clear();
    h.store.dialStarts.clear();
    h.store.dialEnds.clear();
  });
  state.SetItemsProcessed(state.iterations() * 2);
  benchmark::DoNotOptimize(h.store.dialEnds.size());
}
BENCHMARK(BM_TransitionCycles);

}  // namespace
}  // namespace nw::test
