#pragma once
// NWDLogUtil: the history display settings. Five pages (the three lists, the graph, the graph's
// look); "O.K." checks every page and stores all values together, then calls `accepted` (the
// history list refills its page); "ｷｬﾝｾﾙ" changes nothing.
//
//     NWDLogUtil dlg(instance, history, counterName, [&] { list.resetAction(); });
//     dlg.ShowModal(owner, icon, topmost);
#include <windows.h>

#include <functional>
#include <string>

#include "data/NWDGlobal.h"
#include "history/NWDLogUtilModel.h"
#include "settings/win32/NWDPagedForm.h"

namespace nw {

class NWDLogUtil final : public NWDPagedForm {
 public:
  NWDLogUtil(HINSTANCE instance, HistoryDisplaySettings& history, std::string counterName,
             std::function<void()> accepted);
  ~NWDLogUtil() override;

  void ShowModal(HWND owner, HICON icon, bool topmost);

 private:
  void OnCommand(int id, int code) override;
  HistoryDisplaySettings& h_;
  std::string counterName_;
  std::function<void()> accepted_;
};

}  // namespace nw
