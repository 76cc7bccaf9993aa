#pragma once
// The RAS records as the simulated rasapi32 knows them: each record form declared on its own with
// the platform header's field types and limits, packed as the header packs them, so the compiler
// lays each out for the architecture the simulator is built for. The programs work from their own
// table (otkRasLayout); the simulator never looks at it, so a program that sends a size or an
// offset of another architecture is refused here as Windows would refuse it.
#include <windows.h>
#include <ras.h>

#include <array>
#include <cstdint>

namespace linesim::rec {

#include <pshpack4.h>

// RASCONNA, oldest form first (Windows NT 3.51, NT 4.0, 2000, XP).
struct ConnNT351 {
  DWORD dwSize;
  HRASCONN hrasconn;
  CHAR szEntryName[20 + 1];
};
struct ConnNT4 {
  DWORD dwSize;
  HRASCONN hrasconn;
  CHAR szEntryName[RAS_MaxEntryName + 1];
  CHAR szDeviceType[RAS_MaxDeviceType + 1];
  CHAR szDeviceName[RAS_MaxDeviceName + 1];
};
struct Conn2000 {
  DWORD dwSize;
  HRASCONN hrasconn;
  CHAR szEntryName[RAS_MaxEntryName + 1];
  CHAR szDeviceType[RAS_MaxDeviceType + 1];
  CHAR szDeviceName[RAS_MaxDeviceName + 1];
  CHAR szPhonebook[MAX_PATH];
  DWORD dwSubEntry;
};
struct ConnXP {
  DWORD dwSize;
  HRASCONN hrasconn;
  CHAR szEntryName[RAS_MaxEntryName + 1];
  CHAR szDeviceType[RAS_MaxDeviceType + 1];
  CHAR szDeviceName[RAS_MaxDeviceName + 1];
  CHAR szPhonebook[MAX_PATH];
  DWORD dwSubEntry;
  GUID guidEntry;
};

// RASCONNSTATUSA before the phone number was added.
struct StatusNT4 {
  DWORD dwSize;
  RASCONNSTATE rasconnstate;
  DWORD dwError;
  CHAR szDeviceType[RAS_MaxDeviceType + 1];
  CHAR szDeviceName[RAS_MaxDeviceName + 1];
};

// RASENTRYNAMEA before flags and phonebook path.
struct EntryNameNT4 {
  DWORD dwSize;
  CHAR szEntryName[RAS_MaxEntryName + 1];
};

// RASDIALPARAMSA, and its form with sub-entry and callback id.
struct DialParamsNT4 {
  DWORD dwSize;
  CHAR szEntryName[RAS_MaxEntryName + 1];
  CHAR szPhoneNumber[RAS_MaxPhoneNumber + 1];
  CHAR szCallbackNumber[RAS_MaxCallbackNumber + 1];
  CHAR szUserName[UNLEN + 1];
  CHAR szPassword[PWLEN + 1];
  CHAR szDomain[DNLEN + 1];
};
struct DialParams2000 {
  DialParamsNT4 nt4;  // its fields end on a 4-byte bound: nothing moves
  DWORD dwSubEntry;
  ULONG_PTR dwCallbackId;
};

// RAS_STATS: one form on every system and architecture.
struct Stats {
  DWORD dwSize;
  DWORD dwBytesXmited;
  DWORD dwBytesRcved;
  DWORD dwFramesXmited;
  DWORD dwFramesRcved;
  DWORD dwCrcErr;
  DWORD dwTimeoutErr;
  DWORD dwAlignmentErr;
  DWORD dwHardwareOverrunErr;
  DWORD dwFramingErr;
  DWORD dwBufferOverrunErr;
  DWORD dwCompressionRatioIn;
  DWORD dwCompressionRatioOut;
  DWORD dwBps;
  DWORD dwConnectDuration;
};

#include <poppack.h>

// The RASCONNA sizes this system accepts, newest first.
inline constexpr std::array<uint32_t, 4> kConnSizes = {sizeof(ConnXP), sizeof(Conn2000), sizeof(ConnNT4),
                                                       sizeof(ConnNT351)};

// A connection handle as the simulated system hands it out. On 64-bit Windows a handle is a
// pointer-sized value: the simulator sets high bits so that a caller which keeps only 32 of them
// names no connection.
inline HRASCONN ToHandle(uint32_t id) {
  auto v = static_cast<ULONG_PTR>(id);
  if constexpr (sizeof v > 4) v |= static_cast<ULONG_PTR>(0x7E5ULL << 40);
  return reinterpret_cast<HRASCONN>(v);
}
// The connection id of a handle; 0 when it is none the simulator handed out.
inline uint32_t FromHandle(HRASCONN h) {
  const auto v = reinterpret_cast<ULONG_PTR>(h);
  return ToHandle(static_cast<uint32_t>(v)) == h ? static_cast<uint32_t>(v) : 0;
}

}  // namespace linesim::rec
