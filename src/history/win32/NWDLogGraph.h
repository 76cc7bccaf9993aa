#pragma once
// NWDLogGraph: the "今日" counter history as up to 32 bars on a scale chosen from a fixed ladder.
// The mouse over a bar's column shows that record and highlights the bar; "前へ"/"次へ" move the
// window through the log. The records come from the history list, which owns the window position.
// "ﾃﾞｰﾀ量で表示(&V)" switches the bars from the time to the volume sent and received (kept in
// NwdUtil.vol's display switches).
//
//     NWDLogGraph graph(instance, history, source);
//     graph.ShowModal(owner, icon, topmost);   // loads with KeepPosition, returns when closed
//
// Keyboard: Left / Right move the highlight (and the readout) to the previous / next bar, Home /
// End to the first / last; Alt+Left / Alt+Right page like "前へ" / "次へ"; Tab walks the three
// buttons; Enter and Esc close.
#include <windows.h>

#include <optional>

#include "classlib/win32/otkForm.h"
#include "data/NWDGlobal.h"
#include "data/NWDVolumeFile.h"
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
  // Control identifiers (the tests find the controls by them).
  static constexpr int gphSource = 3500;  // gphSource(0..31), the bars
  static constexpr int gphTime = 3540, gphCount = 3541, gphDate = 3542, gphVolumeText = 3543;
  static constexpr int mesBlock = 3550, mesMax = 3551, mesMidl = 3552, mesBase = 3553, mesDay = 3554;
  static constexpr int MesCase = 3560, MesPeriod = 3561;
  static constexpr int cdBack = 3570, cdNext = 3571, cdOK = IDOK;
  static constexpr int gphVolume = 3580;  // the bars show the volume

  // `volume` holds the graph's measure switch, written back as the check box changes.
  NWDLogGraph(HINSTANCE instance, const HistoryDisplaySettings& history, NWDLogGraphSource& source,
              VolumeDisplaySettings& volume = VolumeGlobal().Display);
  ~NWDLogGraph() override;

  void ShowModal(HWND owner, HICON icon, bool topmost);
  // Lays out bars, scale and the labels from one window of records.
  void LogGraphExpress(const GraphData& data);
  // The highlighted bar, -1 when none.
  int HotBar() const { return hotBar_; }

 private:
  void OnCommand(int id, int code) override;
  bool PreTranslate(const MSG& msg) override;
  HBRUSH OnColorStatic(HWND control, HDC dc) override;
  void OnDestroy() override;

  void Page(LogWindowMode mode);
  void ShowBarReadout(int i);
  void MoveBarHighlight(int i);
  void MoveHighlightBy(int step);
  // The bar column under a point of the form's client area in pixels, -1 when none.
  int ColumnAtPixel(POINT client) const;
  int Px(int twips) const;

  // A bar's tool tip: its time or its volume.
  std::string BarTip(const GraphPoint& p) const;

  const HistoryDisplaySettings& h_;
  NWDLogGraphSource& source_;
  VolumeDisplaySettings& volume_;
  GraphData data_;  // GraphPoints and the rest, emptied when the window closes
  int hotBar_ = -1;
  otkGdi::Bitmap backPicture_, nextPicture_;
  otkGdi::BrushCache brushes_;
};

}  // namespace nw
