#include "dialhelper/LKPRequest.h"

#include <gtest/gtest.h>

#include <random>

using namespace lkp;

TEST(LKPCommandLineTail, SkipsProgramNameAndOneBlank) {
  EXPECT_EQ(CommandLineTail("C:\\A\\Linkpilot.exe InternetAutodial"), "InternetAutodial");
  EXPECT_EQ(CommandLineTail("\"C:\\Program Files\\A\\Linkpilot.exe\" RASDial,a,b,c"), "RASDial,a,b,c");
  // Only one blank belongs to the separator; the rest is request text.
  EXPECT_EQ(CommandLineTail("Linkpilot.exe  InternetAutodial"), " InternetAutodial");
  EXPECT_EQ(CommandLineTail("Linkpilot.exe InternetAutodial "), "InternetAutodial ");
  EXPECT_EQ(CommandLineTail("Linkpilot.exe\tRASHangUp,x"), "RASHangUp,x");
  // Quotes may cover part of the name, as the system allows.
  EXPECT_EQ(CommandLineTail("C:\\\"Program Files\"\\Linkpilot.exe RASHangUp,a b"), "RASHangUp,a b");
  EXPECT_EQ(CommandLineTail("Linkpilot.exe"), "");
  EXPECT_EQ(CommandLineTail("Linkpilot.exe "), "");
  EXPECT_EQ(CommandLineTail("\"unterminated InternetAutodial"), "");
  EXPECT_EQ(CommandLineTail(""), "");
}

TEST(LKPSplitFields, SplitsAtEveryComma) {
  EXPECT_EQ(SplitFields(""), (std::vector<std::string_view>{""}));
  EXPECT_EQ(SplitFields("a"), (std::vector<std::string_view>{"a"}));
  EXPECT_EQ(SplitFields(",,"), (std::vector<std::string_view>{"", "", ""}));
  EXPECT_EQ(SplitFields("RASDial,e,,p"), (std::vector<std::string_view>{"RASDial", "e", "", "p"}));
}

TEST(LKPParseRequest, KeywordsAreExact) {
  EXPECT_EQ(ParseRequest("InternetAutodial").Kind, RequestKind::InternetAutodial);
  EXPECT_EQ(ParseRequest("InternetAutodialHangup").Kind, RequestKind::InternetAutodialHangup);
  for (const char* bad : {"InternetAutodial ", " InternetAutodial", "internetautodial", "InternetAutodial,",
                          "InternetAutodialHangup,x", "", ",", "RASDIAL,a,b,c", "rasdial,a,b,c",
                          "RasHangUp,a", "RASDial ,a,b,c"}) {
    EXPECT_EQ(ParseRequest(bad).Kind, RequestKind::None) << bad;
  }
}

TEST(LKPParseRequest, RasDialTakesExactlyThreeFields) {
  EXPECT_EQ(ParseRequest("RASDial,My ISP,taro,pw"), (Request{RequestKind::RasDial, "My ISP", "taro", "pw"}));
  EXPECT_EQ(ParseRequest("RASDial,,,"), (Request{RequestKind::RasDial, "", "", ""}));
  EXPECT_EQ(ParseRequest("RASDial,e,u,p "), (Request{RequestKind::RasDial, "e", "u", "p "}));
  EXPECT_EQ(ParseRequest("RASDial,e,u").Kind, RequestKind::None);
  EXPECT_EQ(ParseRequest("RASDial,e,u,p,x").Kind, RequestKind::None);
  EXPECT_EQ(ParseRequest("RASDial").Kind, RequestKind::None);
}

TEST(LKPParseRequest, RasHangUpTakesExactlyOneField) {
  EXPECT_EQ(ParseRequest("RASHangUp,会社"), (Request{RequestKind::RasHangUp, "会社", "", ""}));
  EXPECT_EQ(ParseRequest("RASHangUp,"), (Request{RequestKind::RasHangUp, "", "", ""}));
  EXPECT_EQ(ParseRequest("RASHangUp").Kind, RequestKind::None);
  EXPECT_EQ(ParseRequest("RASHangUp,a,b").Kind, RequestKind::None);
}

// Random command lines from an alphabet rich in separators, quotes, keyword pieces and bytes of
// multibyte text: the parser never crashes, and whatever it accepts is consistent with its input.
TEST(LKPParseRequest, FuzzedCommandLines) {
  std::mt19937 rng(20261207);
  const std::vector<std::string> pieces = {
      ",", " ", "\t", "\"", "\\", "RASDial", "RASHangUp", "InternetAutodial", "Hangup", "\xE4\xBC\x9A",
      "\x81", "\x00", "a", "Z", "\xFF", "Linkpilot.exe", ",,", "\r\n"};
  int accepted = 0;
  for (int n = 0; n < 20000; ++n) {
    std::string line;
    const int len = static_cast<int>(rng() % 24);
    for (int k = 0; k < len; ++k) {
      if (rng() % 4 == 0)
        line += static_cast<char>(rng() % 256);
      else
        line += pieces[rng() % pieces.size()];
    }
    const std::string_view tail = CommandLineTail(line);
    ASSERT_LE(tail.size(), line.size());
    if (!tail.empty()) {
      ASSERT_EQ(line.substr(line.size() - tail.size()), tail);
    }
    const Request r = ParseRequest(tail);
    switch (r.Kind) {
      case RequestKind::RasDial:
        ASSERT_EQ(std::string("RASDial,") + r.Entry + "," + r.User + "," + r.Password, tail);
        ++accepted;
        break;
      case RequestKind::RasHangUp:
        ASSERT_EQ(std::string("RASHangUp,") + r.Entry, tail);
        ASSERT_EQ(r.Entry.find(','), std::string::npos);
        ++accepted;
        break;
      case RequestKind::InternetAutodial:
      case RequestKind::InternetAutodialHangup:
        ++accepted;
        break;
      case RequestKind::None:
        break;
    }
    // Raw byte strings straight into the parser, too.
    std::string raw(rng() % 40, '\0');
    for (auto& c : raw) c = static_cast<char>(rng() % 256);
    (void)ParseRequest(raw);
  }
  EXPECT_GT(accepted, 0);  // the generator does reach the accepting paths
}
