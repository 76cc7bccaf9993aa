#pragma once
// The line's data volume on this machine: the RAS statistics of the connections the monitor
// watches, or the IP Helper octet counters of the network adapters for lines not watched through
// RAS. One system call per watched connection or counted interface per Read: the whole interface
// table (many times the cost of one entry) is read only to find the interfaces to count, at the
// first Read, when one of them no longer answers or is down, and every kScanEvery Reads so that an
// adapter that came up meanwhile joins.
//
// Every connection and interface is followed on its own and its delta since the last Read is
// added to 64-bit running totals, so the samples only ever grow (Modulus 0) whatever the set:
// - a 32-bit RAS counter that wrapped adds what it moved past the wrap;
// - one seen for the first time, a RAS connection that restarted on the same handle (its connect
//   duration went back, or a counter jumped back by more than 2 GiB), and an interface whose
//   counters went back (adapter re-created) start a base of their own: they count from the next
//   Read on, never a negative or a 4 GiB amount;
// - one that is gone simply stops adding.
// Identity changes when the caller restarts the counting or chooses another source; the totals
// then start again from 0.
#include <cstdint>
#include <string>
#include <vector>

#include "monitor/MonitorPorts.h"
#include "monitor/TrafficSource.h"

namespace nw {

class otkTrafficProbe : public TrafficSource {
 public:
  static constexpr int kScanEvery = 30;

  otkTrafficProbe();

  // RAS: the connections whose statistics are counted (the monitor's watched handles). Cheap to
  // call every cycle; a handle that leaves the list stops counting, one that joins gets a base.
  void WatchRasConnections(const std::vector<RasHandle>& handles);
  // IP Helper: the hardware interfaces that are up, loopback and filter instances left out (they
  // repeat an adapter's counters); with a name, only the adapter of that name (its alias).
  void WatchInterfaces(const std::string& adapterName);
  // Forgets every base: the next Read starts a new count (new Identity), e.g. for a new connection.
  void Restart();

  // Not Valid when nothing could be read: no watched connection answered, or no matching
  // interface is up. The totals then wait; nothing is lost but the cycles without a reading.
  TrafficSample Read() override;

 private:
  enum class Way { None, Ras, Interfaces };
  struct Counter {
    uint64_t Key = 0;  // RAS handle or interface LUID
    uint64_t Sent = 0, Received = 0;
    uint32_t Duration = 0;  // RAS: milliseconds since the connection came up
    bool Seen = false;
  };

  void Choose(Way way, const std::wstring& adapter);
  // Adds the delta of `key` to the totals (or gives it its base); false counters never wrap.
  void Account(uint64_t key, uint64_t sent, uint64_t received, uint32_t duration, bool wraps32);
  bool ReadRas();
  bool ReadInterfaces();
  // The counted interfaces one by one; false when one fails or is down (the table is read then).
  bool ReadKnownInterfaces();
  // The whole table: chooses the interfaces to count and counts them.
  bool ScanInterfaces();

  Way way_ = Way::None;
  std::vector<RasHandle> handles_;
  std::wstring adapter_;  // empty: every adapter that is up
  std::vector<Counter> counters_;
  std::vector<uint64_t> interfaces_;  // LUIDs the last scan counted
  int readsSinceScan_ = 0;
  uint64_t sent_ = 0, received_ = 0;
  uint64_t identity_ = 0;
};

}  // namespace nw
