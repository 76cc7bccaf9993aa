#include "history/win32/NWDLogCng.h"

#include <utility>

namespace nw {

namespace {

using otkForm::Control;
using otkForm::Kind;

constexpr int kNone = -1;
constexpr DWORD kNoPrefix = SS_NOPREFIX;

// Layout at 96 DPI: one frame of rows for the record's kind, the buttons below it. Every row
// keeps to the same columns: a counter's hours, minutes and seconds stand under the year, month
// and day, whose units leave room for "時間".
constexpr int kClientW = 488;
constexpr RECT kFrameRect{0, 0, kClientW, 140};

// One row of six date-time boxes (year, month, day, hour, minute, second), `y` its top.
#define NW_DATE_ROW(y, caption, first)                                                              \
  {Kind::Label, kNone, caption, {12, y + 4, 150, y + 22}},                                          \
      {Kind::Number, first + 0, "", {152, y, 196, y + 22}, 0, "年", 4},                             \
      {Kind::Label, kNone, "年", {198, y + 4, 228, y + 22}},                                        \
      {Kind::Number, first + 1, "", {232, y, 260, y + 22}, 0, "月", 2},                             \
      {Kind::Label, kNone, "月", {262, y + 4, 278, y + 22}},                                        \
      {Kind::Number, first + 2, "", {280, y, 308, y + 22}, 0, "日", 2},                             \
      {Kind::Label, kNone, "日", {310, y + 4, 326, y + 22}},                                        \
      {Kind::Number, first + 3, "", {334, y, 362, y + 22}, 0, "時", 2},                             \
      {Kind::Label, kNone, "時", {364, y + 4, 380, y + 22}},                                        \
      {Kind::Number, first + 4, "", {382, y, 410, y + 22}, 0, "分", 2},                             \
      {Kind::Label, kNone, "分", {412, y + 4, 428, y + 22}},                                        \
      {Kind::Number, first + 5, "", {430, y, 458, y + 22}, 0, "秒", 2},                             \
      {Kind::Label, kNone, "秒", {460, y + 4, 476, y + 22}}

// A counter record: renewal date-time, accumulated hours/minutes/seconds, count.
#define NW_COUNTER_ROWS(first)                                                                      \
  NW_DATE_ROW(12, "ｶｳﾝﾀ更新日時(&R):", first),                                                      \
      {Kind::Label, kNone, "累積接続時間(&T):", {12, 48, 150, 66}},                                 \
      {Kind::Number, first + 6, "", {152, 44, 196, 66}, 0, "時間 (0～9999)", 4},                    \
      {Kind::Label, kNone, "時間", {198, 48, 228, 66}},                                             \
      {Kind::Number, first + 7, "", {232, 44, 260, 66}, 0, "分", 2},                                \
      {Kind::Label, kNone, "分", {262, 48, 278, 66}},                                               \
      {Kind::Number, first + 8, "", {280, 44, 308, 66}, 0, "秒", 2},                                \
      {Kind::Label, kNone, "秒", {310, 48, 326, 66}},                                               \
      {Kind::Label, kNone, "累積接続回数(&C):", {12, 80, 150, 98}},                                 \
      {Kind::Number, first + 9, "", {152, 76, 196, 98}, 0, "回数 (0～9999)", 4},                    \
      {Kind::Label, kNone, "回", {198, 80, 228, 98}}

constexpr Control kDial[] = {
    NW_DATE_ROW(12, "接続開始日時(&S):", NWDLogCng::txDial + 0),
    NW_DATE_ROW(44, "接続終了日時(&E):", NWDLogCng::txDial + 6),
    NW_DATE_ROW(76, "監視開始日時(&W):", NWDLogCng::txDial + 12),
    {Kind::Label, kNone, "接続時間(&T):", {12, 112, 150, 130}},
    {Kind::ReadOnly, NWDLogCng::lblDialTime, "", {152, 108, 476, 130}, 0, "接続開始日時から接続終了日時までの時間"},
};
constexpr Control kTday[] = {NW_COUNTER_ROWS(NWDLogCng::txTday)};
constexpr Control kUser[] = {NW_COUNTER_ROWS(NWDLogCng::txUser)};
#undef NW_COUNTER_ROWS
#undef NW_DATE_ROW

// The buttons below the frame, right-aligned with the rows: under the connection rows, or under
// the shorter counter rows.
#define NW_BUTTONS(y)                                                                                 \
  {Kind::DefaultButton, NWDLogCng::cdChange, "変更(&D)", {194, y, 284, y + 28}, WS_GROUP},             \
      {Kind::Button, NWDLogCng::cdReset, "ﾘｾｯﾄ(&U)", {290, y, 380, y + 28}, 0, "開いた時の値に戻します"}, \
      {Kind::Button, NWDLogCng::cdCancel, "ｷｬﾝｾﾙ", {386, y, 476, y + 28}}
constexpr Control kDialButtons[] = {NW_BUTTONS(150)};
constexpr Control kCounterButtons[] = {NW_BUTTONS(118)};
#undef NW_BUTTONS
constexpr int kDialClientH = 188, kCounterClientH = 156;

}  // namespace

NWDLogCng::NWDLogCng(HINSTANCE instance, SelectedHistoryRecord& record, std::string counterName,
                     std::string durationFormat)
    : Form(instance), record_(record), counterName_(std::move(counterName)), durationFormat_(std::move(durationFormat)) {}

NWDLogCng::~NWDLogCng() = default;

void NWDLogCng::ShowMe(HWND owner, HICON icon, bool topmost) {
  record_.Changed = false;
  const bool dial = record_.Kind == 0;
  if (!Create({owner, EditCaption(record_.Kind, counterName_), kClientW, dial ? kDialClientH : kCounterClientH, icon,
               topmost, "history.htm"}))
    return;
  AddControls(AddPage(CngHisDial, kFrameRect), kDial);
  AddControls(AddPage(CngHisTday, kFrameRect), kTday);
  AddControls(AddPage(CngHisUser, kFrameRect), kUser);
  if (dial)
    AddControls(Window(), kDialButtons);
  else
    AddControls(Window(), kCounterButtons);
  FillBoxes();
  // Only the kind's own frame is shown; another kind shows none (and has nothing to change).
  const int frames[] = {CngHisDial, CngHisTday, CngHisUser};
  if (record_.Kind >= 0 && record_.Kind <= 2) Show(frames[record_.Kind], true);
  boxesReady_ = true;
  RunModal();
}

int NWDLogCng::FirstBox() const {
  switch (record_.Kind) {
    case 0: return txDial;
    case 1: return txTday;
    case 2: return txUser;
    default: return 0;
  }
}

int NWDLogCng::BoxCount() const { return record_.Kind == 0 ? 18 : 10; }

EditBoxes NWDLogCng::ReadBoxes() const {
  EditBoxes boxes;
  if (const int first = FirstBox())
    for (int i = 0; i < BoxCount(); ++i) boxes[static_cast<size_t>(i)] = Text(first + i);
  return boxes;
}

void NWDLogCng::FillBoxes() {
  const int first = FirstBox();
  if (!first) return;
  const EditBoxes boxes = BoxesFor(record_);
  boxesReady_ = false;
  for (int i = 0; i < BoxCount(); ++i) SetText(first + i, boxes[static_cast<size_t>(i)]);
  boxesReady_ = true;
  if (record_.Kind == 0) UpdateDialDuration();
}

void NWDLogCng::UpdateDialDuration() { SetText(lblDialTime, DialDurationText(ReadBoxes(), durationFormat_)); }

void NWDLogCng::cdChange_Click() {
  if (!FirstBox()) return;
  const EditOutcome o = ApplyEdit(record_.Kind, ReadBoxes());
  if (!o.Record) {
    // The dialog stays open with the user's input, the focus where it was.
    Warn(o.Message);
    return;
  }
  record_ = *o.Record;
  Close();
}

void NWDLogCng::OnCommand(int id, int code) {
  if (code == EN_CHANGE) {
    // The connection's start and end rows; the watch start does not take part.
    if (boxesReady_ && record_.Kind == 0 && id >= txDial && id < txDial + 12) UpdateDialDuration();
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case cdChange: cdChange_Click(); return;
    case cdReset: FillBoxes(); return;
    case cdCancel: Close(); return;
    default: return;
  }
}

}  // namespace nw
