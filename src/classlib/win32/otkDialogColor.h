#pragma once
// otkDialogColor: the system colour dialog. Flags are the dialog's own (1: start on DefaultColor);
// the 16 custom colours start at 0 and live as long as the object.
#include <windows.h>

#include <array>

namespace otk {

class otkDialogColor {
 public:
  HWND WindowHandle = nullptr;
  DWORD Flags = 0;
  COLORREF DefaultColor = 0;
  COLORREF SelectedColor = 0;

  // True when the user confirmed a colour (SelectedColor and the custom colours are then set).
  bool ShowDialog();

 private:
  std::array<COLORREF, 16> custom_{};
};

}  // namespace otk
