#pragma once
// NWDLogUtil: the history display settings. Five pages (the three lists, the graph, the graph's
// look); "O.K." checks every page and stores all values together, then calls `accepted` (the
// history list refills its page); "ｷｬﾝｾﾙ" changes nothing.
//
//     NWDLogUtil dlg(instance, history, counterName, [&] { list.resetAction(); });
//     dlg.ShowModal(owner, icon, topmost);
//
// Keyboard: Ctrl+Tab / Ctrl+PageDown choose the next page, the row captions' mnemonics jump to
// their boxes, "..." opens the colour dialog for the swatch beside it, Enter is "O.K.", Esc "ｷｬﾝｾﾙ".
#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "data/NWDGlobal.h"
#include "history/NWDLogUtilModel.h"
#include "classlib/win32/otkPagedForm.h"

namespace nw {

class NWDLogUtil final : public otk::otkPagedForm {
 public:
  // Control identifiers (the tests find the controls by them).
  static constexpr int kPageCount = 5;
  static constexpr int utilDial = 6000, utilTday = 6001, utilUser = 6002, utilGph = 6003, utilExpgph = 6004;
  static constexpr int UtilSel = 6010, UtilWord = 6020;  // + page index
  static constexpr int hisShowMaw = 6100;                // hisShowMaw(0..2)
  static constexpr int hisFmtDate = 6110, hisFmtDateEx = 6120;  // (0..3)
  static constexpr int hisFmtTime = 6130, hisFmtTimeEx = 6140;  // (0..3)
  static constexpr int hisShowMawlbl = 6150, hisMoveMax = 6151;
  static constexpr int gphGetWay = 6160;  // gphGetWay(0..2)
  static constexpr int gphBgColor = 6170, gphBgColorSel = 6171, gphNtColor = 6172, gphNtColorSel = 6173;
  static constexpr int OK = IDOK, Cancel = IDCANCEL;

  NWDLogUtil(HINSTANCE instance, HistoryDisplaySettings& history, std::string counterName,
             std::function<void()> accepted);
  ~NWDLogUtil() override;

  void ShowModal(HWND owner, HICON icon, bool topmost);

 private:
  void OnCommand(int id, int code) override;
  HBRUSH OnColorStatic(HWND control, HDC dc) override;

  void LoadHistorySettings();
  void PickLabelColor(int swatch);
  void OK_Click();

  HistoryDisplaySettings& h_;
  std::string counterName_;
  std::function<void()> accepted_;
  std::map<int, uint32_t> swatch_;  // the swatches' colours (stored form) until "O.K."
  otkGdi::BrushCache swatchBrushes_;
};

}  // namespace nw
