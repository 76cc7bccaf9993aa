#pragma once
// Bytes sent and received, in 64 bits. Sums saturate: a counter that ran for years, or a damaged
// file, pins at the largest value instead of wrapping round to a small one.
#include <cstdint>
#include <limits>

namespace nw {

inline uint64_t SaturatingSum(uint64_t a, uint64_t b) {
  return b > std::numeric_limits<uint64_t>::max() - a ? std::numeric_limits<uint64_t>::max() : a + b;
}

struct VolumeAmount {
  uint64_t Sent = 0;
  uint64_t Received = 0;

  uint64_t Total() const { return SaturatingSum(Sent, Received); }
  bool Empty() const { return Sent == 0 && Received == 0; }
  VolumeAmount& operator+=(const VolumeAmount& o) {
    Sent = SaturatingSum(Sent, o.Sent);
    Received = SaturatingSum(Received, o.Received);
    return *this;
  }
  friend VolumeAmount operator+(VolumeAmount a, const VolumeAmount& b) { return a += b; }
  bool operator==(const VolumeAmount&) const = default;
};

}  // namespace nw
