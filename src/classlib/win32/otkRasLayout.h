#pragma once
// Byte layouts of the RAS records both programs exchange with rasapi32 (the A forms), for the
// architecture being built. The system tells a record form by its dwSize and refuses a size it
// does not know, so the layouts must be exactly the platform's: every value here is taken from
// the platform header's records. Each older form is the first fields of the present record; the
// header packs these records to 4 bytes (a 64-bit handle sits at offset 4), so a form ends at its
// last field rounded up to 4.
//
// This is the one place that knows record sizes and offsets; the rest of the code reads them here.
#include <windows.h>
#include <ras.h>

#include <array>
#include <cstddef>
#include <cstdint>

namespace otkRasLayout {

using ConnRecord = RASCONNA;
using StatusRecord = RASCONNSTATUSA;
using EntryNameRecord = RASENTRYNAMEA;
using DialParamsRecord = RASDIALPARAMSA;
using StatsRecord = RAS_STATS;

constexpr uint32_t FormSize(size_t lastFieldEnd) { return static_cast<uint32_t>((lastFieldEnd + 3) & ~size_t{3}); }

// Entry names in the first, 32-byte record form (Windows NT 3.51) are at most 20 characters.
inline constexpr size_t kShortEntryNameLen = 20 + 1;

struct RasConnForms {
  // The forms tried, largest first: with the entry GUID, with phonebook and sub-entry, with device
  // type and name, and the first form with its short entry name.
  std::array<uint32_t, 4> Sizes;
  size_t Handle, HandleSize;
  size_t EntryName, EntryNameLen, ShortEntryNameLen;
  size_t DeviceType, DeviceTypeLen;
  size_t DeviceName, DeviceNameLen;
  size_t PhoneBook, PhoneBookLen;
  size_t SubEntry, EntryGuid;
};

inline constexpr RasConnForms kConn = {
    {offsetof(ConnRecord, dwFlags), offsetof(ConnRecord, guidEntry), FormSize(offsetof(ConnRecord, szPhonebook)),
     FormSize(offsetof(ConnRecord, szEntryName) + kShortEntryNameLen)},
    offsetof(ConnRecord, hrasconn), sizeof(HRASCONN),
    offsetof(ConnRecord, szEntryName), sizeof(ConnRecord::szEntryName), kShortEntryNameLen,
    offsetof(ConnRecord, szDeviceType), sizeof(ConnRecord::szDeviceType),
    offsetof(ConnRecord, szDeviceName), sizeof(ConnRecord::szDeviceName),
    offsetof(ConnRecord, szPhonebook), sizeof(ConnRecord::szPhonebook),
    offsetof(ConnRecord, dwSubEntry), offsetof(ConnRecord, guidEntry),
};
// Index into kConn.Sizes of the form with device type and name, the one NetWard's probe uses.
inline constexpr size_t kConnDeviceForm = 2;

// RASCONNSTATUSA without the phone number.
struct RasStatusForm {
  uint32_t Size;
  size_t State;
};
inline constexpr RasStatusForm kStatus = {FormSize(offsetof(StatusRecord, szPhoneNumber)),
                                          offsetof(StatusRecord, rasconnstate)};

// RASENTRYNAMEA without flags and phonebook path.
struct RasEntryNameForm {
  uint32_t Size;
  size_t Name, NameLen;
};
inline constexpr RasEntryNameForm kEntryName = {FormSize(offsetof(EntryNameRecord, dwFlags)),
                                                offsetof(EntryNameRecord, szEntryName),
                                                sizeof(EntryNameRecord::szEntryName)};

// RASDIALPARAMSA without sub-entry and callback id: the system then dials the entry's stored number.
struct RasDialParamsForm {
  uint32_t Size;
  size_t EntryName, UserName, Password, FieldLen;
};
inline constexpr RasDialParamsForm kDialParams = {
    FormSize(offsetof(DialParamsRecord, szDomain) + sizeof(DialParamsRecord::szDomain)),
    offsetof(DialParamsRecord, szEntryName), offsetof(DialParamsRecord, szUserName),
    offsetof(DialParamsRecord, szPassword), sizeof(DialParamsRecord::szEntryName)};
static_assert(sizeof(DialParamsRecord::szUserName) == kDialParams.FieldLen &&
              sizeof(DialParamsRecord::szPassword) == kDialParams.FieldLen);

// RAS_STATS, one form only: 32-bit byte counters since the connection came up, and how long ago
// that was (the duration tells a new connection on a reused handle from a counter that wrapped).
struct RasStatsForm {
  uint32_t Size;
  size_t Sent, Received, Duration;
};
inline constexpr RasStatsForm kStats = {sizeof(StatsRecord), offsetof(StatsRecord, dwBytesXmited),
                                        offsetof(StatsRecord, dwBytesRcved), offsetof(StatsRecord, dwConnectDuration)};

// The published 32-bit sizes and offsets; the 64-bit ones follow from the 8-byte handle.
#ifdef _WIN64
static_assert(kConn.Sizes == std::array<uint32_t, 4>{696, 680, 416, 36});
static_assert(kConn.Handle == 4 && kConn.HandleSize == 8 && kConn.EntryName == 12 && kConn.DeviceType == 269 &&
              kConn.DeviceName == 286 && kConn.PhoneBook == 415 && kConn.SubEntry == 676 && kConn.EntryGuid == 680);
#else
static_assert(kConn.Sizes == std::array<uint32_t, 4>{692, 676, 412, 32});
static_assert(kConn.Handle == 4 && kConn.HandleSize == 4 && kConn.EntryName == 8 && kConn.DeviceType == 265 &&
              kConn.DeviceName == 282 && kConn.PhoneBook == 411 && kConn.SubEntry == 672 && kConn.EntryGuid == 676);
#endif
static_assert(kConn.EntryNameLen == 257 && kConn.DeviceTypeLen == 17 && kConn.DeviceNameLen == 129 &&
              kConn.PhoneBookLen == 260);
static_assert(kStatus.Size == 160 && kStatus.State == 4);
static_assert(kStats.Size == 60 && kStats.Sent == 4 && kStats.Received == 8 && kStats.Duration == 56);
static_assert(kEntryName.Size == 264 && kEntryName.Name == 4 && kEntryName.NameLen == 257);
static_assert(kDialParams.Size == 1052 && kDialParams.EntryName == 4 && kDialParams.UserName == 519 &&
              kDialParams.Password == 776 && kDialParams.FieldLen == 257);

}  // namespace otkRasLayout
