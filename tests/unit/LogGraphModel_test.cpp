// The counter graph's arithmetic: every rung of the scale ladder at its limit and one second
// above, bar heights (including records far longer than a day) and the column under the mouse.
#include <gtest/gtest.h>

#include <climits>

#include "history/NWDLogGraphModel.h"

namespace nw {
namespace {

TEST(LogGraphModel, ScaleLadder) {
  struct Rung {
    int64_t Limit;
    const char *Block, *Max, *Midl;
  };
  const Rung ladder[] = {
      {60, "（1分）", "1", "0.5"},       {600, "（10分）", "10", "5"},      {1200, "（20分）", "20", "10"},
      {2400, "（40分）", "40", "20"},    {3600, "（1時間）", "1", "0.5"},   {10800, "（3時間）", "3", "1.5"},
      {21600, "（6時間）", "6", "3"},    {32400, "（9時間）", "9", "4.5"},  {43200, "（12時間）", "12", "6"},
      {54000, "（15時間）", "15", "7.5"}, {64800, "（18時間）", "18", "9"}, {75600, "（21時間）", "21", "10.5"},
      {86400, "（1日）", "1", "0.5"},
  };
  const auto expect = [](int64_t maxTime, const Rung& r) {
    const GraphScale s = ChooseGraphScale(maxTime);
    EXPECT_EQ(s.FullScale, r.Limit) << maxTime;
    EXPECT_EQ(s.Block, r.Block) << maxTime;
    EXPECT_EQ(s.Max, r.Max) << maxTime;
    EXPECT_EQ(s.Midl, r.Midl) << maxTime;
  };
  expect(0, ladder[0]);
  for (size_t i = 0; i + 1 < std::size(ladder); ++i) {
    expect(ladder[i].Limit, ladder[i]);
    expect(ladder[i].Limit + 1, ladder[i + 1]);
  }
  // Beyond a day the day's scale stays; the bars are clamped instead.
  expect(90000, ladder[12]);
  expect(INT32_MAX, ladder[12]);
  expect(int64_t{3} * INT32_MAX, ladder[12]);
}

TEST(LogGraphModel, VolumeScaleLadderAndMeasure) {
  constexpr uint64_t MB = uint64_t{1} << 20, GB = MB << 10;
  struct Rung {
    uint64_t Limit;
    const char *Block, *Max, *Midl;
  };
  // Every rung at its limit and one byte above.
  const Rung ladder[] = {
      {MB, "（1 MB）", "1", "0.5"},           {2 * MB, "（2 MB）", "2", "1"},       {5 * MB, "（5 MB）", "5", "2.5"},
      {10 * MB, "（10 MB）", "10", "5"},      {20 * MB, "（20 MB）", "20", "10"},   {50 * MB, "（50 MB）", "50", "25"},
      {100 * MB, "（100 MB）", "100", "50"},  {200 * MB, "（200 MB）", "200", "100"},
      {500 * MB, "（500 MB）", "500", "250"}, {GB, "（1 GB）", "1", "0.5"},         {2 * GB, "（2 GB）", "2", "1"},
      {5 * GB, "（5 GB）", "5", "2.5"},       {10 * GB, "（10 GB）", "10", "5"},    {20 * GB, "（20 GB）", "20", "10"},
      {50 * GB, "（50 GB）", "50", "25"},     {100 * GB, "（100 GB）", "100", "50"},
      {200 * GB, "（200 GB）", "200", "100"}, {500 * GB, "（500 GB）", "500", "250"},
      {1024 * GB, "（1 TB）", "1", "0.5"},
  };
  const auto expect = [](uint64_t maxBytes, const Rung& r) {
    const GraphScale s = ChooseVolumeScale(maxBytes);
    EXPECT_EQ(s.FullScale, static_cast<int64_t>(r.Limit)) << maxBytes;
    EXPECT_EQ(s.Block, r.Block) << maxBytes;
    EXPECT_EQ(s.Max, r.Max) << maxBytes;
    EXPECT_EQ(s.Midl, r.Midl) << maxBytes;
  };
  expect(0, ladder[0]);
  for (size_t i = 0; i + 1 < std::size(ladder); ++i) {
    expect(ladder[i].Limit, ladder[i]);
    expect(ladder[i].Limit + 1, ladder[i + 1]);
  }
  expect(UINT64_MAX, ladder[std::size(ladder) - 1]);  // the bars are clamped instead

  // A bar measures the time, or the volume both ways; a record without its entry stands at zero.
  const GraphPoint with{90, 1, 0, VolumeAmount{3 * MB, 2 * MB}}, without{90, 1, 0, std::nullopt};
  EXPECT_EQ(GraphMeasure(with, false), 90);
  EXPECT_EQ(GraphMeasure(with, true), static_cast<int64_t>(5 * MB));
  EXPECT_EQ(GraphMeasure(without, true), 0);
  EXPECT_EQ(GraphMeasure(GraphPoint{0, 0, 0, VolumeAmount{UINT64_MAX, 1}}, true), INT64_MAX);
  EXPECT_EQ(BarHeight(GraphMeasure(with, true), ChooseVolumeScale(5 * MB).FullScale), kChartHeight);
}

TEST(LogGraphModel, BarHeights) {
  struct Case {
    int64_t Time, FullScale;
    int32_t Height;
  };
  // Heights are whole twips, rounded to the nearest: 30 s of 60 is 1987.5 twips and gives 1988,
  // 59 s of 60 (3908.75) gives 3909 - the closest whole values to the exact heights.
  const Case cases[] = {
      {0, 60, 15},           {-5, 60, 15},        {1, 86400, 15},
      {30, 60, 1988},        {59, 60, 3909},      {60, 60, 3975},
      {1800, 3600, 1988},    {75600, 86400, 3478}, {90000, 86400, 3975},
      {600000, 86400, 3975}, {INT32_MAX, 86400, 3975}, {int64_t{3} * INT32_MAX, 86400, 3975},
  };
  for (const Case& c : cases) EXPECT_EQ(BarHeight(c.Time, c.FullScale), c.Height) << c.Time << "/" << c.FullScale;
}

TEST(LogGraphModel, ColumnUnderTheMouse) {
  struct Case {
    int32_t X, Y;
    int Column;
  };
  const Case cases[] = {
      {600, 960, 0},   {779, 4934, 0},  {780, 2000, 1},   {6359, 4934, 31}, {6180, 1000, 31},
      {599, 2000, -1}, {6360, 2000, -1}, {700, 959, -1},  {700, 4935, -1},  {-1, -1, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(BarColumnAt(c.X, c.Y), c.Column) << c.X << "," << c.Y;
}

}  // namespace
}  // namespace nw
