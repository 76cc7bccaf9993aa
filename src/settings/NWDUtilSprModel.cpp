#include "settings/NWDUtilSprModel.h"

#include <algorithm>
#include <exception>
#include <tuple>

#include "classlib/otkCodePage932.h"
#include "classlib/otkNumber.h"
#include "settings/NWDUtilModel.h"
#include "settings/NWDUtilSprIds.h"

namespace nw {

namespace {

constexpr const char* kBlank = "\r\n\r\n";
// The set strings are written to the settings file in code page 932, which reads back strings of
// up to 258 characters; the boxes take 256, the entry name fewer.
constexpr size_t kTextLimit = 256;
constexpr size_t kEntryLimit = 256;  // an entry name must be shorter

constexpr const char* kSetNameLabel = "接続情報保存ｾｯﾄの名前";
constexpr const char* kEntryLabel = "接続情報のｴﾝﾄﾘ名";
constexpr const char* kUserLabel = "接続情報のﾕｰｻﾞｰ名";
constexpr const char* kPasswordLabel = "接続情報のﾊﾟｽﾜｰﾄﾞ";

SetOutcome Refuse(int field, std::string message) { return SetOutcome{SetOutcome::Refused, field, std::move(message)}; }

// A text the settings file cannot keep as typed: too long, or with characters code page 932 lacks
// (they would be saved as "?" and name something else). `comma`: a "," would split the dial
// helper's request into extra fields, so it is refused too.
std::optional<SetOutcome> TextRule(const std::string& text, const char* label, int field, bool comma) {
  if (!cp932::Holds(text)) return Refuse(field, UnstorableTextMessage(label));
  if (cp932::CharCount(cp932::FromUtf8(text)) > kTextLimit)
    return Refuse(field, std::string(label) + "には、" + std::to_string(kTextLimit) + "文字以下の文字数を指定して下さい。");
  if (comma && text.find(',') != std::string::npos)
    return Refuse(field, std::string(label) + "には、\",\" (ｶﾝﾏ) を含めないで下さい。");
  return std::nullopt;
}

// The checks shared by register and update, in their order; nullopt when the input passes.
std::optional<SetOutcome> CheckInput(const ConnSetInput& in, bool blanksAccepted) {
  if (in.SetName.empty()) return Refuse(spr::RsSetInfoTxt, "接続情報保存ｾｯﾄの名前を指定して下さい。");
  if (auto r = TextRule(in.SetName, kSetNameLabel, spr::RsSetInfoTxt, false)) return r;
  if (in.EntryName.empty()) return Refuse(spr::RsEntryName, "接続情報のｴﾝﾄﾘ名を指定して下さい。");
  if (cp932::CharCount(cp932::FromUtf8(in.EntryName)) >= kEntryLimit)
    return Refuse(spr::RsEntryName,
                  "接続情報のｴﾝﾄﾘ名には、" + std::to_string(kEntryLimit) + "文字より少ない文字数を指定して下さい。");
  if (auto r = TextRule(in.EntryName, kEntryLabel, spr::RsEntryName, true)) return r;
  if (auto r = TextRule(in.UserName, kUserLabel, spr::RsUserName, true)) return r;
  if (auto r = TextRule(in.Password, kPasswordLabel, spr::RsPassword, true)) return r;
  if (blanksAccepted) return std::nullopt;
  std::string question = "以下の接続情報が空欄のままですが、このまま登録しますか?";
  int first = 0;
  for (const auto& [text, label, field] : {std::tuple{&in.UserName, kUserLabel, spr::RsUserName},
                                           std::tuple{&in.Password, kPasswordLabel, spr::RsPassword}}) {
    if (!text->empty()) continue;
    question += std::string(kBlank) + "    " + label;
    if (!first) first = field;
  }
  if (first) return SetOutcome{SetOutcome::Asked, first, question};
  return std::nullopt;
}

}  // namespace

// ---- the dialog's copy of the sets --------------------------------------------------------------------

ConnSetList::ConnSetList(const SettingsRecord& s) : slots_(s.RsSetInfo), standard_(s.RsSetInfoStd) {
  if (standard_ > LastSlot() || standard_ < -1) standard_ = -1;
  for (size_t k = 0; k < slots_.size(); ++k)
    if (!slots_[k].SetName.empty()) list_.push_back(static_cast<int>(k));
}

std::string ConnSetList::TextAt(int position) const {
  const int slot = SlotAt(position);
  return slots_[static_cast<size_t>(slot)].SetName + (slot == standard_ ? " - (標準)" : "");
}

void ConnSetList::MakeStandard(int position) {
  if (position >= 0 && position < Count()) standard_ = SlotAt(position);
}

SetOutcome ConnSetList::Register(const ConnSetInput& in, bool blanksAccepted) {
  if (auto r = CheckInput(in, blanksAccepted)) return *r;
  const bool taken = std::any_of(slots_.begin(), slots_.end(),
                                 [&](const RsSetInfoEntry& e) { return e.SetName == in.SetName; });
  if (taken)
    return Refuse(spr::RsSetInfoTxt, std::string("接続情報保存ｾｯﾄの名前が他の名前と重複しています。") + kBlank +
                                         "接続情報保存ｾｯﾄを登録できません。");
  if (Count() >= kMaxSets)
    return Refuse(spr::RsSetInfoTxt, "接続情報保存ｾｯﾄは" + std::to_string(kMaxSets) + "個まで登録できます。" +
                                         kBlank + "接続情報保存ｾｯﾄを登録できません。");
  int slot;
  if (!pool_.empty()) {
    slot = pool_.front();
    pool_.pop_front();
  } else {
    slot = static_cast<int>(slots_.size());
    slots_.emplace_back();
  }
  slots_[static_cast<size_t>(slot)] = RsSetInfoEntry{in.SetName, in.EntryName, in.UserName, in.Password};
  if (standard_ == -1) standard_ = slot;
  list_.push_back(slot);
  return SetOutcome{SetOutcome::Done, 0, "正常に登録が完了しました。", Count() - 1};
}

SetOutcome ConnSetList::Update(const ConnSetInput& in, bool blanksAccepted) {
  if (auto r = CheckInput(in, blanksAccepted)) return *r;
  const auto it = std::find_if(slots_.begin(), slots_.end(),
                               [&](const RsSetInfoEntry& e) { return e.SetName == in.SetName; });
  if (it == slots_.end())
    return Refuse(spr::RsSetInfoTxt, std::string("接続情報保存ｾｯﾄの名前がﾘｽﾄの中に存在しません。") + kBlank +
                                         "接続情報保存ｾｯﾄを更新できません。");
  *it = RsSetInfoEntry{in.SetName, in.EntryName, in.UserName, in.Password};
  const int slot = static_cast<int>(it - slots_.begin());
  const int position = static_cast<int>(std::find(list_.begin(), list_.end(), slot) - list_.begin());
  return SetOutcome{SetOutcome::Done, 0, "正常に更新が完了しました。", position};
}

int ConnSetList::Delete(int position) {
  if (position < 0 || position >= Count()) return -1;
  const int slot = SlotAt(position);
  list_.erase(list_.begin() + position);
  slots_[static_cast<size_t>(slot)] = RsSetInfoEntry{};
  if (slot != LastSlot()) {
    pool_.push_back(slot);
  } else {
    int highest = slot - 1;
    while (highest >= 0 && slots_[static_cast<size_t>(highest)].SetName.empty()) --highest;
    slots_.resize(static_cast<size_t>(highest + 1));
    pool_.erase(std::remove_if(pool_.begin(), pool_.end(), [&](int k) { return k > highest; }), pool_.end());
  }
  if (list_.empty()) return -1;
  return std::min(position, Count() - 1);
}

void ConnSetList::StoreInto(SettingsRecord& s) const {
  s.RsSetInfo.clear();
  s.RsSetInfoStd = -1;
  for (int slot : list_) {
    if (slot == standard_) s.RsSetInfoStd = static_cast<int32_t>(s.RsSetInfo.size());
    s.RsSetInfo.push_back(slots_[static_cast<size_t>(slot)]);
  }
}

std::string MissingEntryNote(const std::string& entryName) { return "該当ｴﾝﾄﾘなし: " + entryName; }

std::string DeleteSetQuestion() { return "この接続情報保存ｾｯﾄを削除しますか?"; }

// ---- the pages -------------------------------------------------------------------------------------

SprValues LoadSpr(const SettingsRecord& s) {
  SprValues v;
  v.RsIdlFLG = s.RsIdlFLG;
  v.SyCngDlg = s.SyCngDlg >= 0 && s.SyCngDlg <= 2 ? s.SyCngDlg : -1;
  v.SyOutDlg = s.SyOutDlg >= 0 && s.SyOutDlg <= 2 ? s.SyOutDlg : -1;
  v.SyTimeOut = std::to_string(s.SyTimeOut);
  return v;
}

SyOutState SyOutRule(int syCngDlg, int syOutDlg) {
  if (syCngDlg == 2) return SyOutState{false, 2};
  return SyOutState{true, syOutDlg};
}

SprProblem ApplySpr(const SprValues& v, const ConnSetList& sets, SettingsRecord& settings) {
  try {
    SettingsRecord copy = settings;
    // Page 0: always passes.
    copy.RsIdlFLG = v.RsIdlFLG;
    sets.StoreInto(copy);
    // Page 1.
    if (v.SyCngDlg >= 0) copy.SyCngDlg = v.SyCngDlg;
    const std::optional<int64_t> timeout = otk::ReadNumber(v.SyTimeOut, otk::NumberGrammar::Decimal);
    if (!timeout) return SprProblem{1, spr::SyTimeOut, "変更の修正時間ﾀｲﾑｱｳﾄには数値を指定して下さい。"};
    if (*timeout < 0 || *timeout > 99999)
      return SprProblem{1, spr::SyTimeOut, "変更の修正時間ﾀｲﾑｱｳﾄには0～99999の数値を指定して下さい。"};
    copy.SyTimeOut = static_cast<int32_t>(*timeout);
    if (v.SyOutDlg >= 0) copy.SyOutDlg = v.SyOutDlg;
    settings = std::move(copy);
    return {};
  } catch (const std::exception&) {
    return SprProblem{-1, 0, UnexpectedErrorMessage()};
  }
}

// ---- watch entries ---------------------------------------------------------------------------------

namespace {
constexpr int32_t kDetailValues[kWatchDetailOptions] = {0, 1, 2, 3, 5, 14, 8192};
}

int WatchDetailOption(int32_t stored) {
  for (int i = 0; i < kWatchDetailOptions - 1; ++i)
    if (kDetailValues[i] == stored) return i;
  return kWatchDetailOptions - 1;
}

int32_t WatchDetailValue(int option) {
  return option >= 0 && option < kWatchDetailOptions ? kDetailValues[option] : kDetailValues[kWatchDetailOptions - 1];
}

int WatchWayOption(int32_t stored) { return stored == 1 ? 1 : 0; }

bool WatchPagesReachable(int wayOption) { return wayOption == 1; }

std::vector<bool> TickedItems(const std::vector<std::string>& items, const std::vector<std::string>& names) {
  std::vector<bool> ticked(items.size(), false);
  for (size_t i = 0; i < items.size(); ++i)
    ticked[i] = std::find(names.begin(), names.end(), items[i]) != names.end();
  return ticked;
}

std::string NoEntryText() { return "なし"; }

std::string EntryStateText(bool connected) { return connected ? "接続状態" : "切断状態"; }

std::string EntriesUnreadMessage() {
  return std::string("ﾀﾞｲｱﾙｱｯﾌﾟ接続のｴﾝﾄﾘの一覧を読み込めませんでした。") + kBlank +
         "表示中の一覧とﾁｪｯｸはそのままです。";
}

std::string ApplyWatchEntry(const WatchValues& v, SettingsRecord& settings) {
  try {
    SettingsRecord copy = settings;
    copy.WayWatchEn = v.Way == 1 ? 1 : 0;
    // An unread phonebook showed no entries to tick: what was watched stays watched.
    if (v.EntriesRead) copy.WatchEntries = v.Ticked;
    copy.WatchDetail = WatchDetailValue(v.DetailOption);
    settings = std::move(copy);
    return {};
  } catch (const std::exception&) {
    return UnexpectedErrorMessage();
  }
}

}  // namespace nw
