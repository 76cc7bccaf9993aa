#include "classlib/otkSelFrame.h"

namespace otk {

void otkSelFrame::RegistControl(otkControlHandle agBaseLabel, otkControlHandle agWordLabel,
                                otkControlHandle agBaseFrame) {
  pages_.push_back(Page{agBaseLabel, agWordLabel, agBaseFrame});
  port_.SetBackColor(agBaseLabel, NotAcvBackColor);
  port_.SetForeColor(agWordLabel, NotAcvForeColor);
}

void otkSelFrame::EventActionClickLabel(int16_t index) {
  if (index == NowVisIndex || index < 0 || index >= Count()) return;
  int16_t cancel = 0;
  if (ChangedIndex) ChangedIndex(NowVisIndex, index, cancel);
  if (cancel == 1) return;
  const Page& next = pages_[static_cast<size_t>(index)];
  if (NowVisIndex >= 0 && NowVisIndex < Count()) {
    const Page& old = pages_[static_cast<size_t>(NowVisIndex)];
    port_.SetBackColor(old.Base, NotAcvBackColor);
    port_.SetForeColor(old.Word, NotAcvForeColor);
    // Two pages may share one container: it then stays.
    if (port_.Visible(old.Frame) && !port_.Visible(next.Frame)) port_.SetVisible(old.Frame, false);
  }
  port_.SetBackColor(next.Base, ActiveBackColor);
  port_.SetForeColor(next.Word, ActiveForeColor);
  if (!port_.Visible(next.Frame)) port_.SetVisible(next.Frame, true);
  NowVisIndex = index;
}

}  // namespace otk
