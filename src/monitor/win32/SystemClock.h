#pragma once
// The monitor's clock: local time in whole seconds, the 32-bit millisecond tick, and setting the
// local date and time (only ever called for a user's "restore the clock" choice).
#include "monitor/MonitorPorts.h"

namespace nw {

class SystemClock : public MonitorClock {
 public:
  Date Now() override;
  uint32_t Tick() override;
  bool SetSystemDateTime(Date value) override;
};

}  // namespace nw
