#include "history/win32/NWDLogGraph.h"

#include <string>
#include <utility>

#include "classlib/otkDateFormat.h"
#include "classlib/otkSizeText.h"
#include "res/resource.h"

namespace nw {

namespace {

using otkForm::Control;
using otkForm::Kind;

constexpr int kNone = -1;
constexpr DWORD kNoPrefix = SS_NOPREFIX;
// Lines of the chart: behind the bars (created after them, clipped by them).
constexpr DWORD kAxis = SS_BLACKRECT | WS_CLIPSIBLINGS;
constexpr DWORD kGrid = SS_GRAYRECT | WS_CLIPSIBLINGS;

// Layout at 96 DPI (a pixel is 15 twips there): the chart's top at 64, its baseline at 329, bar 0
// at 40 and the right end of the columns at 424 come from the twip geometry of the bars.
constexpr int kClientW = 440, kClientH = 444;
constexpr int kTop = kBaseline / 15 - kChartHeight / 15, kBase = kBaseline / 15;
constexpr int kMid = (kTop + kBase) / 2;
constexpr int kRight = (kBarLeft + kBarPitch * kGraphBars) / 15;

constexpr Control kTexts[] = {
    {Kind::Label, NWDLogGraph::MesCase, "", {8, 6, 432, 22}, kNoPrefix},
    {Kind::Label, NWDLogGraph::MesPeriod, "", {8, 24, 432, 40}, kNoPrefix},
    {Kind::Label, NWDLogGraph::mesBlock, "", {4, 44, 160, 60}, kNoPrefix},
    {Kind::Label, NWDLogGraph::mesMax, "", {0, kTop - 7, 34, kTop + 9}, kNoPrefix | SS_RIGHT},
    {Kind::Label, NWDLogGraph::mesMidl, "", {0, kMid - 7, 34, kMid + 9}, kNoPrefix | SS_RIGHT},
    {Kind::Label, NWDLogGraph::mesBase, "0", {0, kBase - 8, 34, kBase + 8}, kNoPrefix | SS_RIGHT},
    {Kind::Label, NWDLogGraph::mesDay, "（32日）", {kRight - 80, kBase + 4, kRight, kBase + 20}, kNoPrefix | SS_RIGHT},
    {Kind::Label, kNone, "", {37, kTop, 38, kBase + 1}, kAxis},
    {Kind::Label, kNone, "", {37, kBase, kRight + 4, kBase + 1}, kAxis},
    {Kind::Label, kNone, "", {38, kTop, kRight + 4, kTop + 1}, kGrid},
    {Kind::Label, kNone, "", {38, kMid, kRight + 4, kMid + 1}, kGrid},
    {Kind::Label, kNone, "接続時間:", {40, 356, 112, 372}},
    {Kind::Label, NWDLogGraph::gphTime, "選択なし", {114, 356, 336, 372}, kNoPrefix},
    {Kind::Label, kNone, "接続回数:", {40, 376, 112, 392}},
    {Kind::Label, NWDLogGraph::gphCount, "選択なし", {114, 376, 336, 392}, kNoPrefix},
    {Kind::Label, kNone, "更新日時:", {40, 396, 112, 412}},
    {Kind::Label, NWDLogGraph::gphDate, "選択なし", {114, 396, 336, 412}, kNoPrefix},
    {Kind::Label, kNone, "ﾃﾞｰﾀ量:", {40, 416, 112, 432}},
    {Kind::Label, NWDLogGraph::gphVolumeText, "選択なし", {114, 416, 336, 432}, kNoPrefix},
    // "O.K." first: the focus starts there, so Enter closes.
    {Kind::DefaultButton, NWDLogGraph::cdOK, "O.K.", {342, 398, 430, 424}, WS_GROUP},
    {Kind::Button, NWDLogGraph::cdBack, "前へ", {342, 352, 384, 392}},
    {Kind::Button, NWDLogGraph::cdNext, "次へ", {388, 352, 430, 392}},
    {Kind::Check, NWDLogGraph::gphVolume, "ﾃﾞｰﾀ量で表示(&V)", {262, 42, 432, 62}},
};

constexpr const char* kNoVolume = "記録なし";

bool KeyDown(const MSG& m, WPARAM vk) { return (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) && m.wParam == vk; }

}  // namespace

NWDLogGraph::NWDLogGraph(HINSTANCE instance, const HistoryDisplaySettings& history, NWDLogGraphSource& source,
                         VolumeDisplaySettings& volume)
    : Form(instance), h_(history), source_(source), volume_(volume) {}

NWDLogGraph::~NWDLogGraph() = default;

void NWDLogGraph::ShowModal(HWND owner, HICON icon, bool topmost) {
  if (!Create({owner, "Orvin.T.K. NetWard \"今日\"ｶｳﾝﾀの履歴のｸﾞﾗﾌ", kClientW, kClientH, icon, topmost, "history.htm"})) return;
  hotBar_ = -1;
  // The bars first: they lie above the chart's lines.
  for (int i = 0; i < kGraphBars; ++i) {
    const Control bar[] = {{Kind::Strip, gphSource + i, "", {0, 0, 1, 1}}};
    AddControls(Window(), bar);
    Show(gphSource + i, false);
  }
  AddControls(Window(), kTexts);

  const HINSTANCE inst = GetModuleHandleW(nullptr);
  backPicture_ = otkGdi::LoadBitmapScaled(inst, IDB_HISTORY_BACK, Dpi());
  nextPicture_ = otkGdi::LoadBitmapScaled(inst, IDB_HISTORY_NEXT, Dpi());
  for (auto [id, picture] : {std::pair{cdBack, backPicture_.Get()}, std::pair{cdNext, nextPicture_.Get()}}) {
    if (!picture) continue;  // the caption stays
    HWND b = Item(id);
    SetWindowLongW(b, GWL_STYLE, GetWindowLongW(b, GWL_STYLE) | BS_BITMAP);
    SendMessageW(b, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
  }
  const std::string step = std::to_string(PageSizeFor(h_, LogGraph).S);
  // The buttons' keys are Alt+Left and Alt+Right (PreTranslate).
  SetTip(cdBack, "前へ" + step + "件移動");
  SetTip(cdNext, "次へ" + step + "件移動");
  SetChecked(gphVolume, volume_.gphVolume);

  LogGraphExpress(source_.setHisTdayGraph(KeepPosition).value_or(GraphData{}));
  RunModal();
}

int NWDLogGraph::Px(int twips) const { return otkGdi::TwipsToPixels(twips, Dpi()); }

void NWDLogGraph::LogGraphExpress(const GraphData& data) {
  data_ = data;
  if (data_.Points.size() > static_cast<size_t>(kGraphBars)) data_.Points.resize(kGraphBars);
  const bool volume = volume_.gphVolume;
  const GraphScale scale = volume ? ChooseVolumeScale(data_.MaxVolume) : ChooseGraphScale(data_.MaxTime);
  SetText(mesBlock, scale.Block);
  SetText(mesMax, scale.Max);
  SetText(mesMidl, scale.Midl);
  SetText(MesCase, data_.MesCase);
  SetText(MesPeriod, data_.MesPeriod);
  const int count = static_cast<int>(data_.Points.size());
  if (hotBar_ >= count) MoveBarHighlight(-1);
  for (int i = 0; i < kGraphBars; ++i) {
    HWND bar = Item(gphSource + i);
    if (i >= count) {
      ShowWindow(bar, SW_HIDE);
      continue;
    }
    const GraphPoint& p = data_.Points[static_cast<size_t>(i)];
    const int height = BarHeight(GraphMeasure(p, volume), scale.FullScale);
    const int left = Px(kBarLeft + kBarPitch * i), top = Px(kBaseline - height);
    MoveWindow(bar, left, top, Px(kBarLeft + kBarPitch * i + kBarWidth) - left, Px(kBaseline) - top, TRUE);
    SetTip(gphSource + i, BarTip(p));
    ShowWindow(bar, SW_SHOWNA);
  }
}

std::string NWDLogGraph::BarTip(const GraphPoint& p) const {
  if (!volume_.gphVolume) return FormatDuration(p.PlusTime, h_.hisFmtTime[LogGraph]);
  return p.Volume ? otk::FormatSize(p.Volume->Total()) : kNoVolume;
}

int NWDLogGraph::ColumnAtPixel(POINT client) const {
  return BarColumnAt(otkGdi::PixelsToTwips(client.x, Dpi()), otkGdi::PixelsToTwips(client.y, Dpi()));
}

void NWDLogGraph::ShowBarReadout(int i) {
  if (i < 0 || i == hotBar_ || i >= static_cast<int>(data_.Points.size())) return;
  const GraphPoint& p = data_.Points[static_cast<size_t>(i)];
  SetText(gphTime, FormatDuration(p.PlusTime, h_.hisFmtTime[LogGraph]));
  SetText(gphCount, std::to_string(p.PlusCount) + " 回");
  SetText(gphDate, FormatDate(p.ResetDate, h_.hisFmtDate[LogGraph]));
  SetText(gphVolumeText, p.Volume ? "送信 " + otk::FormatSize(p.Volume->Sent) + ", 受信 " + otk::FormatSize(p.Volume->Received)
                                  : kNoVolume);
  MoveBarHighlight(i);
}

void NWDLogGraph::MoveBarHighlight(int i) {
  const int was = hotBar_;
  hotBar_ = i;
  // Each bar takes its colour from OnColorStatic when it repaints.
  if (was >= 0) InvalidateRect(Item(gphSource + was), nullptr, TRUE);
  if (i >= 0) InvalidateRect(Item(gphSource + i), nullptr, TRUE);
}

void NWDLogGraph::MoveHighlightBy(int step) {
  const int count = static_cast<int>(data_.Points.size());
  if (count == 0) return;
  int next = hotBar_ < 0 ? (step > 0 ? 0 : count - 1) : hotBar_ + step;
  if (next < 0) next = 0;
  if (next >= count) next = count - 1;
  ShowBarReadout(next);
}

void NWDLogGraph::Page(LogWindowMode mode) {
  if (auto data = source_.setHisTdayGraph(mode)) LogGraphExpress(*data);
  MoveBarHighlight(-1);  // the readout keeps what it showed last
}

bool NWDLogGraph::PreTranslate(const MSG& m) {
  if (m.message == WM_MOUSEMOVE) {
    const int id = GetDlgCtrlID(m.hwnd);
    if (m.hwnd != Window() && id >= gphSource && id < gphSource + kGraphBars) {
      ShowBarReadout(id - gphSource);
    } else {
      POINT pt{static_cast<short>(LOWORD(m.lParam)), static_cast<short>(HIWORD(m.lParam))};
      MapWindowPoints(m.hwnd, Window(), &pt, 1);
      ShowBarReadout(ColumnAtPixel(pt));
    }
    return false;  // the tool tips see the move too
  }
  const bool alt = m.message == WM_SYSKEYDOWN;
  if (alt && KeyDown(m, VK_LEFT)) Page(PageBack);
  else if (alt && KeyDown(m, VK_RIGHT)) Page(PageNext);
  else if (alt) return false;
  else if (KeyDown(m, VK_LEFT)) MoveHighlightBy(-1);
  else if (KeyDown(m, VK_RIGHT)) MoveHighlightBy(1);
  else if (KeyDown(m, VK_HOME)) MoveHighlightBy(-kGraphBars);
  else if (KeyDown(m, VK_END)) MoveHighlightBy(kGraphBars);
  else return false;
  return true;
}

HBRUSH NWDLogGraph::OnColorStatic(HWND control, HDC) {
  const int id = GetDlgCtrlID(control);
  if (id < gphSource || id >= gphSource + kGraphBars) return nullptr;
  const int32_t color = id - gphSource == hotBar_ ? h_.gphNtColor : h_.gphBgColor;
  return brushes_.For(otkGdi::OleToColorRef(static_cast<uint32_t>(color)));
}

void NWDLogGraph::OnDestroy() { data_ = GraphData{}; }

void NWDLogGraph::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case cdBack: Page(PageBack); return;
    case cdNext: Page(PageNext); return;
    case cdOK: Close(); return;
    case gphVolume:
      volume_.gphVolume = Checked(gphVolume);
      LogGraphExpress(GraphData(data_));
      return;
    default: return;
  }
}

}  // namespace nw
