#pragma once
// The window of records a history list or the graph shows: at most M + 1 consecutive records of a
// log, moved by S records at a time. Records are numbered by a virtual index: the newest complete
// record is NextSlot - 1, older ones count down and go negative once the ring has wrapped; slot
// NextSlot itself is never shown (the writer fills it next). Pure arithmetic on the log's header.
#include <cstdint>
#include <string>

#include "data/NWDGlobal.h"
#include "data/NWDLogFiles.h"

namespace nw {

// How a window is chosen.
enum LogWindowMode : int { ShowNewest = 0, KeepPosition = 1, PageBack = 2, PageNext = 3 };

// M: the window's size minus one; S: the records one "前へ"/"次へ" moves.
struct PageSize {
  int32_t M = 99;
  int32_t S = 50;
  bool operator==(const PageSize&) const = default;
};

// The size and step of window `kind` (LogListKind). The settings file may hold values the
// arithmetic cannot take (a list of more than 999 or fewer than 1 records, a graph other than 32
// bars, a step outside 1..M+1): that window then uses its defaults; the settings are not changed.
PageSize PageSizeFor(const HistoryDisplaySettings& h, int kind);

// First and last virtual index; empty when Last < First.
struct LogWindow {
  int32_t First = 0;
  int32_t Last = -1;
  int32_t Count() const { return Last >= First ? Last - First + 1 : 0; }
  bool operator==(const LogWindow&) const = default;
};

// The slot of a virtual index (i, or i + 1000 below 0).
int32_t SlotOfIndex(int32_t virtualIndex);
// The oldest valid index: 0, or NextSlot - 999 once wrapped.
int32_t OldestValidIndex(const LogRing& ring);
// The index just before the oldest valid record; the ordinal of index i is i - OrdinalBase.
int32_t OrdinalBase(const LogRing& ring);

// The window for `mode`, ending near `last` (the caller's newest shown index), clamped to the
// valid records; `last` is updated to the window's last index.
LogWindow ComputeLogWindow(const PageSize& size, LogWindowMode mode, const LogRing& ring, int32_t& last);
// True while the records ending at `last` are all still there under the same indices.
bool IsWindowStillValid(const PageSize& size, const LogRing& ring, int32_t last);
// "151件～250件目", or empty when the window holds no record.
std::string OrdinalText(const LogWindow& w, const LogRing& ring);

// Top item and focused item (-1: none) of a list showing a window, oldest record at item 0.
struct ListPosition {
  int32_t Top = 0;
  int32_t Focus = -1;
  bool operator==(const ListPosition&) const = default;
};
// Where they go when the list is refilled from window `before` to `after`: on the same records,
// whatever moved (ShowNewest: the newest record in view, nothing focused). Clamped to the list.
ListPosition PositionAfterRefill(const LogWindow& before, const ListPosition& was, const LogWindow& after,
                                 LogWindowMode mode);

}  // namespace nw
