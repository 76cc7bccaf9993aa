#include "classlib/win32/otkPagedForm.h"

#include <string>
#include <vector>

namespace otk {

namespace {

using otkForm::Control;
using otkForm::Kind;

// The page labels: strips down the left edge, as wide as the room left of the pages, the caption
// lying on each.
constexpr int kStripX = 8, kStripH = 30, kStripGap = 34;
// The keys that choose pages, told by every page label.
constexpr const char* kPageKeysTip = "Ctrl+Tab / Ctrl+PgDn: 次のﾍﾟｰｼﾞ、Ctrl+Shift+Tab / Ctrl+PgUp: 前のﾍﾟｰｼﾞ";

}  // namespace

otkPagedForm::otkPagedForm(HINSTANCE instance, int selId, int wordId, const RECT& pageRect)
    : Form(instance), sel_(*this), selId_(selId), wordId_(wordId), pageRect_(pageRect) {}

otkPagedForm::~otkPagedForm() = default;

void otkPagedForm::CreatePages(std::span<const Page> pages) {
  const int count = static_cast<int>(pages.size());
  const int stripW = pageRect_.left - 8 - kStripX;
  for (int i = 0; i < count; ++i) {
    const int y = 8 + i * kStripGap;
    const Control strips[] = {
        {Kind::Strip, selId_ + i, "", {kStripX, y, kStripX + stripW, y + kStripH}, WS_CLIPSIBLINGS, kPageKeysTip},
        {Kind::Strip, wordId_ + i, pages[static_cast<size_t>(i)].Name,
         {kStripX + 6, y + 7, kStripX + stripW - 6, y + kStripH - 7}, 0, kPageKeysTip},
    };
    AddControls(Window(), strips);
    SetWindowPos(Item(wordId_ + i), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    wordToBase_[Item(wordId_ + i)] = Item(selId_ + i);
  }
  for (int i = 0; i < count; ++i) {
    const Page& p = pages[static_cast<size_t>(i)];
    HWND page = AddPage(p.Container, pageRect_);
    AddControls(page, p.Controls);
    containers_.push_back(p.Container);
    sel_.RegistControl(reinterpret_cast<otk::otkControlHandle>(Item(selId_ + i)),
                       reinterpret_cast<otk::otkControlHandle>(Item(wordId_ + i)),
                       reinterpret_cast<otk::otkControlHandle>(page));
  }
}

void otkPagedForm::SelectPage(int index) {
  sel_.EventActionClickLabel(static_cast<int16_t>(index));
  // The focus must not stay on a control of a page that went away.
  HWND focus = GetFocus();
  if (focus && IsChild(Window(), focus) && !IsWindowVisible(focus)) FocusFirstOfPage();
}

void otkPagedForm::FocusFirstOfPage() {
  if (sel_.NowVisIndex < 0) return;
  HWND page = Item(containers_[static_cast<size_t>(sel_.NowVisIndex)]);
  HWND first = GetNextDlgTabItem(page, nullptr, FALSE);
  HWND target = first;
  while (target && !TakesFirstFocus(GetDlgCtrlID(target))) {
    target = GetNextDlgTabItem(page, target, FALSE);
    if (target == first) break;
  }
  if (target) {
    SetFocus(target);
    FocusField(GetDlgCtrlID(target));
  }
}

void otkPagedForm::SetPageCaption(int index, std::string_view caption) {
  const int id = wordId_ + index;
  SetFittedText(id, caption);
  // Shortened: the whole caption in the tip.
  const std::string shown = Text(id);
  const std::string tip = shown == caption ? kPageKeysTip : std::string(caption) + "\n" + kPageKeysTip;
  SetTip(id, tip);
  SetTip(selId_ + index, tip);
}

bool otkPagedForm::PageLabelCommand(int id, int code) {
  const int count = static_cast<int>(containers_.size());
  int index = -1;
  if (id >= selId_ && id < selId_ + count) index = id - selId_;
  if (id >= wordId_ && id < wordId_ + count) index = id - wordId_;
  if (index < 0) return false;
  if ((code == STN_CLICKED || code == STN_DBLCLK) && PageSelectable(index)) SelectPage(index);
  return true;
}

bool otkPagedForm::PreTranslate(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || !(GetKeyState(VK_CONTROL) & 0x8000)) return false;
  int step = 0;
  if (msg.wParam == VK_TAB) step = (GetKeyState(VK_SHIFT) & 0x8000) ? -1 : 1;
  if (msg.wParam == VK_NEXT) step = 1;
  if (msg.wParam == VK_PRIOR) step = -1;
  if (step == 0) return false;
  // The next page the user may choose, round the column.
  const int count = static_cast<int>(containers_.size());
  int next = sel_.NowVisIndex < 0 ? 0 : sel_.NowVisIndex;
  for (int tried = 0; tried < count; ++tried) {
    next = (next + step + count) % count;
    if (PageSelectable(next)) break;
  }
  SelectPage(next);
  FocusFirstOfPage();
  return true;
}

void otkPagedForm::SetPageCaptionColor(int index, otk::OleColor color) {
  SetForeColor(reinterpret_cast<otk::otkControlHandle>(Item(wordId_ + index)), color);
}

// ---- the page labels' colours ------------------------------------------------------------------------

HBRUSH otkPagedForm::OnColorStatic(HWND control, HDC dc) {
  HWND base = control;
  if (const auto w = wordToBase_.find(control); w != wordToBase_.end()) base = w->second;
  const auto back = back_.find(base);
  if (back == back_.end()) return nullptr;
  if (const auto fore = fore_.find(control); fore != fore_.end())
    SetTextColor(dc, otkGdi::OleToColorRef(fore->second));
  SetBkColor(dc, otkGdi::OleToColorRef(back->second));
  return brushes_.For(otkGdi::OleToColorRef(back->second));
}

void otkPagedForm::SetBackColor(otk::otkControlHandle label, otk::OleColor color) {
  HWND h = reinterpret_cast<HWND>(label);
  back_[h] = color;
  InvalidateRect(h, nullptr, TRUE);
  // The caption on the strip takes the strip's background.
  for (const auto& [word, base] : wordToBase_)
    if (base == h) InvalidateRect(word, nullptr, TRUE);
}

void otkPagedForm::SetForeColor(otk::otkControlHandle label, otk::OleColor color) {
  HWND h = reinterpret_cast<HWND>(label);
  fore_[h] = color;
  InvalidateRect(h, nullptr, TRUE);
}

bool otkPagedForm::Visible(otk::otkControlHandle container) {
  return (GetWindowLongW(reinterpret_cast<HWND>(container), GWL_STYLE) & WS_VISIBLE) != 0;
}

void otkPagedForm::SetVisible(otk::otkControlHandle container, bool visible) {
  ShowWindow(reinterpret_cast<HWND>(container), visible ? SW_SHOWNA : SW_HIDE);
}

}  // namespace otk
