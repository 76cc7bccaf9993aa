#pragma once
// NWDUtilSuper: the advanced settings dialog. Page "ﾀﾞｲｱﾙｱｯﾌﾟ接続設定" keeps the connection
// information sets (register, update, delete, the standard one) in the dialog's own copy; page
// "時刻補正の設定" sets how a change of the system time is handled. "O.K." stores both pages,
// "ｷｬﾝｾﾙ" drops every change. The password is typed into a masked box and never shown elsewhere.
//
//     NWDUtilSuper dlg(instance, settings, ras);
//     dlg.ShowModal(mainIcon, topmost);   // returns when the dialog is closed
#include <windows.h>

#include <optional>

#include "monitor/MonitorPorts.h"
#include "settings/NWDUtilSprModel.h"
#include "classlib/win32/otkPagedForm.h"

namespace nw {

class NWDUtilSuper final : public otk::otkPagedForm {
 public:
  NWDUtilSuper(HINSTANCE instance, SettingsRecord& settings, RasQuery& ras);
  ~NWDUtilSuper() override;

  void ShowModal(HICON icon, bool topmost);
  // Closes the dialog without applying anything (program end).
  void Unload() { Close(); }

 private:
  void OnCommand(int id, int code) override;

  void Load();
  void RefreshEntryList();
  void FillSetList();
  void ShowSet(int position);
  void SyCngDlg_Click();
  void EditSet(bool update);
  void RsSetInfoDefault_Click();
  void RsSetInfoDel_Click();
  void OK_Click();

  SettingsRecord& settings_;
  RasQuery& ras_;
  std::optional<ConnSetList> sets_;
};

}  // namespace nw
