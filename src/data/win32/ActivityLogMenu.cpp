#include "data/win32/ActivityLogMenu.h"

#include "classlib/win32/otkDialogFile.h"

namespace nw {

bool AdsLognu_Click(HWND owner, ActivityLogCommands& commands) {
  const ActivityLogCommands::SaveDialogSetup setup = commands.AdsLognuSetup();
  otkDialogFile dlg;
  dlg.DefaultExtension = setup.DefaultExtension;
  dlg.WindowHandle = owner;
  dlg.DefaultAddress = setup.DefaultAddress;
  dlg.DefaultFileName = setup.DefaultFileName;
  dlg.Title = setup.Title;
  dlg.Filter = setup.Filter;
  dlg.FilterIndex = setup.FilterIndex;
  dlg.Flags = setup.Flags;
  if (!dlg.ShowDialogOfSave()) return false;
  return commands.AdsLognuChosen(dlg.SelectedAddress);
}

}  // namespace nw
