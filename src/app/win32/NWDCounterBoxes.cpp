#include "app/win32/NWDCounterBoxes.h"

#include <vector>

#include "app/win32/NWDBaseLayout.h"

namespace nw {

using namespace mainlayout;

void NWDCounterBoxes::Setup(UINT dpi, HFONT font) {
  dpi_ = dpi;
  font_ = font;
  background_.Reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
}

void NWDCounterBoxes::DrawCounter(HDC dc, CounterBox box, const std::string& timeText, const std::string& countText,
                                  bool grey) {
  BoxState& b = boxes_[box == BoxUser ? 1 : 0];
  b.Time = timeText;
  b.Count = countText;
  b.Grey = grey;
  b.Drawn = true;
  DrawBox(dc, box);
}

void NWDCounterBoxes::DrawPosTim(HDC dc, const std::string& text) {
  posTim_ = text;
  DrawTimBox(dc);
}

void NWDCounterBoxes::DrawVolume(HDC dc, const std::string& volumeText, const std::string& allowanceText) {
  volume_ = volumeText;
  allowance_ = allowanceText;
  DrawVolBox(dc);
}

void NWDCounterBoxes::Paint(HDC dc) {
  DrawCaptions(dc);
  DrawBox(dc, BoxToday);
  DrawBox(dc, BoxUser);
  if (!posTim_.empty()) DrawTimBox(dc);
  if (!volume_.empty() || !allowance_.empty()) DrawVolBox(dc);
}

// The fixed texts, drawn as labels draw theirs (the user-defined heading is a label: its text is
// the user's and has a tip).
void NWDCounterBoxes::DrawCaptions(HDC dc) {
  struct Caption {
    const wchar_t* Text;
    RECT Rect;
    UINT Align;
  };
  static constexpr Caption kCaptions[] = {
      {L"\"今日\"", kToday, DT_CENTER},
      {L"累積接続時間:", kTimeLabel, DT_LEFT},
      {L"累積接続回数:", kCountLabel, DT_LEFT},
  };
  otkGdi::SelectGuard sel(dc, font_);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  for (const Caption& c : kCaptions) {
    RECT r{S(c.Rect.left), S(c.Rect.top), S(c.Rect.right), S(c.Rect.bottom)};
    DrawTextW(dc, c.Text, -1, &r, c.Align | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  }
}

void NWDCounterBoxes::DrawBox(HDC dc, CounterBox box) {
  BoxState& b = boxes_[box == BoxUser ? 1 : 0];
  if (!b.Drawn || !dc) return;
  const POINT at = box == BoxUser ? POINT{kPosUsr.x, kPosTdy.y} : kPosTdy;
  const COLORREF color = b.Grey ? RGB(128, 128, 128) : RGB(0, 0, 0);
  std::vector<otkGdi::TextLine> lines{{b.Time, 0, 0, color, false}, {b.Count, 0, S(kCountLineY), color, false}};
  b.Box.Draw(dc, S(at.x), S(at.y), S(kCounterBox.cx), S(kCounterBox.cy), font_, background_.Get(), lines);
}

void NWDCounterBoxes::DrawTimBox(HDC dc) {
  if (!dc) return;
  std::vector<otkGdi::TextLine> lines{{posTim_, 0, 0, RGB(0, 0, 0), true}};
  posTimBox_.Draw(dc, S(kPosTim.x), S(kPosTim.y), S(kTimBox.cx), S(kTimBox.cy), font_, background_.Get(), lines);
}

void NWDCounterBoxes::DrawVolBox(HDC dc) {
  if (!dc) return;
  std::vector<otkGdi::TextLine> lines{{volume_, 0, 0, RGB(0, 0, 0), false},
                                      {allowance_, 0, S(kAllowanceLineY), RGB(0, 0, 0), false}};
  volBox_.Draw(dc, S(kPosVol.x), S(kPosVol.y), S(kVolBox.cx), S(kVolBox.cy), font_, background_.Get(), lines);
}

}  // namespace nw
