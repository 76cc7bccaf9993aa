// The page window over the ring: windows and ordinals for each request, paging stops, validity
// while the monitor appends, re-creates or wraps the log, the sizes taken from the settings, and
// where the list's top and focus go after a refill.
#include <gtest/gtest.h>

#include "history/NWDLogPage.h"

namespace nw {
namespace {

constexpr PageSize kList{99, 50};
constexpr PageSize kGraph{31, 3};

TEST(LogPage, WindowsAndOrdinals) {
  struct Case {
    const char* What;
    PageSize Size;
    LogWindowMode Mode;
    LogRing Ring;
    int32_t Last;  // the caller's newest shown index before
    LogWindow Want;
    const char* Ordinal;
  };
  const Case cases[] = {
      // 250 records, 100 a page, 50 a step: back to the oldest page and it stops there.
      {"newest of 250", kList, ShowNewest, {false, 250}, 0, {150, 249}, "151件～250件目"},
      {"back", kList, PageBack, {false, 250}, 249, {100, 199}, "101件～200件目"},
      {"back to the oldest", kList, PageBack, {false, 250}, 149, {0, 99}, "1件～100件目"},
      {"back from the oldest", kList, PageBack, {false, 250}, 99, {0, 99}, "1件～100件目"},
      {"next from the oldest", kList, PageNext, {false, 250}, 99, {50, 149}, "51件～150件目"},
      {"next from the newest", kList, PageNext, {false, 250}, 249, {150, 249}, "151件～250件目"},
      {"next clamped at the newest", kList, PageNext, {false, 230}, 199, {130, 229}, "131件～230件目"},
      {"back clamped at the oldest", kList, PageBack, {false, 250}, 119, {0, 99}, "1件～100件目"},
      {"partial", kList, ShowNewest, {false, 5}, 0, {0, 4}, "1件～5件目"},
      {"empty", kList, ShowNewest, {false, 0}, 0, {0, -1}, ""},
      {"empty, next", kList, PageNext, {false, 0}, -1, {0, -1}, ""},
      {"re-created empty", kList, KeepPosition, {false, 0}, 300, {0, -1}, ""},
      // Wrapped: 999 records, slot NextSlot is never shown.
      {"just wrapped", kList, ShowNewest, {true, 0}, 0, {-100, -1}, "900件～999件目"},
      {"wrapped, back", kList, PageBack, {true, 10}, 9, {-140, -41}, "850件～949件目"},
      {"wrapped, below the oldest", kList, KeepPosition, {true, 10}, -900, {-989, -890}, "1件～100件目"},
      {"full page of 999", {998, 499}, ShowNewest, {true, 500}, 0, {-499, 499}, "1件～999件目"},
      {"graph across slot 999", kGraph, ShowNewest, {true, 10}, 0, {-22, 9}, "968件～999件目"},
      {"graph anchored past the newest", kGraph, KeepPosition, {true, 10}, 49, {-22, 9}, "968件～999件目"},
      {"graph anchored before the oldest", kGraph, KeepPosition, {false, 100}, -20, {0, 31}, "1件～32件目"},
  };
  for (const Case& c : cases) {
    int32_t last = c.Last;
    const LogWindow w = ComputeLogWindow(c.Size, c.Mode, c.Ring, last);
    EXPECT_EQ(w, c.Want) << c.What << ": " << w.First << ".." << w.Last;
    EXPECT_EQ(last, c.Want.Last) << c.What;
    EXPECT_EQ(OrdinalText(w, c.Ring), c.Ordinal) << c.What;
  }
  EXPECT_EQ(SlotOfIndex(-22), 978);
}

TEST(LogPage, WindowHoldsWhileRecordsAreAppendedOnly) {
  struct Case {
    const char* What;
    int32_t Last;
    LogRing Now;
    bool Valid;
  };
  const Case cases[] = {
      {"unchanged", 249, {false, 250}, true},
      {"30 appended", 249, {false, 280}, true},
      {"re-created empty", 249, {false, 0}, false},
      {"re-created with fewer records", 249, {false, 100}, false},
      {"wrapped: the records now carry other indices", 998, {true, 0}, false},
      {"wrapped: oldest page overwritten", 99, {true, 1}, false},
      {"wrapped window still there", -800, {true, 100}, true},
      {"its oldest record is next to be overwritten", -800, {true, 101}, false},
      {"its oldest records overwritten", -800, {true, 150}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsWindowStillValid(kList, c.Now, c.Last), c.Valid) << c.What;
    if (c.Valid) {  // and a refill shows the very same records
      int32_t last = c.Last;
      EXPECT_EQ(ComputeLogWindow(kList, KeepPosition, c.Now, last), (LogWindow{c.Last - 99, c.Last})) << c.What;
    }
  }
}

TEST(LogPage, SizesTheArithmeticCannotTakeFallBackToDefaults) {
  struct Case {
    int Kind;
    int32_t M, S;
    PageSize Want;
  };
  const Case cases[] = {
      {0, 998, 499, {998, 499}},  // 999 records
      {0, 999, 500, kList},       // 1000 records: beyond what a ring shows
      {1, 13, 7, {13, 7}},
      {1, 13, 14, {13, 14}},  // a step of the whole page
      {1, 13, 15, {13, 7}},  // a step beyond the page: the one derived from the size
      {2, -1, 50, kList},
      {2, 99, 0, {99, 50}},
      {3, 31, 32, {31, 32}},
      {3, 31, 33, kGraph},
      {3, 31, 0, kGraph},
      {3, 30, 3, kGraph},  // the graph has 32 bars, always
  };
  for (const Case& c : cases) {
    HistoryDisplaySettings h;
    h.hisShowMaw[c.Kind] = c.M;
    h.hisMoveMax[c.Kind] = c.S;
    const HistoryDisplaySettings stored = h;
    EXPECT_EQ(PageSizeFor(h, c.Kind), c.Want) << c.Kind << " " << c.M << " " << c.S;
    for (int other = 0; other < 4; ++other) EXPECT_TRUE(other == c.Kind || PageSizeFor(h, other) == (other == 3 ? kGraph : kList));
    EXPECT_EQ(h, stored);
  }
}

TEST(LogPage, RefillKeepsTopAndFocusOnTheSameRecords) {
  struct Case {
    const char* What;
    LogWindow Before;
    ListPosition Was;
    LogWindow After;
    LogWindowMode Mode;
    ListPosition Want;
  };
  const Case cases[] = {
      // First stays, last moves: the focused third record stays the third.
      {"small log grows", {0, 4}, {0, 2}, {0, 9}, KeepPosition, {0, 2}},
      // Last stays, first moves.
      {"smaller page", {150, 249}, {60, 80}, {200, 249}, KeepPosition, {10, 30}},
      {"larger page", {150, 249}, {60, 80}, {50, 249}, KeepPosition, {160, 180}},
      {"back", {150, 249}, {60, 10}, {100, 199}, PageBack, {99, 60}},
      {"back, focus leaves the window", {150, 249}, {40, 60}, {100, 199}, PageBack, {90, -1}},
      {"next, top above the window", {100, 199}, {0, 5}, {150, 249}, PageNext, {0, -1}},
      {"emptied", {150, 249}, {5, 5}, {0, -1}, KeepPosition, {0, -1}},
      {"newest", {0, 99}, {3, 7}, {150, 249}, ShowNewest, {99, -1}},
      {"newest of a partial log", {0, -1}, {0, -1}, {0, 4}, ShowNewest, {4, -1}},
  };
  for (const Case& c : cases) {
    const ListPosition p = PositionAfterRefill(c.Before, c.Was, c.After, c.Mode);
    EXPECT_EQ(p, c.Want) << c.What << ": top " << p.Top << " focus " << p.Focus;
  }
}

}  // namespace
}  // namespace nw
