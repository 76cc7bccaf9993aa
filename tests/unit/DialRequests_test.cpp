#include "monitor/DialRequests.h"

#include <gtest/gtest.h>

#include "dialhelper/LKPRequest.h"

using namespace nw;

TEST(DialRequests, DirectoryGetsExactlyOneTrailingBackslash) {
  EXPECT_EQ(DialerDirectory("C:\\NetWard"), "C:\\NetWard\\");
  EXPECT_EQ(DialerDirectory("C:\\NetWard\\"), "C:\\NetWard\\");
  EXPECT_EQ(DialerDirectory("C:\\"), "C:\\");
  EXPECT_EQ(DialerDirectory(""), "");
}

TEST(DialRequests, EachRequestQuotesTheHelperPath) {
  const std::string dir = "C:\\Program Files\\NetWard";
  const std::string prog = "C:\\Program Files\\NetWard\\Linkpilot.exe";
  EXPECT_EQ(DialAuto(dir), (DialerCommand{prog, "\"" + prog + "\" InternetAutodial"}));
  EXPECT_EQ(HangUpAuto(dir + "\\"), (DialerCommand{prog, "\"" + prog + "\" InternetAutodialHangup"}));
  EXPECT_EQ(DialRas(dir, "My ISP", "user", "p w"),
            (DialerCommand{prog, "\"" + prog + "\" RASDial,My ISP,user,p w"}));
  EXPECT_EQ(HangUpRas(dir, "会社 VPN"), (DialerCommand{prog, "\"" + prog + "\" RASHangUp,会社 VPN"}));
  EXPECT_EQ(DialRas(dir, "", "", "").CommandLine, "\"" + prog + "\" RASDial,,,");
}

// The helper must read back exactly what NetWard built, whatever the folder looks like.
TEST(DialRequests, HelperReadsBackTheRequestFromTheBuiltCommandLine) {
  for (const char* dir : {"C:\\Program Files\\NetWard", "C:\\ﾃｽﾄ 用\\ネット ワード\\", "D:\\x", ""}) {
    const auto dial = DialRas(dir, "My ISP", "taro", "secret");
    const auto req = lkp::ParseRequest(lkp::CommandLineTail(dial.CommandLine));
    EXPECT_EQ(req, (lkp::Request{lkp::RequestKind::RasDial, "My ISP", "taro", "secret"})) << dir;

    const auto hang = HangUpRas(dir, "My ISP");
    EXPECT_EQ(lkp::ParseRequest(lkp::CommandLineTail(hang.CommandLine)),
              (lkp::Request{lkp::RequestKind::RasHangUp, "My ISP", "", ""}));
    EXPECT_EQ(lkp::ParseRequest(lkp::CommandLineTail(DialAuto(dir).CommandLine)).Kind,
              lkp::RequestKind::InternetAutodial);
    EXPECT_EQ(lkp::ParseRequest(lkp::CommandLineTail(HangUpAuto(dir).CommandLine)).Kind,
              lkp::RequestKind::InternetAutodialHangup);
  }
}

TEST(DialRequests, PasswordWithCommaIsSentButRefusedByTheHelper) {
  const auto dial = DialRas("C:\\A", "isp", "u", "a,b");
  EXPECT_EQ(dial.CommandLine, "\"C:\\A\\Linkpilot.exe\" RASDial,isp,u,a,b");
  EXPECT_EQ(lkp::ParseRequest(lkp::CommandLineTail(dial.CommandLine)).Kind, lkp::RequestKind::None);
}
