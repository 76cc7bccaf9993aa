// One monitor cycle on its steady path (line up, nothing changes but the seconds) and one cycle
// with a transition (the line drops: status lines, counters, records, lock request).
#include <benchmark/benchmark.h>

#include "MonitorFakes.h"

namespace nw::test {
namespace {

void ConfigureRas(Harness& h) {
  h.settings.WayWatchEn = 1;
  h.settings.WatchEntries = {"Provider", "Office"};
  h.ras.conns = {{0x40, "Office", RasQuery::kConnected}, {0x41, "Provider", RasQuery::kConnected}};
  h.counters = {MakeDate(2026, 12, 7), 0, 0, MakeDate(2027, 1, 1), 0, 0};
}

void BM_SteadyCycleConnected(benchmark::State& state) {
  Harness h(MakeDate(2026, 12, 7, 9, 0, 0));
  ConfigureRas(h);
  h.settings.AdCutHangup = true;
  h.settings.AdCutTime = 1 << 30;
  h.settings.MaxCount = 32;
  Monitor& m = h.Start(true);
  h.Step(1);
  m.LockBtnAction(true);
  for (auto _ : state) {
    h.Advance(1);
    m.Looker_Timer();
  }
  benchmark::DoNotOptimize(h.view.caption);
}
BENCHMARK(BM_SteadyCycleConnected);

void BM_SteadyCycleDisconnected(benchmark::State& state) {
  Harness h(MakeDate(2026, 12, 7, 9, 0, 0));
  h.counters = {MakeDate(2026, 12, 7), 0, 0, MakeDate(2027, 1, 1), 0, 0};
  h.settings.MaxCount = 32;
  Monitor& m = h.Start();
  for (auto _ : state) {
    h.Advance(1);
    m.Looker_Timer();
  }
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
  for (auto _ : state) {
    h.ras.conns.clear();
    h.dialer.running = false;
    h.Advance(1);
    m.Looker_Timer();
    h.ras.conns = up;
    h.dialer.running = false;
    h.Advance(1);
    m.Looker_Timer();
  }
  state.SetItemsProcessed(state.iterations() * 2);
  benchmark::DoNotOptimize(h.store.dialEnds.size());
  if (h.store.dialEnds.size() > 100000) h.store.dialEnds.clear();
}
BENCHMARK(BM_TransitionCycles);

}  // namespace
}  // namespace nw::test
