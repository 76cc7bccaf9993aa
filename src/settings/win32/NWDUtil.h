#pragma once
// NWDUtil: the operation settings dialog. Ten pages chosen by the labels on its left (otkSelFrame,
// also Ctrl+Tab / Ctrl+Shift+Tab and Ctrl+PageDown / Ctrl+PageUp), filled from the settings when it
// opens; "O.K." checks every page and applies them together, "ｷｬﾝｾﾙ" leaves everything as it was.
// Page 8's buttons register or remove the start-up entries at once.
//
//     NWDUtil dlg(instance, host, launchPorts);
//     dlg.ShowModal(mainIcon, topmost);   // returns when the dialog is closed
#include <windows.h>

#include <map>
#include <memory>

#include "classlib/otkSelFrame.h"
#include "classlib/win32/otkForm.h"
#include "settings/NWDLaunch.h"
#include "settings/NWDUtilModel.h"

namespace nw {

class NWDUtil final : public otkForm::Form, private otk::otkSelFramePort {
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
  bool PreTranslate(const MSG& msg) override;
  HBRUSH OnColorStatic(HWND control, HDC dc) override;

  // otkSelFramePort
  void SetBackColor(otk::otkControlHandle label, otk::OleColor color) override;
  void SetForeColor(otk::otkControlHandle label, otk::OleColor color) override;
  bool Visible(otk::otkControlHandle container) override;
  void SetVisible(otk::otkControlHandle container, bool visible) override;

  void CreatePages();
  void LoadUtility();
  void SelectPage(int index);
  void FocusFirstOfPage();
  void OK_Click();
  void ApplyRenewEnabling();
  void ShowLaunch(const LaunchView& v);
  void LaunchButton(NWDLaunch::Outcome (NWDLaunch::*click)());
  HBRUSH BrushFor(otk::OleColor color);

  UtilityHost& host_;
  NWDLaunch launch_;
  otk::otkSelFrame sel_;
  bool loading_ = false;
  std::map<HWND, otk::OleColor> back_, fore_;
  std::map<HWND, HWND> wordToBase_;
  std::map<COLORREF, otkGdi::Brush> brushes_;
};

}  // namespace nw
