// otkTrafficProbe against the simulated rasapi32 and iphlpapi: the amounts it reports across
// wraps, restarts and changing sets of connections and interfaces, and what it leaves out.
#include "monitor/win32/otkTrafficProbe.h"
#include "classlib/win32/otkNetAdapters.h"

#include "SimRasRecords.h"
#include "SimTestSupport.h"

using namespace linesim;
using nw::otkTrafficProbe;
using nw::TrafficSample;

namespace {

constexpr uint64_t k4GiB = 0x1'0000'0000ull;

class TrafficProbeTest : public simtest::SimTest {
 protected:
  nw::RasHandle Connect(const std::string& entry, uint64_t sent = 0, uint64_t received = 0) {
    uint32_t id = 0;
    Set([&](State& s) {
      Connection& c = s.AddConnection(entry, kStateConnected);
      c.Sent = sent;
      c.Received = received;
      c.Since -= 60000;  // up for a minute
      id = c.Handle;
    });
    ids_.push_back(id);
    return reinterpret_cast<nw::RasHandle>(rec::ToHandle(id));
  }
  // Moves connection `n` (in the order connected) on by so many bytes.
  void Traffic(size_t n, uint64_t sent, uint64_t received) {
    Set([&](State& s) {
      Connection* c = s.FindConnection(ids_.at(n));
      ASSERT_NE(c, nullptr);
      c->Sent += sent;
      c->Received += received;
    });
  }
  void AdapterTraffic(const std::string& alias, uint64_t sent, uint64_t received) {
    Set([&](State& s) {
      Adapter* a = s.FindAdapter(alias);
      ASSERT_NE(a, nullptr);
      a->OutOctets += sent;
      a->InOctets += received;
    });
  }
  // The amounts since the previous Step (the sample must be valid and keep its identity).
  std::pair<uint64_t, uint64_t> Step() {
    const TrafficSample s = probe.Read();
    EXPECT_TRUE(s.Valid);
    EXPECT_EQ(s.Modulus, 0u);
    EXPECT_EQ(s.Identity, last.Identity);
    EXPECT_GE(s.Sent, last.Sent);
    EXPECT_GE(s.Received, last.Received);
    const std::pair<uint64_t, uint64_t> d{s.Sent - last.Sent, s.Received - last.Received};
    last = s;
    return d;
  }
  void Begin() { last = probe.Read(); }

  otkTrafficProbe probe;
  TrafficSample last;
  std::vector<uint32_t> ids_;
};

using Amounts = std::pair<uint64_t, uint64_t>;

}  // namespace

TEST_F(TrafficProbeTest, RasCountsAcrossAWrapAndARestartOnTheSameHandle) {
  const nw::RasHandle h = Connect("VPN", k4GiB - 3000, k4GiB - 4000);
  probe.WatchRasConnections({h});
  Begin();
  ASSERT_TRUE(last.Valid);
  EXPECT_EQ(last.Sent, 0u);  // what went before the first reading is the base
  Traffic(0, 1000, 2000);
  EXPECT_EQ(Step(), Amounts(1000, 2000));

  // The handle comes back for a new connection (its duration starts again): from 4 GiB - 2000 to
  // 100 and 200 would look like wraps of 2100 and 2200 bytes.
  Set([&](State& s) {
    Connection* c = s.FindConnection(ids_[0]);
    c->Sent = 100;
    c->Received = 200;
    c->Since = GetTickCount();
  });
  EXPECT_EQ(Step(), Amounts(0, 0));
  Traffic(0, 10, 20);
  EXPECT_EQ(Step(), Amounts(10, 20));

  // Large steps up to the 32-bit counter's end, then past it.
  Traffic(0, 0x7FFF'0000, 0);
  EXPECT_EQ(Step(), Amounts(0x7FFF'0000, 0));
  Traffic(0, 0x7FFF'0000, 0);
  EXPECT_EQ(Step(), Amounts(0x7FFF'0000, 0));
  Traffic(0, 200000, 3);
  EXPECT_EQ(Step(), Amounts(200000, 3));
  EXPECT_EQ(Step(), Amounts(0, 0));
  // A counter that moved 2 GiB or more within a cycle went back; it did not wrap.
  Set([&](State& s) { s.FindConnection(ids_[0])->Sent = 0x9000'0000u; });
  EXPECT_EQ(Step(), Amounts(0, 0));

  // One read per watched connection and cycle, with the 60-byte record.
  const auto reads = Calls("RasGetConnectionStatistics");
  ASSERT_EQ(reads.size(), 9u);
  for (const auto& r : reads) EXPECT_EQ(r.Arg("size"), "60");

  // The caller starts a new count: another identity, totals from 0.
  probe.Restart();
  const TrafficSample fresh = probe.Read();
  EXPECT_TRUE(fresh.Valid);
  EXPECT_NE(fresh.Identity, last.Identity);
  EXPECT_EQ(fresh.Sent, 0u);
}

TEST_F(TrafficProbeTest, RasSumsTheWatchedConnectionsAsTheyComeAndGo) {
  const nw::RasHandle a = Connect("VPN", k4GiB - 10, 0);
  Connect("Other", 0, 0);
  probe.WatchRasConnections({a});
  Begin();
  Traffic(1, 7777, 7777);  // not watched
  Traffic(0, 100, 1);      // wraps
  EXPECT_EQ(Step(), Amounts(100, 1));

  // A second watched connection joins: from its base on it adds to the same totals, and its
  // counter wrapping does not disturb the other's.
  const nw::RasHandle b = Connect("VPN", 3 * k4GiB - 30, 900);
  probe.WatchRasConnections({a, b});
  Traffic(0, 1, 1);
  EXPECT_EQ(Step(), Amounts(1, 1));
  Traffic(0, 1000, 0);
  Traffic(2, 60, 70);
  EXPECT_EQ(Step(), Amounts(1060, 70));

  // The first drops: the second still counts; once none answers there is no reading.
  Set([&](State& s) { s.RemoveConnection(ids_[0]); });
  Traffic(2, 5, 6);
  EXPECT_EQ(Step(), Amounts(5, 6));
  Set([&](State& s) { s.RemoveConnection(ids_[2]); });
  EXPECT_FALSE(probe.Read().Valid);
  probe.WatchRasConnections({});
  const TrafficSample none = probe.Read();
  EXPECT_FALSE(none.Valid);
  EXPECT_EQ(none.Identity, last.Identity);  // same source, same count
  EXPECT_EQ(none.Sent, last.Sent);
}

TEST_F(TrafficProbeTest, InterfacesAllOrOneLeavingOutLoopbackFiltersAndDownAdapters) {
  Set([](State& s) {
    s.AddAdapter("モバイル").InOctets = 1000;
    Adapter& down = s.AddAdapter("Wi-Fi");
    down.Up = false;
    Adapter& filter = s.AddAdapter("Ethernet-WFP Native MAC Layer LightWeight Filter-0000");
    filter.Filter = true;
    Adapter& tunnel = s.AddAdapter("Teredo Tunneling Pseudo-Interface");
    tunnel.Hardware = false;
  });
  EXPECT_EQ(otk::ListNetworkAdapters(), (std::vector<std::string>{"Ethernet", "モバイル", "Wi-Fi"}));

  probe.WatchInterfaces("");
  Begin();
  ASSERT_TRUE(last.Valid);
  // Loopback, the filter instance, the virtual interface and the adapter that is down move too.
  for (const char* alias : {"Loopback Pseudo-Interface 1", "Ethernet-WFP Native MAC Layer LightWeight Filter-0000",
                            "Teredo Tunneling Pseudo-Interface", "Wi-Fi"})
    AdapterTraffic(alias, 1'000'000, 1'000'000);
  AdapterTraffic("Ethernet", 10, 20);
  AdapterTraffic("モバイル", 3 * k4GiB, 5);  // 64-bit counters: no wrap to mind
  EXPECT_EQ(Step(), Amounts(3 * k4GiB + 10, 25));
  // Between scans of the table each counted interface is one entry read; the adapter that was
  // down and comes up joins at the next scan, counting from its base there.
  Set([](State& s) { s.FindAdapter("Wi-Fi")->Up = true; });
  const size_t tables = Calls("GetIfTable2").size(), entries = Calls("GetIfEntry2").size();
  int reads = 0;
  while (Calls("GetIfTable2").size() == tables && reads <= otkTrafficProbe::kScanEvery) {
    AdapterTraffic("Wi-Fi", 1, 1);
    EXPECT_EQ(Step(), Amounts(0, 0));
    ++reads;
  }
  EXPECT_EQ(reads, otkTrafficProbe::kScanEvery);
  EXPECT_EQ(Calls("GetIfEntry2").size(), entries + 2 * (reads - 1));
  AdapterTraffic("Wi-Fi", 1, 2);
  EXPECT_EQ(Step(), Amounts(1, 2));
  // An adapter whose counters went back is a new base, not a negative amount; one re-created
  // under a new LUID fails its entry read, and the table is read again at once.
  Set([](State& s) { s.FindAdapter("Ethernet")->OutOctets = 0; });
  EXPECT_EQ(Step(), Amounts(0, 0));
  Set([](State& s) {
    std::erase_if(s.Adapters, [](const Adapter& a) { return a.Alias == "Wi-Fi"; });
    s.AddAdapter("Wi-Fi").OutOctets = 1'000'000;
  });
  AdapterTraffic("Ethernet", 5, 5);
  EXPECT_EQ(Step(), Amounts(5, 5));
  AdapterTraffic("Wi-Fi", 7, 0);
  EXPECT_EQ(Step(), Amounts(7, 0));
  EXPECT_EQ(Calls("GetIfTable2").size(), Calls("FreeMibTable").size());

  // One adapter by name (as the settings page offers it): only its traffic; another identity.
  probe.WatchInterfaces("モバイル");
  const TrafficSample one = probe.Read();
  EXPECT_NE(one.Identity, last.Identity);
  last = one;
  AdapterTraffic("モバイル", 4, 8);
  AdapterTraffic("Ethernet", 100, 100);
  EXPECT_EQ(Step(), Amounts(4, 8));
  // Down or gone: no reading, and the totals wait.
  Set([](State& s) { s.FindAdapter("モバイル")->Up = false; });
  EXPECT_FALSE(probe.Read().Valid);
  probe.WatchInterfaces("No such adapter");
  EXPECT_FALSE(probe.Read().Valid);
}
