#include "app/win32/NWDBaseDialogs.h"

#include "data/NWDGlobal.h"
#include "history/win32/NWDLogList.h"
#include "settings/win32/NWDLaunchPorts.h"
#include "settings/win32/NWDUtil.h"
#include "settings/win32/NWDUtilSprEntry.h"
#include "settings/win32/NWDUtilSuper.h"
#include "settings/win32/NWDVersion.h"

namespace nw {

namespace {

// Marks a dialog open for as long as it runs, also when it ends with an error.
template <class D>
class OpenMark {
 public:
  OpenMark(D*& slot, D& dialog) : slot_(slot) { slot_ = &dialog; }
  OpenMark(const OpenMark&) = delete;
  OpenMark& operator=(const OpenMark&) = delete;
  ~OpenMark() { slot_ = nullptr; }

 private:
  D*& slot_;
};

}  // namespace

bool NWDBaseDialogs::OperationSettings(UtilityHost& host, HICON icon, bool topmost) {
  if (util_) return false;
  NWDLaunchPorts launch;
  NWDUtil dialog(instance_, host, launch, ProgramFolder(), NWDLaunchPorts::ExeName());
  const OpenMark open(util_, dialog);
  dialog.ShowModal(icon, topmost);
  return true;
}

bool NWDBaseDialogs::Advanced(SettingsRecord& settings, RasQuery& ras, HICON icon, bool topmost) {
  if (super_) return false;
  NWDUtilSuper dialog(instance_, settings, ras);
  const OpenMark open(super_, dialog);
  dialog.ShowModal(icon, topmost);
  return true;
}

bool NWDBaseDialogs::WatchEntries(SettingsRecord& settings, RasQuery& ras, HICON icon, bool topmost) {
  if (entry_) return false;
  NWDUtilSprEntry dialog(instance_, settings, ras);
  const OpenMark open(entry_, dialog);
  dialog.ShowModal(icon, topmost);
  return true;
}

bool NWDBaseDialogs::History(HWND owner, SettingsFileData& data, HICON icon, bool topmost) {
  if (history_) return false;
  NWDLogList list(instance_, data.History, data.Settings.CounterName);
  const OpenMark open(history_, list);
  list.ShowModal(owner, icon, topmost);
  return true;
}

bool NWDBaseDialogs::About(HWND owner, bool topmost) {
  if (about_) return false;
  NWDVersion about(instance_, owner, topmost);
  const OpenMark open(about_, about);
  about.ShowModal();
  return true;
}

void NWDBaseDialogs::CloseAll() {
  if (history_) history_->Unload();
  if (util_) util_->Unload();
  if (super_) super_->Unload();
  if (entry_) entry_->Unload();
  if (about_ && about_->Window()) PostMessageW(about_->Window(), WM_CLOSE, 0, 0);
}

}  // namespace nw
