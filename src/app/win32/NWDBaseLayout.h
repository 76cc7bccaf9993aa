#pragma once
// The main window's design layout at 96 DPI (client coordinates), scaled by the screen's DPI. The
// settings file's position check needs the window's outer size before the window exists.
#include <windows.h>

#include "classlib/win32/otkForm.h"

namespace nw::mainlayout {

inline constexpr int kClientW = 310, kClientH = 270;
inline constexpr RECT kDialGoBtn{6, 6, 50, 46};
inline constexpr RECT kLockBtn{54, 6, 98, 46};
inline constexpr RECT kTopWinBtn{106, 6, 304, 24};
inline constexpr RECT kUserDefine{200, 68, 304, 82};
inline constexpr RECT kStatusLabel{6, 156, 120, 170};
inline constexpr RECT kStatusList{6, 172, 304, 264};

// What is drawn rather than a control: the elapsed-time line (PosTim), the two counter boxes with
// the "今日" heading and the row names, and the volume and daily-allowance lines between the
// counters and the status list.
inline constexpr RECT kToday{92, 68, 196, 82};
inline constexpr RECT kTimeLabel{6, 84, 84, 98};
inline constexpr RECT kCountLabel{6, 104, 84, 118};
inline constexpr POINT kPosTim{63, 50};
inline constexpr SIZE kTimBox{241, 13};
inline constexpr POINT kPosTdy{92, 84};
inline constexpr POINT kPosUsr{200, 84};
inline constexpr SIZE kCounterBox{104, 33};
inline constexpr int kCountLineY = 20;
inline constexpr POINT kPosVol{6, 122};
inline constexpr SIZE kVolBox{298, 29};
inline constexpr int kAllowanceLineY = 16;

// The window's outer size at `dpi`: client area, frame, caption and menu bar, in pixels.
inline SIZE OuterSize(UINT dpi) { return otkForm::FrameSize(kClientW, kClientH, true, true, dpi); }

}  // namespace nw::mainlayout
