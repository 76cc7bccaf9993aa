#include "settings/win32/NWDUtilSprEntry.h"

#include <commctrl.h>

#include "settings/NWDUtilSprIds.h"
#include "settings/NWDUtilSprModel.h"

namespace nw {

namespace {

using otkForm::Control;
using otkForm::Kind;
using namespace ent;

constexpr int kNone = -1;
constexpr DWORD G = WS_GROUP;
constexpr DWORD GT = WS_GROUP | WS_TABSTOP;
constexpr DWORD kNoPrefix = SS_NOPREFIX;

constexpr int kClientW = 640, kClientH = 398;
constexpr RECT kPageRect{150, 8, 632, 352};
constexpr UINT_PTR kEtyWatcher = 1;
constexpr UINT kEtyWatcherMs = 500;

constexpr Control kWatchWay[] = {
    {Kind::Label, kNone, "接続／切断の監視方式:", {8, 8, 476, 26}},
    {Kind::Radio, WayWatchEn + 0, "ﾌﾞﾗｳｻﾞ依存の監視方式(&B)", {24, 30, 476, 50}, GT},
    {Kind::Radio, WayWatchEn + 1, "OS提供のDLL依存の監視方式(&D)", {24, 54, 476, 74}},
};

constexpr Control kEntry[] = {
    {Kind::Label, kNone, "ﾀﾞｲｱﾙｱｯﾌﾟ接続を監視するｴﾝﾄﾘの選択(&A):", {8, 8, 476, 26}},
    {Kind::CheckList, lstEntries, "", {8, 28, 372, 220}, 0, "ﾁｪｯｸしたｴﾝﾄﾘを監視します (ｽﾍﾟｰｽｷｰで切り替え)"},
    {Kind::Button, cdRedraw, "再表示(&R)", {380, 28, 476, 54}, 0, "ｴﾝﾄﾘの一覧を読み直します"},
    {Kind::Label, kNone, "ｴﾝﾄﾘ名:", {8, 234, 120, 252}},
    {Kind::ReadOnly, EtyName, "", {124, 230, 372, 252}},
    {Kind::Label, kNone, "現在の接続状況:", {8, 264, 120, 282}},
    {Kind::Label, EtyState, "", {124, 264, 372, 282}, kNoPrefix},
};

constexpr Control kDetail[] = {
    {Kind::Label, kNone, "接続時間の計測開始とする状態の設定:", {8, 8, 476, 26}},
    {Kind::Radio, WatchDetail + 0, "ﾎﾟｰﾄを開こうとした状態以降(&P)", {24, 30, 476, 50}, GT},
    {Kind::Radio, WatchDetail + 1, "ﾎﾟｰﾄが開いた状態以降(&Q)", {24, 54, 476, 74}},
    {Kind::Radio, WatchDetail + 2, "ﾃﾞﾊﾞｲｽを接続しようとした状態以降(&D)", {24, 78, 476, 98}},
    {Kind::Radio, WatchDetail + 3, "ﾃﾞﾊﾞｲｽの接続が完了した状態以降(&E)", {24, 102, 476, 122}},
    {Kind::Radio, WatchDetail + 4, "ｱｸｾｽ資格を承認しようとした状態以降(&A)", {24, 126, 476, 146}},
    {Kind::Radio, WatchDetail + 5, "ｱｸｾｽ資格の承認が完了した状態以降(&B)", {24, 150, 476, 170}},
    {Kind::Radio, WatchDetail + 6, "接続の状態以降(&C)", {24, 174, 476, 194}},
    {Kind::Label, kNone, "※ 選択した項目以降の項目は、接続状態として認識されます。", {24, 210, 476, 228}, G | kNoPrefix},
};

constexpr Control kButtons[] = {
    {Kind::DefaultButton, OK, "O.K.", {440, 362, 530, 390}, G},
    {Kind::Button, Cancel, "ｷｬﾝｾﾙ", {538, 362, 628, 390}},
};

const otk::otkPagedForm::Page kPages[kPageCount] = {
    {"監視方式の設定", DecWatchWay, kWatchWay},
    {"監視ｴﾝﾄﾘの設定", DecEntry, kEntry},
    {"計測の詳細設定", DecDetail, kDetail},
};

}  // namespace

NWDUtilSprEntry::NWDUtilSprEntry(HINSTANCE instance, SettingsRecord& settings, RasQuery& ras)
    : otk::otkPagedForm(instance, UtilSel, UtilWord, kPageRect), settings_(settings), ras_(ras) {
  sel_.ChangedIndex = [this](int16_t before, int16_t index, int16_t&) {
    if (before == 1) KillTimer(Window(), kEtyWatcher);
    if (index == 1) {
      SetTimer(Window(), kEtyWatcher, kEtyWatcherMs, nullptr);
      RefreshLiveState();
    }
  };
}

NWDUtilSprEntry::~NWDUtilSprEntry() = default;

void NWDUtilSprEntry::ShowModal(HICON icon, bool topmost) {
  otkForm::FormOptions o;
  o.Caption = "Orvin.T.K. NetWard 接続先監視の設定";
  o.ClientWidth = kClientW;
  o.ClientHeight = kClientH;
  o.Icon = icon;
  o.Topmost = topmost;
  o.HelpPage = "watchentry.htm";
  if (!Create(o)) return;
  CreatePages(kPages);
  AddControls(Window(), kButtons);
  SelectPage(0);
  SetRadioIndex(WayWatchEn, 2, WatchWayOption(settings_.WayWatchEn));
  WayWatchEn_Click();
  ticked_ = settings_.WatchEntries;
  FillEntryList(false);
  SetRadioIndex(WatchDetail, kWatchDetailOptions, WatchDetailOption(settings_.WatchDetail));
  RunModal();
}

bool NWDUtilSprEntry::PageSelectable(int index) const { return index == 0 || navigable_; }

void NWDUtilSprEntry::WayWatchEn_Click() {
  navigable_ = WatchPagesReachable(RadioIndex(WayWatchEn, 2));
  const otk::OleColor caption = otk::SystemColor(navigable_ ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
  SetPageCaptionColor(1, caption);
  SetPageCaptionColor(2, caption);
}

void NWDUtilSprEntry::FillEntryList(bool refresh) {
  std::vector<std::string> names;
  if (!ras_.EnumEntries(names)) {
    // A list read before stays with the user's ticks; without one the stored names are kept.
    if (refresh) Warn(EntriesUnreadMessage());
    if (entriesRead_) return;
    names.clear();
  } else {
    entriesRead_ = true;
  }
  loading_ = true;
  SetItems(lstEntries, names);
  const std::vector<bool> ticks = TickedItems(names, ticked_);
  for (size_t i = 0; i < ticks.size(); ++i)
    if (ticks[i]) SetItemChecked(lstEntries, static_cast<int>(i), true);
  loading_ = false;
  if (!names.empty()) SetListIndex(lstEntries, 0);
  RefreshLiveState();
}

void NWDUtilSprEntry::SetIfChanged(int id, const std::string& text) {
  if (Text(id) != text) SetText(id, text);
}

void NWDUtilSprEntry::RefreshLiveState() {
  const int index = ListIndex(lstEntries);
  if (index < 0) {
    SetIfChanged(EtyName, NoEntryText());
    SetIfChanged(EtyState, NoEntryText());
    return;
  }
  const std::string name = Items(lstEntries).at(static_cast<size_t>(index));
  SetIfChanged(EtyName, name);
  SetIfChanged(EtyState, EntryStateText(ras_.IsEntryConnected(name)));
}

void NWDUtilSprEntry::OnTimer(UINT_PTR id) {
  if (id == kEtyWatcher && ShownPage() == 1) RefreshLiveState();
}

void NWDUtilSprEntry::OnNotify(const NMHDR& n) {
  if (static_cast<int>(n.idFrom) != lstEntries || loading_) return;
  if (n.code == NM_CLICK) {
    RefreshLiveState();
    return;
  }
  if (n.code != LVN_ITEMCHANGED) return;
  const auto& change = reinterpret_cast<const NMLISTVIEW&>(n);
  if (!(change.uChanged & LVIF_STATE)) return;
  if ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) {
    // A tick changed: the copy follows the list, in list order.
    ticked_ = TickedInList();
  }
  if ((change.uNewState ^ change.uOldState) & LVIS_SELECTED) RefreshLiveState();
}

std::vector<std::string> NWDUtilSprEntry::TickedInList() const {
  std::vector<std::string> ticked;
  const std::vector<std::string> items = Items(lstEntries);
  for (size_t i = 0; i < items.size(); ++i)
    if (ItemChecked(lstEntries, static_cast<int>(i))) ticked.push_back(items[i]);
  return ticked;
}

void NWDUtilSprEntry::OK_Click() {
  WatchValues v;
  v.Way = RadioIndex(WayWatchEn, 2);
  // After a good read only what the list shows ticked is watched: names gone from the phonebook
  // drop out.
  v.EntriesRead = entriesRead_;
  if (entriesRead_) v.Ticked = TickedInList();
  v.DetailOption = RadioIndex(WatchDetail, kWatchDetailOptions);
  const std::string problem = ApplyWatchEntry(v, settings_);
  if (problem.empty())
    Close();
  else
    Warn(problem);
}

void NWDUtilSprEntry::OnCommand(int id, int code) {
  if (PageLabelCommand(id, code)) return;
  if (code != BN_CLICKED) return;
  switch (id) {
    case OK: OK_Click(); return;
    case Cancel: Close(); return;
    case WayWatchEn + 0:
    case WayWatchEn + 1: WayWatchEn_Click(); return;
    case cdRedraw: FillEntryList(true); return;
    default: return;
  }
}

}  // namespace nw
