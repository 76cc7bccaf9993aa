#pragma once
// NWDLogGraph: the "今日" counter history as up to 32 bars on a scale chosen from a fixed ladder.
// The mouse over a bar's column shows that record and highlights the bar; "前へ"/"次へ" move the
// window through the log (also Alt+Left / Alt+Right... as the implementation documents).
// The records come from the history list, which owns the window position.
//
//     NWDLogGraph graph(instance, history, source);
//     graph.ShowModal(owner, icon, topmost);   // loads with KeepPosition, returns when closed
#include <windows.h>

#include <optional>

#include "classlib/win32/otkForm.h"
#include "data/NWDGlobal.h"
#include "history/NWDLogGraphModel.h"
#include "history/NWDLogPage.h"

namespace nw {

// Where the graph's records come from (the history list's setHisTdayGraph).
class NWDLogGraphSource {
 public:
  virtual ~NWDLogGraphSource() = default;
  // The window for KeepPosition, PageBack or PageNext; empty for any other mode.
  virtual std::optional<GraphData> setHisTdayGraph(LogWindowMode mode) = 0;
};

class NWDLogGraph final : public otkForm::Form {
 public:
  NWDLogGraph(HINSTANCE instance, const HistoryDisplaySettings& history, NWDLogGraphSource& source);
  ~NWDLogGraph() override;

  void ShowModal(HWND owner, HICON icon, bool topmost);
  // Lays out bars, scale and the labels from one window of records.
  void LogGraphExpress(const GraphData& data);

 private:
  void OnCommand(int id, int code) override;
  const HistoryDisplaySettings& h_;
  NWDLogGraphSource& source_;
};

}  // namespace nw
