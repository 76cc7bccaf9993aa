#include "monitor/TrafficMeter.h"

namespace nw {

namespace {

// How far a counter moved forward from `from` to `to`, or false when it went backwards.
//
// 64-bit counters never wrap in practice: backwards means the counters restarted (an adapter
// re-created, statistics cleared).
//
// 32-bit counters (the RAS statistics) wrap at 4 GiB. A reading below the previous one is either a
// wrap or a restart from 0, and the two cannot be told apart from the values alone. The rule:
// a wrap when the forward distance across the wrap is below half the range (2 GiB), a restart
// otherwise. Two GiB between two cycles (at most 30 s apart) would take more than 70 MB/s, beyond
// the dial-up, mobile and VPN lines RAS serves. A restart is taken for a wrap only when the old
// reading was above 2 GiB, and then adds less than 2 GiB once: never a negative amount, never one
// near 4 GiB. (A new connection changes the identity and never gets here.)
bool Forward(uint64_t from, uint64_t to, uint64_t modulus, uint64_t& ouDelta) {
  if (modulus == 0) {
    if (to < from) return false;
    ouDelta = to - from;
    return true;
  }
  const uint64_t delta = to >= from ? to - from : modulus - from + to;
  if (to < from && delta >= modulus / 2) return false;
  ouDelta = delta;
  return true;
}

}  // namespace

TrafficMeter::Result TrafficMeter::Take(const TrafficSample& raw) {
  if (!raw.Valid) return {};
  TrafficSample s = raw;
  if (s.Modulus != 0) {
    // A reading at or above the modulus is not a wrapped counter's: keep it inside the range.
    s.Sent %= s.Modulus;
    s.Received %= s.Modulus;
  }
  const bool sameCounters = hasBase_ && s.Identity == base_.Identity && s.Modulus == base_.Modulus;
  Result r;
  r.What = Step::NewBase;
  // Counters restart together: one that went back means both start from a new base.
  if (sameCounters && Forward(base_.Sent, s.Sent, s.Modulus, r.Amount.Sent) &&
      Forward(base_.Received, s.Received, s.Modulus, r.Amount.Received)) {
    r.What = Step::Counted;
  } else {
    r.Amount = {};
  }
  base_ = s;
  hasBase_ = true;
  return r;
}

}  // namespace nw
