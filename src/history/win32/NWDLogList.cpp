#include "history/win32/NWDLogList.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "classlib/win32/WinText.h"
#include "classlib/win32/otkDialogFile.h"
#include "history/NWDLogListIds.h"
#include "history/win32/NWDLogCng.h"
#include "history/win32/NWDLogUtil.h"
#include "res/resource.h"

namespace nw {

namespace {

using otkForm::Control;
using otkForm::Kind;
using namespace loglist;

constexpr int kNone = -1;
constexpr DWORD G = WS_GROUP;
// The rows are tab-separated; the list lays them out at the stops of its columns (NWDLogColumns),
// under a line of their names. The user's texts (counter name, formats) are shown as they are, an
// "&" included. Rows wider than the list (every column on) scroll sideways, the names with them.
constexpr DWORD kRows = LBS_EXTENDEDSEL | LBS_USETABSTOPS | WS_HSCROLL;
constexpr DWORD kText = SS_NOPREFIX;
constexpr DWORD kPicture = BS_BITMAP;

// Layout at 96 DPI: the page tabs on the left, the pages to their right, the window's lines and
// buttons below.
// The page labels are wide enough for the user counter's caption with its default name.
constexpr int kClientW = 774, kClientH = 434;
constexpr RECT kPageRect{184, 8, 766, 322};
constexpr int kHeaderH = 20;  // the column names above each list

// The volume columns' switches, in a second row on every page.
#define NW_VOLUME_SWITCHES(sent, received)                 \
  {Kind::Check, sent, "送信量(&O)", {0, 258, 100, 278}}, \
      {Kind::Check, received, "受信量(&I)", {104, 258, 204, 278}}

constexpr Control kDialPage[] = {
    {Kind::List, HisList + 0, "", {0, kHeaderH, 582, 230}, kRows},
    {Kind::Label, MesKind + 0, "", {0, 284, 582, 302}, kText},
    {Kind::Check, hdDialStart, "接続開始日時(&S)", {0, 236, 118, 256}, G},
    {Kind::Check, hdDialEnd, "接続終了日時(&E)", {122, 236, 240, 256}},
    {Kind::Check, hdTime, "接続時間(&T)", {244, 236, 344, 256}},
    {Kind::Check, hdExeStart, "監視開始日時(&W)", {348, 236, 470, 256}},
    NW_VOLUME_SWITCHES(hdSent, hdReceived),
};

constexpr Control kTdayPage[] = {
    {Kind::List, HisList + 1, "", {0, kHeaderH, 582, 230}, kRows},
    {Kind::Label, MesKind + 1, "", {0, 284, 536, 302}, kText},
    {Kind::Check, htPlusTime, "累積接続時間(&T)", {0, 236, 118, 256}, G},
    {Kind::Check, htPlusCount, "累積接続回数(&C)", {122, 236, 240, 256}},
    {Kind::Check, htReset, "ｶｳﾝﾀ更新日時(&R)", {244, 236, 370, 256}},
    NW_VOLUME_SWITCHES(htSent, htReceived),
    {Kind::Button, cdGraph, "ｸﾞﾗﾌ(&G)", {544, 236, 582, 274}, kPicture, "ｸﾞﾗﾌの表示"},
};

constexpr Control kUserPage[] = {
    {Kind::List, HisList + 2, "", {0, kHeaderH, 582, 230}, kRows},
    {Kind::Label, MesKind + 2, "", {0, 284, 582, 302}, kText},
    {Kind::Check, huPlusTime, "累積接続時間(&T)", {0, 236, 118, 256}, G},
    {Kind::Check, huPlusCount, "累積接続回数(&C)", {122, 236, 240, 256}},
    {Kind::Check, huReset, "ｶｳﾝﾀ更新日時(&R)", {244, 236, 370, 256}},
    NW_VOLUME_SWITCHES(huSent, huReceived),
};
#undef NW_VOLUME_SWITCHES

// Below the pages. The picture buttons carry a text too: its mnemonic is their key, and it names
// them for whoever cannot see the picture.
constexpr Control kWindowControls[] = {
    {Kind::Label, MesCase, "", {184, 336, 682, 354}, kText},
    {Kind::Button, cdBack, "前へ(&B)", {690, 326, 728, 364}, kPicture | G},
    {Kind::Button, cdNext, "次へ(&N)", {728, 326, 766, 364}, kPicture},
    {Kind::Label, MesPeriod, "", {184, 356, 682, 374}, kText},
    {Kind::Label, MesSeltime, "", {184, 376, 766, 394}, kText},
    {Kind::Button, cdCngVal, "値の変更(&D)", {184, 400, 284, 426}, G},
    {Kind::Button, cdDetail, "詳細設定(&U)", {290, 400, 390, 426}},
    {Kind::Button, cdCsv, "CSV形式で保存(&V)...", {396, 400, 544, 426}},
    {Kind::DefaultButton, cdOK, "O.K.", {676, 400, 766, 426}},
};

// The column switches and their flags, page by page: the ten of the settings record, then the
// volume columns' of NwdUtil.vol.
struct ColumnSwitch {
  int Id;
  int Kind;
  bool HistoryDisplaySettings::*Flag;
  bool VolumeDisplaySettings::*VolumeFlag;
};
constexpr ColumnSwitch kColumns[] = {
    {hdDialStart, 0, &HistoryDisplaySettings::hdDialStart, nullptr},
    {hdDialEnd, 0, &HistoryDisplaySettings::hdDialEnd, nullptr},
    {hdTime, 0, &HistoryDisplaySettings::hdTime, nullptr},
    {hdExeStart, 0, &HistoryDisplaySettings::hdExeStart, nullptr},
    {htPlusTime, 1, &HistoryDisplaySettings::htPlusTime, nullptr},
    {htPlusCount, 1, &HistoryDisplaySettings::htPlusCount, nullptr},
    {htReset, 1, &HistoryDisplaySettings::htReset, nullptr},
    {huPlusTime, 2, &HistoryDisplaySettings::huPlusTime, nullptr},
    {huPlusCount, 2, &HistoryDisplaySettings::huPlusCount, nullptr},
    {huReset, 2, &HistoryDisplaySettings::huReset, nullptr},
    {hdSent, 0, nullptr, &VolumeDisplaySettings::hdSent},
    {hdReceived, 0, nullptr, &VolumeDisplaySettings::hdReceived},
    {htSent, 1, nullptr, &VolumeDisplaySettings::htSent},
    {htReceived, 1, nullptr, &VolumeDisplaySettings::htReceived},
    {huSent, 2, nullptr, &VolumeDisplaySettings::huSent},
    {huReceived, 2, nullptr, &VolumeDisplaySettings::huReceived},
};

constexpr const char* kCsvNames[3] = {"NwdDial.csv", "NwdTday.csv", "NwdUser.csv"};
constexpr const char* kNoFocusedRecord = "履歴ﾘｽﾄから変更する項目を指定して下さい。";
constexpr const char* kWriteFailed = "変更した値を履歴ﾌｧｲﾙに書き込めませんでした。";
constexpr const char* kCsvFailed = "CSV形式のﾌｧｲﾙを保存できませんでした。";

int g_lastLogPage = 0;  // LastLogPage: the page shown at the last close, for this run only

// The whole of `bytes` as the file at `path` (created or replaced); a file left half written is
// removed.
bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  const std::wstring w = win::Widen(path);
  HANDLE f = CreateFileW(w.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size() && FlushFileBuffers(f);
  CloseHandle(f);
  if (!ok) DeleteFileW(w.c_str());
  return ok;
}

}  // namespace

NWDLogList::NWDLogList(HINSTANCE instance, HistoryDisplaySettings& history, std::string counterName)
    : otk::otkPagedForm(instance, ListSel, ListWord, kPageRect),
      instance_(instance),
      h_(history),
      volume_(VolumeGlobal().Display),
      counterName_(std::move(counterName)),
      model_(history, volume_, counterName_) {
  sel_.ChangedIndex = [this](int16_t, int16_t index, int16_t&) { PageSwitched(index); };
}

NWDLogList::~NWDLogList() = default;

int NWDLogList::LastLogPage() { return g_lastLogPage; }

void NWDLogList::ShowModal(HWND owner, HICON icon, bool topmost) {
  icon_ = icon;
  topmost_ = topmost;
  if (!Create({owner, "Orvin.T.K. NetWard 履歴の一覧", kClientW, kClientH, icon, topmost, "history.htm"})) return;
  Load();
  RunModal();
}

void NWDLogList::Unload() {
  if (nested_) nested_->Close();
  Close();
}

void NWDLogList::Load() {
  loading_ = true;
  // The tabs and the three containers; a page's own controls come when it is first shown
  // (BuildPage), so opening the window creates only what it shows.
  const otk::otkPagedForm::Page pages[kPageCount] = {
      {"接続／切断のﾛｸﾞ", DialFrm, {}},
      {"\"今日\" ｶｳﾝﾀのﾛｸﾞ", TdayFrm, {}},
      {"", UserFrm, {}},
  };
  CreatePages(pages);
  AddControls(Window(), kWindowControls);
  volumeAtLoad_ = volume_;
  SetFittedText(ListWord + 2, UserLogCaption(counterName_));
  SetPicture(cdBack, IDB_HISTORY_BACK, pictures_[1]);
  SetPicture(cdNext, IDB_HISTORY_NEXT, pictures_[2]);
  SelectPage(g_lastLogPage >= 0 && g_lastLogPage < kPageCount ? g_lastLogPage : 0);
  loading_ = false;
}

void NWDLogList::BuildPage(int page) {
  const size_t k = static_cast<size_t>(page);
  if (built_[k]) return;
  built_[k] = true;
  constexpr std::span<const Control> kPages[kPageCount] = {kDialPage, kTdayPage, kUserPage};
  constexpr int kFrames[kPageCount] = {DialFrm, TdayFrm, UserFrm};
  AddControls(Item(kFrames[k]), kPages[k]);
  columns_[k].Attach(List(page), S(kHeaderH));
  for (const ColumnSwitch& c : kColumns)
    if (c.Kind == page) SetChecked(c.Id, c.Flag ? h_.*c.Flag : volume_.*c.VolumeFlag);
  if (page == LogToday) SetPicture(cdGraph, IDB_HISTORY_GRAPH, pictures_[0]);
}

void NWDLogList::SetPicture(int id, int bitmap, otkGdi::Bitmap& picture) {
  HWND button = Item(id);
  picture = otkGdi::LoadBitmapScaled(instance_, bitmap, Dpi());
  if (picture) {
    SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.Get()));
  } else {
    // Without its picture the button shows its text.
    SetWindowLongPtrW(button, GWL_STYLE, GetWindowLongPtrW(button, GWL_STYLE) & ~static_cast<LONG_PTR>(BS_BITMAP));
    InvalidateRect(button, nullptr, TRUE);
  }
}

// ---- filling and totals -------------------------------------------------------------------------------

HWND NWDLogList::List(int kind) const { return Item(HisList + kind); }

int NWDLogList::ItemCount(int kind) const {
  return static_cast<int>(SendMessageW(List(kind), LB_GETCOUNT, 0, 0));
}

int NWDLogList::FocusedItem(int kind) const {
  if (!focusChosen_[static_cast<size_t>(kind)]) return -1;
  const int caret = static_cast<int>(SendMessageW(List(kind), LB_GETCARETINDEX, 0, 0));
  return caret >= 0 && caret < ItemCount(kind) ? caret : -1;
}

int NWDLogList::ListKindOf(HWND wnd) const {
  for (int kind = 0; kind < kPageCount; ++kind)
    if (wnd && wnd == List(kind)) return kind;
  return -1;
}

void NWDLogList::PageSwitched(int page) {
  BuildPage(page);
  FillHistoryList(page, ItemCount(page) == 0 ? ShowNewest : KeepPosition);
  UpdateControlStates(page);
  const int32_t step = PageSizeFor(h_, page).S;
  SetTip(cdBack, MoveTip(false, step));
  SetTip(cdNext, MoveTip(true, step));
}

void NWDLogList::UpdateControlStates(int page) {
  const bool records = model_.Shown(page).Count() > 0;
  const int needRecords[] = {cdCngVal, cdCsv, cdBack, cdNext};
  HWND focus = GetFocus();
  for (const int id : needRecords) {
    // The focus must not stay on a button that goes grey: the list takes it.
    if (!records && focus == Item(id)) SetFocus(List(page));
    Enable(id, records);
  }
}

void NWDLogList::resetAction() {
  if (ShownPage() >= 0) PageSwitched(ShownPage());
}

ListPosition NWDLogList::FillHistoryList(int kind, LogWindowMode mode) {
  HWND list = List(kind);
  const LogWindow before = model_.Shown(kind);
  const ListPosition was{static_cast<int32_t>(SendMessageW(list, LB_GETTOPINDEX, 0, 0)), FocusedItem(kind)};
  const HistoryPageFill fill = model_.Fill(kind, mode);
  const ListPosition pos = PositionAfterRefill(before, was, fill.Window, mode);

  SetText(MesKind + kind, fill.ColumnLabel);
  SetText(MesCase, fill.MesCase);
  SetText(MesPeriod, fill.MesPeriod);
  // The selection goes with the old rows, and so do its totals.
  SetText(MesSeltime, "");

  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  columns_[static_cast<size_t>(kind)].Show(fill.Columns);
  // The rows in UTF-16 in one buffer, for the list's storage to be sized once.
  std::wstring rows;
  std::vector<size_t> starts;
  starts.reserve(fill.Rows.size());
  for (const std::string& row : fill.Rows) {
    starts.push_back(rows.size());
    rows += win::Widen(row);
    rows += L'\0';
  }
  SendMessageW(list, LB_INITSTORAGE, fill.Rows.size(), static_cast<LPARAM>(rows.size() * sizeof(wchar_t)));
  for (const size_t at : starts) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(rows.c_str() + at));
  focusChosen_[static_cast<size_t>(kind)] = pos.Focus >= 0;
  if (pos.Focus >= 0) SendMessageW(list, LB_SETCARETINDEX, static_cast<WPARAM>(pos.Focus), FALSE);
  SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(pos.Top), 0);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  if (kind == ShownPage()) UpdateControlStates(kind);  // a page switch does it once the page is chosen
  return pos;
}

void NWDLogList::ShowSelectionTotals(int kind) {
  HWND list = List(kind);
  const LRESULT n = SendMessageW(list, LB_GETSELCOUNT, 0, 0);
  std::vector<int> items(static_cast<size_t>(n > 0 ? n : 0));
  if (n > 0) SendMessageW(list, LB_GETSELITEMS, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(items.data()));
  const std::vector<int32_t> selected(items.begin(), items.end());
  SetText(MesSeltime, model_.SelectionTotals(kind, ItemCount(kind), selected));
}

// ---- the windows opened from here ---------------------------------------------------------------------

bool NWDLogList::RunNested(otkForm::Form& dialog, const std::function<void()>& showModal) {
  nested_ = &dialog;
  showModal();
  nested_ = nullptr;
  return Window() != nullptr;
}

void NWDLogList::EditSelectedRecord() {
  const int kind = ShownPage();
  if (kind < 0) return;
  const int focused = FocusedItem(kind);
  if (focused < 0) {
    Warn(kNoFocusedRecord);
    if (Window()) SetFocus(List(kind));  // where the record is chosen
    return;
  }
  std::optional<SelectedHistoryRecord> record = model_.RecordForEdit(kind, ItemCount(kind), focused);
  if (!record) {
    // The record is no longer where the list shows it.
    FillHistoryList(kind, KeepPosition);
    SetText(MesSeltime, ChangedFileMessage(kind));
    return;
  }
  NWDLogCng editor(instance_, *record, counterName_, h_.hisFmtTime[0]);
  if (!RunNested(editor, [&] { editor.ShowMe(Window(), icon_, topmost_); }) || !record->Changed) return;
  switch (model_.WriteEdited(*record)) {
    case WriteBack::Written: {
      const ListPosition pos = FillHistoryList(kind, KeepPosition);
      if (pos.Focus >= 0) SendMessageW(List(kind), LB_SETSEL, TRUE, pos.Focus);
      return;
    }
    case WriteBack::FileChanged:
      FillHistoryList(kind, KeepPosition);
      SetText(MesSeltime, ChangedFileMessage(kind));
      return;
    case WriteBack::Failed:
      Warn(kWriteFailed);
      return;
  }
}

std::optional<GraphData> NWDLogList::setHisTdayGraph(LogWindowMode mode) { return model_.LoadGraph(mode); }

void NWDLogList::OpenCounterGraph() {
  int position = FocusedItem(1);
  if (position < 0) position = static_cast<int>(SendMessageW(List(1), LB_GETTOPINDEX, 0, 0));
  model_.AnchorGraph(ItemCount(1), position);
  NWDLogGraph graph(instance_, h_, *this, volume_);
  RunNested(graph, [&] { graph.ShowModal(Window(), icon_, topmost_); });
}

void NWDLogList::OpenDisplaySettings() {
  NWDLogUtil settings(instance_, h_, counterName_, [this] { resetAction(); });
  RunNested(settings, [&] { settings.ShowModal(Window(), icon_, topmost_); });
}

void NWDLogList::SaveCsv() {
  const int kind = ShownPage();
  if (kind < 0) return;
  otkDialogFile dlg;
  dlg.WindowHandle = Window();
  dlg.Title = "履歴のCSV形式での保存";
  dlg.Filter = "CSV形式(*.csv)|*.csv|すべてのﾌｧｲﾙ(*.*)|*.*";
  dlg.FilterIndex = 1;
  dlg.DefaultExtension = "csv";
  dlg.DefaultFileName = kCsvNames[kind];
  dlg.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!dlg.ShowDialogOfSave() || !Window()) return;
  if (!WriteWholeFile(dlg.SelectedAddress, model_.ExportCsv(kind)))
    Warn(std::string(kCsvFailed) + "\r\n\r\n" + dlg.SelectedAddress);
}

void NWDLogList::StoreColumnFlags() {
  for (const ColumnSwitch& c : kColumns)
    if (built_[static_cast<size_t>(c.Kind)]) (c.Flag ? h_.*c.Flag : volume_.*c.VolumeFlag) = Checked(c.Id);
}

// ---- events -------------------------------------------------------------------------------------------

bool NWDLogList::PreTranslate(const MSG& msg) {
  // A mouse button released over a list: the list takes it first, then the totals of what is
  // selected now.
  const bool release = msg.message == WM_LBUTTONUP || msg.message == WM_RBUTTONUP || msg.message == WM_MBUTTONUP;
  if (const int kind = ListKindOf(msg.hwnd); release && kind >= 0) {
    DispatchMessageW(&msg);
    if (Window()) ShowSelectionTotals(kind);
    return true;
  }
  return otk::otkPagedForm::PreTranslate(msg);
}

void NWDLogList::OnCommand(int id, int code) {
  if (PageLabelCommand(id, code)) {
    SetText(MesSeltime, "");
    return;
  }
  if (const int kind = ListKindOf(Item(id)); kind >= 0) {
    if (code == LBN_SELCHANGE) {
      focusChosen_[static_cast<size_t>(kind)] = true;
      // The keyboard's changes; the mouse's are totalled when its button is released.
      if (!(GetKeyState(VK_LBUTTON) & 0x8000) && !(GetKeyState(VK_RBUTTON) & 0x8000)) ShowSelectionTotals(kind);
    }
    if (code == LBN_DBLCLK) EditSelectedRecord();
    return;
  }
  if (code != BN_CLICKED) return;
  for (const ColumnSwitch& c : kColumns)
    if (c.Id == id) {
      StoreColumnFlags();
      if (!loading_) FillHistoryList(c.Kind, KeepPosition);
      return;
    }
  switch (id) {
    case cdOK:
      // Enter on a row edits that record; elsewhere Enter and "O.K." close the window.
      if (ListKindOf(GetFocus()) >= 0)
        EditSelectedRecord();
      else
        Close();
      return;
    case cdBack: FillHistoryList(ShownPage(), PageBack); return;
    case cdNext: FillHistoryList(ShownPage(), PageNext); return;
    case cdGraph: OpenCounterGraph(); return;
    case cdCngVal: EditSelectedRecord(); return;
    case cdDetail: OpenDisplaySettings(); return;
    case cdCsv: SaveCsv(); return;
    default: return;
  }
}

void NWDLogList::OnDestroy() {
  StoreColumnFlags();
  // The settings record is saved by the monitor; the volume switches are written now when they
  // changed (a file that cannot be written keeps them until the monitor's next save).
  if (volume_ != volumeAtLoad_) SaveVolumeFile(VolumeGlobal());
  if (ShownPage() >= 0) g_lastLogPage = ShownPage();
}

}  // namespace nw
