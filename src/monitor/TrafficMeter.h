#pragma once
// Turns the raw counters of successive traffic samples into the bytes that passed between them.
// The monitor gives it one sample per cycle while the line is connected and restarts it when the
// line goes down, so the first sample of every connection only sets the base.
#include "data/VolumeAmount.h"
#include "monitor/TrafficSource.h"

namespace nw {

class TrafficMeter {
 public:
  enum class Step {
    Counted,  // the amount since the previous sample (a 32-bit wrap included)
    NewBase,  // first sample, another identity or modulus, or counters that restarted: no amount
    Invalid,  // nothing could be read: no amount, the base stays for the next sample
  };
  struct Result {
    VolumeAmount Amount;
    Step What = Step::Invalid;
  };

  Result Take(const TrafficSample& sample);
  // Forgets the base: the next valid sample starts a new one.
  void Restart() { hasBase_ = false; }
  bool HasBase() const { return hasBase_; }

 private:
  TrafficSample base_;
  bool hasBase_ = false;
};

}  // namespace nw
