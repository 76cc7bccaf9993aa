#pragma once
// The counter graph's arithmetic: the scale ladder, bar heights and the column under the mouse, in
// twips of the graph's client area (15 twips to a pixel at 96 DPI).
#include <cstdint>
#include <string>
#include <vector>

#include "classlib/DateValue.h"

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
  bool operator==(const GraphPoint&) const = default;
};

// What the graph shows for one window of the "今日" log, oldest record first.
struct GraphData {
  std::vector<GraphPoint> Points;
  int64_t MaxTime = 0;  // the largest PlusTime, 0 when none is above 0
  std::string MesCase, MesPeriod;
};

struct GraphScale {
  int64_t FullScale = 60;  // seconds at the top of the axis
  std::string Block;       // "（1分）" ... "（1日）"
  std::string Max, Midl;   // the numbers at the top and the middle of the axis
};
GraphScale ChooseGraphScale(int64_t maxTime);

// Height of a bar in twips: at least kMinBarHeight, never above the chart.
int32_t BarHeight(int64_t plusTime, int64_t fullScale);
// The chart column under a point of the client area (twips), -1 outside the columns.
int BarColumnAt(int32_t xTwips, int32_t yTwips);

}  // namespace nw
