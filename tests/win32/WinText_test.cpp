#include "classlib/win32/WinText.h"

#include <gtest/gtest.h>

using namespace nw::win;

TEST(WinText, Utf16RoundTripKeepsJapanese) {
  const std::string s = "接続状態になりました。ﾕｰｻﾞｰ定義";
  EXPECT_EQ(Narrow(Widen(s)), s);
  EXPECT_EQ(Widen("今日").size(), 2u);
}

TEST(WinText, CodePage932Bytes) {
  // "今日" is 8D A1 93 FA in code page 932; half-width katakana are single bytes.
  EXPECT_EQ(Utf8ToCodePage("今日", 932), "\x8D\xA1\x93\xFA");
  EXPECT_EQ(Utf8ToCodePage("ﾕ", 932), "\xD5");
  EXPECT_EQ(CodePageToUtf8("\x8D\xA1\x93\xFA", 932), "今日");
}
