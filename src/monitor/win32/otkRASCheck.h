#pragma once
// RAS queries over the A functions, with the record forms of otkRasLayout: RASCONNA with device
// type and name (32 connections), RASCONNSTATUSA, RASENTRYNAMEA (256 entries).
#include <string>
#include <vector>

#include "monitor/MonitorPorts.h"

namespace nw {

class otkRASCheck : public RasQuery {
 public:
  static constexpr unsigned kConnCapacity = 32;
  static constexpr unsigned kEntryCapacity = 256;

  // More than 32 active connections fail (the buffer is too small).
  bool EnumConnections(int32_t flags, RasConnectionList& ouList) override;
  bool GetConnectState(RasHandle handle, int32_t& ouState) override;
  // Entry names of the default phonebook.
  bool EnumEntries(std::vector<std::string>& ouNames) override;

  // The text of a fixed character buffer up to its first NUL, from the ANSI code page.
  static std::string AnsiBufferToString(const char* buffer, size_t capacity);

 private:
  std::vector<unsigned char> connBuffer_;  // kept: the probe runs every cycle
};

// The browser-dependent watch way: InternetGetConnectedState with no flags output.
class otkInternetCheck : public InternetQuery {
 public:
  bool InternetConnected() override;
};

}  // namespace nw
