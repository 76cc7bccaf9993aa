#pragma once
// The history display settings dialog's values: page sizes of the three lists, the graph's move
// count and range mode, date and duration formats of all four, and the graph's two colours.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/NWDGlobal.h"

namespace nw {

struct HistoryUtilValues {
  std::array<std::string, 3> hisShowMaw;  // page sizes as typed (records, not minus one)
  std::array<std::string, 4> hisFmtDate;
  std::array<std::string, 4> hisFmtTime;
  std::string hisShowMawlbl;              // the graph's size, shown only
  std::string hisMoveMax;                 // the graph's move count as typed
  int gphGetWay = 1;                      // -1: no option selected (kept as it was)
  uint32_t gphBgColor = 0;
  uint32_t gphNtColor = 0;
};

HistoryUtilValues LoadHistorySettings(const HistoryDisplaySettings& h);

// Which box a refusal is about.
enum HistoryUtilBox : int { PageSizeBox0 = 0, PageSizeBox1 = 1, PageSizeBox2 = 2, MoveCountBox = 3 };

struct HistoryUtilProblem {
  int Page = -1;  // the page to show, -1 when there is no problem
  int Box = 0;
  std::string Message;
  explicit operator bool() const { return Page >= 0; }
};

// Checks the boxes in order (page sizes 14..999 of pages 0..2, then the move count 1..32); only
// when all pass are the values stored into `h` (the page steps derived from the sizes).
HistoryUtilProblem ApplyHistorySettings(const HistoryUtilValues& v, HistoryDisplaySettings& h);

// The examples under the format boxes: 2003-01-01 14:20:02 and 18 305 seconds.
std::string HistoryDateExample(std::string_view format);
std::string HistoryDurationExample(std::string_view format);
// The user page's caption before fitting: "\"名前\" ｶｳﾝﾀの設定".
std::string UserSettingsCaption(std::string_view counterName);

}  // namespace nw
