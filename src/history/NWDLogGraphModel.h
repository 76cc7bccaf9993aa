#pragma once
// The counter graph's arithmetic: the scale ladder, bar heights and the column under the mouse, in
// twips of the graph's client area (15 twips to a pixel at 96 DPI).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "classlib/DateValue.h"
#include "data/VolumeAmount.h"

namespace nw {

inline constexpr int kGraphBars = 32;
inline constexpr int kBarLeft = 600;       // left edge of bar 0
inline constexpr int kBarPitch = 180;      // from one bar's left edge to the next
inline constexpr int kBarWidth = 135;
inline constexpr int kBaseline = 4935;     // every bar stands on it
inline constexpr int kChartHeight = 3975;  // full scale; the chart's top is kBaseline - kChartHeight
inline constexpr int kMinBarHeight = 15;   // a record without time still shows a thin bar

struct GraphPoint {
  int32_t PlusTime = 0;
  int32_t PlusCount = 0;
  Date ResetDate = 0;
  std::optional<VolumeAmount> Volume;  // none: the record has no volume entry
  bool operator==(const GraphPoint&) const = default;
};

// What the graph shows for one window of the "今日" log, oldest record first.
struct GraphData {
  std::vector<GraphPoint> Points;
  int64_t MaxTime = 0;     // the largest PlusTime, 0 when none is above 0
  uint64_t MaxVolume = 0;  // the largest volume sent and received
  std::string MesCase, MesPeriod;
};

struct GraphScale {
  int64_t FullScale = 60;  // seconds (bytes for the volume) at the top of the axis
  std::string Block;       // "（1分）" ... "（1日）"
  std::string Max, Midl;   // the numbers at the top and the middle of the axis
};
GraphScale ChooseGraphScale(int64_t maxTime);
// The scale for bars of volume: 1, 2, 5, 10 ... 500 MB, the same in GB, then 1 TB (1024-based).
GraphScale ChooseVolumeScale(uint64_t maxBytes);
// What a bar measures: the time, or the volume sent and received (0 without an entry).
int64_t GraphMeasure(const GraphPoint& p, bool volume);

// Height of a bar in twips: at least kMinBarHeight, never above the chart.
int32_t BarHeight(int64_t plusTime, int64_t fullScale);
// The chart column under a point of the client area (twips), -1 outside the columns.
int BarColumnAt(int32_t xTwips, int32_t yTwips);

}  // namespace nw
