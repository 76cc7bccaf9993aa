// Linkpilot.exe as NetWard starts it, against the line simulator.
#include <windows.h>

#include "SimTestSupport.h"
#include "classlib/win32/WinText.h"
#include "monitor/DialRequests.h"

using namespace linesim;
using simtest::Kanji;
using simtest::SimTest;

namespace {

std::wstring Linkpilot() { return simtest::ExeFolder() + L"Linkpilot.exe"; }

// The command line exactly as NetWard builds it for a request text.
std::wstring CommandFor(const std::string& request) {
  return L"\"" + Linkpilot() + L"\" " + nw::win::Widen(request);
}

struct WindowSearch {
  DWORD pid;
  bool found;
};

BOOL CALLBACK FindVisibleWindow(HWND w, LPARAM p) {
  auto* f = reinterpret_cast<WindowSearch*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner == f->pid && IsWindowVisible(w)) f->found = true;
  return TRUE;
}

bool HasVisibleWindow(DWORD pid) {
  WindowSearch f{pid, false};
  EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

}  // namespace

class LinkpilotTest : public SimTest {
 protected:
  // Runs Linkpilot with the request text and expects it to end by itself with exit code 0.
  void Run(const std::string& request) {
    const auto r = simtest::RunProcess(Linkpilot(), CommandFor(request));
    ASSERT_TRUE(r.Started);
    ASSERT_TRUE(r.Ended) << request;
    EXPECT_EQ(r.ExitCode, 0u) << request;
  }
  void AddIsp() { Set([](State& s) { s.Entries.push_back({"My ISP", "modem", "M", "taro", "secret"}); }); }
};

TEST_F(LinkpilotTest, RasDialDialsTheEntryWithItsCredentials) {
  AddIsp();
  Run("RASDial,My ISP,taro,secret");
  const auto dials = Calls("RasDialA");
  ASSERT_EQ(dials.size(), 1u);
  EXPECT_EQ(dials[0].Arg("entry"), "My ISP");
  EXPECT_EQ(dials[0].Arg("user"), "taro");
  EXPECT_EQ(dials[0].Arg("password"), "secret");
  EXPECT_EQ(dials[0].Result, "0");
  ASSERT_EQ(Now().Connections.size(), 1u);
  EXPECT_EQ(Now().Connections[0].State, kStateConnected);
  EXPECT_TRUE(Calls("RasHangUpA").empty());
}

TEST_F(LinkpilotTest, MalformedRequestsDoNothing) {
  AddIsp();
  for (const std::string& bad : std::vector<std::string>{
           "RASDial,My ISP,taro", "RASDial,My ISP,taro,sec,ret", "rasdial,My ISP,taro,secret",
        "RASDIAL,My ISP,taro,secret", "InternetAutodial ", "internetautodial", "RASHangUp", "RASHangUp,a,b",
        "", " RASDial,My ISP,taro,secret", "RASDial ,My ISP,taro,secret", std::string(20000, 'R'),
        "RASDial," + std::string(30000, 'x') + ",u,p"}) {
    Run(bad);
  }
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(Now().Connections.empty());
  // No request at all.
  const auto bare = simtest::RunProcess(Linkpilot(), L"\"" + Linkpilot() + L"\"");
  EXPECT_TRUE(bare.Ended);
  EXPECT_EQ(bare.ExitCode, 0u);
  EXPECT_TRUE(Calls().empty());
}

TEST_F(LinkpilotTest, ThreeEmptyFieldsDialAnEmptyEntryName) {
  Run("RASDial,,,");
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].Function, "RasDialA");
  EXPECT_EQ(calls[0].Arg("entry"), "");
  EXPECT_EQ(calls[0].Arg("user"), "");
  EXPECT_EQ(calls[0].Result, "623");  // no such entry
  // The failed dial's half-open handle is released.
  EXPECT_EQ(calls[1].Function, "RasHangUpA");
  EXPECT_EQ(calls[1].Arg("handle"), calls[0].Arg("handle"));
  EXPECT_EQ(calls[1].Result, "0");
  EXPECT_TRUE(Now().Connections.empty());
}

TEST_F(LinkpilotTest, FailedDialHangsUpTheHalfOpenHandle) {
  AddIsp();
  Set([](State& s) { s.FailNext = kErrorNoAnswer; });
  Run("RASDial,My ISP,taro,secret");
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].Result, "678");
  EXPECT_EQ(calls[1].Function, "RasHangUpA");
  EXPECT_EQ(calls[1].Arg("handle"), calls[0].Arg("handle"));
  EXPECT_TRUE(Now().Connections.empty());
}

TEST_F(LinkpilotTest, EntryNameOf256AnsiBytesIsDialedAnd257IsNot) {
  Set([](State& s) {
    s.Entries.push_back({Kanji(128)});
    s.Entries.push_back({Kanji(128) + "a"});
  });
  Run("RASDial," + Kanji(128) + "a,u,p");
  EXPECT_TRUE(Calls().empty());
  Run("RASDial," + Kanji(128) + ",u,p");
  const auto dials = Calls("RasDialA");
  ASSERT_EQ(dials.size(), 1u);
  EXPECT_EQ(dials[0].Arg("entry"), Kanji(128));
  EXPECT_EQ(dials[0].Arg("entry-bytes"), "256");
  EXPECT_EQ(dials[0].Result, "0");
}

TEST_F(LinkpilotTest, RasHangUpTakesOnlyTheFirstConnectionOfTheEntry) {
  uint32_t first = 0, second = 0;
  Set([&](State& s) {
    s.AddConnection("Other", kStateConnected);
    first = s.AddConnection("My ISP", kStateConnected).Handle;
    second = s.AddConnection("My ISP", kStateConnected).Handle;
  });
  Run("RASHangUp,My ISP");
  const State s = Now();
  ASSERT_EQ(s.Connections.size(), 2u);
  EXPECT_EQ(s.Connections[0].Entry, "Other");
  EXPECT_EQ(s.Connections[1].Handle, second);
  const auto hangs = Calls("RasHangUpA");
  ASSERT_EQ(hangs.size(), 1u);
  EXPECT_EQ(hangs[0].Arg("handle"), std::to_string(first));

  ClearCalls();
  Run("RASHangUp,Nobody");
  EXPECT_TRUE(Calls("RasHangUpA").empty());
  EXPECT_FALSE(Calls("RasEnumConnectionsA").empty());  // it did look
  EXPECT_EQ(Now().Connections.size(), 2u);
}

TEST_F(LinkpilotTest, RasHangUpWithoutAcceptedRecordSizeDoesNothing) {
  Set([](State& s) {
    s.AddConnection("My ISP", kStateConnected);
    s.ConnSizes.clear();
  });
  Run("RASHangUp,My ISP");
  EXPECT_EQ(Calls("RasEnumConnectionsA").size(), 4u);
  EXPECT_TRUE(Calls("RasHangUpA").empty());
  EXPECT_EQ(Now().Connections.size(), 1u);
}

TEST_F(LinkpilotTest, InternetAutodialRequestsReachWinInet) {
  Set([](State& s) {
    s.Entries.push_back({"ISP"});
    s.AutodialEntry = "ISP";
  });
  Run("InternetAutodial");
  auto calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Function, "InternetAutodial");
  EXPECT_EQ(calls[0].Arg("flags"), "0");
  EXPECT_EQ(calls[0].Arg("parent"), "null");
  EXPECT_TRUE(Now().Online);

  ClearCalls();
  Run("InternetAutodialHangup");
  calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Function, "InternetAutodialHangup");
  EXPECT_EQ(calls[0].Arg("reserved"), "0");
  EXPECT_FALSE(Now().Online);
  EXPECT_TRUE(Now().Connections.empty());
}

TEST_F(LinkpilotTest, SecondInstanceEndsAtOnceWhileTheFirstDials) {
  AddIsp();
  Set([](State& s) {
    // Long enough that a cold Wine start of the second instance still falls inside the dial.
    s.DialDelayMs = 10000;
    s.Entries.push_back({"ISP2"});
    s.AutodialEntry = "ISP2";
  });
  simtest::Process first(Linkpilot(), CommandFor("RASDial,My ISP,taro,secret"));
  ASSERT_TRUE(first.Started());
  // Wait for the dial to be under way (the simulator shows the connection opening its port).
  bool dialing = false;
  for (int i = 0; i < 100 && !dialing; ++i) {
    const State s = Now();
    dialing = !s.Connections.empty() && s.Connections[0].State == kStateOpenPort;
    if (!dialing) Sleep(50);
  }
  ASSERT_TRUE(dialing);
  EXPECT_FALSE(HasVisibleWindow(first.Pid()));

  const auto second = simtest::RunProcess(Linkpilot(), CommandFor("InternetAutodial"), 8000);
  EXPECT_TRUE(second.Ended);
  EXPECT_EQ(second.ExitCode, 0u);
  DWORD code = 1;
  EXPECT_FALSE(first.Wait(0));  // the first one is still dialing
  ASSERT_TRUE(first.Wait(30000, &code));
  EXPECT_EQ(code, 0u);

  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Function, "RasDialA");
  EXPECT_EQ(calls[0].Pid, first.Pid());
  EXPECT_EQ(Now().Connections.size(), 1u);
  EXPECT_FALSE(Now().Online);
}

// The install folder has blanks and Japanese characters; the command line comes from the same
// builders NetWard uses, and the process is started with the explicit program path.
TEST_F(LinkpilotTest, InstalledInAFolderWithBlanksAndJapaneseItDials) {
  simtest::TempFolder install(L"Program Files");
  const std::wstring folder = install.Path() + L"ネット 監視 ﾂｰﾙ\\";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  for (const wchar_t* file : {L"Linkpilot.exe", L"rasapi32.dll", L"wininet.dll"})
    ASSERT_TRUE(CopyFileW((simtest::ExeFolder() + file).c_str(), (folder + file).c_str(), FALSE));
  // A program named after the first word of the path must never be the one started.
  const std::wstring decoy = install.Path().substr(0, install.Path().size() - 1) + L"\\ネット.exe";
  ASSERT_TRUE(CopyFileW((simtest::ExeFolder() + L"linesimctl.exe").c_str(), decoy.c_str(), FALSE));

  Set([](State& s) { s.Entries.push_back({"会社 VPN", "vpn", "WAN Miniport", "山田", "pass word"}); });
  const std::string folderUtf8 = nw::win::Narrow(folder);
  const nw::DialerCommand dial = nw::DialRas(folderUtf8, "会社 VPN", "山田", "pass word");
  EXPECT_EQ(dial.CommandLine, "\"" + folderUtf8 + "Linkpilot.exe\" RASDial,会社 VPN,山田,pass word");
  auto r = simtest::RunProcess(nw::win::Widen(dial.Program), nw::win::Widen(dial.CommandLine));
  ASSERT_TRUE(r.Started);
  ASSERT_TRUE(r.Ended);
  EXPECT_EQ(r.ExitCode, 0u);
  auto calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Function, "RasDialA");
  EXPECT_EQ(calls[0].Pid, r.Pid);
  EXPECT_EQ(calls[0].Arg("entry"), "会社 VPN");
  EXPECT_EQ(calls[0].Arg("user"), "山田");
  EXPECT_EQ(calls[0].Arg("password"), "pass word");
  EXPECT_EQ(calls[0].Result, "0");

  ClearCalls();
  const nw::DialerCommand hang = nw::HangUpRas(folderUtf8.substr(0, folderUtf8.size() - 1), "会社 VPN");
  r = simtest::RunProcess(nw::win::Widen(hang.Program), nw::win::Widen(hang.CommandLine));
  ASSERT_TRUE(r.Ended);
  EXPECT_EQ(Calls("RasHangUpA").size(), 1u);
  EXPECT_TRUE(Now().Connections.empty());
}

TEST(LinkpilotProgram, CarriesItsVersionResource) {
  const std::wstring exe = simtest::ExeFolder() + L"Linkpilot.exe";
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, info.data()));
  const auto text = [&](const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT len = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
    if (!VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &len) || !value) return std::string();
    return nw::win::Narrow(value);
  };
  EXPECT_EQ(text(L"OriginalFilename"), "Linkpilot.exe");
  EXPECT_EQ(text(L"ProductName"), "Orvin.T.K. NetWard");
  EXPECT_EQ(text(L"FileDescription"), "NetWard ダイアルアップ接続の補助プログラム");
}
