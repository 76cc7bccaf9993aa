#pragma once
// Buttons of the notice dialog for a button mood; the dialog window applies them in ShowMe/ShowMeRe.
#include <string>

namespace nw {

struct NoticeButtons {
  bool Valid = false;           // false: an unknown mood; texts and buttons stay as they are
  std::string GoCaption;        // BtnGo
  int GoLeftTwips = 0;
  bool HasSecond = false;       // false: BtnNgtv is left as it is (a one-button notice keeps an old second button)
  std::string SecondCaption;    // BtnNgtv, shown when HasSecond
  static constexpr int kSecondLeftTwips = 3360;
};

NoticeButtons NoticeButtonsFor(int agexMood);

}  // namespace nw
