#include "classlib/otkCodePage932.h"

#include <gtest/gtest.h>

#include "Cp932Samples.h"

using namespace nw;

TEST(CodePage932, SharedSamplesEncode) {
  for (const auto& s : test::kCp932Samples) EXPECT_EQ(cp932::FromUtf8(s.utf8), s.cp932) << s.utf8;
}

TEST(CodePage932, SharedSamplesDecodeWhenRepresentable) {
  for (const auto& s : test::kCp932Samples) {
    if (s.cp932.find('?') != std::string_view::npos) continue;
    EXPECT_EQ(cp932::ToUtf8(s.cp932), s.utf8) << s.utf8;
  }
}

TEST(CodePage932, InvalidBytesDecodeAsQuestionMarks) {
  EXPECT_EQ(cp932::ToUtf8("a\x81"), "a?");           // lead byte cut off at the end
  EXPECT_EQ(cp932::ToUtf8("\x85\x40z"), "?z");       // unassigned pair
  EXPECT_EQ(cp932::FromUtf8("a\xE3\x81"), "a?");     // truncated UTF-8
}

TEST(CodePage932, CharacterCountRule) {
  const std::string five = cp932::FromUtf8("今日ab日");  // 3 double-byte + 2 single-byte characters
  EXPECT_EQ(five.size(), 8u);
  EXPECT_EQ(cp932::CharCount(five), 5u);
  EXPECT_EQ(cp932::CharCount(cp932::FromUtf8("ﾕｰｻﾞｰ定義")), 7u);  // half-width katakana are single bytes
  EXPECT_EQ(cp932::BytesOfChars(five, 2), 4u);
  EXPECT_EQ(cp932::BytesOfChars(five, 3), 5u);
  EXPECT_EQ(cp932::BytesOfChars(five, 99), 8u);
  EXPECT_EQ(cp932::CharCount("\x81"), 1u);  // a lone lead byte is one character
  EXPECT_EQ(cp932::CharCount(""), 0u);
}
