#include "history/NWDLogGraphModel.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace nw {

namespace {

struct ScaleRow {
  int64_t Limit;
  int64_t FullScale;
  const char* Block;
  const char* Max;
  const char* Midl;
};

constexpr ScaleRow kLadder[] = {
    {60, 60, "（1分）", "1", "0.5"},          {600, 600, "（10分）", "10", "5"},
    {1200, 1200, "（20分）", "20", "10"},     {2400, 2400, "（40分）", "40", "20"},
    {3600, 3600, "（1時間）", "1", "0.5"},    {10800, 10800, "（3時間）", "3", "1.5"},
    {21600, 21600, "（6時間）", "6", "3"},    {32400, 32400, "（9時間）", "9", "4.5"},
    {43200, 43200, "（12時間）", "12", "6"},  {54000, 54000, "（15時間）", "15", "7.5"},
    {64800, 64800, "（18時間）", "18", "9"},  {75600, 75600, "（21時間）", "21", "10.5"},
    {INT64_MAX, 86400, "（1日）", "1", "0.5"},
};

// The volume ladder's steps within one unit: the top number and the middle one.
struct VolumeStep {
  uint64_t Mantissa;
  const char* Max;
  const char* Midl;
};
constexpr VolumeStep kVolumeSteps[] = {
    {1, "1", "0.5"},      {2, "2", "1"},      {5, "5", "2.5"},      {10, "10", "5"},    {20, "20", "10"},
    {50, "50", "25"},     {100, "100", "50"}, {200, "200", "100"},  {500, "500", "250"},
};

}  // namespace

GraphScale ChooseVolumeScale(uint64_t maxBytes) {
  constexpr uint64_t kMB = uint64_t{1} << 20;
  for (auto [unit, name] : {std::pair{kMB, "MB"}, std::pair{kMB << 10, "GB"}})
    for (const VolumeStep& s : kVolumeSteps)
      if (maxBytes <= s.Mantissa * unit)
        return {static_cast<int64_t>(s.Mantissa * unit), std::string("（") + s.Max + " " + name + "）", s.Max, s.Midl};
  return {static_cast<int64_t>(kMB << 20), "（1 TB）", "1", "0.5"};
}

int64_t GraphMeasure(const GraphPoint& p, bool volume) {
  if (!volume) return p.PlusTime;
  if (!p.Volume) return 0;
  return static_cast<int64_t>(std::min<uint64_t>(p.Volume->Total(), INT64_MAX));
}

GraphScale ChooseGraphScale(int64_t maxTime) {
  for (const ScaleRow& row : kLadder)
    if (maxTime <= row.Limit) return {row.FullScale, row.Block, row.Max, row.Midl};
  return {};
}

int32_t BarHeight(int64_t plusTime, int64_t fullScale) {
  if (fullScale <= 0 || plusTime <= 0) return kMinBarHeight;
  // A record longer than the scale (an edited one) fills the chart and stops there.
  if (plusTime >= fullScale) return kChartHeight;
  const auto h = static_cast<int32_t>(std::lround(static_cast<double>(plusTime) * kChartHeight / fullScale));
  return std::clamp(h, kMinBarHeight, kChartHeight);
}

int BarColumnAt(int32_t xTwips, int32_t yTwips) {
  if (yTwips < kBaseline - kChartHeight || yTwips >= kBaseline) return -1;
  if (xTwips < kBarLeft || xTwips >= kBarLeft + kGraphBars * kBarPitch) return -1;
  return (xTwips - kBarLeft) / kBarPitch;
}

}  // namespace nw
