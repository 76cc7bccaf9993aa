#pragma once
// Active RAS connections as Linkpilot needs them, read with whichever RASCONNA record size the
// system's rasapi32 accepts (newer systems take larger records, the oldest only the 32-byte one).
#include <array>
#include <cstdint>
#include <cstddef>
#include <string>
#include <vector>

struct RasConnInfo {
  uintptr_t Handle = 0;  // the HRASCONN
  std::string EntryName;
  std::string DeviceType;
  std::string DeviceName;
  std::string PhoneBook;
  uint32_t SubEntry = 0;
  std::array<uint8_t, 16> EntryGuid{};
};

class otkRASMaster {
 public:
  // Request flags of EnumRasConnections: which RasConnInfo fields to fill.
  static constexpr uint32_t kHandle = 1;
  static constexpr uint32_t kEntryName = 2;
  static constexpr uint32_t kDeviceType = 4;
  static constexpr uint32_t kDeviceName = 8;
  static constexpr uint32_t kPhoneBook = 16;  // and SubEntry
  static constexpr uint32_t kEntryGuid = 32;

  // Lists the active connections. False (and an empty list) when no record size is accepted or
  // the system refuses the listing.
  bool EnumRasConnections(uint32_t agFlags);
  const std::vector<RasConnInfo>& Connections() const { return connections_; }
  int ConnectionsLast() const { return static_cast<int>(connections_.size()) - 1; }

  // Finds the accepted RASCONNA size once per object (later calls reuse it), trying the record
  // forms from the largest to the smallest, and reports the number of active connections. False
  // when no form is accepted.
  bool ProbeRasConnSize(uint32_t& ouCount);
  uint32_t RasConnSize() const { return size_; }

 private:
  uint32_t size_ = 0;  // 0 until probed
  std::vector<RasConnInfo> connections_;
};
