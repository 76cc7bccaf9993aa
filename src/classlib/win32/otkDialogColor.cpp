#include "classlib/win32/otkDialogColor.h"

#include <commdlg.h>

namespace otk {

bool otkDialogColor::ShowDialog() {
  // The dialog works on a copy: a cancelled dialog leaves the custom colours as they were.
  std::array<COLORREF, 16> custom = custom_;
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = WindowHandle;
  cc.rgbResult = DefaultColor;
  cc.lpCustColors = custom.data();
  cc.Flags = Flags;
  if (!ChooseColorW(&cc)) return false;
  custom_ = custom;
  SelectedColor = cc.rgbResult;
  return true;
}

}  // namespace otk
