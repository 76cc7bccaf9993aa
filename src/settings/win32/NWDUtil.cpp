#include "settings/win32/NWDUtil.h"

#include <array>
#include <span>
#include <vector>

#include "classlib/otkFormat.h"
#include "data/NWDVolumeFile.h"
#include "settings/NWDQuotaIds.h"
#include "classlib/win32/otkNetAdapters.h"
#include "settings/NWDUtilIds.h"

namespace nw {

namespace {

using otkForm::Control;
using otkForm::Kind;
using namespace util;

constexpr int kNone = -1;  // labels nobody looks up
constexpr DWORD G = WS_GROUP;
constexpr DWORD GT = WS_GROUP | WS_TABSTOP;
constexpr DWORD kNoPrefix = SS_NOPREFIX;

// Layout at 96 DPI: the page labels on the left, the pages to their right, the buttons below. The
// pages are wide enough for the Run key's whole path on the start-up page.
constexpr int kClientW = 744, kClientH = 398;
constexpr RECT kPageRect{150, 8, 736, 352};

constexpr Control kRenew[] = {
    {Kind::Check, UserRenew, "ﾕｰｻﾞｰ定義のｶｳﾝﾀを作動させる(&U)", {8, 8, 476, 28}},
    {Kind::Label, kNone, "ｶｳﾝﾀ名(&N):", {24, 42, 130, 60}},
    {Kind::Edit, CounterName, "", {136, 38, 420, 60}, 0, "ｶｳﾝﾀの名前"},
    {Kind::Label, kNone, "更新周期(&I):", {24, 74, 130, 92}},
    {Kind::Combo, RNInterval, "", {136, 70, 280, 92}, 0, "ｶｳﾝﾀを更新する周期の種類"},
    {Kind::Label, kNone, "更新頻度(&F):", {24, 106, 130, 124}},
    {Kind::Number, RenewFreq, "", {136, 102, 190, 124}, 0, "何周期ごとに更新するか (1～9999)", 4},
    {Kind::Label, FreqExp, "", {196, 106, 300, 124}},
    {Kind::Label, kNone, "更新曜日(&W):", {24, 138, 130, 156}},
    {Kind::Combo, WhenWeek, "", {136, 134, 280, 156}, 0, "週周期で更新する曜日"},
    {Kind::Label, kNone, "更新日付(&D):", {24, 170, 130, 188}},
    {Kind::Number, WhenRenew + 0, "", {136, 166, 172, 188}, 0, "更新する月 (1～12)", 2},
    {Kind::Label, kNone, "月", {176, 170, 198, 188}},
    {Kind::Number, WhenRenew + 1, "", {202, 166, 238, 188}, 0, "更新する日 (1～31)", 2},
    {Kind::Label, kNone, "日", {242, 170, 264, 188}},
    {Kind::Label, kNone, "更新時間(&T):", {24, 202, 130, 220}},
    {Kind::Number, WhenRenew + 2, "", {136, 198, 172, 220}, 0, "更新する時 (0～23)", 2},
    {Kind::Label, kNone, "時", {176, 202, 198, 220}},
    {Kind::Number, WhenRenew + 3, "", {202, 198, 238, 220}, 0, "更新する分 (0～59)", 2},
    {Kind::Label, kNone, "分", {242, 202, 264, 220}},
    {Kind::Number, WhenRenew + 4, "", {268, 198, 304, 220}, 0, "更新する秒 (0～59)", 2},
    {Kind::Label, kNone, "秒", {308, 202, 330, 220}},
};

constexpr Control kDial[] = {
    {Kind::Check, AlDalDial, "起動時に自動的に接続する(&L)", {8, 8, 476, 28}},
    {Kind::Label, kNone, "ﾀﾞｲｱﾙｱｯﾌﾟ接続が切断された場合:", {8, 44, 476, 62}},
    {Kind::Check, AcDalDial, "自動的にﾀﾞｲｱﾙｱｯﾌﾟを接続する(&U)", {24, 66, 476, 86}},
    {Kind::Check, AcDalDialog, "ﾀﾞｲｱﾛｸﾞで告知する(&T)", {24, 90, 476, 110}},
};

// One limit group of the automatic disconnect page, `y` its top.
#define NW_CUT_GROUP(y, captionId, caption, hangup, hangupText, dialog, dialogText, boxes, label)            \
  {Kind::Label, captionId, caption, {8, y, 476, y + 18}, kNoPrefix},                                        \
      {Kind::Check, hangup, hangupText, {24, y + 22, 476, y + 42}},                                          \
      {Kind::Check, dialog, dialogText, {24, y + 44, 476, y + 64}},                                          \
      {Kind::Label, kNone, label, {24, y + 72, 120, y + 90}},                                                \
      {Kind::Number, boxes + 0, "", {124, y + 68, 174, y + 90}, 0, "時間 (0～9999)", 4},                      \
      {Kind::Label, kNone, "時間", {178, y + 72, 210, y + 90}},                                               \
      {Kind::Number, boxes + 1, "", {214, y + 68, 250, y + 90}, 0, "分 (0～59)", 2},                          \
      {Kind::Label, kNone, "分", {254, y + 72, 274, y + 90}},                                                 \
      {Kind::Number, boxes + 2, "", {278, y + 68, 314, y + 90}, 0, "秒 (0～59)", 2},                          \
      {Kind::Label, kNone, "秒", {318, y + 72, 338, y + 90}}

constexpr Control kHangup[] = {
    NW_CUT_GROUP(6, kNone, "\"今日\" ｶｳﾝﾀの累積接続時間が指定時間を超えた場合:", AtCutHangup,
                 "自動的にﾀﾞｲｱﾙｱｯﾌﾟ接続を切断する(&U)", AtCutDialog, "ﾀﾞｲｱﾛｸﾞで告知する(&T)", AtCutTime,
                 "指定時間(&V):"),
    NW_CUT_GROUP(118, AuCutCaption, "", AuCutHangup, "自動的にﾀﾞｲｱﾙｱｯﾌﾟ接続を切断する(&F)", AuCutDialog,
                 "ﾀﾞｲｱﾛｸﾞで告知する(&E)", AuCutTime, "指定時間(&G):"),
    NW_CUT_GROUP(230, kNone, "接続を開始してから指定時間が経過した場合:", AdCutHangup,
                 "自動的にﾀﾞｲｱﾙｱｯﾌﾟ接続を切断する(&C)", AdCutDialog, "ﾀﾞｲｱﾛｸﾞで告知する(&B)", AdCutTime,
                 "指定時間(&D):"),
};
#undef NW_CUT_GROUP

constexpr Control kMaintain[] = {
    {Kind::Check, ExpLock, "接続／切断状態のﾛｯｸﾎﾞﾀﾝを表示する(&O)", {8, 8, 476, 28}},
    {Kind::Label, kNone, "接続／切断がﾛｯｸされている場合:", {8, 44, 476, 62}},
    {Kind::Check, CngConnLockOnFLG, "外部の接続試行により接続状態への変化を感知した場合、ﾀﾞｲｱﾛｸﾞで告知する(&D)",
     {24, 64, 480, 96}, BS_MULTILINE},
    {Kind::Check, CngDisconnLockOnFLG, "外部の切断試行により切断状態への変化を感知した場合、ﾀﾞｲｱﾛｸﾞで告知する(&E)",
     {24, 98, 480, 130}, BS_MULTILINE},
    {Kind::Label, kNone, "接続／切断がﾛｯｸされていない場合:", {8, 146, 476, 164}},
    {Kind::Check, CngConnLockOffFLG, "外部の接続試行により接続状態への変化を感知した場合、ﾀﾞｲｱﾛｸﾞで告知する(&F)",
     {24, 166, 480, 198}, BS_MULTILINE},
    {Kind::Check, CngDisconnLockOffFLG, "外部の切断試行により切断状態への変化を感知した場合、ﾀﾞｲｱﾛｸﾞで告知する(&G)",
     {24, 200, 480, 232}, BS_MULTILINE},
};

constexpr Control kRedial[] = {
    {Kind::Label, kNone, "ﾀﾞｲｱﾙｱｯﾌﾟの再接続を要求した元:", {8, 8, 476, 26}},
    {Kind::Check, RdByAuto, "自動的なﾀﾞｲｱﾙｱｯﾌﾟの再接続(&A)", {24, 30, 476, 50}},
    {Kind::Check, RdByManu, "手動によるﾀﾞｲｱﾙｱｯﾌﾟの再接続(&M)", {24, 54, 476, 74}},
    {Kind::Label, kNone, "該当する要求元から再接続する際の接続間隔(&I):", {8, 92, 476, 110}},
    {Kind::Label, kNone, "切断から", {24, 118, 84, 136}},
    {Kind::Number, RdInterval, "", {88, 114, 140, 136}, 0, "秒 (0～9999)", 4},
    {Kind::Label, kNone, "秒以上経過後、再接続を試行", {146, 118, 476, 136}},
};

// One counter group of the counter values page, `y` its top.
#define NW_COUNTER_GROUP(y, frame, frameText, option, keepText, changeText, boxes)                         \
  {Kind::Frame, frame, frameText, {8, y, 476, y + 150}},                                        \
      {Kind::Radio, option + 0, keepText, {24, y + 22, 300, y + 42}, GT},                                  \
      {Kind::Radio, option + 1, changeText, {24, y + 46, 300, y + 66}},                                    \
      {Kind::Number, boxes + 0, "", {40, y + 76, 90, y + 98}, G, "時間", 4},                                 \
      {Kind::Label, kNone, "時間", {94, y + 80, 126, y + 98}},                                               \
      {Kind::Number, boxes + 2, "", {130, y + 76, 166, y + 98}, 0, "分 (0～59)", 2},                         \
      {Kind::Label, kNone, "分", {170, y + 80, 190, y + 98}},                                                \
      {Kind::Number, boxes + 3, "", {194, y + 76, 230, y + 98}, 0, "秒 (0～59)", 2},                         \
      {Kind::Label, kNone, "秒", {234, y + 80, 254, y + 98}},                                                \
      {Kind::Number, boxes + 1, "", {40, y + 108, 130, y + 130}, 0, "回数", 8},                              \
      {Kind::Label, kNone, "回", {134, y + 112, 154, y + 130}}

constexpr Control kDialVal[] = {
    NW_COUNTER_GROUP(4, frmCngToday, "\"今日\" ｶｳﾝﾀの設定(&T):", opCngToday, "設定を変更しない(&V)",
                     "設定を変更する(&W)", TodayCnter),
    NW_COUNTER_GROUP(166, frmCngUser, "", opCngUser, "設定を変更しない(&X)", "設定を変更する(&Y)", UserCnter),
};
#undef NW_COUNTER_GROUP

constexpr Control kExpress[] = {
    {Kind::Label, kNone, "ﾀｲﾄﾙﾊﾞｰﾌｫｰﾏｯﾄ(&W):", {8, 8, 300, 26}},
    {Kind::Edit, FormatWin, "", {8, 28, 300, 50}, 0, "ﾀｲﾄﾙﾊﾞｰに出す経過時間の形式 (h m s)"},
    {Kind::Check, FormatWinVis, "表示する(&E)", {312, 30, 476, 50}},
    {Kind::Label, kNone, "ﾀｲﾄﾙﾊﾞｰﾌｫｰﾏｯﾄ例:", {24, 56, 170, 74}},
    {Kind::Label, ExFormatWin, "", {174, 56, 476, 74}, kNoPrefix},
    {Kind::Label, kNone, "経過時間表示ﾌｫｰﾏｯﾄ(&I):", {8, 88, 300, 106}},
    {Kind::Edit, FormatIval, "", {8, 108, 300, 130}, 0, "ｶｳﾝﾀに出す経過時間の形式 (h m s)"},
    {Kind::Label, kNone, "経過時間表示ﾌｫｰﾏｯﾄ例:", {24, 136, 170, 154}},
    {Kind::Label, ExFormatIval, "", {174, 136, 476, 154}, kNoPrefix},
    {Kind::Label, kNone, "日時表示ﾌｫｰﾏｯﾄ(&D):", {8, 168, 300, 186}},
    {Kind::Edit, FormatNow, "", {8, 188, 300, 210}, 0, "状況ﾘｽﾄに出す日時の形式 (yyyy m d h mm ss AMPM)"},
    {Kind::Label, kNone, "日時表示ﾌｫｰﾏｯﾄ例:", {24, 216, 170, 234}},
    {Kind::Label, ExFormatNow, "", {174, 216, 476, 234}, kNoPrefix},
    {Kind::Label, kNone, "状況ﾘｽﾄ最大掲載数(&M):", {8, 254, 190, 272}},
    {Kind::Number, MaxCount, "", {194, 250, 250, 272}, 0, "状況ﾘｽﾄに残す行数 (1～9999)", 4},
};

constexpr Control kTimer[] = {
    {Kind::Check, TimerActv, "ﾀｲﾏを作動させる(&T)", {8, 8, 476, 28}},
    {Kind::Label, kNone, "監視間隔:", {8, 40, 200, 58}},
    {Kind::Radio, TimerOp + 0, "0.5秒(&A)", {24, 62, 200, 82}, GT},
    {Kind::Radio, TimerOp + 1, "1秒(&B)", {24, 86, 200, 106}},
    {Kind::Radio, TimerOp + 2, "3秒(&C)", {24, 110, 200, 130}},
    {Kind::Radio, TimerOp + 3, "10秒(&D)", {24, 134, 200, 154}},
    {Kind::Radio, TimerOp + 4, "ﾕｰｻﾞｰ定義(&U):", {24, 158, 150, 178}},
    {Kind::Number, UserTimerIval, "", {154, 156, 214, 178}, G, "監視間隔 (100～30000 ﾐﾘ秒)", 5},
    {Kind::Label, kNone, "ﾐﾘ秒", {218, 160, 260, 178}},
};

// The path boxes take the width of the page; each way's buttons stand right-aligned under its box.
constexpr Control kLaunch[] = {
    {Kind::Label, kNone, "ｺﾝﾋﾟｭｰﾀ起動時にｱﾌﾟﾘｹｰｼｮﾝを自動起動する設定:", {8, 8, 580, 26}},
    {Kind::Label, kNone, "状態:", {24, 30, 70, 48}},
    {Kind::Label, MesLaunchStatus, "", {74, 30, 580, 48}, kNoPrefix},
    {Kind::Label, kNone, "ﾚｼﾞｽﾄﾘへの登録:", {8, 64, 580, 82}},
    {Kind::Label, kNone, "状態:", {24, 86, 70, 104}},
    {Kind::Label, MesRegStatus, "", {74, 86, 580, 104}, kNoPrefix},
    {Kind::Label, kNone, "場所:", {24, 112, 70, 130}},
    {Kind::ReadOnly, MesRegPlace, "", {74, 108, 580, 130}},
    {Kind::Button, cmRegRegist, "登録(&R)", {380, 136, 476, 162}, 0, "ﾚｼﾞｽﾄﾘに登録します"},
    {Kind::Button, cmRegDelete, "削除(&D)", {484, 136, 580, 162}, 0, "ﾚｼﾞｽﾄﾘから削除します"},
    {Kind::Label, kNone, "ｽﾀｰﾄｱｯﾌﾟﾌｫﾙﾀﾞへの登録:", {8, 180, 580, 198}},
    {Kind::Label, kNone, "状態:", {24, 202, 70, 220}},
    {Kind::Label, MesSupStatus, "", {74, 202, 580, 220}, kNoPrefix},
    {Kind::Label, kNone, "場所:", {24, 228, 70, 246}},
    {Kind::ReadOnly, MesSupPlace, "", {74, 224, 580, 246}},
    {Kind::Button, cmSupRegist, "登録(&S)", {380, 252, 476, 278}, 0, "ｽﾀｰﾄｱｯﾌﾟﾌｫﾙﾀﾞにｼｮｰﾄｶｯﾄを作ります"},
    {Kind::Button, cmSupDelete, "削除(&E)", {484, 252, 580, 278}, 0, "ｽﾀｰﾄｱｯﾌﾟﾌｫﾙﾀﾞからｼｮｰﾄｶｯﾄを削除します"},
};

constexpr Control kTaskTray[] = {
    {Kind::Check, TackTrayIn, "ﾀｽｸﾄﾚｲで常駐させる(&T)", {8, 8, 476, 28}},
    {Kind::Check, ExpStart, "起動時にｳｨﾝﾄﾞｳを表示する(&E)", {8, 32, 476, 52}},
    {Kind::Check, DblErr, "二重起動の告知をしない(&D)", {8, 56, 476, 76}},
    {Kind::Check, LDialSave, "接続／切断の履歴ﾛｸﾞを保存する(&L)", {8, 92, 476, 112}},
    {Kind::Check, LTdaySave, "\"今日\" ｶｳﾝﾀの履歴ﾛｸﾞを保存する(&M)", {8, 116, 476, 136}},
    {Kind::Check, LUserSave, "", {8, 140, 476, 160}},
};

// The data volume page, its captions from the page's model.
std::span<const Control> QuotaControls() {
  const QuotaTexts& t = QuotaPageTexts();
  static const Control controls[] = {
      {Kind::Check, QuotaOn, t.QuotaOn, {8, 8, 476, 28}},
      {Kind::Label, QuotaNote, "", {24, 32, 476, 50}, kNoPrefix},
      {Kind::Label, kNone, t.SizeLabel, {24, 62, 150, 80}},
      {Kind::Number, QuotaSize, "", {154, 58, 234, 80}, 0, "期間に使えるﾃﾞｰﾀ量 (1～9999999)", 7},
      {Kind::Combo, QuotaUnit, "", {240, 58, 310, 80}, 0, "上限ﾃﾞｰﾀ量の単位"},
      {Kind::Label, kNone, t.WarnLabels[0], {24, 94, 150, 112}},
      {Kind::Number, QuotaWarn + 0, "", {154, 90, 200, 112}, 0, "上限の何%で知らせるか (1～100)", 3},
      {Kind::Label, kNone, t.PercentUnit, {204, 94, 230, 112}},
      {Kind::Label, kNone, t.WarnLabels[1], {24, 126, 150, 144}},
      {Kind::Number, QuotaWarn + 1, "", {154, 122, 200, 144}, 0, "上限の何%で知らせるか (1～100)", 3},
      {Kind::Label, kNone, t.PercentUnit, {204, 126, 230, 144}},
      {Kind::Frame, kNone, t.ActionFrame, {8, 158, 476, 234}},
      {Kind::Radio, util::QuotaAction + 0, t.Actions[0], {24, 180, 460, 200}, GT},
      {Kind::Radio, util::QuotaAction + 1, t.Actions[1], {24, 204, 460, 224}},
      {Kind::Check, QuotaCountSent, t.CountSent, {8, 246, 476, 266}, GT},
      {Kind::Label, kNone, t.AdapterLabel, {8, 282, 476, 300}},
      {Kind::Combo, QuotaAdapter, "", {24, 302, 400, 324}, 0, "ﾀﾞｲｱﾙｱｯﾌﾟ以外の回線のﾃﾞｰﾀ量を数えるｱﾀﾞﾌﾟﾀ"},
  };
  return controls;
}

constexpr Control kButtons[] = {
    {Kind::DefaultButton, OK, "O.K.", {544, 362, 634, 390}},
    {Kind::Button, Cancel, "ｷｬﾝｾﾙ", {642, 362, 732, 390}},
};

// The ten pages of the settings record, then the data volume page (NwdUtil.vol).
std::array<otk::otkPagedForm::Page, kPageQuota + 1> Pages() {
  return {{
      {"更新日時の設定", DecRenew, kRenew},       {"自動接続の設定", Dial, kDial},
      {"自動切断の設定", DialHangup, kHangup},    {"状態維持の設定", DecMaintain, kMaintain},
      {"再接続の設定", DecRedial, kRedial},       {"経過時間の設定", DecDialVal, kDialVal},
      {"表示方法の設定", DecExpress, kExpress},   {"ﾀｲﾏの設定", DecTimer, kTimer},
      {"自動起動の設定", DecLaunch, kLaunch},     {"ｱﾌﾟﾘｹｰｼｮﾝの設定", DecTaskTray, kTaskTray},
      {QuotaPageTexts().Page, DecQuota, QuotaControls()},
  }};
}

using F = otkForm::Field<UtilValues>;
const F kFields[] = {
    {UserRenew, &UtilValues::UserRenew},
    {CounterName, &UtilValues::CounterName},
    {RNInterval, &UtilValues::RNInterval},
    {RenewFreq, &UtilValues::RenewFreq},
    {WhenWeek, &UtilValues::WhenWeek},
    {WhenRenew + 0, &UtilValues::WhenRenewMonth},
    {WhenRenew + 1, &UtilValues::WhenRenewDay},
    {WhenRenew + 2, &UtilValues::WhenRenewHour},
    {WhenRenew + 3, &UtilValues::WhenRenewMinute},
    {WhenRenew + 4, &UtilValues::WhenRenewSecond},
    {ExpLock, &UtilValues::ExpLock},
    {CngConnLockOnFLG, &UtilValues::CngConnLockOnFLG},
    {CngDisconnLockOnFLG, &UtilValues::CngDisconnLockOnFLG},
    {CngConnLockOffFLG, &UtilValues::CngConnLockOffFLG},
    {CngDisconnLockOffFLG, &UtilValues::CngDisconnLockOffFLG},
    {AlDalDial, &UtilValues::AlDalDial},
    {AcDalDialog, &UtilValues::AcDalDialog},
    {AcDalDial, &UtilValues::AcDalDial},
    {AtCutDialog, &UtilValues::AtCutDialog},
    {AtCutHangup, &UtilValues::AtCutHangup},
    {AtCutTime + 0, &UtilValues::AtCutHours},
    {AtCutTime + 1, &UtilValues::AtCutMinutes},
    {AtCutTime + 2, &UtilValues::AtCutSeconds},
    {AuCutDialog, &UtilValues::AuCutDialog},
    {AuCutHangup, &UtilValues::AuCutHangup},
    {AuCutTime + 0, &UtilValues::AuCutHours},
    {AuCutTime + 1, &UtilValues::AuCutMinutes},
    {AuCutTime + 2, &UtilValues::AuCutSeconds},
    {AdCutDialog, &UtilValues::AdCutDialog},
    {AdCutHangup, &UtilValues::AdCutHangup},
    {AdCutTime + 0, &UtilValues::AdCutHours},
    {AdCutTime + 1, &UtilValues::AdCutMinutes},
    {AdCutTime + 2, &UtilValues::AdCutSeconds},
    {RdByManu, &UtilValues::RdByManu},
    {RdByAuto, &UtilValues::RdByAuto},
    {RdInterval, &UtilValues::RdInterval},
    {TodayCnter + 0, &UtilValues::TodayHours},
    {TodayCnter + 1, &UtilValues::TodayCount},
    {TodayCnter + 2, &UtilValues::TodayMinutes},
    {TodayCnter + 3, &UtilValues::TodaySeconds},
    {opCngToday, &UtilValues::opCngToday, 2},
    {UserCnter + 0, &UtilValues::UserHours},
    {UserCnter + 1, &UtilValues::UserCount},
    {UserCnter + 2, &UtilValues::UserMinutes},
    {UserCnter + 3, &UtilValues::UserSeconds},
    {opCngUser, &UtilValues::opCngUser, 2},
    {MaxCount, &UtilValues::MaxCount},
    {FormatNow, &UtilValues::FormatNow},
    {FormatIval, &UtilValues::FormatIval},
    {FormatWinVis, &UtilValues::FormatWinVis},
    {FormatWin, &UtilValues::FormatWin},
    {TimerActv, &UtilValues::TimerActv},
    {TimerOp, &UtilValues::TimerOp, 5},
    {UserTimerIval, &UtilValues::UserTimerIval},
    {TackTrayIn, &UtilValues::TackTrayIn},
    {ExpStart, &UtilValues::ExpStart},
    {DblErr, &UtilValues::DblErr},
    {LDialSave, &UtilValues::LDialSave},
    {LTdaySave, &UtilValues::LTdaySave},
    {LUserSave, &UtilValues::LUserSave},
};

using Q = otkForm::Field<QuotaValues>;
const Q kQuotaFields[] = {
    {QuotaOn, &QuotaValues::QuotaOn},
    {QuotaSize, &QuotaValues::QuotaSize},
    {QuotaUnit, &QuotaValues::QuotaUnit},
    {QuotaWarn + 0, &QuotaValues::QuotaWarn1},
    {QuotaWarn + 1, &QuotaValues::QuotaWarn2},
    {util::QuotaAction, &QuotaValues::QuotaAction, 2},
    {QuotaCountSent, &QuotaValues::QuotaCountSent},
};

constexpr const char* kIntervals[] = {"年周期", "月周期", "週周期", "日周期", "時間周期", "分周期"};
constexpr const char* kWeekdays[] = {"日曜日", "月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日"};

// A counter name inside a caption with a mnemonic: its own "&" must stay text.
std::string Amp(const std::string& s) {
  std::string out;
  for (char c : s) {
    out += c;
    if (c == '&') out += '&';
  }
  return out;
}

bool InRange(int id, int first, int count) { return id >= first && id < first + count; }

}  // namespace

NWDUtil::NWDUtil(HINSTANCE instance, UtilityHost& host, LaunchPorts& launch, std::string programFolder,
                 std::string exeName)
    : otk::otkPagedForm(instance, UtilSel, UtilWord, kPageRect),
      host_(host),
      launch_(launch, std::move(programFolder), std::move(exeName)) {}

NWDUtil::~NWDUtil() = default;

void NWDUtil::ShowModal(HICON icon, bool topmost) {
  otkForm::FormOptions o;
  o.Caption = "Orvin.T.K. NetWard 動作の設定";
  o.ClientWidth = kClientW;
  o.ClientHeight = kClientH;
  o.Icon = icon;
  o.Topmost = topmost;
  o.HelpPage = "util.htm";
  if (!Create(o)) return;
  CreatePages();
  SelectPage(0);
  LoadUtility();
  ShowLaunch(launch_.Refresh());
  RunModal();
}

void NWDUtil::CreatePages() {
  otk::otkPagedForm::CreatePages(Pages());
  AddControls(Window(), kButtons);
  FillCombo(RNInterval, kIntervals);
  FillCombo(WhenWeek, kWeekdays);
  FillCombo(QuotaUnit, QuotaPageTexts().Units);
}

void NWDUtil::LoadQuota() {
  const QuotaSettings& stored = VolumeGlobal().Quota;
  otkForm::Write<QuotaValues>(*this, kQuotaFields, nw::LoadQuota(stored));
  SetNamedCaption(QuotaNote, host_.Settings().CounterName, [](auto n) { return QuotaPeriodNote(std::string(n)); }, 0);
  adapters_ = MakeAdapterChoices(otk::ListNetworkAdapters(), stored.Adapter);
  std::vector<const char*> items;
  for (const std::string& name : adapters_.Items) items.push_back(name.c_str());
  FillCombo(QuotaAdapter, items);
  SetComboIndex(QuotaAdapter, adapters_.Selected);
}

void NWDUtil::LoadUtility() {
  loading_ = true;
  const SettingsRecord& s = host_.Settings();
  const UtilValues v = nw::LoadUtility(s, host_.Counters(), host_.Runtime());
  // The captions with the counter's name, built once from the stored name (a check box's and a
  // frame's caption start after their box and edge).
  const auto quoted = [](std::string_view n) { return "\"" + Amp(std::string(n)) + "\""; };
  SetNamedCaption(LUserSave, s.CounterName, [&](auto n) { return quoted(n) + " ｶｳﾝﾀの履歴ﾛｸﾞを保存する(&N)"; }, 18);
  SetNamedCaption(AuCutCaption, s.CounterName,
                  [](auto n) { return "\"" + std::string(n) + "\" ｶｳﾝﾀの累積接続時間が指定時間を超えた場合:"; }, 0);
  SetNamedCaption(frmCngUser, s.CounterName, [&](auto n) { return quoted(n) + " ｶｳﾝﾀの設定(&U):"; }, 16);
  otkForm::Write<UtilValues>(*this, kFields, v);
  SetText(FreqExp, FreqExpCaption(v.RNInterval));
  ApplyRenewEnabling();
  ApplyCutEnabling();
  SetText(ExFormatWin, DurationExample(v.FormatWin));
  SetText(ExFormatIval, DurationExample(v.FormatIval));
  SetText(ExFormatNow, NowExample(v.FormatNow));
  LoadQuota();
  loading_ = false;
  // The stored settings may already have both: automatic connecting gives way.
  if (const auto warning = AutoConnectConflict(v.AcDalDial, v.ExpLock)) {
    Warn(*warning);
    SetChecked(AcDalDial, false);
  }
}

void NWDUtil::SetNamedCaption(int id, const std::string& name, const std::function<std::string(std::string_view)>& caption,
                              int reserve) {
  HWND h = Item(id);
  RECT rc{};
  GetClientRect(h, &rc);
  otkGdi::WindowDc dc(h);
  otkGdi::SelectGuard font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(h, WM_GETFONT, 0, 0)));
  const std::string fitted = otk::FitText(name, rc.right - S(reserve), [&](std::string_view n) {
    return otkGdi::MeasureText(dc.Get(), caption(n));
  });
  SetText(id, caption(fitted));
  // A long name: shortened with "...", whole in the tip.
  if (fitted != name) SetTip(id, name);
}

void NWDUtil::ApplyRenewEnabling() {
  const RenewEnabling e = RenewControlsEnabled(Checked(UserRenew), ComboIndex(RNInterval));
  Enable(RNInterval, e.RNInterval);
  Enable(RenewFreq, e.RenewFreq);
  Enable(CounterName, e.CounterName);
  Enable(WhenWeek, e.WhenWeek);
  Enable(WhenRenew + 0, e.Month);
  Enable(WhenRenew + 1, e.Day);
  Enable(WhenRenew + 2, e.Hour);
  Enable(WhenRenew + 3, e.Minute);
  Enable(WhenRenew + 4, e.Second);
}

void NWDUtil::ApplyCutEnabling() {
  // A limit counts only for a group that hangs up or announces.
  struct Group {
    int Hangup, Dialog, Boxes;
  };
  for (const Group g : {Group{AtCutHangup, AtCutDialog, AtCutTime}, Group{AuCutHangup, AuCutDialog, AuCutTime},
                        Group{AdCutHangup, AdCutDialog, AdCutTime}}) {
    const bool on = Checked(g.Hangup) || Checked(g.Dialog);
    for (int i = 0; i < 3; ++i) Enable(g.Boxes + i, on);
  }
}

void NWDUtil::OnCommand(int id, int code) {
  if (PageLabelCommand(id, code)) return;
  if (code == EN_CHANGE) {
    if (id == FormatWin) SetText(ExFormatWin, DurationExample(Text(FormatWin)));
    if (id == FormatIval) SetText(ExFormatIval, DurationExample(Text(FormatIval)));
    if (id == FormatNow) SetText(ExFormatNow, NowExample(Text(FormatNow)));
    if (loading_) return;
    if (id == UserTimerIval) SetRadioIndex(TimerOp, 5, 4);
    if (InRange(id, TodayCnter, 4)) SetRadioIndex(opCngToday, 2, 1);
    if (InRange(id, UserCnter, 4)) SetRadioIndex(opCngUser, 2, 1);
    return;
  }
  if (id == RNInterval && code == CBN_SELCHANGE) {
    SetText(FreqExp, FreqExpCaption(ComboIndex(RNInterval)));
    ApplyRenewEnabling();
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case OK: OK_Click(); return;
    case Cancel: Close(); return;
    case UserRenew: ApplyRenewEnabling(); return;
    case AtCutHangup:
    case AtCutDialog:
    case AuCutHangup:
    case AuCutDialog:
    case AdCutHangup:
    case AdCutDialog: ApplyCutEnabling(); return;
    case AcDalDial:
      if (const auto warning = AutoConnectConflict(Checked(AcDalDial), Checked(ExpLock))) {
        Warn(*warning);
        SetChecked(AcDalDial, false);
      }
      return;
    case ExpLock:
      if (const auto warning = LockButtonConflict(Checked(ExpLock), Checked(AcDalDial))) {
        Warn(*warning);
        SetChecked(ExpLock, false);
      }
      return;
    case cmRegRegist: LaunchButton(&NWDLaunch::cmRegRegist_Click); return;
    case cmRegDelete: LaunchButton(&NWDLaunch::cmRegDelete_Click); return;
    case cmSupRegist: LaunchButton(&NWDLaunch::cmSupRegist_Click); return;
    case cmSupDelete: LaunchButton(&NWDLaunch::cmSupDelete_Click); return;
    default: return;
  }
}

void NWDUtil::OK_Click() {
  UtilValues v;
  otkForm::Read<UtilValues>(*this, kFields, v);
  QuotaValues q;
  otkForm::Read<QuotaValues>(*this, kQuotaFields, q);
  q.Adapter = adapters_.AdapterAt(ComboIndex(QuotaAdapter));
  VolumeFileData& volume = VolumeGlobal();
  UtilProblem p = ApplyUtilityWithQuota(v, q, volume.Quota, host_);
  if (p.AskLateDay) {
    SelectPage(p.Page);
    if (AskYesNo(p.Message)) {
      Enable(p.Field, true);
      FocusField(p.Field);
      return;
    }
    p = ApplyUtilityWithQuota(v, q, volume.Quota, host_, true);
  }
  if (!p) {
    // The quota is in use from now on whether or not its file could be written.
    if (!SaveVolumeFile(volume)) Warn(QuotaSaveFailedMessage());
    Close();
    return;
  }
  if (p.Page >= 0) SelectPage(p.Page);
  Warn(p.Message);
  if (p.Field) {
    // Disabled boxes are checked too; the one refused opens for correction.
    Enable(p.Field, true);
    FocusField(p.Field);
  }
}

void NWDUtil::ShowLaunch(const LaunchView& v) {
  SetText(MesLaunchStatus, v.LaunchStatus);
  SetText(MesRegStatus, v.RegStatus);
  SetText(MesRegPlace, v.RegPlace);
  SetText(MesSupStatus, v.SupStatus);
  SetText(MesSupPlace, v.SupPlace);
  // A long user name can make the folder's path longer than its box.
  SetTip(MesSupPlace, v.SupPlace);
  // A button about to be disabled must not keep the focus.
  HWND focus = GetFocus();
  Enable(cmRegRegist, v.RegRegist);
  Enable(cmRegDelete, v.RegDelete);
  Enable(cmSupRegist, v.SupRegist);
  Enable(cmSupDelete, v.SupDelete);
  if (focus && !IsWindowEnabled(focus)) {
    for (int id : {cmRegRegist, cmRegDelete, cmSupRegist, cmSupDelete})
      if (IsWindowEnabled(Item(id))) {
        SetFocus(Item(id));
        break;
      }
  }
}

void NWDUtil::LaunchButton(NWDLaunch::Outcome (NWDLaunch::*click)()) {
  const NWDLaunch::Outcome o = (launch_.*click)();
  if (o.Ok) {
    ShowLaunch(launch_.View());
    Inform(o.Message);
  } else {
    Warn(o.Message);
  }
}

}  // namespace nw
