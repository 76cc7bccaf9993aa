#pragma once
// The record editor's values: one record of a history log shown in boxes (a date-time as year,
// month, day, hour, minute, second; a duration as hours, minutes, seconds; a count) and read back
// with the checks in their fixed order.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "classlib/DateValue.h"

namespace nw {

// The record being edited, with the list kind it came from (0 connection, 1 "今日", 2 user).
struct SelectedHistoryRecord {
  int16_t Kind = 0;
  bool Changed = false;  // set when the editor accepted new values
  Date DialStart = 0;
  Date DialEnd = 0;
  Date StampDate = 0;  // watch start (connections) or renewal date-time (counters)
  int32_t PlusTime = 0;
  int32_t PlusCount = 0;
  bool operator==(const SelectedHistoryRecord&) const = default;
};

// The editor's boxes in order. Connection: 0..5 start, 6..11 end, 12..17 watch start.
// Counter: 0..5 renewal date-time, 6..8 hours/minutes/seconds, 9 count (10..17 unused).
using EditBoxes = std::array<std::string, 18>;

// The boxes filled from a record (the dialog's load and "ﾘｾｯﾄ(&U)").
EditBoxes BoxesFor(const SelectedHistoryRecord& rec);

// Each box must read as a number (an exponent allowed), fit 16 bits and not be negative; the date-time
// carries over (month 13 is January of the next year). Empty when not valid.
std::optional<Date> ReadDateTimeBoxes(std::span<const std::string, 6> boxes);
std::optional<int32_t> ReadDurationBoxes(std::span<const std::string, 3> boxes);
std::optional<int32_t> ReadCountBox(std::string_view box);

// The connection length shown beside "接続時間(&T):" while the boxes change:
// FormatDuration(seconds, format) or "ｴﾗｰが発生しました。".
std::string DialDurationText(const EditBoxes& boxes, std::string_view durationFormat);

// "変更(&D)": the new record (Changed set) or the message naming the group at fault.
struct EditOutcome {
  std::optional<SelectedHistoryRecord> Record;
  std::string Message;
};
EditOutcome ApplyEdit(int16_t kind, const EditBoxes& boxes);

// "Orvin.T.K. NetWard 接続／切断の履歴ﾘｽﾄの値の変更" and the counters' forms.
std::string EditCaption(int kind, std::string_view counterName);

}  // namespace nw
