// Fitting a caption into a width, measured here as one unit per character.
#include <gtest/gtest.h>

#include "classlib/otkFormat.h"

namespace {

// One unit per UTF-8 character; notes a text with a character cut in two.
struct CharMeasure {
  bool split = false;
  int operator()(std::string_view s) {
    int n = 0, pending = 0;  // continuation bytes still owed to the last lead byte
    for (unsigned char c : s) {
      if ((c & 0xC0) == 0x80) {
        split |= pending == 0;
        pending -= pending > 0;
        continue;
      }
      split |= pending != 0;
      pending = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
      ++n;
    }
    split |= pending != 0;
    return n;
  }
};

TEST(otkFormat, FitText) {
  struct Case {
    const char* Text;
    int Width;
    const char* Want;
  };
  const Case cases[] = {
      {"abcdef", 9, "abcdef"},    // the whole text with "..." fits: the whole text, no "..."
      {"abcdef", 20, "abcdef"},
      {"abcdef", 8, "abcde..."},  // the longest prefix that fits with "..."
      {"abcdef", 7, "abcd..."},   // the text alone would fit, but not with "...": cut
      {"abcdef", 4, "a..."},
      {"abcdef", 3, "..."},
      {"\"ﾌﾟﾛﾊﾞｲﾀﾞ\" ｶｳﾝﾀのﾛｸﾞ", 10, "\"ﾌﾟﾛﾊﾞｲ..."},
      {"今日の記録", 6, "今日の..."},
      {"今日の記録", 8, "今日の記録"},
  };
  for (const Case& c : cases) {
    CharMeasure m;
    EXPECT_EQ(otk::FitText(c.Text, c.Width, std::ref(m)), c.Want) << c.Text << " " << c.Width;
    EXPECT_FALSE(m.split) << c.Text << " " << c.Width;
  }
}

}  // namespace
