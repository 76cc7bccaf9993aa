#include "settings/NWDQuotaModel.h"

#include <algorithm>

#include "classlib/otkCodePage932.h"
#include "classlib/otkNumber.h"
#include "settings/NWDQuotaIds.h"

namespace nw {

namespace {

constexpr QuotaTexts kTexts{
    "ﾃﾞｰﾀ量の設定",
    "ﾃﾞｰﾀ量の上限を設ける(&Q)",
    "上限ﾃﾞｰﾀ量(&S):",
    {"MB", "GB"},
    {"第1警告(&1):", "第2警告(&2):"},
    "%",
    "上限に達した時(&A):",
    {"告知のみ(&T)", "切断して期間の更新まで接続しない(&H)"},
    "送信量も含める(&E)",
    "RAS 以外の回線で計測するｱﾀﾞﾌﾟﾀ(&D):",
    "すべてのｱﾀﾞﾌﾟﾀ",
};

uint64_t UnitBytes(int unit) { return unit == 0 ? kMegabyte : kGigabyte; }

// A number within [lo, hi]; nullopt with `problem` filled otherwise.
std::optional<int64_t> Within(const std::string& text, int64_t lo, int64_t hi, int field, const std::string& what,
                              UtilProblem& problem) {
  const std::optional<int64_t> v = otk::ReadNumber(text, otk::NumberGrammar::Decimal);
  if (!v) {
    problem = UtilProblem{util::kPageQuota, field, what + "には数値を指定して下さい。", false};
    return std::nullopt;
  }
  if (*v < lo || *v > hi) {
    problem = UtilProblem{util::kPageQuota, field,
                          what + "には" + std::to_string(lo) + "～" + std::to_string(hi) + "の数値を指定して下さい。",
                          false};
    return std::nullopt;
  }
  return v;
}

}  // namespace

const QuotaTexts& QuotaPageTexts() { return kTexts; }

QuotaValues LoadQuota(const QuotaSettings& q) {
  QuotaValues v;
  v.QuotaOn = q.QuotaOn;
  // Shown in the unit it was entered in; an amount that is no whole number of it (written by
  // hand) falls back to MB.
  v.QuotaUnit = q.AllowanceUnit == 0 ? 0 : 1;
  if (q.Allowance % UnitBytes(v.QuotaUnit) != 0) v.QuotaUnit = 0;
  v.QuotaSize = std::to_string(q.Allowance / UnitBytes(v.QuotaUnit));
  v.QuotaWarn1 = std::to_string(q.WarnPercent1);
  v.QuotaWarn2 = std::to_string(q.WarnPercent2);
  v.QuotaAction = q.AtFull == QuotaAction::HangUpAndHold ? 1 : 0;
  v.QuotaCountSent = q.CountSent;
  v.Adapter = q.Adapter;
  return v;
}

UtilProblem CheckQuota(const QuotaValues& v, QuotaSettings& copy) {
  // Checked whether the quota is on or not, as the other pages check their disabled boxes.
  UtilProblem p;
  const auto size = Within(v.QuotaSize, 1, kMaxQuotaSize, util::QuotaSize, "上限ﾃﾞｰﾀ量", p);
  if (!size) return p;
  const auto warn1 = Within(v.QuotaWarn1, 1, 100, util::QuotaWarn + 0, "第1警告", p);
  if (!warn1) return p;
  const auto warn2 = Within(v.QuotaWarn2, 1, 100, util::QuotaWarn + 1, "第2警告", p);
  if (!warn2) return p;
  if (*warn1 >= *warn2)
    return UtilProblem{util::kPageQuota, util::QuotaWarn + 0, "第1警告には第2警告より小さい数値を指定して下さい。",
                       false};
  // The file keeps the name in code page 932: one it cannot hold would name no adapter when read back.
  if (!cp932::Holds(v.Adapter))
    return UtilProblem{util::kPageQuota, util::QuotaAdapter, UnstorableTextMessage("ｱﾀﾞﾌﾟﾀ名"), false};
  const int unit = v.QuotaUnit == 0 ? 0 : 1;
  copy.QuotaOn = v.QuotaOn;
  copy.AllowanceUnit = static_cast<int16_t>(unit);
  copy.Allowance = static_cast<uint64_t>(*size) * UnitBytes(unit);
  copy.WarnPercent1 = static_cast<int16_t>(*warn1);
  copy.WarnPercent2 = static_cast<int16_t>(*warn2);
  copy.AtFull = v.QuotaAction == 1 ? QuotaAction::HangUpAndHold : QuotaAction::TellOnly;
  copy.CountSent = v.QuotaCountSent;
  copy.Adapter = v.Adapter;
  return {};
}

UtilProblem ApplyUtilityWithQuota(const UtilValues& values, const QuotaValues& quotaValues, QuotaSettings& quota,
                                  UtilityHost& host, bool lateDayAccepted) {
  QuotaSettings staged = quota;
  const UtilProblem p = ApplyUtility(values, host, lateDayAccepted, [&] { return CheckQuota(quotaValues, staged); });
  if (!p) quota = staged;
  return p;
}

std::string AdapterChoices::AdapterAt(int index) const {
  if (index <= 0 || index >= static_cast<int>(Items.size())) return {};
  return Items[static_cast<size_t>(index)];
}

AdapterChoices MakeAdapterChoices(const std::vector<std::string>& present, const std::string& stored) {
  AdapterChoices c;
  c.Items.push_back(kTexts.AllAdapters);
  for (const std::string& name : present)
    if (!name.empty() && std::find(c.Items.begin() + 1, c.Items.end(), name) == c.Items.end()) c.Items.push_back(name);
  if (!stored.empty()) {
    const auto at = std::find(c.Items.begin() + 1, c.Items.end(), stored);
    c.Selected = static_cast<int>(at - c.Items.begin());
    if (at == c.Items.end()) c.Items.push_back(stored);
  }
  return c;
}

std::string QuotaPeriodNote(const std::string& counterName) {
  return "上限ﾃﾞｰﾀ量は \"" + counterName + "\" ｶｳﾝﾀの更新周期ごとに数えます。";
}

std::string QuotaSaveFailedMessage() {
  return "ﾃﾞｰﾀ量の設定をﾌｧｲﾙ (NwdUtil.vol) に保存できませんでした。\r\n\r\n"
         "設定はこのまま使われ、次に保存できた時に書き込まれます。";
}

}  // namespace nw
