#include "history/NWDLogUtilModel.h"

#include "classlib/otkDateFormat.h"
#include "classlib/otkNumber.h"
#include "history/NWDLogPage.h"

namespace nw {

namespace {

constexpr const char* kPageSizeRange = "ﾘｽﾄ最大表示件数は、14～999の数値を入力して下さい。";
constexpr const char* kMoveRange = "ｸﾞﾗﾌ移動件数は、1～32の数値を入力して下さい。";
constexpr int kGraphPage = 3;

std::optional<int64_t> BoxNumber(std::string_view box) {
  return otk::ReadNumber(box, otk::NumberGrammar::WithExponent);
}

}  // namespace

HistoryUtilValues LoadHistorySettings(const HistoryDisplaySettings& h) {
  HistoryUtilValues v;
  // The sizes and the step the windows use: a damaged stored value shows as the default in force.
  for (int i = 0; i < 3; ++i) v.hisShowMaw[static_cast<size_t>(i)] = std::to_string(PageSizeFor(h, i).M + 1);
  v.hisFmtDate = h.hisFmtDate;
  v.hisFmtTime = h.hisFmtTime;
  const PageSize graph = PageSizeFor(h, LogGraph);
  v.hisShowMawlbl = std::to_string(graph.M + 1);
  v.hisMoveMax = std::to_string(graph.S);
  v.gphGetWay = h.gphGetWay;
  v.gphBgColor = static_cast<uint32_t>(h.gphBgColor);
  v.gphNtColor = static_cast<uint32_t>(h.gphNtColor);
  return v;
}

HistoryUtilProblem ApplyHistorySettings(const HistoryUtilValues& v, HistoryDisplaySettings& h) {
  HistoryDisplaySettings w = h;
  for (int i = 0; i < 3; ++i) {
    const std::optional<int64_t> size = BoxNumber(v.hisShowMaw[static_cast<size_t>(i)]);
    if (!size || *size < 14 || *size > 999) return {i, PageSizeBox0 + i, kPageSizeRange};
    const auto m = static_cast<int32_t>(*size - 1);
    w.hisShowMaw[static_cast<size_t>(i)] = m;
    w.hisMoveMax[static_cast<size_t>(i)] = m % 2 + m / 2;
  }
  w.hisFmtDate = v.hisFmtDate;
  w.hisFmtTime = v.hisFmtTime;
  const std::optional<int64_t> move = BoxNumber(v.hisMoveMax);
  if (!move || *move < 1 || *move > 32) return {kGraphPage, MoveCountBox, kMoveRange};
  w.hisMoveMax[3] = static_cast<int32_t>(*move);
  if (v.gphGetWay >= 0 && v.gphGetWay <= 2) w.gphGetWay = v.gphGetWay;
  w.gphBgColor = static_cast<int32_t>(v.gphBgColor);
  w.gphNtColor = static_cast<int32_t>(v.gphNtColor);
  h = w;
  return {};
}

std::string HistoryDateExample(std::string_view format) { return FormatDate(MakeDate(2003, 1, 1, 14, 20, 2), format); }

std::string HistoryDurationExample(std::string_view format) { return FormatDuration(18305, format); }

std::string UserSettingsCaption(std::string_view counterName) {
  return "\"" + std::string(counterName) + "\" ｶｳﾝﾀの設定";
}

}  // namespace nw
