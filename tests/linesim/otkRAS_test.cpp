// otkRASMaster, otkRASDial and otkForAPIStringControl against the simulated rasapi32.
#include "classlib/win32/otkForAPIStringControl.h"
#include "classlib/win32/otkRASDial.h"
#include "classlib/win32/otkRASMaster.h"
#include "classlib/win32/otkRasLayout.h"

#include <cstring>

#include "SimRasRecords.h"
#include "SimTestSupport.h"

using namespace linesim;
using simtest::Kanji;
using simtest::SimTest;

namespace {
constexpr uint32_t kConnXP = sizeof(rec::ConnXP), kConn2000 = sizeof(rec::Conn2000), kConnNT4 = sizeof(rec::ConnNT4),
                   kConnNT351 = sizeof(rec::ConnNT351);
std::string Str(uint32_t v) { return std::to_string(v); }
}  // namespace

// The programs' record table against the records as the platform header lays them out for this
// architecture, and on 32-bit against the sizes and offsets Windows documents.
TEST(otkRasLayout, MatchesThePlatformRecordsOfThisArchitecture) {
  namespace L = otkRasLayout;
  EXPECT_EQ(L::kConn.Sizes, (std::array<uint32_t, 4>{kConnXP, kConn2000, kConnNT4, kConnNT351}));
  EXPECT_EQ(L::kConn.Handle, offsetof(rec::ConnXP, hrasconn));
  EXPECT_EQ(L::kConn.HandleSize, sizeof(HRASCONN));
  EXPECT_EQ(L::kConn.EntryName, offsetof(rec::ConnNT351, szEntryName));
  EXPECT_EQ(L::kConn.EntryName, offsetof(rec::ConnXP, szEntryName));
  EXPECT_EQ(L::kConn.ShortEntryNameLen, sizeof(rec::ConnNT351::szEntryName));
  EXPECT_EQ(L::kConn.DeviceType, offsetof(rec::ConnNT4, szDeviceType));
  EXPECT_EQ(L::kConn.DeviceName, offsetof(rec::ConnNT4, szDeviceName));
  EXPECT_EQ(L::kConn.PhoneBook, offsetof(rec::Conn2000, szPhonebook));
  EXPECT_EQ(L::kConn.SubEntry, offsetof(rec::Conn2000, dwSubEntry));
  EXPECT_EQ(L::kConn.EntryGuid, offsetof(rec::ConnXP, guidEntry));
  EXPECT_EQ(L::kStatus.Size, sizeof(rec::StatusNT4));
  EXPECT_EQ(L::kStatus.State, offsetof(rec::StatusNT4, rasconnstate));
  EXPECT_EQ(L::kEntryName.Size, sizeof(rec::EntryNameNT4));
  EXPECT_EQ(L::kEntryName.Name, offsetof(rec::EntryNameNT4, szEntryName));
  EXPECT_EQ(L::kDialParams.Size, sizeof(rec::DialParamsNT4));
  EXPECT_EQ(L::kDialParams.EntryName, offsetof(rec::DialParamsNT4, szEntryName));
  EXPECT_EQ(L::kDialParams.UserName, offsetof(rec::DialParamsNT4, szUserName));
  EXPECT_EQ(L::kDialParams.Password, offsetof(rec::DialParamsNT4, szPassword));
  if (sizeof(void*) == 4) {
    EXPECT_EQ(L::kConn.Sizes, (std::array<uint32_t, 4>{692, 676, 412, 32}));
    EXPECT_EQ(L::kConn.EntryName, 8u);
    EXPECT_EQ(L::kConn.DeviceName, 282u);
    EXPECT_EQ(L::kConn.PhoneBook, 411u);
  } else {
    EXPECT_EQ(L::kConn.Sizes, (std::array<uint32_t, 4>{696, 680, 416, 36}));
    EXPECT_EQ(L::kConn.Handle, 4u);  // packed to 4: the 8-byte handle is not aligned
    EXPECT_EQ(L::kConn.EntryName, 12u);
  }
  EXPECT_EQ(L::kStatus.Size, 160u);
  EXPECT_EQ(L::kEntryName.Size, 264u);
  EXPECT_EQ(L::kDialParams.Size, 1052u);
  EXPECT_EQ(L::kDialParams.UserName, 519u);
  EXPECT_EQ(L::kDialParams.Password, 776u);
}

TEST(otkForAPIStringControl, FixedFieldsAndAnsi) {
  const char field[8] = {'\x8D', '\xA1', '\x93', '\xFA', 0, 'x', 'y', 'z'};
  EXPECT_EQ(otkForAPIStringControl::AnsiBufferToString(field, 8), "今日");
  const char full[3] = {'a', 'b', 'c'};  // no terminating zero: the field ends it
  EXPECT_EQ(otkForAPIStringControl::AnsiBufferToString(full, 3), "abc");

  std::string ansi;
  ASSERT_TRUE(otkForAPIStringControl::ToAnsi("ﾕｰｻﾞｰ今日", ansi));
  EXPECT_EQ(ansi, "\xD5\xB0\xBB\xDE\xB0\x8D\xA1\x93\xFA");
  EXPECT_FALSE(otkForAPIStringControl::ToAnsi("Ωmega \xF0\x9F\x98\x80", ansi));  // an emoji has no ANSI form
  EXPECT_TRUE(otkForAPIStringControl::ToAnsi("", ansi));
  EXPECT_TRUE(ansi.empty());
  // A UTF-8 system code page: Windows refuses every flag but WC_ERR_INVALID_CHARS and the used-default
  // report there (Wine lets them pass), and every text converts, to its own bytes.
  const auto utf8 = otkForAPIStringControl::NarrowingCallFor(CP_UTF8);
  EXPECT_EQ(utf8.Flags & ~static_cast<uint32_t>(WC_ERR_INVALID_CHARS), 0u);
  EXPECT_FALSE(utf8.ReportsDefault);
  EXPECT_EQ(otkForAPIStringControl::NarrowingCallFor(932).Flags, static_cast<uint32_t>(WC_NO_BEST_FIT_CHARS));
  for (std::string text : {"ﾕｰｻﾞｰ今日", "Ωmega \xF0\x9F\x98\x80", "Zoë"}) {
    ASSERT_TRUE(otkForAPIStringControl::ToCodePage(text, 65001, ansi)) << text;
    EXPECT_EQ(ansi, text);
  }
  ASSERT_TRUE(otkForAPIStringControl::ToCodePage("ﾕｰｻﾞｰ今日", 932, ansi));
  EXPECT_EQ(ansi, "\xD5\xB0\xBB\xDE\xB0\x8D\xA1\x93\xFA");
  EXPECT_FALSE(otkForAPIStringControl::ToCodePage("Zoë", 932, ansi));
  EXPECT_TRUE(ansi.empty());
  ASSERT_TRUE(otkForAPIStringControl::ToCodePage("Zoë", 1252, ansi));
  EXPECT_EQ(ansi, "Zo\xEB");

  char dst[5];
  std::memset(dst, 'q', sizeof dst);
  EXPECT_TRUE(otkForAPIStringControl::CopyToAnsiField(dst, 5, "abcd"));
  EXPECT_STREQ(dst, "abcd");
  EXPECT_FALSE(otkForAPIStringControl::CopyToAnsiField(dst, 5, "abcde"));
  EXPECT_STREQ(dst, "abcd");  // untouched
}

class otkRASMasterTest : public SimTest {};

TEST_F(otkRASMasterTest, ProbeSettlesOnTheFirstAcceptedSize) {
  Set([](State& s) {
    s.ConnSizes = {kConnNT4, kConnNT351};
    s.AddConnection("VPN", kStateConnected);
  });
  otkRASMaster m;
  uint32_t count = 0;
  ASSERT_TRUE(m.ProbeRasConnSize(count));
  EXPECT_EQ(m.RasConnSize(), kConnNT4);
  EXPECT_EQ(count, 1u);
  // The two newer forms were tried once each; the probe is not repeated for the next listing.
  auto sizes = Calls("RasEnumConnectionsA");
  ASSERT_EQ(sizes.size(), 3u);
  EXPECT_EQ(sizes[0].Arg("size"), Str(kConnXP));
  EXPECT_EQ(sizes[0].Arg("cb"), "4");
  EXPECT_EQ(sizes[1].Arg("size"), Str(kConn2000));
  EXPECT_EQ(sizes[2].Arg("size"), Str(kConnNT4));
  ClearCalls();
  ASSERT_TRUE(m.EnumRasConnections(otkRASMaster::kHandle | otkRASMaster::kEntryName));
  ASSERT_EQ(m.ConnectionsLast(), 0);
  EXPECT_EQ(m.Connections()[0].EntryName, "VPN");
  for (const auto& c : Calls("RasEnumConnectionsA")) EXPECT_EQ(c.Arg("size"), Str(kConnNT4));
}

TEST_F(otkRASMasterTest, InvalidBufferAlsoMovesToTheNextSize) {
  Set([](State& s) {
    s.ConnSizes = {kConnNT351};
    s.ConnSizeError = kErrorInvalidBuffer;
    s.AddConnection("a-very-long-entry-name-cut-at-20", kStateConnected);
  });
  otkRASMaster m;
  ASSERT_TRUE(m.EnumRasConnections(0xFF));
  EXPECT_EQ(m.RasConnSize(), kConnNT351);
  ASSERT_EQ(m.ConnectionsLast(), 0);
  // The oldest record form holds 20 characters of the name and nothing about the device.
  EXPECT_EQ(m.Connections()[0].EntryName, "a-very-long-entry-na");
  EXPECT_EQ(m.Connections()[0].DeviceName, "");
}

TEST_F(otkRASMasterTest, NoAcceptedSizeFailsCleanly) {
  Set([](State& s) {
    s.ConnSizes.clear();
    s.AddConnection("VPN", kStateConnected);
  });
  otkRASMaster m;
  uint32_t count = 7;
  EXPECT_FALSE(m.ProbeRasConnSize(count));
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(m.RasConnSize(), 0u);
  EXPECT_FALSE(m.EnumRasConnections(3));
  EXPECT_EQ(m.ConnectionsLast(), -1);
  EXPECT_EQ(Calls("RasEnumConnectionsA").size(), 8u);  // four candidates, twice; nothing else
}

TEST_F(otkRASMasterTest, FillsOnlyTheRequestedFields) {
  Set([](State& s) {
    s.Entries.push_back({"会社VPN", "vpn", "WAN Miniport (L2TP)"});
    s.AddConnection("会社VPN", kStateConnected);
    s.AddConnection("ISP", kStateOpenPort);
  });
  otkRASMaster m;
  ASSERT_TRUE(m.EnumRasConnections(otkRASMaster::kEntryName | otkRASMaster::kDeviceName));
  EXPECT_EQ(m.RasConnSize(), kConnXP);
  ASSERT_EQ(m.ConnectionsLast(), 1);
  const RasConnInfo& first = m.Connections()[0];
  EXPECT_EQ(first.Handle, 0u);
  EXPECT_EQ(first.EntryName, "会社VPN");
  EXPECT_EQ(first.DeviceName, "WAN Miniport (L2TP)");
  EXPECT_EQ(first.DeviceType, "");
  EXPECT_EQ(first.PhoneBook, "");

  ASSERT_TRUE(m.EnumRasConnections(0xFF));
  const State s = Now();
  EXPECT_EQ(m.Connections()[0].Handle, reinterpret_cast<uintptr_t>(rec::ToHandle(s.Connections[0].Handle)));
  EXPECT_EQ(m.Connections()[1].Handle, reinterpret_cast<uintptr_t>(rec::ToHandle(s.Connections[1].Handle)));
  EXPECT_EQ(m.Connections()[0].DeviceType, "vpn");
  EXPECT_NE(m.Connections()[0].PhoneBook, "");
  EXPECT_NE(m.Connections()[0].EntryGuid, (std::array<uint8_t, 16>{}));
}

TEST_F(otkRASMasterTest, ListsMoreThanThirtyTwoConnectionsAndNone) {
  otkRASMaster m;
  ASSERT_TRUE(m.EnumRasConnections(3));
  EXPECT_EQ(m.ConnectionsLast(), -1);
  Set([](State& s) {
    for (int i = 0; i < 40; ++i) s.AddConnection("E" + std::to_string(i), kStateConnected);
  });
  ASSERT_TRUE(m.EnumRasConnections(3));
  ASSERT_EQ(m.ConnectionsLast(), 39);
  EXPECT_EQ(m.Connections()[39].EntryName, "E39");
}

class otkRASDialTest : public SimTest {};

TEST_F(otkRASDialTest, DialsWithTheGivenCredentials) {
  Set([](State& s) { s.Entries.push_back({"ISP", "modem", "M", "taro", "pw"}); });
  EXPECT_TRUE(otkRASDial().DialEntry("ISP", "taro", "pw"));
  const auto dials = Calls("RasDialA");
  ASSERT_EQ(dials.size(), 1u);
  EXPECT_EQ(dials[0].Arg("size"), Str(sizeof(rec::DialParamsNT4)));
  EXPECT_EQ(dials[0].Arg("phone"), "");
  EXPECT_EQ(dials[0].Arg("phonebook"), "(null)");
  EXPECT_EQ(dials[0].Arg("notifier-type"), "0");
  EXPECT_EQ(dials[0].Arg("notifier"), "null");
  EXPECT_EQ(dials[0].Arg("extensions"), "null");
  EXPECT_EQ(Now().Connections.at(0).State, kStateConnected);
}

TEST_F(otkRASDialTest, FailedDialReleasesTheHandle) {
  Set([](State& s) { s.Entries.push_back({"ISP", "modem", "M", "taro", "pw"}); });
  EXPECT_FALSE(otkRASDial().DialEntry("ISP", "taro", "wrong"));
  EXPECT_TRUE(Now().Connections.empty());
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].Function, "RasHangUpA");
  EXPECT_EQ(calls[1].Arg("handle"), calls[0].Arg("handle"));
}

TEST_F(otkRASDialTest, NamesLongerThan256AnsiBytesAreNotDialed) {
  Set([](State& s) { s.Entries.push_back({Kanji(128)}); });
  EXPECT_FALSE(otkRASDial().DialEntry(Kanji(128) + "a", "", ""));
  EXPECT_FALSE(otkRASDial().DialEntry(Kanji(128), Kanji(129), ""));
  EXPECT_FALSE(otkRASDial().DialEntry(Kanji(128), "", std::string(257, 'p')));
  // A name with no ANSI form would reach the system as "?" and might name another entry.
  EXPECT_FALSE(otkRASDial().DialEntry("VPN \xF0\x9F\x98\x80", "", ""));
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(otkRASDial().DialEntry(Kanji(128), Kanji(128), std::string(256, 'p')));
  const auto dials = Calls("RasDialA");
  ASSERT_EQ(dials.size(), 1u);
  EXPECT_EQ(dials[0].Arg("entry-bytes"), "256");
  EXPECT_EQ(dials[0].Arg("entry"), Kanji(128));
  EXPECT_EQ(dials[0].Arg("password"), std::string(256, 'p'));
}

TEST_F(otkRASDialTest, HangUpTakesOnlyTheFirstMatchingConnection) {
  uint32_t first = 0, second = 0;
  Set([&](State& s) {
    s.AddConnection("isp", kStateConnected);  // differs in case only: not a match
    first = s.AddConnection("ISP", kStateConnected).Handle;
    second = s.AddConnection("ISP", kStateConnected).Handle;
  });
  EXPECT_TRUE(otkRASDial().HangUpEntry("ISP"));
  State s = Now();
  ASSERT_EQ(s.Connections.size(), 2u);
  EXPECT_EQ(s.Connections[0].Entry, "isp");
  EXPECT_EQ(s.Connections[1].Handle, second);
  const auto hangs = Calls("RasHangUpA");
  ASSERT_EQ(hangs.size(), 1u);
  EXPECT_EQ(hangs[0].Arg("handle"), std::to_string(first));

  EXPECT_FALSE(otkRASDial().HangUpEntry("None"));
  EXPECT_EQ(Calls("RasHangUpA").size(), 1u);
}
