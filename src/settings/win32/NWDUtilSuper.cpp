#include "settings/win32/NWDUtilSuper.h"

#include "settings/NWDUtilSprIds.h"

namespace nw {

namespace {

using otkForm::Control;
using otkForm::Kind;
using namespace spr;

constexpr int kNone = -1;
constexpr DWORD G = WS_GROUP;
constexpr DWORD GT = WS_GROUP | WS_TABSTOP;

constexpr int kClientW = 640, kClientH = 398;
constexpr RECT kPageRect{150, 8, 632, 352};
// The confirmations carry the program's own title.
constexpr const char* kAppTitle = "NetWard";

// One grid: the boxes and the list end at 372, the buttons stand in one column from 380 to 476,
// the rows of the connection information 32 apart.
constexpr Control kRasConn[] = {
    {Kind::Label, kNone, "ﾀﾞｲｱﾙｱｯﾌﾟ接続情報の保存ｾｯﾄ(&O):", {8, 8, 372, 26}},
    {Kind::Edit, RsSetInfoTxt, "", {8, 28, 372, 50}, 0, "接続情報保存ｾｯﾄの名前", 256},
    {Kind::List, RsSetInfoLst, "", {8, 56, 372, 150}, 0, "登録済みの接続情報保存ｾｯﾄ"},
    {Kind::Button, RsSetInfoDefault, "標準(&F)", {380, 28, 476, 54}, 0, "選択したｾｯﾄを標準にします"},
    {Kind::Button, RsSetInfoReg, "登録(&G)", {380, 60, 476, 86}, 0, "入力した内容を新しいｾｯﾄとして登録します"},
    {Kind::Button, RsSetInfoRenew, "更新(&N)", {380, 92, 476, 118}, 0, "同じ名前のｾｯﾄを入力した内容に更新します"},
    {Kind::Button, RsSetInfoDel, "削除(&D)", {380, 124, 476, 150}, 0, "選択したｾｯﾄを削除します"},
    {Kind::Label, kNone, "ﾀﾞｲｱﾙｱｯﾌﾟ接続のための情報:", {8, 166, 476, 184}},
    {Kind::Check, RsIdlFLG, "独立したﾀﾞｲｱﾙｱｯﾌﾟ接続を行う(&I)", {24, 188, 476, 208}},
    {Kind::Label, kNone, "ｴﾝﾄﾘ名(&E):", {24, 220, 120, 238}},
    {Kind::EditCombo, RsEntryName, "", {124, 216, 372, 238}, 0, "ﾀﾞｲｱﾙｱｯﾌﾟ接続のｴﾝﾄﾘ名"},
    {Kind::Button, RsEntryNameReset, "再表示(&R)", {380, 214, 476, 240}, 0, "ｴﾝﾄﾘの一覧を読み直します"},
    {Kind::Label, kNone, "ﾕｰｻﾞｰ名(&U):", {24, 252, 120, 270}},
    {Kind::Edit, RsUserName, "", {124, 248, 372, 270}, 0, "接続に使うﾕｰｻﾞｰ名", 256},
    {Kind::Label, kNone, "ﾊﾟｽﾜｰﾄﾞ(&P):", {24, 284, 120, 302}},
    {Kind::Password, RsPassword, "", {124, 280, 372, 302}, 0, "接続に使うﾊﾟｽﾜｰﾄﾞ", 256},
    // Shown only while the set's entry is missing from the phonebook; below the rows, so that
    // they keep their spacing while it is hidden.
    {Kind::ReadOnly, RsEntryNameErr, "", {124, 312, 476, 334}},
};

constexpr Control kSysTimBack[] = {
    {Kind::Frame, fmeSyCngDlg, "ｼｽﾃﾑ時刻の変更を感知した場合:", {8, 4, 476, 104}},
    {Kind::Radio, SyCngDlg + 0, "ﾀﾞｲｱﾛｸﾞで告知しない(&O)", {24, 24, 470, 44}, GT},
    {Kind::Radio, SyCngDlg + 1, "ﾀﾞｲｱﾛｸﾞで告知する(&D)", {24, 48, 470, 68}},
    {Kind::Radio, SyCngDlg + 2, "ﾀﾞｲｱﾛｸﾞで告知／問い合わせする(&Q)", {24, 72, 470, 92}},
    {Kind::Label, kNone, "ｼｽﾃﾑ時刻の変更の修正時間ﾀｲﾑｱｳﾄ(&T):", {8, 118, 280, 136}, G},
    {Kind::Number, SyTimeOut, "", {284, 114, 340, 136}, 0, "秒 (0～99999)", 5},
    {Kind::Label, kNone, "秒", {344, 118, 370, 136}},
    {Kind::Frame, fmeSyOutDlg, "修正時間ﾀｲﾑｱｳﾄした場合:", {8, 150, 476, 250}},
    {Kind::Radio, SyOutDlg + 0, "ﾀﾞｲｱﾛｸﾞで告知せずにｼｽﾃﾑ時刻の変更を適用(&A)", {24, 170, 470, 190}, GT},
    {Kind::Radio, SyOutDlg + 1, "ﾀﾞｲｱﾛｸﾞで告知せずにｼｽﾃﾑ時刻の変更を戻す(&S)", {24, 194, 470, 214}},
    {Kind::Radio, SyOutDlg + 2, "ﾀﾞｲｱﾛｸﾞで告知／問い合わせする(&U)", {24, 218, 470, 238}},
};

constexpr Control kButtons[] = {
    {Kind::DefaultButton, OK, "O.K.", {440, 362, 530, 390}, G},
    {Kind::Button, Cancel, "ｷｬﾝｾﾙ", {538, 362, 628, 390}},
};

const otk::otkPagedForm::Page kPages[kPageCount] = {
    {"ﾀﾞｲｱﾙｱｯﾌﾟ接続設定", RASConn, kRasConn},
    {"時刻補正の設定", SysTimBack, kSysTimBack},
};

using F = otkForm::Field<SprValues>;
const F kFields[] = {
    {RsIdlFLG, &SprValues::RsIdlFLG},
    {SyCngDlg, &SprValues::SyCngDlg, 3},
    {SyTimeOut, &SprValues::SyTimeOut},
    {SyOutDlg, &SprValues::SyOutDlg, 3},
};

}  // namespace

NWDUtilSuper::NWDUtilSuper(HINSTANCE instance, SettingsRecord& settings, RasQuery& ras)
    : otk::otkPagedForm(instance, UtilSel, UtilWord, kPageRect), settings_(settings), ras_(ras) {}

NWDUtilSuper::~NWDUtilSuper() = default;

void NWDUtilSuper::ShowModal(HICON icon, bool topmost) {
  otkForm::FormOptions o;
  o.Caption = "Orvin.T.K. NetWard 高度な設定";
  o.ClientWidth = kClientW;
  o.ClientHeight = kClientH;
  o.Icon = icon;
  o.Topmost = topmost;
  o.HelpPage = "utilsuper.htm";
  if (!Create(o)) return;
  CreatePages(kPages);
  AddControls(Window(), kButtons);
  SelectPage(0);
  Load();
  RunModal();
}

void NWDUtilSuper::Load() {
  const SprValues v = LoadSpr(settings_);
  SetChecked(RsIdlFLG, v.RsIdlFLG);
  RefreshEntryList();
  sets_.emplace(settings_);
  otkForm::Write<SprValues>(*this, kFields, v);
  SyCngDlg_Click();
  Show(RsEntryNameErr, false);
  FillSetList();
  for (int i = 0; i < sets_->Count(); ++i)
    if (sets_->SlotAt(i) == sets_->StandardSlot()) {
      SetListIndex(RsSetInfoLst, i);
      ShowSet(i);
    }
}

void NWDUtilSuper::RefreshEntryList() {
  // A failed read leaves the box as it is: an entry name can still be typed.
  std::vector<std::string> names;
  if (ras_.EnumEntries(names)) SetItems(RsEntryName, names);
}

void NWDUtilSuper::FillSetList() {
  std::vector<std::string> texts;
  for (int i = 0; i < sets_->Count(); ++i) texts.push_back(sets_->TextAt(i));
  SetItems(RsSetInfoLst, texts);
}

void NWDUtilSuper::ShowSet(int position) {
  if (position < 0 || position >= sets_->Count()) return;
  const RsSetInfoEntry& set = sets_->SetAt(position);
  SetText(RsSetInfoTxt, set.SetName);
  const std::vector<std::string> entries = Items(RsEntryName);
  int found = -1;
  for (size_t i = 0; i < entries.size() && found < 0; ++i)
    if (entries[i] == set.EntryName) found = static_cast<int>(i);
  if (found >= 0) {
    SetComboIndex(RsEntryName, found);
    SetText(RsEntryNameErr, "");
    Show(RsEntryNameErr, false);
  } else {
    SetText(RsEntryNameErr, MissingEntryNote(set.EntryName));
    Show(RsEntryNameErr, true);
  }
  SetText(RsUserName, set.UserName);
  SetText(RsPassword, set.Password);
}

void NWDUtilSuper::SyCngDlg_Click() {
  const SyOutState s = SyOutRule(RadioIndex(SyCngDlg, 3), RadioIndex(SyOutDlg, 3));
  Enable(SyOutDlg + 0, s.FirstTwoEnabled);
  Enable(SyOutDlg + 1, s.FirstTwoEnabled);
  if (s.SyOutDlg != RadioIndex(SyOutDlg, 3)) SetRadioIndex(SyOutDlg, 3, s.SyOutDlg);
}

void NWDUtilSuper::EditSet(bool update) {
  const ConnSetInput in{Text(RsSetInfoTxt), Text(RsEntryName), Text(RsUserName), Text(RsPassword)};
  auto run = [&](bool accepted) { return update ? sets_->Update(in, accepted) : sets_->Register(in, accepted); };
  SetOutcome o = run(false);
  if (o.What == SetOutcome::Asked) {
    if (!AskQuestion(o.Message)) {
      FocusField(o.Field);
      return;
    }
    o = run(true);
  }
  if (o.What == SetOutcome::Refused) {
    Warn(o.Message);
    FocusField(o.Field);
    return;
  }
  if (!update) {
    FillSetList();
    SetListIndex(RsSetInfoLst, o.Position);
  }
  Inform(o.Message, kAppTitle);
}

void NWDUtilSuper::RsSetInfoDefault_Click() {
  const int position = ListIndex(RsSetInfoLst);
  if (position < 0) return;
  sets_->MakeStandard(position);
  FillSetList();
  SetListIndex(RsSetInfoLst, position);
}

void NWDUtilSuper::RsSetInfoDel_Click() {
  if (!AskQuestion(DeleteSetQuestion())) return;
  const int position = ListIndex(RsSetInfoLst);
  if (position < 0) return;
  const int next = sets_->Delete(position);
  FillSetList();
  if (next >= 0) {
    SetListIndex(RsSetInfoLst, next);
    ShowSet(next);
  }
}

void NWDUtilSuper::OK_Click() {
  SprValues v;
  otkForm::Read<SprValues>(*this, kFields, v);
  const SprProblem p = ApplySpr(v, *sets_, settings_);
  if (!p) {
    Close();
    return;
  }
  if (p.Page >= 0) SelectPage(p.Page);
  Warn(p.Message);
  if (p.Field) FocusField(p.Field);
}

void NWDUtilSuper::OnCommand(int id, int code) {
  // Only the captions choose a page here; the strips under them do not.
  if (id >= UtilSel && id < UtilSel + kPageCount) return;
  if (PageLabelCommand(id, code)) return;
  if (id == RsSetInfoLst) {
    if (code == LBN_SELCHANGE) ShowSet(ListIndex(RsSetInfoLst));
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case OK: OK_Click(); return;
    case Cancel: Close(); return;
    case RsEntryNameReset: RefreshEntryList(); return;
    case RsSetInfoDefault: RsSetInfoDefault_Click(); return;
    case RsSetInfoReg: EditSet(false); return;
    case RsSetInfoRenew: EditSet(true); return;
    case RsSetInfoDel: RsSetInfoDel_Click(); return;
    case SyCngDlg + 0:
    case SyCngDlg + 1:
    case SyCngDlg + 2: SyCngDlg_Click(); return;
    default: return;
  }
}

}  // namespace nw
