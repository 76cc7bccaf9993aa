#pragma once
// otkSelFrame: turns a column of labels into page tabs. For each page a dialog registers a pair of
// labels (the coloured strip and the caption on it) and the container of the page's controls;
// selecting a page colours its labels as active, shows its container and hides the previous one.
//
// The labels and containers are the dialog's own windows, known here only by an opaque handle and
// reached through otkSelFramePort, so the selection logic is the same everywhere.
#include <cstdint>
#include <functional>
#include <vector>

namespace otk {

// A colour as the program's windows store it: an RGB value, or a system colour reference
// (the high bit set plus the system colour index), which follows the user's colour scheme.
using OleColor = uint32_t;
inline constexpr OleColor SystemColor(uint32_t index) { return 0x80000000u | index; }

using otkControlHandle = std::uintptr_t;

class otkSelFramePort {
 public:
  virtual ~otkSelFramePort() = default;
  virtual void SetBackColor(otkControlHandle label, OleColor color) = 0;
  virtual void SetForeColor(otkControlHandle label, OleColor color) = 0;
  virtual bool Visible(otkControlHandle container) = 0;
  virtual void SetVisible(otkControlHandle container, bool visible) = 0;
};

class otkSelFrame {
 public:
  explicit otkSelFrame(otkSelFramePort& port) : port_(port) {}

  // Raised before a change of page; setting Cancel to exactly 1 keeps the old page.
  std::function<void(int16_t Before, int16_t Index, int16_t& Cancel)> ChangedIndex;

  void RegistControl(otkControlHandle agBaseLabel, otkControlHandle agWordLabel, otkControlHandle agBaseFrame);
  void EventActionClickLabel(int16_t index);
  int16_t Count() const { return static_cast<int16_t>(pages_.size()); }

  int16_t NowVisIndex = -1;
  OleColor ActiveBackColor = SystemColor(13);  // highlight
  OleColor ActiveForeColor = SystemColor(14);  // highlight text
  OleColor NotAcvBackColor = SystemColor(22);  // 3-D light
  OleColor NotAcvForeColor = SystemColor(8);   // window text

 private:
  struct Page {
    otkControlHandle Base, Word, Frame;
  };
  otkSelFramePort& port_;
  std::vector<Page> pages_;
};

}  // namespace otk
