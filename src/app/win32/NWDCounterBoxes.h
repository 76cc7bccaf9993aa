#pragma once
// What the main window draws rather than shows in controls: the "今日" and user-defined counter
// boxes with the table's heading and row names, the elapsed-time line (PosTim) and the volume
// lines. The boxes and lines are drawn off-screen and copied, and their texts are kept so a repaint
// draws them again; the heading and row names are drawn at each paint.
#include <windows.h>

#include <string>

#include "classlib/win32/otkGdi.h"
#include "monitor/MonitorPorts.h"

namespace nw {

class NWDCounterBoxes {
 public:
  // The window's DPI and font (kept by the window); the background is the button face.
  void Setup(UINT dpi, HFONT font);

  void DrawCounter(HDC dc, CounterBox box, const std::string& timeText, const std::string& countText, bool grey);
  void DrawPosTim(HDC dc, const std::string& text);
  // Empty texts draw the bare background: a line that goes away leaves its place blank.
  void DrawVolume(HDC dc, const std::string& volumeText, const std::string& allowanceText);
  // WM_PAINT: the kept texts, drawn again.
  void Paint(HDC dc);

  const std::string& VolumeText() const { return volume_; }
  HBRUSH Background() const { return background_.Get(); }

 private:
  int S(int px96) const { return otkGdi::Scale(px96, dpi_); }
  void DrawCaptions(HDC dc);
  void DrawBox(HDC dc, CounterBox box);
  void DrawTimBox(HDC dc);
  void DrawVolBox(HDC dc);

  UINT dpi_ = 96;
  HFONT font_ = nullptr;
  otkGdi::Brush background_;
  struct BoxState {
    std::string Time, Count;
    bool Grey = false;
    bool Drawn = false;
    otkGdi::OffscreenTextBox Box;
  };
  BoxState boxes_[2];
  std::string posTim_;
  otkGdi::OffscreenTextBox posTimBox_;
  std::string volume_, allowance_;  // the volume line and the daily-allowance line
  otkGdi::OffscreenTextBox volBox_;
};

}  // namespace nw
