#pragma once
// NWDLogList: the history list. Three pages (the connection log, the "今日" log, the user log)
// chosen by the tabs on the left, Ctrl+Tab or Ctrl+PageDown / Ctrl+PageUp; each shows one window of
// its log, oldest record at the top, with the columns its check boxes choose (the volume sent and
// received among them). Selecting rows (mouse
// or keyboard) totals them; "前へ"/"次へ" (Alt+B / Alt+N) move the window; "値の変更(&D)", a double
// click or Enter on a row edits the focused record and writes it back into its slot; the graph
// button (Alt+G, "今日" page) opens the counter graph; "詳細設定(&U)" the display settings;
// "CSV形式で保存(&V)..." writes the whole shown log as a CSV file. Every fill and every total reads
// the log file again (NWDLogListModel).
//
//     NWDLogList list(instance, history, counterName);
//     list.ShowModal(mainWindow, mainIcon, topmost);   // returns when the window is closed
#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "classlib/win32/otkGdi.h"
#include "data/NWDGlobal.h"
#include "data/NWDVolumeFile.h"
#include "history/NWDLogListModel.h"
#include "history/win32/NWDLogColumns.h"
#include "history/win32/NWDLogGraph.h"
#include "classlib/win32/otkPagedForm.h"

namespace nw {

class NWDLogList final : public otk::otkPagedForm, public NWDLogGraphSource {
 public:
  // `history` is the process's display settings: the column flags are written back into it as
  // the check boxes change, the display settings dialog edits it in place.
  NWDLogList(HINSTANCE instance, HistoryDisplaySettings& history, std::string counterName);
  ~NWDLogList() override;

  void ShowModal(HWND owner, HICON icon, bool topmost);
  // Closes the window and whatever window is open over it, applying nothing (program end).
  void Unload();

  // Refills the visible page as a switch to it would (after new display settings).
  void resetAction();
  // NWDLogGraphSource: the graph's records, from the "今日" log.
  std::optional<GraphData> setHisTdayGraph(LogWindowMode mode) override;

  // The page shown when the window was last closed in this run (0 at program start).
  static int LastLogPage();

 private:
  void OnCommand(int id, int code) override;
  bool PreTranslate(const MSG& msg) override;
  void OnDestroy() override;

  void Load();
  // Creates the controls of `page` the first time it is shown, set from the settings.
  void BuildPage(int page);
  void SetPicture(int id, int bitmap, otkGdi::Bitmap& picture);
  void PageSwitched(int page);
  // What can be done on `page`: editing, exporting and paging need records.
  void UpdateControlStates(int page);
  // Refills list `kind`; the position it restored (the focused item stays on its record).
  ListPosition FillHistoryList(int kind, LogWindowMode mode);
  void ShowSelectionTotals(int kind);
  void EditSelectedRecord();
  void OpenCounterGraph();
  void OpenDisplaySettings();
  void SaveCsv();
  void StoreColumnFlags();

  HWND List(int kind) const;
  int ItemCount(int kind) const;
  // The item with the focus rectangle once the user has chosen one, else -1.
  int FocusedItem(int kind) const;
  // The list kind of a window (-1 when it is none of the three lists).
  int ListKindOf(HWND wnd) const;

  // Runs a window modally over this one; false when this window went meanwhile (program end).
  bool RunNested(otkForm::Form& dialog, const std::function<void()>& showModal);

  HINSTANCE instance_;
  HistoryDisplaySettings& h_;
  VolumeDisplaySettings& volume_;  // the process's volume switches (NwdUtil.vol)
  VolumeDisplaySettings volumeAtLoad_;
  std::string counterName_;
  NWDLogListModel model_;
  HICON icon_ = nullptr;
  bool topmost_ = false;
  bool loading_ = false;
  std::array<bool, 3> focusChosen_{false, false, false};
  std::array<bool, 3> built_{false, false, false};  // the page's controls exist
  otkForm::Form* nested_ = nullptr;
  otkGdi::Bitmap pictures_[3];  // graph, back, next
  std::array<NWDLogColumns, 3> columns_;  // the tab stops and column names of each list
};

}  // namespace nw
