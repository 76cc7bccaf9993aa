#include "history/win32/NWDLogUtil.h"

#include <utility>

#include "classlib/win32/otkDialogColor.h"

namespace nw {

namespace {

using otkForm::Control;
using otkForm::Kind;
using U = NWDLogUtil;

constexpr int kNone = -1;
constexpr DWORD GT = WS_GROUP | WS_TABSTOP;
constexpr DWORD kNoPrefix = SS_NOPREFIX;

// Layout at 96 DPI: the page labels on the left, the pages to their right, the buttons below.
// The page labels are wide enough for the user counter's caption with its default name.
constexpr int kClientW = 674, kClientH = 398;
constexpr RECT kPageRect{184, 8, 666, 352};

// The date and duration formats of list `i`, `y` their top.
#define NW_FORMAT_ROWS(y, i)                                                                                  \
  {Kind::Label, kNone, "日時表示ﾌｫｰﾏｯﾄ(&D):", {8, y + 4, 300, y + 22}},                                       \
      {Kind::Edit, U::hisFmtDate + i, "", {8, y + 24, 300, y + 46}, 0, "日時の形式 (yyyy yy m mm d dd h hh mm ss AMPM)"}, \
      {Kind::Label, kNone, "日時表示ﾌｫｰﾏｯﾄ例:", {24, y + 52, 170, y + 70}},                                  \
      {Kind::Label, U::hisFmtDateEx + i, "", {174, y + 52, 476, y + 70}, kNoPrefix},                         \
      {Kind::Label, kNone, "接続時間表示ﾌｫｰﾏｯﾄ(&I):", {8, y + 84, 300, y + 102}},                            \
      {Kind::Edit, U::hisFmtTime + i, "", {8, y + 104, 300, y + 126}, 0, "接続時間の形式 (h hh m mm s ss)"},   \
      {Kind::Label, kNone, "接続時間表示ﾌｫｰﾏｯﾄ例:", {24, y + 132, 170, y + 150}},                             \
      {Kind::Label, U::hisFmtTimeEx + i, "", {174, y + 132, 476, y + 150}, kNoPrefix}

// A list's page: its size and its formats.
#define NW_LIST_PAGE(i)                                                                                       \
  {Kind::Label, kNone, "ﾘｽﾄ最大表示件数(&M):", {8, 12, 156, 30}},                                            \
      {Kind::Number, U::hisShowMaw + i, "", {160, 8, 206, 30}, 0, "一度に表示する件数 (14～999)", 3},          \
      NW_FORMAT_ROWS(44, i)

constexpr Control kDial[] = {NW_LIST_PAGE(0)};
constexpr Control kTday[] = {NW_LIST_PAGE(1)};
constexpr Control kUser[] = {NW_LIST_PAGE(2)};
#undef NW_LIST_PAGE

constexpr Control kGph[] = {
    {Kind::Label, kNone, "ｸﾞﾗﾌ最大表示件数(&M):", {8, 12, 156, 30}},
    {Kind::ReadOnly, U::hisShowMawlbl, "", {160, 8, 206, 30}, 0, "ｸﾞﾗﾌに表示する件数 (変更できません)"},
    {Kind::Label, kNone, "ｸﾞﾗﾌ移動件数(&V):", {8, 44, 156, 62}},
    {Kind::Number, U::hisMoveMax, "", {160, 40, 206, 62}, 0, "前へ／次へで移動する件数 (1～32)", 3},
    {Kind::Label, kNone, "ｸﾞﾗﾌの表示範囲指定方法(&E):", {8, 80, 476, 98}},
    {Kind::Radio, U::gphGetWay + 0, "指定項目からの32件分(&F)", {24, 102, 476, 122}, GT},
    {Kind::Radio, U::gphGetWay + 1, "指定項目前後の32件分(&I)", {24, 126, 476, 146}},
    {Kind::Radio, U::gphGetWay + 2, "指定項目までの32件分(&T)", {24, 150, 476, 170}},
};

constexpr Control kExpgph[] = {
    NW_FORMAT_ROWS(4, 3),
    {Kind::Label, kNone, "ｸﾞﾗﾌの背景色(&B):", {8, 176, 156, 194}, WS_GROUP},
    {Kind::Strip, U::gphBgColor, "", {160, 172, 240, 196}, WS_BORDER, "ｸﾞﾗﾌの棒の色"},
    {Kind::Button, U::gphBgColorSel, "...", {246, 172, 282, 196}, 0, "色を選びます"},
    {Kind::Label, kNone, "ｸﾞﾗﾌの強調色(&N):", {8, 208, 156, 226}},
    {Kind::Strip, U::gphNtColor, "", {160, 204, 240, 228}, WS_BORDER, "ﾏｳｽが指している棒の色"},
    {Kind::Button, U::gphNtColorSel, "...", {246, 204, 282, 228}, 0, "色を選びます"},
};
#undef NW_FORMAT_ROWS

constexpr Control kButtons[] = {
    {Kind::DefaultButton, U::OK, "O.K.", {474, 362, 564, 390}, WS_GROUP},
    {Kind::Button, U::Cancel, "ｷｬﾝｾﾙ", {572, 362, 662, 390}},
};

// The user page's caption is fitted to its label after the pages exist.
const otk::otkPagedForm::Page kPages[U::kPageCount] = {
    {"接続／切断の設定", U::utilDial, kDial},
    {"\"今日\" ｶｳﾝﾀの設定", U::utilTday, kTday},
    {"", U::utilUser, kUser},
    {"ｸﾞﾗﾌの設定", U::utilGph, kGph},
    {"ｸﾞﾗﾌ外観の設定", U::utilExpgph, kExpgph},
};

bool InRange(int id, int first, int count) { return id >= first && id < first + count; }

}  // namespace

NWDLogUtil::NWDLogUtil(HINSTANCE instance, HistoryDisplaySettings& history, std::string counterName,
                       std::function<void()> accepted)
    : otk::otkPagedForm(instance, UtilSel, UtilWord, kPageRect),
      h_(history),
      counterName_(std::move(counterName)),
      accepted_(std::move(accepted)) {}

NWDLogUtil::~NWDLogUtil() = default;

void NWDLogUtil::ShowModal(HWND owner, HICON icon, bool topmost) {
  if (!Create({owner, "Orvin.T.K. NetWard 履歴の設定", kClientW, kClientH, icon, topmost, "history.htm"})) return;
  CreatePages(kPages);
  AddControls(Window(), kButtons);
  SetPageCaption(2, UserSettingsCaption(counterName_));
  SelectPage(0);
  LoadHistorySettings();
  RunModal();
}


void NWDLogUtil::LoadHistorySettings() {
  const HistoryUtilValues v = nw::LoadHistorySettings(h_);
  for (int i = 0; i < 3; ++i) SetText(hisShowMaw + i, v.hisShowMaw[static_cast<size_t>(i)]);
  // Each format box's change handler fills its example.
  for (int i = 0; i < 4; ++i) {
    SetText(hisFmtDate + i, v.hisFmtDate[static_cast<size_t>(i)]);
    SetText(hisFmtTime + i, v.hisFmtTime[static_cast<size_t>(i)]);
  }
  SetText(hisShowMawlbl, v.hisShowMawlbl);
  SetText(hisMoveMax, v.hisMoveMax);
  SetRadioIndex(gphGetWay, 3, v.gphGetWay);
  swatch_[gphBgColor] = v.gphBgColor;
  swatch_[gphNtColor] = v.gphNtColor;
  InvalidateRect(Item(gphBgColor), nullptr, TRUE);
  InvalidateRect(Item(gphNtColor), nullptr, TRUE);
}

void NWDLogUtil::PickLabelColor(int swatch) {
  otk::otkDialogColor dlg;
  dlg.WindowHandle = Window();
  dlg.DefaultColor = otkGdi::OleToColorRef(swatch_[swatch]);
  dlg.Flags = 1;  // start on the given colour
  if (!dlg.ShowDialog()) return;
  swatch_[swatch] = dlg.SelectedColor;
  InvalidateRect(Item(swatch), nullptr, TRUE);
}

HBRUSH NWDLogUtil::OnColorStatic(HWND control, HDC dc) {
  const auto s = swatch_.find(GetDlgCtrlID(control));
  if (s == swatch_.end() || Item(s->first) != control) return otk::otkPagedForm::OnColorStatic(control, dc);
  return swatchBrushes_.For(otkGdi::OleToColorRef(s->second));
}

void NWDLogUtil::OK_Click() {
  HistoryUtilValues v;
  for (int i = 0; i < 3; ++i) v.hisShowMaw[static_cast<size_t>(i)] = Text(hisShowMaw + i);
  for (int i = 0; i < 4; ++i) {
    v.hisFmtDate[static_cast<size_t>(i)] = Text(hisFmtDate + i);
    v.hisFmtTime[static_cast<size_t>(i)] = Text(hisFmtTime + i);
  }
  v.hisShowMawlbl = Text(hisShowMawlbl);
  v.hisMoveMax = Text(hisMoveMax);
  v.gphGetWay = RadioIndex(gphGetWay, 3);
  v.gphBgColor = swatch_[gphBgColor];
  v.gphNtColor = swatch_[gphNtColor];
  const HistoryUtilProblem p = ApplyHistorySettings(v, h_);
  if (p) {
    SelectPage(p.Page);
    Warn(p.Message);
    FocusField(p.Box == MoveCountBox ? hisMoveMax : hisShowMaw + p.Box);
    return;
  }
  Close();
  if (accepted_) accepted_();
}

void NWDLogUtil::OnCommand(int id, int code) {
  // Only the captions choose a page here; the strips under them do not.
  if (InRange(id, UtilSel, kPageCount)) return;
  if (PageLabelCommand(id, code)) return;
  if (code == EN_CHANGE) {
    if (InRange(id, hisFmtDate, 4)) SetText(id - hisFmtDate + hisFmtDateEx, HistoryDateExample(Text(id)));
    if (InRange(id, hisFmtTime, 4)) SetText(id - hisFmtTime + hisFmtTimeEx, HistoryDurationExample(Text(id)));
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case OK: OK_Click(); return;
    case Cancel: Close(); return;
    case gphBgColor:  // a click on a swatch works as its "..." button
    case gphBgColorSel: PickLabelColor(gphBgColor); return;
    case gphNtColor:
    case gphNtColorSel: PickLabelColor(gphNtColor); return;
    default: return;
  }
}

}  // namespace nw
