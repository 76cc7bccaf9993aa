#include "history/NWDLogListModel.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <set>

#include "classlib/otkDateFormat.h"
#include "classlib/otkSizeText.h"
#include "data/NWDVolumeLog.h"

namespace nw {

namespace {

// The cells a list can show.
enum class Cell { DialStart, DialEnd, DialTime, ExeStart, PlusTime, PlusCount, Reset, Sent, Received };

// The columns of each list, in row order: label, what it shows and the flag that switches it on (the
// volume columns' flags live in NwdUtil.vol, the others in the settings record).
struct Column {
  const char* Label;
  Cell What;
  bool HistoryDisplaySettings::*Flag;
  bool VolumeDisplaySettings::*VolumeFlag;
};
constexpr Column kDialColumns[] = {
    {"接続開始日時", Cell::DialStart, &HistoryDisplaySettings::hdDialStart, nullptr},
    {"接続終了日時", Cell::DialEnd, &HistoryDisplaySettings::hdDialEnd, nullptr},
    {"接続時間", Cell::DialTime, &HistoryDisplaySettings::hdTime, nullptr},
    {"監視開始日時", Cell::ExeStart, &HistoryDisplaySettings::hdExeStart, nullptr},
    {"送信量", Cell::Sent, nullptr, &VolumeDisplaySettings::hdSent},
    {"受信量", Cell::Received, nullptr, &VolumeDisplaySettings::hdReceived},
};
constexpr Column kTodayColumns[] = {
    {"累積接続時間", Cell::PlusTime, &HistoryDisplaySettings::htPlusTime, nullptr},
    {"累積接続回数", Cell::PlusCount, &HistoryDisplaySettings::htPlusCount, nullptr},
    {"ｶｳﾝﾀ更新日時", Cell::Reset, &HistoryDisplaySettings::htReset, nullptr},
    {"送信量", Cell::Sent, nullptr, &VolumeDisplaySettings::htSent},
    {"受信量", Cell::Received, nullptr, &VolumeDisplaySettings::htReceived},
};
constexpr Column kUserColumns[] = {
    {"累積接続時間", Cell::PlusTime, &HistoryDisplaySettings::huPlusTime, nullptr},
    {"累積接続回数", Cell::PlusCount, &HistoryDisplaySettings::huPlusCount, nullptr},
    {"ｶｳﾝﾀ更新日時", Cell::Reset, &HistoryDisplaySettings::huReset, nullptr},
    {"送信量", Cell::Sent, nullptr, &VolumeDisplaySettings::huSent},
    {"受信量", Cell::Received, nullptr, &VolumeDisplaySettings::huReceived},
};

std::span<const Column> ColumnsOf(int kind) {
  if (kind == LogDial) return kDialColumns;
  return kind == LogUser ? std::span<const Column>(kUserColumns) : std::span<const Column>(kTodayColumns);
}

bool ColumnOn(const Column& c, const HistoryDisplaySettings& h, const VolumeDisplaySettings& v) {
  return c.Flag ? h.*c.Flag : v.*c.VolumeFlag;
}

// One record of either log, as read from its slot.
struct AnyRecord {
  DialRecord Dial;
  CounterRecord Counter;
  std::optional<VolumeAmount> Volume;  // from the volume file, when it has this record's entry
};

// The date by which a record's volume entry knows it.
Date VolumeKey(int kind, const AnyRecord& r) { return kind == LogDial ? r.Dial.DialStart : r.Counter.ResetDate; }

// The volume file beside list `kind`'s log, read once for an operation (missing or damaged: empty).
VolumeLog LoadVolumes(int kind) {
  VolumeLog v;
  v.Load(VolumeLogFor(LogFileKindFor(kind)));
  return v;
}

// Looks up the volume of the records of window `w` (oldest first, as ReadWindow gives them).
void AttachVolumes(int kind, const LogWindow& w, std::vector<AnyRecord>& records) {
  if (records.empty()) return;
  const VolumeLog volumes = LoadVolumes(kind);
  for (size_t i = 0; i < records.size(); ++i)
    records[i].Volume = volumes.Find(SlotOfIndex(w.First + static_cast<int32_t>(i)), VolumeKey(kind, records[i]));
}

bool ReadAt(HistoryLog& log, int kind, int32_t virtualIndex, AnyRecord& ou) {
  const int32_t slot = SlotOfIndex(virtualIndex);
  return kind == LogDial ? log.ReadDial(slot, ou.Dial) : log.ReadCounter(slot, ou.Counter);
}

// Consecutive slots of a run, read at once; empty records where the file cannot be read.
void ReadSlots(HistoryLog& log, int kind, int32_t firstSlot, int32_t count, std::vector<AnyRecord>& out) {
  const size_t at = out.size();
  out.resize(at + static_cast<size_t>(count));
  if (kind == LogDial) {
    std::vector<DialRecord> run;
    if (log.ReadDials(firstSlot, count, run))
      for (size_t i = 0; i < run.size(); ++i) out[at + i].Dial = run[i];
  } else {
    std::vector<CounterRecord> run;
    if (log.ReadCounters(firstSlot, count, run))
      for (size_t i = 0; i < run.size(); ++i) out[at + i].Counter = run[i];
  }
}

// The records of a window, oldest first: one read, or two where the window crosses slot 999.
std::vector<AnyRecord> ReadWindow(HistoryLog& log, int kind, const LogWindow& w) {
  std::vector<AnyRecord> records;
  records.reserve(static_cast<size_t>(w.Count()));
  if (w.Count() == 0) return records;
  if (w.First < 0 && w.Last >= 0) {
    ReadSlots(log, kind, SlotOfIndex(w.First), -w.First, records);
    ReadSlots(log, kind, 0, w.Last + 1, records);
  } else {
    ReadSlots(log, kind, SlotOfIndex(w.First), w.Count(), records);
  }
  return records;
}

// The formats of one list, taken apart once for a whole page.
struct RowFormat {
  DatePattern Date;
  std::string Duration;
  RowFormat(const HistoryDisplaySettings& h, int kind)
      : Date(h.hisFmtDate[static_cast<size_t>(kind)]), Duration(h.hisFmtTime[static_cast<size_t>(kind)]) {}
};

// One cell of a record, written at the end of `row`. A record without a volume entry shows empty
// volume cells.
void AppendCell(Cell what, const AnyRecord& r, const RowFormat& f, std::string& row) {
  const DialRecord& d = r.Dial;
  const CounterRecord& c = r.Counter;
  switch (what) {
    case Cell::DialStart: return f.Date.AppendTo(row, d.DialStart);
    case Cell::DialEnd: return f.Date.AppendTo(row, d.DialEnd);
    case Cell::DialTime: return AppendDuration(row, SecondsBetween(d.DialStart, d.DialEnd), f.Duration);
    case Cell::ExeStart: return f.Date.AppendTo(row, d.ExeStart);
    case Cell::PlusTime: return AppendDuration(row, c.PlusTime, f.Duration);
    case Cell::PlusCount: row += std::to_string(c.PlusCount) + " 回"; return;
    case Cell::Reset: return f.Date.AppendTo(row, c.ResetDate);
    case Cell::Sent:
      if (r.Volume) row += otk::FormatSize(r.Volume->Sent);
      return;
    case Cell::Received:
      if (r.Volume) row += otk::FormatSize(r.Volume->Received);
      return;
  }
}

std::string Period(int kind, const AnyRecord& first, const AnyRecord& last, const HistoryDisplaySettings& h) {
  const std::string& fmt = h.hisFmtDate[static_cast<size_t>(kind)];
  if (kind == LogDial)
    return FormatDate(first.Dial.DialStart, fmt) + "～" + FormatDate(last.Dial.DialEnd, fmt) + " を表示中";
  return "ｶｳﾝﾀ更新日時 " + FormatDate(first.Counter.ResetDate, fmt) + "～" + FormatDate(last.Counter.ResetDate, fmt) +
         " を表示中";
}

void ToShape(std::string& text) {
  for (char& ch : text)
    if (ch >= '0' && ch <= '9') ch = '0';
}

// The fields the editor works on, in the form the window hands around.
SelectedHistoryRecord Selected(int kind, const AnyRecord& r) {
  SelectedHistoryRecord s;
  s.Kind = static_cast<int16_t>(kind);
  if (kind == LogDial) {
    s.StampDate = r.Dial.ExeStart;
    s.DialStart = r.Dial.DialStart;
    s.DialEnd = r.Dial.DialEnd;
  } else {
    s.StampDate = r.Counter.ResetDate;
    s.PlusTime = r.Counter.PlusTime;
    s.PlusCount = r.Counter.PlusCount;
  }
  return s;
}

// Dates compared as stored: a damaged one (not a number) still equals itself.
bool SameFields(const SelectedHistoryRecord& a, const SelectedHistoryRecord& b) {
  auto same = [](Date x, Date y) { return std::bit_cast<uint64_t>(x) == std::bit_cast<uint64_t>(y); };
  return a.Kind == b.Kind && same(a.StampDate, b.StampDate) && same(a.DialStart, b.DialStart) &&
         same(a.DialEnd, b.DialEnd) && a.PlusTime == b.PlusTime && a.PlusCount == b.PlusCount;
}

constexpr const char* kCsvSent = "送信ﾊﾞｲﾄ数";
constexpr const char* kCsvReceived = "受信ﾊﾞｲﾄ数";

// yyyy-mm-dd hh:mm:ss whatever the user's formats; empty for a slot never given a date.
std::string CsvDate(Date d) {
  CivilDateTime c;
  if (d == 0 || !ToCivil(d, c)) return {};
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", c.Year, c.Month, c.Day, c.Hour, c.Minute, c.Second);
  return buf;
}

}  // namespace

NWDLogListModel::NWDLogListModel(const HistoryDisplaySettings& history, const VolumeDisplaySettings& volume,
                                 std::string counterName)
    : h_(history), v_(volume), counterName_(std::move(counterName)) {}

HistoryPageFill NWDLogListModel::Fill(int kind, LogWindowMode mode) {
  const size_t k = Index(kind);
  kind = static_cast<int>(k);
  HistoryPageFill fill;
  HistoryLog log;
  log.Open(LogFileKindFor(kind));  // a log that cannot be opened shows as empty
  const LogRing& ring = log.Ring();
  fill.Window = ComputeLogWindow(PageSizeFor(h_, kind), mode, ring, shownLast_[k]);
  shown_[k] = fill.Window;

  fill.ColumnLabel = "表示項目";
  bool volumeShown = false;
  std::vector<const Column*> shown;
  for (const Column& c : ColumnsOf(kind))
    if (ColumnOn(c, h_, v_)) {
      fill.ColumnLabel += std::string("／") + c.Label;
      volumeShown = volumeShown || c.VolumeFlag;
      shown.push_back(&c);
    }
  std::vector<std::set<std::string>> shapes(shown.size());
  std::string shape;  // reused: a page's cells come in few shapes

  std::vector<AnyRecord> records = ReadWindow(log, kind, fill.Window);
  if (volumeShown) AttachVolumes(kind, fill.Window, records);
  const RowFormat format(h_, kind);
  fill.Rows.reserve(records.size());
  std::vector<SelectedHistoryRecord>& shownRecords = shownRecords_[k];
  shownRecords.clear();
  for (const AnyRecord& r : records) {
    shownRecords.push_back(Selected(kind, r));
    std::string row;
    row.reserve(80);
    for (size_t c = 0; c < shown.size(); ++c) {
      const size_t at = row.size();
      AppendCell(shown[c]->What, r, format, row);
      shape.assign(row, at);
      ToShape(shape);
      if (!shapes[c].contains(shape)) shapes[c].insert(shape);
      row += '\t';
    }
    fill.Rows.push_back(std::move(row));
  }
  for (size_t c = 0; c < shown.size(); ++c)
    fill.Columns.push_back({shown[c]->Label, std::vector<std::string>(shapes[c].begin(), shapes[c].end())});
  fill.MesCase = OrdinalText(fill.Window, ring);
  if (fill.MesCase.empty())
    fill.MesCase = EmptyLogMessage();
  else
    fill.MesPeriod = Period(kind, records.front(), records.back(), h_);
  log.Close();
  return fill;
}

std::string NWDLogListModel::SelectionTotals(int kind, int32_t itemCount, std::span<const int32_t> selected) {
  const size_t k = Index(kind);
  kind = static_cast<int>(k);
  HistoryLog log;
  log.Open(LogFileKindFor(kind));
  if (!IsWindowStillValid(PageSizeFor(h_, kind), log.Ring(), shownLast_[k])) return ChangedFileMessage(kind);
  int64_t seconds = 0, count = 0;
  const VolumeLog volumes = LoadVolumes(kind);
  VolumeAmount volume;
  bool volumeKnown = false;  // some selected record has its volume entry
  for (int32_t p : selected) {
    AnyRecord r;
    const int32_t index = shownLast_[k] - itemCount + 1 + p;
    if (!ReadAt(log, kind, index, r)) continue;
    if (const auto v = volumes.Find(SlotOfIndex(index), VolumeKey(kind, r))) {
      volume += *v;
      volumeKnown = true;
    }
    if (kind == LogDial) {
      seconds += SecondsBetween(r.Dial.DialStart, r.Dial.DialEnd);
    } else {
      seconds += r.Counter.PlusTime;
      count += r.Counter.PlusCount;
    }
  }
  log.Close();
  std::string text = "選択数: " + std::to_string(selected.size()) + ", 合計時間: " + FormatDuration(seconds, h_.hisFmtTime[k]);
  if (kind != LogDial) text += ", 合計回数: " + std::to_string(count) + " 回";
  if (volumeKnown) text += ", 送信量: " + otk::FormatSize(volume.Sent) + ", 受信量: " + otk::FormatSize(volume.Received);
  return text;
}

std::optional<SelectedHistoryRecord> NWDLogListModel::RecordForEdit(int kind, int32_t itemCount, int32_t focused) {
  const size_t k = Index(kind);
  kind = static_cast<int>(k);
  taken_ = {};
  if (focused < 0 || focused >= itemCount) return std::nullopt;
  HistoryLog log;
  if (!log.Open(LogFileKindFor(kind))) return std::nullopt;
  // Records appended since the fill do not move the row's record; a log re-created or wrapped
  // since then no longer has it under this index.
  const int32_t index = shownLast_[k] + focused - itemCount + 1;
  if (index < OldestValidIndex(log.Ring()) || index >= log.Ring().NextSlot) return std::nullopt;
  AnyRecord r;
  if (!ReadAt(log, kind, index, r)) return std::nullopt;
  // A log re-created since the fill may hold another record under the same index.
  const SelectedHistoryRecord record = Selected(kind, r);
  const int64_t row = int64_t{index} - shown_[k].First;
  const std::vector<SelectedHistoryRecord>& shownRecords = shownRecords_[k];
  if (row < 0 || row >= static_cast<int64_t>(shownRecords.size()) ||
      !SameFields(shownRecords[static_cast<size_t>(row)], record))
    return std::nullopt;
  taken_ = {kind, index, record};
  return taken_.Original;
}

WriteBack NWDLogListModel::WriteEdited(const SelectedHistoryRecord& edited) {
  if (taken_.Kind < 0 || edited.Kind != taken_.Kind) return WriteBack::Failed;
  const int kind = taken_.Kind;
  HistoryLog log;
  if (!log.Open(LogFileKindFor(kind))) return WriteBack::Failed;
  // The monitor may have re-created the log, wrapped over the slot or merged into the record
  // since it was read: then the slot is left alone. Records appended elsewhere do not matter.
  const LogRing& ring = log.Ring();
  const int32_t slot = SlotOfIndex(taken_.Index);
  const bool holdsRecord = ring.Wrapped ? slot != ring.NextSlot : slot < ring.NextSlot;
  AnyRecord now;
  if (!holdsRecord || !ReadAt(log, kind, taken_.Index, now) || !SameFields(Selected(kind, now), taken_.Original))
    return WriteBack::FileChanged;
  const bool written =
      kind == LogDial
          ? log.WriteDial(slot, DialRecord{edited.StampDate, edited.DialStart, edited.DialEnd})
          : log.WriteCounter(slot, CounterRecord{edited.StampDate, edited.PlusTime, edited.PlusCount});
  log.Close();
  if (!written) return WriteBack::Failed;
  // The volume entry knows its record by the key date: it follows an edited one. A volume file that
  // cannot be read or written leaves the entry under the old date, where it is shown against nothing.
  const Date oldKey = kind == LogDial ? taken_.Original.DialStart : taken_.Original.StampDate;
  const Date newKey = kind == LogDial ? edited.DialStart : edited.StampDate;
  if (newKey != oldKey) {
    const VolumeLogKind& volumeKind = VolumeLogFor(LogFileKindFor(kind));
    VolumeLog volumes;
    if (volumes.Load(volumeKind) == CheckedFileState::Loaded && volumes.Rekey(slot, oldKey, newKey))
      volumes.Save(volumeKind);
  }
  taken_.Original = edited;  // a second edit of the same row checks against these values
  return WriteBack::Written;
}

std::string NWDLogListModel::ExportCsv(int kind) {
  kind = static_cast<int>(Index(kind));
  std::string csv = "\xEF\xBB\xBF";
  const std::span<const Column> columns = ColumnsOf(kind);
  // The volume in exact bytes, in place of the list's sizes.
  for (size_t c = 0; c < columns.size(); ++c)
    csv += (c ? "," : "") + std::string(columns[c].VolumeFlag ? columns[c].What == Cell::Sent ? kCsvSent : kCsvReceived
                                                              : columns[c].Label);
  csv += "\r\n";
  HistoryLog log;
  log.Open(LogFileKindFor(kind));
  const LogWindow all{OldestValidIndex(log.Ring()), log.Ring().NextSlot - 1};
  std::vector<AnyRecord> records = ReadWindow(log, kind, all);
  AttachVolumes(kind, all, records);
  for (const AnyRecord& r : records) {
    if (kind == LogDial) {
      const DialRecord& d = r.Dial;
      const std::string start = CsvDate(d.DialStart), end = CsvDate(d.DialEnd);
      // Without both dates there is no duration: a spreadsheet would add anything else in.
      const std::string seconds = start.empty() || end.empty() ? "" : std::to_string(SecondsBetween(d.DialStart, d.DialEnd));
      csv += start + "," + end + "," + seconds + "," + CsvDate(d.ExeStart);
    } else {
      const CounterRecord& c = r.Counter;
      csv += std::to_string(c.PlusTime) + "," + std::to_string(c.PlusCount) + "," + CsvDate(c.ResetDate);
    }
    if (r.Volume) csv += "," + std::to_string(r.Volume->Sent) + "," + std::to_string(r.Volume->Received);
    else csv += ",,";
    csv += "\r\n";
  }
  log.Close();
  return csv;
}

void NWDLogListModel::AnchorGraph(int32_t itemCount, int32_t position) {
  const int32_t r = shownLast_[LogToday] + position - itemCount + 1;
  const int32_t size = PageSizeFor(h_, LogGraph).M + 1;
  const int32_t way = h_.gphGetWay >= 0 && h_.gphGetWay <= 2 ? h_.gphGetWay : 1;
  graphAnchor_ = way == 0 ? r + size : way == 1 ? r + size / 2 : r;
}

std::optional<GraphData> NWDLogListModel::LoadGraph(LogWindowMode mode) {
  if (mode != KeepPosition && mode != PageBack && mode != PageNext) return std::nullopt;
  GraphData g;
  HistoryLog log;
  log.Open(kTodayLog);
  const LogWindow w = ComputeLogWindow(PageSizeFor(h_, LogGraph), mode, log.Ring(), graphAnchor_);
  std::vector<AnyRecord> records = ReadWindow(log, LogToday, w);
  AttachVolumes(LogToday, w, records);
  for (const AnyRecord& r : records) {
    const CounterRecord& c = r.Counter;
    g.Points.push_back({c.PlusTime, c.PlusCount, c.ResetDate, r.Volume});
    g.MaxTime = std::max<int64_t>(g.MaxTime, c.PlusTime);
    if (r.Volume) g.MaxVolume = std::max(g.MaxVolume, r.Volume->Total());
  }
  g.MesCase = OrdinalText(w, log.Ring());
  if (g.MesCase.empty()) {
    g.MesCase = EmptyLogMessage();
  } else {
    const std::string& fmt = h_.hisFmtDate[LogGraph];
    g.MesPeriod = "ｶｳﾝﾀ更新日時 " + FormatDate(g.Points.front().ResetDate, fmt) + "～" +
                  FormatDate(g.Points.back().ResetDate, fmt) + " を表示中";
  }
  log.Close();
  return g;
}

std::string ChangedFileMessage(int kind) {
  constexpr const char* kCounterChanged = " ｶｳﾝﾀの履歴を保存するﾌｧｲﾙに変更がありました。";
  if (kind == LogToday) return std::string("\"今日\"") + kCounterChanged;
  if (kind == LogUser) return std::string("\"ﾕｰｻﾞｰ定義\"") + kCounterChanged;
  return "接続／切断の履歴を保存するﾌｧｲﾙに変更がありました。";
}

std::string CellShape(std::string_view cell) {
  std::string shape(cell);
  ToShape(shape);
  return shape;
}

std::string EmptyLogMessage() { return "ﾛｸﾞﾌｧｲﾙに件数がありません。"; }

std::string WriteFailedMessage() { return "変更した値を履歴ﾌｧｲﾙに書き込めませんでした。"; }

std::string MoveTip(bool next, int32_t step) { return (next ? "次へ" : "前へ") + std::to_string(step) + "件移動"; }

std::string UserLogCaption(std::string_view counterName) {
  return "\"" + std::string(counterName) + "\" ｶｳﾝﾀのﾛｸﾞ";
}

}  // namespace nw
