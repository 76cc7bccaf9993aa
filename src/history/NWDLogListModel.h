#pragma once
// What the history list window shows and does, over the three logs in the program folder: fill a
// page (ordinals, period, column names, one tab-separated row per record, oldest first), total a
// selection, take a record out for the editor and write it back into its slot, export a whole log
// as CSV, and load the counter graph's window. Every operation opens the log, works and closes
// it; nothing of a log is kept between operations but the index of the newest record each list
// shows (and the graph's), and the fields of the records a list shows, to tell whether its rows
// still show the file.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "data/NWDGlobal.h"
#include "data/NWDVolumeFile.h"
#include "history/NWDLogCngModel.h"
#include "history/NWDLogGraphModel.h"
#include "history/NWDLogPage.h"

namespace nw {

// A column a fill shows: its name (as its switch names it) and the distinct shapes of its cells
// (CellShape), so that the window measures a few texts for the column's width, not every cell.
struct ShownColumn {
  std::string Name;                 // "接続開始日時"
  std::vector<std::string> Shapes;  // sorted, without repeats
  bool operator==(const ShownColumn&) const = default;
};

// One fill of a list.
struct HistoryPageFill {
  LogWindow Window;
  std::vector<std::string> Rows;  // item i shows virtual index Window.First + i
  std::vector<ShownColumn> Columns;  // in row order
  std::string ColumnLabel;        // "表示項目／接続開始日時／..."
  std::string MesCase;            // "151件～250件目" or "ﾛｸﾞﾌｧｲﾙに件数がありません。"
  std::string MesPeriod;          // "... を表示中" or empty
};

// The result of writing an edited record back.
enum class WriteBack { Written, FileChanged, Failed };

class NWDLogListModel {
 public:
  // `history` is the process's display settings and `volume` the volume columns' switches (both read
  // on every operation); `counterName` names the user-defined counter.
  NWDLogListModel(const HistoryDisplaySettings& history, const VolumeDisplaySettings& volume,
                  std::string counterName);

  // Re-reads list `kind` (0..2) for `mode`.
  HistoryPageFill Fill(int kind, LogWindowMode mode);
  // The last window Fill gave for `kind`.
  const LogWindow& Shown(int kind) const { return shown_[Index(kind)]; }

  // MesSeltime after the user selected `selected` (item positions) of list `kind`, which shows
  // `itemCount` items: the totals (with the volume when some selected record has its entry), or the
  // file-changed message when the window no longer holds.
  std::string SelectionTotals(int kind, int32_t itemCount, std::span<const int32_t> selected);

  // The record at item `focused` of list `kind` for the editor (Kind set, Changed clear). Empty
  // when the row no longer shows the record the file holds under its index (the log was
  // re-created or rewritten since the fill: show ChangedFileMessage and refill) or the record
  // cannot be read.
  std::optional<SelectedHistoryRecord> RecordForEdit(int kind, int32_t itemCount, int32_t focused);
  // Writes the edited record into the slot it was read from, but only when that slot still holds
  // the record as it was read (the monitor may have re-created, wrapped or merged the log since).
  // A new key date takes the record's volume entry along.
  WriteBack WriteEdited(const SelectedHistoryRecord& edited);

  // The whole log `kind`, oldest first, as CSV in UTF-8 with a byte-order mark: a header row of
  // the list's column names, date-times as yyyy-mm-dd hh:mm:ss, durations in whole seconds, the
  // volume as exact byte counts (empty for a record without its entry).
  std::string ExportCsv(int kind);

  // The graph: the anchor from the "今日" list's item `position` (OpenCounterGraph) and the
  // window for `mode` (KeepPosition, PageBack, PageNext; any other mode gives nothing).
  void AnchorGraph(int32_t itemCount, int32_t position);
  std::optional<GraphData> LoadGraph(LogWindowMode mode);

 private:
  static size_t Index(int kind) { return kind >= 0 && kind <= 2 ? static_cast<size_t>(kind) : 0; }
  const HistoryDisplaySettings& h_;
  const VolumeDisplaySettings& v_;
  std::string counterName_;
  std::array<int32_t, 3> shownLast_{0, 0, 0};
  std::array<LogWindow, 3> shown_{};
  std::array<std::vector<SelectedHistoryRecord>, 3> shownRecords_;  // the rows' records, oldest first
  int32_t graphAnchor_ = 0;
  // The record handed to the editor: where it was and what it held.
  struct Taken {
    int Kind = -1;
    int32_t Index = 0;
    SelectedHistoryRecord Original;
  } taken_;
};

// A cell with every digit written as "0": cells of one shape are equally wide in a font whose
// digits are (measured with the widest digit, no cell of the shape is wider).
std::string CellShape(std::string_view cell);

// Texts the window shows besides the rows.
std::string ChangedFileMessage(int kind);
std::string EmptyLogMessage();  // "ﾛｸﾞﾌｧｲﾙに件数がありません。"
std::string WriteFailedMessage();  // an edited record could not be written
std::string MoveTip(bool next, int32_t step);  // "前へ50件移動"
// The user page's tab caption before fitting: "\"名前\" ｶｳﾝﾀのﾛｸﾞ".
std::string UserLogCaption(std::string_view counterName);

}  // namespace nw
