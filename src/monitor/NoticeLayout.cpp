#include "monitor/NoticeLayout.h"

namespace nw {

NoticeButtons NoticeButtonsFor(int agexMood) {
  NoticeButtons b;
  switch (agexMood) {
    case 0:
      b.Valid = true;
      b.GoCaption = "O.K.";
      b.GoLeftTwips = 2700;  // alone: centred
      break;
    case 1:
      b.Valid = true;
      b.GoCaption = "はい(&Y)";
      b.GoLeftTwips = 2040;
      b.HasSecond = true;
      b.SecondCaption = "いいえ(&N)";
      break;
    case 2:
      b.Valid = true;
      b.GoCaption = "適用(&A)";
      b.GoLeftTwips = 2040;
      b.HasSecond = true;
      b.SecondCaption = "戻す(&B)";
      break;
    default:
      break;
  }
  return b;
}

}  // namespace nw
