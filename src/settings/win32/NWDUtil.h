#pragma once
// NWDUtil: the operation settings dialog. Eleven pages chosen by the labels on its left (otkSelFrame,
// also Ctrl+Tab / Ctrl+Shift+Tab and Ctrl+PageDown / Ctrl+PageUp), filled from the settings when it
// opens; "O.K." checks every page and applies them together, "ｷｬﾝｾﾙ" leaves everything as it was.
// Page 8's buttons register or remove the start-up entries at once. The last page, the data volume
// quota, edits a copy of VolumeGlobal().Quota; "O.K." puts it back and writes NwdUtil.vol.
//
//     NWDUtil dlg(instance, host, launchPorts);
//     dlg.ShowModal(mainIcon, topmost);   // returns when the dialog is closed
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "classlib/win32/otkPagedForm.h"
#include "settings/NWDUtilIds.h"
#include "settings/NWDLaunch.h"
#include "settings/NWDQuotaModel.h"
#include "settings/NWDUtilModel.h"

namespace nw {

class NWDUtil final : public otk::otkPagedForm {
 public:
  NWDUtil(HINSTANCE instance, UtilityHost& host, LaunchPorts& launch, std::string programFolder,
          std::string exeName);
  ~NWDUtil() override;

  void ShowModal(HICON icon, bool topmost);
  // Closes the dialog without applying anything (program end).
  void Unload() { Close(); }

 private:
  // Form
  void OnCommand(int id, int code) override;

  void CreatePages();
  void LoadUtility();
  void LoadQuota();
  void OK_Click();
  // The start-up paths only show where things are: the page's first button comes first.
  bool TakesFirstFocus(int id) const override { return id != util::MesRegPlace && id != util::MesSupPlace; }
  void ApplyRenewEnabling();
  void ApplyCutEnabling();
  // `id`'s caption built around the counter's name by `caption`, the name shortened with "..." so
  // that the caption fits the control's width less `reserve` (96 DPI: a check box's box).
  void SetNamedCaption(int id, const std::string& name, const std::function<std::string(std::string_view)>& caption,
                       int reserve);
  void ShowLaunch(const LaunchView& v);
  void LaunchButton(NWDLaunch::Outcome (NWDLaunch::*click)());

  UtilityHost& host_;
  NWDLaunch launch_;
  bool loading_ = false;
  AdapterChoices adapters_;  // the quota page's adapter list
};

}  // namespace nw
