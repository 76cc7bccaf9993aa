#include "history/NWDLogCngModel.h"

#include "classlib/otkDateFormat.h"
#include "classlib/otkNumber.h"

namespace nw {

namespace {

constexpr const char* kTimeWrong = "時間の設定に誤りがあります。";
constexpr const char* kCountWrong = "回数の設定に誤りがあります。";
constexpr const char* kDateWrong = "日付の設定に誤りがあります。";
constexpr const char* kNotValid = "ｴﾗｰが発生しました。";

void ShowDateTimeBoxes(EditBoxes& boxes, size_t first, Date d) {
  CivilDateTime c;
  if (!ToCivil(d, c)) return;
  const int fields[] = {c.Year, c.Month, c.Day, c.Hour, c.Minute, c.Second};
  for (size_t i = 0; i < 6; ++i) boxes[first + i] = std::to_string(fields[i]);
}

void ShowDurationBoxes(EditBoxes& boxes, size_t first, int64_t seconds) {
  boxes[first] = std::to_string(seconds / 3600);
  boxes[first + 1] = std::to_string(seconds % 3600 / 60);
  boxes[first + 2] = std::to_string(seconds % 60);
}

// A box as a whole number from 0 up that fits 16 bits.
std::optional<int> BoxValue(std::string_view box) {
  const std::optional<int64_t> v = otk::ReadNumber(box, otk::NumberGrammar::WithExponent);
  if (!v || *v < 0 || *v > INT16_MAX) return std::nullopt;
  return static_cast<int>(*v);
}

// The start not later than the end, in elapsed time: before 1899-12-30 the stored day numbers do
// not sort in time order (06:00 on 1899-12-29 is -1.25, 12:00 is -1.5).
bool InOrder(Date start, Date end) { return SecondsBetween(start, end) >= 0; }

template <size_t N>
std::span<const std::string, N> Group(const EditBoxes& boxes, size_t first) {
  return std::span<const std::string, N>(boxes.data() + first, N);
}

}  // namespace

EditBoxes BoxesFor(const SelectedHistoryRecord& rec) {
  EditBoxes boxes;
  if (rec.Kind == 0) {
    ShowDateTimeBoxes(boxes, 0, rec.DialStart);
    ShowDateTimeBoxes(boxes, 6, rec.DialEnd);
    ShowDateTimeBoxes(boxes, 12, rec.StampDate);
  } else if (rec.Kind == 1 || rec.Kind == 2) {
    ShowDateTimeBoxes(boxes, 0, rec.StampDate);
    ShowDurationBoxes(boxes, 6, rec.PlusTime < 0 ? 0 : rec.PlusTime);
    boxes[9] = std::to_string(rec.PlusCount);
  }
  return boxes;
}

std::optional<Date> ReadDateTimeBoxes(std::span<const std::string, 6> boxes) {
  int v[6];
  for (size_t i = 0; i < 6; ++i) {
    const std::optional<int> b = BoxValue(boxes[i]);
    if (!b) return std::nullopt;
    v[i] = *b;
  }
  // A two-digit year is read the way the system's date functions read it.
  if (v[0] < 100) v[0] += v[0] < 30 ? 2000 : 1900;
  Date d = 0;
  if (!TryMakeDate(v[0], v[1], v[2], v[3], v[4], v[5], d)) return std::nullopt;
  return d;
}

std::optional<int32_t> ReadDurationBoxes(std::span<const std::string, 3> boxes) {
  int v[3];
  for (size_t i = 0; i < 3; ++i) {
    const std::optional<int> b = BoxValue(boxes[i]);
    if (!b) return std::nullopt;
    v[i] = *b;
  }
  return v[0] * 3600 + v[1] * 60 + v[2];
}

std::optional<int32_t> ReadCountBox(std::string_view box) {
  const std::optional<int64_t> v = otk::ReadNumber(box, otk::NumberGrammar::WithExponent);
  if (!v || *v < 0 || *v > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(*v);
}

std::string DialDurationText(const EditBoxes& boxes, std::string_view durationFormat) {
  const std::optional<Date> start = ReadDateTimeBoxes(Group<6>(boxes, 0));
  const std::optional<Date> end = ReadDateTimeBoxes(Group<6>(boxes, 6));
  if (!start || !end || !InOrder(*start, *end)) return kNotValid;
  return FormatDuration(SecondsBetween(*start, *end), durationFormat);
}

EditOutcome ApplyEdit(int16_t kind, const EditBoxes& boxes) {
  SelectedHistoryRecord rec;
  rec.Kind = kind;
  if (kind == 1 || kind == 2) {
    const std::optional<int32_t> time = ReadDurationBoxes(Group<3>(boxes, 6));
    if (!time) return {std::nullopt, kTimeWrong};
    const std::optional<int32_t> count = ReadCountBox(boxes[9]);
    if (!count) return {std::nullopt, kCountWrong};
    const std::optional<Date> stamp = ReadDateTimeBoxes(Group<6>(boxes, 0));
    if (!stamp) return {std::nullopt, kDateWrong};
    rec.PlusTime = *time;
    rec.PlusCount = *count;
    rec.StampDate = *stamp;
  } else if (kind == 0) {
    const std::optional<Date> start = ReadDateTimeBoxes(Group<6>(boxes, 0));
    const std::optional<Date> end = ReadDateTimeBoxes(Group<6>(boxes, 6));
    if (!start || !end || !InOrder(*start, *end)) return {std::nullopt, kDateWrong};
    const std::optional<Date> stamp = ReadDateTimeBoxes(Group<6>(boxes, 12));
    if (!stamp) return {std::nullopt, kDateWrong};
    rec.DialStart = *start;
    rec.DialEnd = *end;
    rec.StampDate = *stamp;
  }
  rec.Changed = true;
  return {rec, {}};
}

std::string EditCaption(int kind, std::string_view counterName) {
  std::string what = "接続／切断の";
  if (kind == 1) what = "\"今日\" ｶｳﾝﾀの";
  if (kind == 2) what = "\"" + std::string(counterName) + "\" ｶｳﾝﾀの";
  return "Orvin.T.K. NetWard " + what + "履歴ﾘｽﾄの値の変更";
}

}  // namespace nw
