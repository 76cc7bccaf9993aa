#include "history/NWDLogPage.h"

#include <algorithm>

namespace nw {

namespace {

constexpr int32_t kMaxListM = kLogCapacity - 2;  // 999 records: the ring never shows more
constexpr PageSize kListDefault{99, 50};
constexpr PageSize kGraphDefault{31, 3};

// The step the display settings derive from a list's size: the larger half.
int32_t ListStep(int32_t m) { return m % 2 + m / 2; }

}  // namespace

PageSize PageSizeFor(const HistoryDisplaySettings& h, int kind) {
  if (kind < LogDial || kind > LogGraph) return kListDefault;
  const auto k = static_cast<size_t>(kind);
  const int32_t m = h.hisShowMaw[k], s = h.hisMoveMax[k];
  if (kind == LogGraph) {
    if (m != kGraphDefault.M) return kGraphDefault;
    return {m, s >= 1 && s <= m + 1 ? s : kGraphDefault.S};
  }
  if (m < 0 || m > kMaxListM) return kListDefault;
  return {m, s >= 1 && s <= m + 1 ? s : std::max(1, ListStep(m))};
}

int32_t SlotOfIndex(int32_t virtualIndex) { return virtualIndex >= 0 ? virtualIndex : virtualIndex + kLogCapacity; }

int32_t OldestValidIndex(const LogRing& ring) { return ring.Wrapped ? ring.NextSlot - (kLogCapacity - 1) : 0; }

int32_t OrdinalBase(const LogRing& ring) { return ring.Wrapped ? ring.NextSlot - kLogCapacity : -1; }

LogWindow ComputeLogWindow(const PageSize& size, LogWindowMode mode, const LogRing& ring, int32_t& last) {
  const int32_t n = ring.NextSlot;
  LogWindow w;
  if (mode == ShowNewest) {
    w.Last = n - 1;
    w.First = n - 1 - size.M;
    if (!ring.Wrapped && w.First < 0) w.First = 0;
    last = w.Last;
    return w;
  }
  // Kept in 64 bits: a damaged anchor must not wrap around.
  int64_t l = last;
  if (mode == PageBack) l -= size.S;
  if (mode == PageNext) l += size.S;
  int64_t f = l - size.M;
  bool atTop = false;
  if (l >= n) {
    f -= l - n + 1;
    l = n - 1;
    atTop = true;
  }
  const int32_t oldest = OldestValidIndex(ring);
  if (f < oldest) {
    const int64_t d = oldest - f;
    f = oldest;
    if (!atTop) l += d;
  }
  if (l >= n) l = n - 1;
  w.First = static_cast<int32_t>(f);
  w.Last = static_cast<int32_t>(l);
  last = w.Last;
  return w;
}

bool IsWindowStillValid(const PageSize& size, const LogRing& ring, int32_t last) {
  int32_t copy = last;
  ComputeLogWindow(size, KeepPosition, ring, copy);
  return copy == last;
}

std::string OrdinalText(const LogWindow& w, const LogRing& ring) {
  const int32_t base = OrdinalBase(ring);
  if (w.Count() == 0 || w.Last - base <= 0) return {};
  return std::to_string(w.First - base) + "件～" + std::to_string(w.Last - base) + "件目";
}

ListPosition PositionAfterRefill(const LogWindow& before, const ListPosition& was, const LogWindow& after,
                                 LogWindowMode mode) {
  const int32_t count = after.Count();
  ListPosition p;
  if (mode == ShowNewest) {
    p.Top = count - 1;
  } else {
    // Item i shows record First + i: a record keeps its item when the window's first moved.
    const int64_t shift = static_cast<int64_t>(before.First) - after.First;
    p.Top = static_cast<int32_t>(std::clamp<int64_t>(was.Top + shift, INT32_MIN, INT32_MAX));
    if (was.Focus >= 0) {
      const int64_t focus = was.Focus + shift;
      p.Focus = focus >= 0 && focus < count ? static_cast<int32_t>(focus) : -1;
    }
  }
  p.Top = std::clamp(p.Top, 0, std::max(0, count - 1));
  return p;
}

}  // namespace nw
