#pragma once
// Where the data volume of the line comes from. The Win32 adapter reads the connection statistics
// of the RAS connections being watched, or the interface counters of the IP Helper for other lines;
// tests give a fake. The monitor reads it once per cycle while the line is connected, never while
// it is down.
#include <cstdint>

namespace nw {

// Raw counters as the source gives them; the monitor turns successive samples into amounts.
struct TrafficSample {
  bool Valid = false;     // false: nothing could be read this cycle (the amounts wait for the next)
  uint64_t Sent = 0;      // bytes sent since the counters started
  uint64_t Received = 0;  // bytes received since the counters started
  // 0: 64-bit counters; otherwise the counters wrap at this value (RAS statistics: 2^32).
  uint64_t Modulus = 0;
  // Changes whenever the counters restart from a new base: another connection handle, another
  // set of interfaces. A sample whose identity differs from the last one starts a new base.
  uint64_t Identity = 0;
};

class TrafficSource {
 public:
  virtual ~TrafficSource() = default;
  virtual TrafficSample Read() = 0;
  // A new connection begins: whatever the source followed before is not this connection's.
  virtual void Restart() {}
};

}  // namespace nw
