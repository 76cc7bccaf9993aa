// Sizes as Windows shows them, and the quota page's check and load.
#include <gtest/gtest.h>

#include "classlib/otkSizeText.h"
#include "settings/NWDQuotaIds.h"
#include "settings/NWDQuotaModel.h"

using namespace nw;

TEST(SizeText, WindowsStyleThreeDigitsCutOff) {
  const uint64_t K = 1024, M = K * K, G = M * K;
  const std::pair<uint64_t, const char*> cases[] = {
      {0, "0 バイト"},         {1023, "1023 バイト"},    {1024, "1.00 KB"},         {K * 10 - 1, "9.99 KB"},
      {K * 10, "10.0 KB"},     {K * 1000 - 1, "999 KB"}, {K * 1000, "0.97 MB"},         {M * 123 / 10 + 1, "12.3 MB"},
      {M * 345, "345 MB"},     {G * 102 / 100 + 1, "1.02 GB"}, {G * 1024 * 5, "5.00 TB"}, {UINT64_MAX, "15.9 EB"},
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(otk::FormatSize(bytes), text) << bytes;
}

TEST(QuotaPage, ChecksInOrderAndStoresBytes) {
  QuotaSettings stored;
  QuotaValues v = LoadQuota(stored);
  EXPECT_EQ(v.QuotaSize, "10");
  EXPECT_EQ(v.QuotaUnit, 1);
  EXPECT_EQ(v.QuotaWarn1, "80");
  EXPECT_EQ(v.QuotaWarn2, "90");

  struct Bad {
    std::string Size, Warn1, Warn2;
    int Field;
    const char* Message;
  };
  const Bad bad[] = {
      {"abc", "200", "0", util::QuotaSize, "上限ﾃﾞｰﾀ量には数値を指定して下さい。"},
      {"0", "80", "90", util::QuotaSize, "上限ﾃﾞｰﾀ量には1～9999999の数値を指定して下さい。"},
      {"10000000", "80", "90", util::QuotaSize, "上限ﾃﾞｰﾀ量には1～9999999の数値を指定して下さい。"},
      {"5", "", "90", util::QuotaWarn, "第1警告には数値を指定して下さい。"},
      {"5", "0", "90", util::QuotaWarn, "第1警告には1～100の数値を指定して下さい。"},
      {"5", "80", "101", util::QuotaWarn + 1, "第2警告には1～100の数値を指定して下さい。"},
      {"5", "90", "90", util::QuotaWarn, "第1警告には第2警告より小さい数値を指定して下さい。"},
  };
  for (const Bad& b : bad) {
    v.QuotaSize = b.Size;
    v.QuotaWarn1 = b.Warn1;
    v.QuotaWarn2 = b.Warn2;
    QuotaSettings copy = stored;
    const UtilProblem p = CheckQuota(v, copy);
    EXPECT_EQ(p.Page, util::kPageQuota);
    EXPECT_EQ(p.Field, b.Field) << b.Size;
    EXPECT_EQ(p.Message, b.Message);
    EXPECT_EQ(copy, stored);  // nothing stored from a refused page
  }

  v = {true, " 1536 ", 0, "50", "100", 1, false, "Wi-Fi"};
  QuotaSettings copy = stored;
  EXPECT_FALSE(CheckQuota(v, copy));
  EXPECT_EQ(copy.Allowance, uint64_t{1536} << 20);
  EXPECT_EQ(copy.AllowanceUnit, 0);
  EXPECT_EQ(copy.AtFull, QuotaAction::HangUpAndHold);
  EXPECT_FALSE(copy.CountSent);
  EXPECT_EQ(copy.Adapter, "Wi-Fi");
  const QuotaValues again = LoadQuota(copy);
  EXPECT_EQ(again.QuotaSize, "1536");
  EXPECT_EQ(again.QuotaUnit, 0);
  // 9999999 GB still fits 64 bits.
  v.QuotaSize = "9999999";
  v.QuotaUnit = 1;
  EXPECT_FALSE(CheckQuota(v, copy));
  EXPECT_EQ(copy.Allowance, uint64_t{9999999} << 30);
}

TEST(SizeTextKey, EqualExactlyWhenTheTextsAre) {
  // Around every boundary of every unit, and across the whole range.
  std::vector<uint64_t> v{0, 1, 1023, 1024, 1025, UINT64_MAX, UINT64_MAX - 1};
  for (uint64_t scale = 1024; scale != 0 && scale <= (uint64_t{1} << 60); scale <<= 10)
    for (uint64_t whole : {1, 9, 10, 99, 100, 999, 1000})
      for (int64_t d : {-2, -1, 0, 1, 2}) {
        const uint64_t base = whole * scale + (whole < 10 ? scale / 100 : whole < 100 ? scale / 10 : 0);
        v.push_back(base + static_cast<uint64_t>(d));
        v.push_back(whole * scale + static_cast<uint64_t>(d));
      }
  for (uint64_t x = 1; x < (uint64_t{1} << 62); x = x * 3 + 7) v.push_back(x);
  for (uint64_t a : v)
    for (uint64_t b : v)
      ASSERT_EQ(otk::SizeTextKey(a) == otk::SizeTextKey(b), otk::FormatSize(a) == otk::FormatSize(b))
          << a << " " << b << " " << otk::FormatSize(a) << " " << otk::FormatSize(b);
}
