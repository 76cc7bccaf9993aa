#pragma once
// Text and its code page 932 bytes, checked against both codecs (native and Windows), so data
// files written on one side read the same on the other.
#include <string_view>

namespace nw::test {

struct Cp932Sample {
  std::string_view utf8;
  std::string_view cp932;
};

inline constexpr Cp932Sample kCp932Samples[] = {
    {"Orvin.T.K. NetWard", "Orvin.T.K. NetWard"},
    {"今日", "\x8D\xA1\x93\xFA"},
    {"ﾕｰｻﾞｰ定義", "\xD5\xB0\xBB\xDE\xB0\x92\xE8\x8B\x60"},
    {"接続状態", "\x90\xDA\x91\xB1\x8F\xF3\x91\xD4"},
    {"yyyy年 m月", "yyyy\x94\x4E m\x8C\x8E"},
    {"\\~", "\\~"},
    {"～－∥￢", "\x81\x60\x81\x7C\x81\x61\x81\xCA"},
    {"―", "\x81\x5C"},
    {"①Ⅰⅰ", "\x87\x40\x87\x54\xFA\x40"},
    {"髙纊≒∵", "\xFB\xFC\xFA\x5C\x81\xE0\x81\xE6"},
    {"ｱｲｳ", "\xB1\xB2\xB3"},
    // Not in code page 932, or only as a look-alike: stored as '?'.
    {"€", "?"},
    {"a〜b", "a?b"},
    {"¥100", "?100"},
    {"—", "?"},
    {"😀x", "?x"},
};

}  // namespace nw::test
