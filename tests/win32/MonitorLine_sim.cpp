// The monitor's Win32 adapters against the line simulator: the probe over WinInet and RAS, and
// starting and watching Linkpilot.
#include <gtest/gtest.h>

#include <cmath>

#include "MonitorFakes.h"
#include "SimRasRecords.h"
#include "SimTestSupport.h"
#include "classlib/win32/WinText.h"
#include "monitor/win32/SystemClock.h"
#include "monitor/win32/otkRASCheck.h"
#include "monitor/win32/otkShellWatch.h"

namespace nw::test {
namespace {

linesim::Entry Entry(const char* name) {
  linesim::Entry e;
  e.Name = name;
  return e;
}

// A monitor whose probe talks to the simulator; everything else is faked.
struct ProbeSim : simtest::SimTest {
  otkRASCheck ras;
  otkInternetCheck internet;
  Harness h{MakeDate(2026, 12, 7, 9, 0, 0)};
  std::unique_ptr<Monitor> m;

  void Build(int wayWatchEn, std::vector<std::string> watched = {}) {
    h.settings.WayWatchEn = wayWatchEn;
    h.settings.WatchEntries = std::move(watched);
    m = std::make_unique<Monitor>(h.settings, h.counters,
                                  MonitorPorts{h.clock, internet, ras, h.dialer, h.store, h.view, h.notice}, "C:\\");
    h.notice.monitor = m.get();
  }
  int32_t Probe() {
    auto r = m->ProbeLine();
    EXPECT_TRUE(r.Ok);
    return r.Connected;
  }
};

TEST_F(ProbeSim, WinInetWayFollowsTheOnlineFlag) {
  Build(0);
  EXPECT_EQ(Probe(), 0);
  Set([](linesim::State& s) { s.Online = true; });
  EXPECT_EQ(Probe(), 1);
  EXPECT_FALSE(Calls("InternetGetConnectedState").empty());
}

TEST_F(ProbeSim, RasWayWithTwoConnectionsOnlyTheSecondWatched) {
  Set([](linesim::State& s) {
    s.AddConnection("Home", linesim::kStateConnected);
    s.AddConnection("Office", linesim::kStateAuthenticate);
  });
  Build(1, {"Office"});
  EXPECT_EQ(Probe(), 0);
  ASSERT_EQ(m->WatchedHandles().size(), 1u);
  Set([](linesim::State& s) { s.Connections[1].State = linesim::kStateConnected; });
  EXPECT_EQ(Probe(), 1);
  Set([](linesim::State& s) {
    s.Connections[0].State = linesim::kStateDisconnected;
    s.Connections[1].State = linesim::kStateAuthenticated;
  });
  EXPECT_EQ(Probe(), 0);
  h.settings.WatchDetail = 14;  // threshold: authenticated counts
  EXPECT_EQ(Probe(), 1);
}

TEST_F(ProbeSim, StateDisconnectedNeverCountsEvenAtThresholdZero) {
  Set([](linesim::State& s) { s.AddConnection("Office", linesim::kStateDisconnected); });
  Build(1, {"Office"});
  h.settings.WatchDetail = 0;
  EXPECT_EQ(Probe(), 0);
  Set([](linesim::State& s) { s.Connections[0].State = linesim::kStateOpenPort; });
  EXPECT_EQ(Probe(), 1);
}

TEST_F(ProbeSim, EntryNamesDifferingInCaseDoNotMatch) {
  Set([](linesim::State& s) { s.AddConnection("OFFICE", linesim::kStateConnected); });
  Build(1, {"Office"});
  EXPECT_EQ(Probe(), 0);
  EXPECT_FALSE(ras.IsEntryConnected("Office"));
  EXPECT_TRUE(ras.IsEntryConnected("OFFICE"));
}

TEST_F(ProbeSim, MoreThan32ConnectionsMakeTheProbeFail) {
  Set([](linesim::State& s) {
    for (int i = 0; i < 33; ++i) s.AddConnection("Office", linesim::kStateConnected);
  });
  Build(1, {"Office"});
  EXPECT_FALSE(m->ProbeLine().Ok);
  Set([](linesim::State& s) { s.RemoveConnection(s.Connections[0].Handle); });
  EXPECT_EQ(Probe(), 1);
}

TEST_F(ProbeSim, JapaneseEntryNamesAndThePhonebook) {
  Set([](linesim::State& s) {
    s.Entries.push_back(Entry("自宅"));
    s.Entries.push_back(Entry("会社 VPN"));
    s.AddConnection("自宅", linesim::kStateConnected);
  });
  std::vector<std::string> names;
  ASSERT_TRUE(ras.EnumEntries(names));
  EXPECT_EQ(names, (std::vector<std::string>{"自宅", "会社 VPN"}));
  RasConnectionList list;
  ASSERT_TRUE(ras.EnumConnections(RasWantHandles | RasWantEntries | RasWantDevices, list));
  ASSERT_EQ(list.Count, 1);
  EXPECT_EQ(list.EntryNames[0], "自宅");
  EXPECT_EQ(list.DeviceNames[0], "Simulated Modem");
  Build(1, {"自宅"});
  EXPECT_EQ(Probe(), 1);
  const auto calls = Calls("RasEnumConnectionsA");
  ASSERT_FALSE(calls.empty());
}

// The probe's record forms as the simulated system of this architecture knows them: the
// connection form with device names (32 of them), the status and the entry names (256).
TEST_F(ProbeSim, QueriesUseThisArchitecturesRecordSizes) {
  Set([](linesim::State& s) {
    s.Entries.push_back(Entry("Office"));
    s.AddConnection("Office", linesim::kStateConnected);
  });
  Build(1, {"Office"});
  EXPECT_EQ(Probe(), 1);
  std::vector<std::string> names;
  ASSERT_TRUE(ras.EnumEntries(names));
  const auto conns = Calls("RasEnumConnectionsA");
  ASSERT_FALSE(conns.empty());
  const auto str = [](size_t v) { return std::to_string(v); };
  EXPECT_EQ(conns[0].Arg("size"), str(sizeof(linesim::rec::ConnNT4)));
  EXPECT_EQ(conns[0].Arg("cb"), str(32 * sizeof(linesim::rec::ConnNT4)));
  const auto status = Calls("RasGetConnectStatusA");
  ASSERT_FALSE(status.empty());
  EXPECT_EQ(status[0].Arg("size"), str(sizeof(linesim::rec::StatusNT4)));
  const auto entries = Calls("RasEnumEntriesA");
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries[0].Arg("size"), str(sizeof(linesim::rec::EntryNameNT4)));
  EXPECT_EQ(entries[0].Arg("cb"), str(256 * sizeof(linesim::rec::EntryNameNT4)));
  // A system that does not know the record with device names: the probe cannot answer.
  Set([](linesim::State& s) { s.ConnSizes = {sizeof(linesim::rec::ConnXP)}; });
  EXPECT_FALSE(m->ProbeLine().Ok);
}

struct DialerSim : simtest::SimTest {};

TEST_F(DialerSim, StartsLinkpilotBusyWhileItRunsFreeAfter) {
  Set([](linesim::State& s) {
    s.Entries.push_back(Entry("Provider"));
    s.AutodialEntry = "Provider";
    s.DialDelayMs = 1500;
  });
  otkShellWatch watch;
  EXPECT_TRUE(watch.DialerIsFree());
  otkDialCtrl ctrl(watch, win::Narrow(simtest::ExeFolder()));
  ctrl.DialAuto();
  ASSERT_NE(watch.ProcessId(), 0u);
  EXPECT_FALSE(watch.DialerIsFree());
  ctrl.HangUpAuto();  // dropped: Linkpilot still runs
  bool freed = false;
  for (int i = 0; i < 200 && !freed; ++i) {
    Sleep(100);
    freed = watch.DialerIsFree();
  }
  ASSERT_TRUE(freed);
  EXPECT_EQ(watch.ProcessId(), 0u);
  EXPECT_TRUE(Now().Online);
  EXPECT_EQ(Calls("InternetAutodial").size(), 1u);
  EXPECT_TRUE(Calls("InternetAutodialHangup").empty());
}

TEST_F(DialerSim, MissingProgramIsAnsweredFalse) {
  otkShellWatch watch;
  EXPECT_FALSE(watch.StartDialer("C:\\no such folder\\Linkpilot.exe", "\"C:\\no such folder\\Linkpilot.exe\" x", 1));
  EXPECT_TRUE(watch.DialerIsFree());
}

TEST(SystemClockTest, NowIsWholeSecondsAndTheTickMoves) {
  SystemClock clock;  // never asked to set the time here
  const Date now = clock.Now();
  const double secs = now * 86400.0;
  EXPECT_NEAR(secs, std::round(secs), 1e-3);
  const uint32_t t0 = clock.Tick();
  Sleep(50);
  EXPECT_GE(TickDifference(clock.Tick(), t0), 40u);
}

}  // namespace
}  // namespace nw::test

namespace nw::test {
namespace {

// The provider drops the line while the lock keeps it connected, with the real probe, the real
// Linkpilot and the simulator; only the clock is virtual.
struct LockEndToEnd : simtest::SimTest {};

TEST_F(LockEndToEnd, LinkpilotRedialsTheDroppedLine) {
  Set([](linesim::State& s) {
    linesim::Entry e;
    e.Name = "Provider";
    e.User = "taro";
    e.Password = "secret";
    s.Entries.push_back(e);
    s.AddConnection("Provider", linesim::kStateConnected);
  });
  otkRASCheck ras;
  otkInternetCheck internet;
  otkShellWatch dialer;
  Harness h(MakeDate(2026, 12, 7, 10, 0, 0));
  h.settings.WayWatchEn = 1;
  h.settings.WatchEntries = {"Provider"};
  h.settings.RsIdlFLG = true;
  h.settings.RsSetInfo = {{"自宅", "Provider", "taro", "secret"}};
  h.settings.RsSetInfoStd = 0;
  h.counters = {MakeDate(2026, 12, 7), 0, 0, MakeDate(2027, 1, 1), 0, 0};
  Monitor m(h.settings, h.counters, MonitorPorts{h.clock, internet, ras, dialer, h.store, h.view, h.notice},
            win::Narrow(simtest::ExeFolder()));
  h.notice.monitor = &m;
  m.StartMonitoring();
  m.ShowLockButton(true);
  m.CompleteStart();
  auto step = [&] {
    h.Advance(1);
    m.Looker_Timer();
  };
  step();
  ASSERT_EQ(m.LineConnected(), 1);
  m.LockBtnAction(true);
  step();
  Set([](linesim::State& s) { s.RemoveConnection(s.Connections[0].Handle); });
  step();
  EXPECT_EQ(m.LineConnected(), 0);
  EXPECT_EQ(m.StatusLines().back(), "   接続を試行しました。 - 自動");
  // Linkpilot dials through the simulator; the next cycles see the line up again.
  for (int i = 0; i < 100 && m.LineConnected() == 0; ++i) {
    Sleep(100);
    step();
  }
  ASSERT_EQ(m.LineConnected(), 1);
  EXPECT_EQ(m.StatusLines()[m.StatusLines().size() - 2], "   接続状態になりました。");
  const auto dials = Calls("RasDialA");
  ASSERT_EQ(dials.size(), 1u);
  EXPECT_EQ(dials[0].Arg("entry"), "Provider");
  EXPECT_EQ(dials[0].Arg("user"), "taro");
  EXPECT_EQ(h.store.dialEnds.size(), 1u);
  EXPECT_EQ(h.store.dialStarts.size(), 2u);
  for (int i = 0; i < 50 && !dialer.DialerIsFree(); ++i) Sleep(100);
}

}  // namespace
}  // namespace nw::test
