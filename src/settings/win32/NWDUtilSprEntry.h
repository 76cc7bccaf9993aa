#pragma once
// NWDUtilSprEntry: the watch-entry dialog. Page "監視方式の設定" chooses the watch way; only with
// the operating system's way can pages "監視ｴﾝﾄﾘの設定" (the phonebook entries to watch, with the
// live state of the selected one, refreshed every 500 ms while the page is shown) and
// "計測の詳細設定" (the state from which a connection counts as up) be chosen.
//
//     NWDUtilSprEntry dlg(instance, settings, ras);
//     dlg.ShowModal(mainIcon, topmost);   // returns when the dialog is closed
#include <windows.h>

#include <string>
#include <vector>

#include "monitor/MonitorPorts.h"
#include "classlib/win32/otkPagedForm.h"

namespace nw {

class NWDUtilSprEntry final : public otk::otkPagedForm {
 public:
  NWDUtilSprEntry(HINSTANCE instance, SettingsRecord& settings, RasQuery& ras);
  ~NWDUtilSprEntry() override;

  void ShowModal(HICON icon, bool topmost);
  void Unload() { Close(); }

 private:
  void OnCommand(int id, int code) override;
  void OnNotify(const NMHDR& n) override;
  void OnTimer(UINT_PTR id) override;
  bool PageSelectable(int index) const override;

  void WayWatchEn_Click();
  // Reads the phonebook into the list, ticking the names of the copy; `refresh`: the user asked.
  void FillEntryList(bool refresh);
  std::vector<std::string> TickedInList() const;
  void RefreshLiveState();
  void SetIfChanged(int id, const std::string& text);
  void OK_Click();

  SettingsRecord& settings_;
  RasQuery& ras_;
  bool loading_ = false;
  bool navigable_ = false;
  bool entriesRead_ = false;  // the list shows a good phonebook read
  std::vector<std::string> ticked_;  // the dialog's copy of the ticked names
};

}  // namespace nw
