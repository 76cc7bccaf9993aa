// The advanced settings and watch-entry dialogs without their windows: the dialog's copy of the
// connection information sets through a session of edits, every check of a typed set in order,
// the system-time page, and the watch-entry rules.
#include <gtest/gtest.h>

#include "settings/NWDUtilSprIds.h"
#include "settings/NWDUtilSprModel.h"

namespace nw {
namespace {

RsSetInfoEntry Set(const std::string& name, const std::string& entry = "Entry") {
  return RsSetInfoEntry{name, entry, "user", "secret"};
}
ConnSetInput Typed(const std::string& name, const std::string& entry = "Entry", const std::string& user = "user",
                   const std::string& password = "secret") {
  return ConnSetInput{name, entry, user, password};
}
std::vector<std::string> Texts(const ConnSetList& l) {
  std::vector<std::string> t;
  for (int i = 0; i < l.Count(); ++i) t.push_back(l.TextAt(i));
  return t;
}
std::vector<std::string> StoredNames(const SettingsRecord& s) {
  std::vector<std::string> n;
  for (const auto& e : s.RsSetInfo) n.push_back(e.SetName);
  return n;
}
using Names = std::vector<std::string>;
std::string Repeat(const std::string& piece, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += piece;
  return s;
}

TEST(ConnSetListTest, EditingSessionKeepsSlotsPoolAndStandardAsTheDialogDescribes) {
  SettingsRecord s;
  s.RsSetInfo = {Set("A"), Set("B"), Set("C")};
  s.RsSetInfoStd = 7;  // beyond the last slot: no standard set
  ConnSetList l(s);
  EXPECT_EQ(Texts(l), (Names{"A", "B", "C"}));
  EXPECT_EQ(l.StandardSlot(), -1);

  // The first set registered while there is no standard set becomes it; a name differing only in
  // case is a new set; an exact duplicate is refused.
  SetOutcome o = l.Register(Typed("D"), false);
  EXPECT_EQ(o.What, SetOutcome::Done);
  EXPECT_EQ(o.Message, "正常に登録が完了しました。");
  EXPECT_EQ(o.Position, 3);
  EXPECT_EQ(l.Register(Typed("d"), false).What, SetOutcome::Done);
  o = l.Register(Typed("B"), false);
  EXPECT_EQ(o.What, SetOutcome::Refused);
  EXPECT_EQ(o.Field, spr::RsSetInfoTxt);
  EXPECT_EQ(o.Message, "接続情報保存ｾｯﾄの名前が他の名前と重複しています。\r\n\r\n接続情報保存ｾｯﾄを登録できません。");
  EXPECT_EQ(Texts(l), (Names{"A", "B", "C", "D - (標準)", "d"}));

  // Standard on "B"; deleting B (not the last slot) frees slot 1, the list selects the next entry.
  l.MakeStandard(1);
  EXPECT_EQ(Texts(l), (Names{"A", "B - (標準)", "C", "D", "d"}));
  EXPECT_EQ(l.Delete(1), 1);
  EXPECT_EQ(l.FreeSlots(), (std::deque<int>{1}));
  l.Delete(0);  // slot 0 freed after slot 1
  EXPECT_EQ(l.FreeSlots(), (std::deque<int>{1, 0}));
  // The oldest freed slot is reused, and it is still the standard slot: the new set is standard.
  EXPECT_EQ(l.Register(Typed("E"), false).Position, 3);
  EXPECT_EQ(Texts(l), (Names{"C", "D", "d", "E - (標準)"}));

  // Update overwrites the set found by its exact name; an unknown name is refused.
  o = l.Update(Typed("C", "Other", "u2", "p2"), false);
  EXPECT_EQ(o.What, SetOutcome::Done);
  EXPECT_EQ(o.Message, "正常に更新が完了しました。");
  EXPECT_EQ(l.SetAt(0), (RsSetInfoEntry{"C", "Other", "u2", "p2"}));
  o = l.Update(Typed("c"), false);
  EXPECT_EQ(o.Message, "接続情報保存ｾｯﾄの名前がﾘｽﾄの中に存在しません。\r\n\r\n接続情報保存ｾｯﾄを更新できません。");

  // Deleting the last slot ("d", slot 4) cuts the slots back to the highest used one (3, "D"), and
  // the pool loses numbers above it; the last list entry removed selects the new last one.
  EXPECT_EQ(l.LastSlot(), 4);
  EXPECT_EQ(l.Delete(2), 2);
  EXPECT_EQ(l.LastSlot(), 3);
  EXPECT_EQ(l.FreeSlots(), (std::deque<int>{0}));
  EXPECT_EQ(l.Delete(2), 1);  // "E", the standard set in slot 1: the slot number stays standard
  EXPECT_EQ(l.FreeSlots(), (std::deque<int>{0, 1}));

  // Stored in list order; the standard slot is empty now, so nothing is standard.
  SettingsRecord out = s;
  l.StoreInto(out);
  EXPECT_EQ(StoredNames(out), (Names{"C", "D"}));
  EXPECT_EQ(out.RsSetInfoLast(), 1);
  EXPECT_EQ(out.RsSetInfoStd, -1);
  // Registering again fills slot 0 then slot 1 (standard again), stored after the others.
  l.Register(Typed("F"), false);
  l.Register(Typed("G"), false);
  l.StoreInto(out);
  EXPECT_EQ(StoredNames(out), (Names{"C", "D", "F", "G"}));
  EXPECT_EQ(out.RsSetInfoStd, 3);

  // Deleting everything drops every slot and the pool.
  while (l.Count()) l.Delete(0);
  EXPECT_EQ(l.LastSlot(), -1);
  EXPECT_TRUE(l.FreeSlots().empty());
  l.StoreInto(out);
  EXPECT_TRUE(out.RsSetInfo.empty());
  EXPECT_EQ(out.RsSetInfoLast(), -1);
}

TEST(ConnSetListTest, TypedSetIsCheckedInOrderAndNoMessageCarriesThePassword) {
  ConnSetList l{SettingsRecord{}};
  const std::string longText(257, 'x');
  struct Case {
    ConnSetInput In;
    int Field;
    std::string Message;
  } cases[] = {
      {Typed("", ""), spr::RsSetInfoTxt, "接続情報保存ｾｯﾄの名前を指定して下さい。"},
      {Typed(longText, ""), spr::RsSetInfoTxt, "接続情報保存ｾｯﾄの名前には、256文字以下の文字数を指定して下さい。"},
      {Typed("S", "", "", ""), spr::RsEntryName, "接続情報のｴﾝﾄﾘ名を指定して下さい。"},
      {Typed("S", std::string(256, 'e'), "a,b"), spr::RsEntryName,
       "接続情報のｴﾝﾄﾘ名には、256文字より少ない文字数を指定して下さい。"},
      // Double-byte characters count as one each: 255 of them pass the entry's limit.
      {Typed("S", Repeat("接", 255), "a,b"),
       spr::RsUserName, "接続情報のﾕｰｻﾞｰ名には、\",\" (ｶﾝﾏ) を含めないで下さい。"},
      {Typed("S", "My,Entry", "a,b"), spr::RsEntryName, "接続情報のｴﾝﾄﾘ名には、\",\" (ｶﾝﾏ) を含めないで下さい。"},
      {Typed("S", "Entry", "user", "pa,ss"), spr::RsPassword,
       "接続情報のﾊﾟｽﾜｰﾄﾞには、\",\" (ｶﾝﾏ) を含めないで下さい。"},
      {Typed("S", "Entry", longText), spr::RsUserName, "接続情報のﾕｰｻﾞｰ名には、256文字以下の文字数を指定して下さい。"},
      // "€" and "한" have no place in code page 932: saved, they would read back as "?".
      {Typed("S€"), spr::RsSetInfoTxt, "接続情報保存ｾｯﾄの名前には、使用できない文字が含まれています。"},
      {Typed("S", "Entry한"), spr::RsEntryName, "接続情報のｴﾝﾄﾘ名には、使用できない文字が含まれています。"},
      {Typed("S", "Entry", "user", "pw€"), spr::RsPassword, "接続情報のﾊﾟｽﾜｰﾄﾞには、使用できない文字が含まれています。"},
  };
  for (const Case& c : cases) {
    for (bool accepted : {false, true}) {
      const SetOutcome o = l.Register(c.In, accepted);
      EXPECT_EQ(o.What, SetOutcome::Refused) << c.Message;
      EXPECT_EQ(o.Field, c.Field) << c.Message;
      EXPECT_EQ(o.Message, c.Message);
      EXPECT_EQ(l.Update(c.In, accepted).Message, c.Message);
      if (!c.In.Password.empty() && c.In.Password != "secret")
        EXPECT_EQ(o.Message.find(c.In.Password), std::string::npos);
    }
  }
  EXPECT_EQ(l.Count(), 0);

  // Blank user name and password: a question naming both, the first blank focused on "No";
  // blanks are content.
  SetOutcome o = l.Register(Typed("S", "Entry", "", ""), false);
  EXPECT_EQ(o.What, SetOutcome::Asked);
  EXPECT_EQ(o.Field, spr::RsUserName);
  EXPECT_EQ(o.Message, "以下の接続情報が空欄のままですが、このまま登録しますか?\r\n\r\n    接続情報のﾕｰｻﾞｰ名"
                       "\r\n\r\n    接続情報のﾊﾟｽﾜｰﾄﾞ");
  o = l.Register(Typed("S", "Entry", " ", ""), false);
  EXPECT_EQ(o.Field, spr::RsPassword);
  EXPECT_EQ(o.Message, "以下の接続情報が空欄のままですが、このまま登録しますか?\r\n\r\n    接続情報のﾊﾟｽﾜｰﾄﾞ");
  EXPECT_EQ(l.Register(Typed("S", "Entry", " ", ""), true).What, SetOutcome::Done);
  EXPECT_EQ(l.Update(Typed("S", "Entry", "", "x"), false).What, SetOutcome::Asked);
  EXPECT_EQ(l.SetAt(0), (RsSetInfoEntry{"S", "Entry", " ", ""}));
}

TEST(ConnSetListTest, NoMoreSetsThanTheDefaultSetMenusCanShow) {
  ConnSetList l{SettingsRecord{}};
  for (int i = 0; i < ConnSetList::kMaxSets; ++i)
    ASSERT_EQ(l.Register(Typed("S" + std::to_string(i)), false).What, SetOutcome::Done);
  const SetOutcome o = l.Register(Typed("one more"), false);
  EXPECT_EQ(o.What, SetOutcome::Refused);
  EXPECT_EQ(o.Message, "接続情報保存ｾｯﾄは256個まで登録できます。\r\n\r\n接続情報保存ｾｯﾄを登録できません。");
  l.Delete(10);
  EXPECT_EQ(l.Register(Typed("one more"), false).What, SetOutcome::Done);
  EXPECT_EQ(l.LastSlot(), ConnSetList::kMaxSets - 1);
}

TEST(SprApplyTest, TimePageIsCheckedAndNothingIsStoredUntilBothPagesPass) {
  SettingsRecord s;
  s.RsSetInfo = {Set("A"), Set("B")};
  s.SyCngDlg = 1;
  s.SyOutDlg = 0;
  s.SyTimeOut = 60;
  SprValues v = LoadSpr(s);
  EXPECT_EQ(v.SyTimeOut, "60");
  EXPECT_EQ(v.SyCngDlg, 1);

  ConnSetList l(s);
  l.Delete(0);
  l.Register(Typed("C"), false);
  v.RsIdlFLG = true;
  v.SyCngDlg = 2;
  v.SyOutDlg = 2;
  const SettingsRecord before = s;
  for (const auto& [text, message] : {std::pair{"abc", "変更の修正時間ﾀｲﾑｱｳﾄには数値を指定して下さい。"},
                                      std::pair{"-1", "変更の修正時間ﾀｲﾑｱｳﾄには0～99999の数値を指定して下さい。"},
                                      std::pair{"100000", "変更の修正時間ﾀｲﾑｱｳﾄには0～99999の数値を指定して下さい。"}}) {
    v.SyTimeOut = text;
    const SprProblem p = ApplySpr(v, l, s);
    EXPECT_EQ(p.Page, 1);
    EXPECT_EQ(p.Field, spr::SyTimeOut);
    EXPECT_EQ(p.Message, message);
    EXPECT_EQ(s, before);
  }
  v.SyTimeOut = "99999";
  EXPECT_FALSE(ApplySpr(v, l, s));
  EXPECT_TRUE(s.RsIdlFLG);
  EXPECT_EQ(StoredNames(s), (Names{"B", "C"}));
  EXPECT_EQ(s.RsSetInfoStd, 1);  // "C": registered while no set was standard
  EXPECT_EQ(s.SyTimeOut, 99999);
  EXPECT_EQ(s.SyCngDlg, 2);
  EXPECT_EQ(s.SyOutDlg, 2);

  // Asking about the change greys the first two timeout options and selects the third.
  EXPECT_EQ(SyOutRule(2, 0).SyOutDlg, 2);
  EXPECT_FALSE(SyOutRule(2, 0).FirstTwoEnabled);
  EXPECT_TRUE(SyOutRule(1, 0).FirstTwoEnabled);
  EXPECT_EQ(SyOutRule(0, 1).SyOutDlg, 1);
  EXPECT_EQ(MissingEntryNote("Gone"), "該当ｴﾝﾄﾘなし: Gone");
}

TEST(WatchEntryTest, ThresholdWayTicksAndApply) {
  // Offered thresholds round-trip; anything else shows and stores "connected".
  for (int option = 0; option < kWatchDetailOptions; ++option)
    EXPECT_EQ(WatchDetailOption(WatchDetailValue(option)), option);
  EXPECT_EQ(WatchDetailValue(4), 5);
  EXPECT_EQ(WatchDetailValue(5), 14);
  EXPECT_EQ(WatchDetailOption(4), 6);
  EXPECT_EQ(WatchDetailOption(-3), 6);
  EXPECT_EQ(WatchDetailValue(-1), 8192);
  EXPECT_EQ(WatchWayOption(1), 1);
  EXPECT_EQ(WatchWayOption(7), 0);
  EXPECT_TRUE(WatchPagesReachable(1));
  EXPECT_FALSE(WatchPagesReachable(0));
  EXPECT_EQ(TickedItems({"A", "b", "B", "A"}, {"A", "B", "Gone"}), (std::vector<bool>{true, false, true, true}));
  EXPECT_EQ(EntryStateText(true), "接続状態");
  EXPECT_EQ(EntryStateText(false), "切断状態");
  EXPECT_EQ(NoEntryText(), "なし");

  SettingsRecord s;
  s.WatchEntries = {"A", "Gone"};
  s.WatchDetail = 4;
  // The phonebook could not be read: the watch list stays as stored.
  EXPECT_EQ(ApplyWatchEntry(WatchValues{1, false, {}, WatchDetailOption(s.WatchDetail)}, s), "");
  EXPECT_EQ(s.WatchEntries, (std::vector<std::string>{"A", "Gone"}));
  EXPECT_EQ(s.WayWatchEn, 1);
  EXPECT_EQ(s.WatchDetail, 8192);
  // Read: the ticks are the list, none ticked is an empty list.
  EXPECT_EQ(ApplyWatchEntry(WatchValues{0, true, {"B", "A"}, 5}, s), "");
  EXPECT_EQ(s.WatchEntries, (std::vector<std::string>{"B", "A"}));
  EXPECT_EQ(s.WayWatchEn, 0);
  EXPECT_EQ(s.WatchDetail, 14);
  ApplyWatchEntry(WatchValues{1, true, {}, 0}, s);
  EXPECT_EQ(s.WatchEntriesLast(), -1);
  EXPECT_EQ(s.WatchDetail, 0);
}

}  // namespace
}  // namespace nw
