// The simulator keeps the RAS and WinInet contract that NetWard and Linkpilot rely on.
#include <winsock2.h>
#include <windows.h>
#include <ras.h>
#include <wininet.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>
#include <netioapi.h>

#include <cstring>
#include <memory>
#include <set>

#include "SimRasRecords.h"
#include "SimTestSupport.h"

using namespace linesim;
using simtest::SimTest;

namespace {

// The record sizes of this architecture, as the simulated system knows them.
constexpr DWORD kConnXP = sizeof(rec::ConnXP), kConnNT4 = sizeof(rec::ConnNT4), kConnNT351 = sizeof(rec::ConnNT351);

DWORD EnumConn(std::vector<char>& buf, DWORD size, DWORD& cb, DWORD& count) {
  std::memcpy(buf.data(), &size, 4);
  return RasEnumConnectionsA(reinterpret_cast<LPRASCONNA>(buf.data()), &cb, &count);
}

}  // namespace

TEST(LineSimStateFile, RoundTripsEveryItem) {
  State s;
  s.Online = true;
  s.AutodialEntry = "会社\tVPN";
  s.NextHandle = 77;
  s.FailNext = 691;
  s.DialDelayMs = 1500;
  s.ConnSizes = {kConnNT4, kConnNT351};
  s.ConnSizeError = 610;
  s.CallLog = false;
  s.Entries.push_back({"ISP\\one", "vpn", "WAN Miniport", "taro", "p\nw"});
  s.Connections.push_back({70, 5, "ISP\\one", "vpn", "WAN Miniport", true, 0x1'0000'0005ull, 7, 4000000000u});
  s.AddAdapter("モバイル\tLTE").Up = false;
  s.Adapters.back().InOctets = 0x20'0000'0000ull;
  const State back = Parse(Serialize(s));
  EXPECT_EQ(Serialize(back), Serialize(s));
  EXPECT_EQ(back.AutodialEntry, "会社\tVPN");
  ASSERT_EQ(back.Entries.size(), 1u);
  EXPECT_EQ(back.Entries[0].Password, "p\nw");
  ASSERT_EQ(back.Connections.size(), 1u);
  EXPECT_EQ(back.Connections[0].State, 5);
  EXPECT_TRUE(back.Connections[0].Autodial);
  EXPECT_EQ(back.Connections[0].Sent, 0x1'0000'0005ull);
  EXPECT_EQ(back.Connections[0].Since, 4000000000u);
  ASSERT_EQ(back.Adapters.size(), 3u);
  EXPECT_EQ(back.Adapters[2].Alias, "モバイル\tLTE");
  EXPECT_FALSE(back.Adapters[2].Up);
  EXPECT_EQ(back.Adapters[2].InOctets, 0x20'0000'0000ull);
  // A state without adapters stays without them; a file that never listed any gets the defaults.
  s.Adapters.clear();
  EXPECT_TRUE(Parse(Serialize(s)).Adapters.empty());
  EXPECT_EQ(Parse("online\t1\n").Adapters.size(), DefaultAdapters().size());
}

TEST(LineSimStateFile, DamagedLinesFallBackToDefaults) {
  const State s = Parse("garbage\nonline\tx\nconn\t0\t1\tbad\nconn-sizes\t\nentry\nnext-handle\t-\n");
  EXPECT_FALSE(s.Online);
  EXPECT_TRUE(s.Connections.empty());  // handle 0 is no handle
  EXPECT_TRUE(s.ConnSizes.empty());
  EXPECT_TRUE(s.Entries.empty());
  EXPECT_EQ(s.NextHandle, State().NextHandle);
  EXPECT_EQ(Serialize(Parse("")), Serialize(State()));
}

class LineSimRas : public SimTest {};

TEST_F(LineSimRas, EnumConnectionsChecksSizeAndBuffer) {
  Set([](State& s) {
    s.AddConnection("A", kStateConnected);
    s.AddConnection("B", kStateAuthenticate);
  });
  std::vector<char> buf(2 * kConnXP);
  DWORD cb = 4, count = 99;
  EXPECT_EQ(EnumConn(buf, 100, cb, count), kErrorInvalidSize);
  cb = 4;
  EXPECT_EQ(EnumConn(buf, kConnXP, cb, count), kErrorBufferTooSmall);
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(cb, 2u * kConnXP);
  cb = static_cast<DWORD>(buf.size());
  EXPECT_EQ(EnumConn(buf, kConnXP, cb, count), 0u);
  EXPECT_EQ(count, 2u);
  EXPECT_STREQ(buf.data() + kConnXP + offsetof(rec::ConnXP, szEntryName), "B");
  EXPECT_EQ(RasEnumConnectionsA(nullptr, &cb, &count), kErrorInvalidBuffer);

  Set([](State& s) { s.ConnSizes = {kConnNT351}; s.ConnSizeError = kErrorInvalidBuffer; });
  cb = static_cast<DWORD>(buf.size());
  EXPECT_EQ(EnumConn(buf, kConnNT4, cb, count), kErrorInvalidBuffer);
  cb = static_cast<DWORD>(buf.size());
  EXPECT_EQ(EnumConn(buf, kConnNT351, cb, count), 0u);
  EXPECT_EQ(cb, 2 * kConnNT351);
}

TEST_F(LineSimRas, ConnectStatusAndEntries) {
  DWORD handle = 0;
  Set([&](State& s) {
    s.Entries.push_back({"接続A"});
    s.Entries.push_back({"B"});
    handle = s.AddConnection("接続A", kStateAuthenticated).Handle;
  });
  DWORD size = sizeof(rec::StatusNT4);
  std::vector<char> st(size + 4);
  std::memcpy(st.data(), &size, 4);
  const HRASCONN h = rec::ToHandle(handle);
  ASSERT_EQ(RasGetConnectStatusA(h, reinterpret_cast<LPRASCONNSTATUSA>(st.data())), 0u);
  DWORD state = 0;
  std::memcpy(&state, st.data() + offsetof(rec::StatusNT4, rasconnstate), 4);
  EXPECT_EQ(state, 14u);
  EXPECT_STREQ(st.data() + offsetof(rec::StatusNT4, szDeviceType), "modem");
  EXPECT_EQ(RasGetConnectStatusA(reinterpret_cast<HRASCONN>(1), reinterpret_cast<LPRASCONNSTATUSA>(st.data())),
            kErrorInvalidHandle);
  size += 4;
  std::memcpy(st.data(), &size, 4);
  EXPECT_EQ(RasGetConnectStatusA(h, reinterpret_cast<LPRASCONNSTATUSA>(st.data())), kErrorInvalidSize);

  size = sizeof(rec::EntryNameNT4);
  std::vector<char> names(2 * size);
  std::memcpy(names.data(), &size, 4);
  DWORD cb = size, count = 0;
  EXPECT_EQ(RasEnumEntriesA(nullptr, nullptr, reinterpret_cast<LPRASENTRYNAMEA>(names.data()), &cb, &count),
            kErrorBufferTooSmall);
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(cb, 2 * size);
  ASSERT_EQ(RasEnumEntriesA(nullptr, nullptr, reinterpret_cast<LPRASENTRYNAMEA>(names.data()), &cb, &count), 0u);
  constexpr size_t name = offsetof(rec::EntryNameNT4, szEntryName);
  EXPECT_EQ(AnsiToUtf8(names.data() + name), "接続A");  // in the ANSI code page on the wire
  EXPECT_STREQ(names.data() + size + name, "B");
}

TEST_F(LineSimRas, ConnectionStatisticsAre32BitAndSizeChecked) {
  DWORD handle = 0;
  Set([&](State& s) {
    Connection& c = s.AddConnection("VPN", kStateConnected);
    handle = c.Handle;
    c.Sent = 0x1'0000'0010ull;  // past 4 GiB: the system's counter started again
    c.Received = 12345;
    c.Since = GetTickCount() - 60000;
  });
  rec::Stats st{};
  st.dwSize = sizeof st;
  const HRASCONN h = rec::ToHandle(handle);
  ASSERT_EQ(RasGetConnectionStatistics(h, reinterpret_cast<RAS_STATS*>(&st)), 0u);
  EXPECT_EQ(sizeof st, 60u);
  EXPECT_EQ(st.dwBytesXmited, 0x10u);
  EXPECT_EQ(st.dwBytesRcved, 12345u);
  EXPECT_GE(st.dwConnectDuration, 60000u);
  EXPECT_LT(st.dwConnectDuration, 120000u);
  st.dwSize = sizeof st + 4;
  EXPECT_EQ(RasGetConnectionStatistics(h, reinterpret_cast<RAS_STATS*>(&st)), kErrorInvalidSize);
  st.dwSize = sizeof st;
  EXPECT_EQ(RasGetConnectionStatistics(rec::ToHandle(handle + 1), reinterpret_cast<RAS_STATS*>(&st)),
            kErrorInvalidHandle);
  if (sizeof(HRASCONN) > 4) {  // only the handle as handed out names the connection
    EXPECT_EQ(RasGetConnectionStatistics(reinterpret_cast<HRASCONN>(uintptr_t{handle}), reinterpret_cast<RAS_STATS*>(&st)),
              kErrorInvalidHandle);
  }
}

class LineSimIpHelper : public SimTest {};

TEST_F(LineSimIpHelper, InterfaceTableServesTheStateAndIsFreed) {
  Set([](State& s) {
    s.Adapters[1].OutOctets = 0x1'2345'6789ull;
    Adapter& mobile = s.AddAdapter("モバイル");
    mobile.Up = false;
    mobile.InOctets = 99;
  });
  MIB_IF_TABLE2* table = nullptr;
  ASSERT_EQ(GetIfTable2(&table), static_cast<DWORD>(NO_ERROR));
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->NumEntries, 3u);
  const MIB_IF_ROW2& loopback = table->Table[0];
  EXPECT_EQ(loopback.Type, static_cast<IFTYPE>(IF_TYPE_SOFTWARE_LOOPBACK));
  EXPECT_FALSE(loopback.InterfaceAndOperStatusFlags.HardwareInterface);
  EXPECT_EQ(table->Table[1].OperStatus, IfOperStatusUp);
  EXPECT_EQ(table->Table[1].OutOctets, 0x1'2345'6789ull);
  EXPECT_TRUE(table->Table[1].InterfaceAndOperStatusFlags.HardwareInterface);
  const MIB_IF_ROW2& mobile = table->Table[2];
  EXPECT_STREQ(mobile.Alias, L"モバイル");
  EXPECT_EQ(mobile.OperStatus, IfOperStatusDown);
  EXPECT_EQ(mobile.InOctets, 99u);
  EXPECT_NE(mobile.InterfaceLuid.Value, table->Table[1].InterfaceLuid.Value);
  EXPECT_EQ(mobile.InterfaceIndex, 3u);
  FreeMibTable(table);
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].Function, "GetIfTable2");
  EXPECT_EQ(calls[1].Result, "freed");
  EXPECT_EQ(GetIfTable2(nullptr), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(LineSimRas, DialFailureLeavesAHalfOpenHandle) {
  Set([](State& s) {
    s.Entries.push_back({"ISP", "modem", "M", "taro", "secret"});
    s.FailNext = kErrorNoAnswer;
  });
  rec::DialParamsNT4 params{};
  params.dwSize = sizeof params;
  std::strcpy(params.szEntryName, "ISP");
  std::strcpy(params.szUserName, "taro");
  std::strcpy(params.szPassword, "secret");
  std::vector<char> p(sizeof params);
  std::memcpy(p.data(), &params, sizeof params);
  HRASCONN h = nullptr;
  EXPECT_EQ(RasDialA(nullptr, nullptr, reinterpret_cast<LPRASDIALPARAMSA>(p.data()), 0, nullptr, &h), kErrorNoAnswer);
  ASSERT_NE(h, nullptr);
  ASSERT_EQ(Now().Connections.size(), 1u);
  EXPECT_EQ(Now().Connections[0].State, kStateDisconnected);
  EXPECT_EQ(RasHangUpA(h), 0u);
  EXPECT_TRUE(Now().Connections.empty());
  EXPECT_EQ(RasHangUpA(h), kErrorInvalidHandle);

  // The switch was one-shot: the same dial now works; wrong credentials do not.
  EXPECT_EQ(RasDialA(nullptr, nullptr, reinterpret_cast<LPRASDIALPARAMSA>(p.data()), 0, nullptr, &h), 0u);
  EXPECT_EQ(Now().Connections.at(0).State, kStateConnected);
  std::strcpy(p.data() + offsetof(rec::DialParamsNT4, szPassword), "wrong");
  HRASCONN h2 = nullptr;
  EXPECT_EQ(RasDialA(nullptr, nullptr, reinterpret_cast<LPRASDIALPARAMSA>(p.data()), 0, nullptr, &h2),
            kErrorAuthFailure);
  RasHangUpA(h2);

  const auto dials = Calls("RasDialA");
  ASSERT_EQ(dials.size(), 3u);
  EXPECT_EQ(dials[0].Result, "678");
  EXPECT_EQ(dials[0].Arg("entry"), "ISP");
  EXPECT_EQ(dials[0].Arg("user"), "taro");
  EXPECT_EQ(dials[0].Arg("password"), "secret");
  EXPECT_EQ(dials[0].Arg("notifier"), "null");
  EXPECT_EQ(dials[1].Result, "0");
  EXPECT_EQ(dials[2].Result, "691");
}

TEST_F(LineSimRas, WinInetFollowsTheAutodialEntry) {
  Set([](State& s) {
    s.Entries.push_back({"ISP"});
    s.AutodialEntry = "ISP";
  });
  DWORD flags = 99;
  EXPECT_FALSE(InternetGetConnectedState(&flags, 0));
  EXPECT_EQ(flags, 0u);
  EXPECT_TRUE(InternetAutodial(0, nullptr));
  EXPECT_TRUE(InternetGetConnectedState(nullptr, 0));
  ASSERT_EQ(Now().Connections.size(), 1u);
  EXPECT_EQ(Now().Connections[0].Entry, "ISP");
  EXPECT_TRUE(InternetAutodialHangup(0));
  EXPECT_FALSE(InternetGetConnectedState(nullptr, 0));
  EXPECT_TRUE(Now().Connections.empty());

  // The provider dropping the autodial connection takes WinInet offline as well.
  Set([](State& s) { s.FailNext = 1; });
  EXPECT_FALSE(InternetAutodial(0, nullptr));
  EXPECT_TRUE(InternetAutodial(0, nullptr));
  Set([](State& s) { s.RemoveConnection(s.Connections.at(0).Handle); });
  EXPECT_FALSE(InternetGetConnectedState(nullptr, 0));
}

TEST_F(LineSimRas, ControlToolChangesAndShowsTheState) {
  const std::wstring ctl = simtest::ExeFolder() + L"linesimctl.exe";
  const auto run = [&](const std::wstring& args) {
    return simtest::RunProcess(ctl, L"linesimctl.exe " + args).ExitCode;
  };
  EXPECT_EQ(run(L"add-entry \"会社 VPN\" vpn \"WAN Miniport\""), 0u);
  EXPECT_EQ(run(L"add-entry \"会社 VPN\""), 2u);  // already there
  EXPECT_EQ(run(L"connect \"会社 VPN\" 33"), 0u);
  EXPECT_EQ(run(L"set-state \"会社 VPN\" 5"), 0u);
  EXPECT_EQ(run(L"online 1"), 0u);
  EXPECT_EQ(run(L"autodial-entry \"会社 VPN\""), 0u);
  EXPECT_EQ(run(L"fail-next 691"), 0u);
  EXPECT_EQ(run(L"dial-delay 1.5"), 0u);
  EXPECT_EQ(run(L"conn-sizes 412,32 610"), 0u);
  EXPECT_EQ(run(L"conn-sizes 41x"), 2u);
  EXPECT_EQ(run(L"no-such-command"), 2u);
  // Traffic: a RAS connection's bytes set and added past 4 GiB; an adapter's octets, its state.
  EXPECT_EQ(run(L"traffic \"会社 VPN\" 4294967000 10"), 0u);
  EXPECT_EQ(run(L"traffic-add \"会社 VPN\" 1000 5"), 0u);
  EXPECT_EQ(run(L"traffic-add Nobody 1 1"), 2u);
  EXPECT_EQ(run(L"traffic \"会社 VPN\" -1 0"), 2u);
  EXPECT_EQ(run(L"add-adapter Wi-Fi 71"), 0u);
  EXPECT_EQ(run(L"adapter-traffic Wi-Fi 7 8"), 0u);
  EXPECT_EQ(run(L"adapter-traffic-add Wi-Fi 1 0x100000000"), 0u);
  EXPECT_EQ(run(L"adapter Wi-Fi down"), 0u);
  EXPECT_EQ(run(L"adapter Ethernet remove"), 0u);
  EXPECT_EQ(run(L"adapter Ethernet up"), 2u);
  State s = Now();
  EXPECT_EQ(s.Connections[0].Sent, 4294968000ull);
  EXPECT_EQ(s.Connections[0].Received, 15u);
  ASSERT_EQ(s.Adapters.size(), 2u);
  EXPECT_EQ(s.Adapters[1].Alias, "Wi-Fi");
  EXPECT_EQ(s.Adapters[1].Type, 71u);
  EXPECT_EQ(s.Adapters[1].OutOctets, 8u);
  EXPECT_EQ(s.Adapters[1].InOctets, 0x100000008ull);
  EXPECT_FALSE(s.Adapters[1].Up);
  ASSERT_EQ(s.Entries.size(), 1u);
  EXPECT_EQ(s.Entries[0].DeviceName, "WAN Miniport");
  ASSERT_EQ(s.Connections.size(), 33u);
  EXPECT_EQ(s.Connections[0].State, 5);
  EXPECT_EQ(s.Connections[1].State, kStateConnected);
  EXPECT_EQ(s.Connections[0].DeviceType, "vpn");
  EXPECT_TRUE(s.Online);
  EXPECT_EQ(s.AutodialEntry, "会社 VPN");
  EXPECT_EQ(s.FailNext, 691u);
  EXPECT_EQ(s.DialDelayMs, 1500u);
  EXPECT_EQ(s.ConnSizes, (std::vector<uint32_t>{412, 32}));
  EXPECT_EQ(s.ConnSizeError, 610u);

  const auto shown = simtest::RunProcess(ctl, L"linesimctl.exe show");
  EXPECT_NE(shown.Output.find("conn\t" + std::to_string(s.Connections[32].Handle) + "\t8192\t会社 VPN\t"),
            std::string::npos)
      << shown.Output;

  EXPECT_EQ(run(L"drop #" + std::to_wstring(s.Connections[1].Handle)), 0u);
  EXPECT_EQ(Now().Connections.size(), 32u);
  EXPECT_EQ(run(L"drop \"会社 VPN\""), 0u);
  EXPECT_TRUE(Now().Connections.empty());
  EXPECT_FALSE(Now().Online);  // the automatic dial-up entry went down
  EXPECT_EQ(run(L"drop \"会社 VPN\""), 2u);
  EXPECT_EQ(run(L"remove-entry \"会社 VPN\""), 0u);
  EXPECT_TRUE(Now().Entries.empty());
  EXPECT_EQ(run(L"reset"), 0u);
  EXPECT_EQ(Serialize(Now()), Serialize(State()));

  // The call log as the tool prints it, and cleared.
  InternetGetConnectedState(nullptr, 0);
  const auto calls = simtest::RunProcess(ctl, L"linesimctl.exe calls");
  EXPECT_EQ(calls.Output, std::to_string(GetCurrentProcessId()) + "\tInternetGetConnectedState\t0\tflags=null\treserved=0\n");
  EXPECT_EQ(run(L"clear-calls"), 0u);
  EXPECT_TRUE(Calls().empty());
}

// Every process reads, changes and rewrites the one state file: nothing may be lost when several do
// so at once, and a reader never sees half a file.
TEST_F(LineSimRas, ConcurrentChangesAreNotLost) {
  const std::wstring ctl = simtest::ExeFolder() + L"linesimctl.exe";
  std::vector<std::unique_ptr<simtest::Process>> tools;
  for (int i = 0; i < 6; ++i)
    tools.push_back(std::make_unique<simtest::Process>(ctl, L"linesimctl.exe connect E" + std::to_wstring(i) + L" 5",
                                                       StateFile() + L".out" + std::to_wstring(i)));
  std::vector<char> buf(64 * kConnNT4);
  int answered = 0;
  for (int i = 0; i < 40; ++i) {
    DWORD cb = static_cast<DWORD>(buf.size()), count = 0;
    if (EnumConn(buf, kConnNT4, cb, count) == 0) ++answered;
  }
  for (auto& t : tools) {
    DWORD code = 1;
    ASSERT_TRUE(t->Wait(30000, &code));
    EXPECT_EQ(code, 0u);
  }
  EXPECT_EQ(answered, 40);
  const State s = Now();
  ASSERT_EQ(s.Connections.size(), 30u);
  std::set<uint32_t> handles;
  for (const auto& c : s.Connections) handles.insert(c.Handle);
  EXPECT_EQ(handles.size(), 30u);
  EXPECT_EQ(Calls("RasEnumConnectionsA").size(), 40u);
}
