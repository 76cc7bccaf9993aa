// The notice logic: one dialog at a time; a notice raised while it is open replaces its texts.
#include "monitor/Monitor.h"

namespace nw {

bool Monitor::ShowNoticeDialog(const std::string& agSmian, const std::string& agSsub, int agexMood, int agacMood) {
  if (noticeLoaded_ == 1 || view_.LookersbEnabled()) {
    exMood_ = agexMood;
    acMood_ = agacMood;
    marks_.NoDefaultSetNoticePending = false;
    notice_.ShowMeRe(agSmian, agSsub, agexMood, agacMood);
    return false;
  }
  // Bring the display up to date first; what this cycle raises is shown before this notice.
  Looker_Timer();
  view_.StartLookersb(settings_.TimerIval);
  exMood_ = agexMood;
  acMood_ = agacMood;
  marks_.NoDefaultSetNoticePending = false;
  notice_.ShowMe(agSmian, agSsub, agexMood, agacMood);
  view_.StopLookersb();
  return true;
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
