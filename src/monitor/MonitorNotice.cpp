// The notice logic: one dialog at a time; a notice raised while it is open replaces its texts.
#include <utility>

#include "monitor/Monitor.h"

namespace nw {

bool Monitor::ShowNoticeDialog(const std::string& agSmian, const std::string& agSsub, int agexMood, int agacMood) {
  if (stopped_) return false;
  if (noticeLoaded_ == 1 || view_.LookersbEnabled()) {
    TakeNoticeMoods(agexMood, agacMood);
    notice_.ShowMeRe(agSmian, agSsub, agexMood, agacMood);
    return false;
  }
  if (noticeOpening_) {
    // Raised by the cycle that runs just before the dialog opens: it is the newer notice, so the
    // dialog opens with its texts, as if they had replaced the open dialog's.
    opening_ = {agSmian, agSsub, agexMood, agacMood};
    TakeNoticeMoods(agexMood, agacMood);
    return false;
  }
  // Bring the display up to date first.
  noticeOpening_ = true;
  opening_ = {agSmian, agSsub, agexMood, agacMood};
  Looker_Timer();
  noticeOpening_ = false;
  view_.StartLookersb(settings_.TimerIval);
  const PendingNotice shown = std::move(opening_);
  TakeNoticeMoods(shown.ExMood, shown.AcMood);
  notice_.ShowMe(shown.Main, shown.Sub, shown.ExMood, shown.AcMood);
  view_.StopLookersb();
  return true;
}

void Monitor::TakeNoticeMoods(int agexMood, int agacMood) {
  exMood_ = agexMood;
  acMood_ = agacMood;
  // The dialog takes new texts: a missing default set may be announced again.
  marks_.NoDefaultSetNoticePending = false;
}

void Monitor::OnNoticeGo() {
  switch (acMood_) {
    case 0:
      RequestLine(1, false);
      break;
    case 1:
      RequestLine(0, false);
      break;
    case 2:
      WatchSystemTimeAplySysTim(clock_.Now(), clock_.Tick(), true);
      break;
    default:
      break;
  }
}

void Monitor::OnNoticeNegative() {
  if (acMood_ == 2) WatchSystemTimeBackSysTim(clock_.Now(), clock_.Tick(), true, true);
}

void Monitor::OnNoticeUnloaded() {
  acMood_ = -1;
  noticeLoaded_ = 0;
  exMood_ = 0;
}

}  // namespace nw
