#include "app/win32/NWDMainMenu.h"

#include "app/NWDMenuIds.h"
#include "classlib/win32/WinText.h"

namespace nw {

using win::Widen;

MenuInputs MenuInputsNow(const SettingsRecord& s, bool lineConnected, bool trayIconShown) {
  MenuInputs in;
  in.LineConnected = lineConnected;
  // "ﾀｽｸﾄﾚｲに入れる(&T)" only while the icon really is there to bring the program back.
  in.TrayResident = trayIconShown;
  in.LoggingFLG = s.LoggingFLG;
  in.LogFileExists = false;
  in.UserRenew = s.UserRenew;
  in.CounterName = s.CounterName;
  in.RsIdlFLG = s.RsIdlFLG;
  for (const RsSetInfoEntry& e : s.RsSetInfo) in.SetNames.push_back(e.SetName);
  in.RsSetInfoStd = s.RsSetInfoStd;
  return in;
}

NWDMainMenu::~NWDMainMenu() {
  if (tray_) DestroyMenu(tray_);
}

HMENU NWDMainMenu::CreateBar(const MenuInputs& in) {
  bar_ = CreateMenu();
  for (const MenuTop& top : BuildMainMenu(in)) {
    HMENU popup = CreatePopupMenu();
    Fill(popup, top.Items);
    AppendMenuW(bar_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), Widen(top.Caption).c_str());
  }
  return bar_;
}

int NWDMainMenu::BarIndex(HMENU popup) const {
  if (!bar_ || !IsMenu(bar_)) return -1;
  for (int i = 0; i < GetMenuItemCount(bar_); ++i)
    if (GetSubMenu(bar_, i) == popup) return i;
  return -1;
}

void NWDMainMenu::Refill(HMENU popup, int index, const MenuInputs& in) {
  const std::vector<MenuTop> tops = BuildMainMenu(in);
  if (index >= 0 && index < static_cast<int>(tops.size())) Fill(popup, tops[static_cast<size_t>(index)].Items);
}

void NWDMainMenu::TrackTray(HWND owner, const MenuInputs& in) {
  if (!tray_) tray_ = CreatePopupMenu();
  Fill(tray_, BuildTrayMenu(in));
  POINT pt{};
  GetCursorPos(&pt);
  // The popup closes properly only when its owner is in the foreground.
  SetForegroundWindow(owner);
  TrackPopupMenu(tray_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, owner, nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
}

void NWDMainMenu::SetUserClear(const std::string& caption, bool enabled) {
  userClearCaption_ = caption;
  userClearEnabled_ = enabled;
}

bool NWDMainMenu::Available(const MenuInputs& in, int id) const {
  if (id == cmd::UserClear) return userClearEnabled_;
  return CommandAvailable(in, id);
}

void NWDMainMenu::Fill(HMENU popup, const std::vector<MenuEntry>& items) {
  while (GetMenuItemCount(popup) > 0) DeleteMenu(popup, 0, MF_BYPOSITION);
  for (const MenuEntry& e : items) {
    if (e.IsSeparator()) {
      AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::string caption = e.Caption;
    UINT flags = MF_STRING | (e.Enabled ? MF_ENABLED : MF_GRAYED) | (e.Checked ? MF_CHECKED : MF_UNCHECKED);
    if (e.Id == cmd::UserClear && !userClearCaption_.empty()) {
      caption = userClearCaption_;
      flags = MF_STRING | (userClearEnabled_ ? MF_ENABLED : MF_GRAYED);
    }
    if (!e.Items.empty()) {
      HMENU sub = CreatePopupMenu();
      Fill(sub, e.Items);
      AppendMenuW(popup, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), Widen(caption).c_str());
    } else {
      AppendMenuW(popup, flags, static_cast<UINT_PTR>(e.Id), Widen(caption).c_str());
    }
  }
}

}  // namespace nw
