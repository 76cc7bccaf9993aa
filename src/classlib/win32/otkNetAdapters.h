#pragma once
// The network adapters of this machine as the IP Helper lists them: which interfaces carry a line
// of their own, and the names a settings page can offer.
#include <winsock2.h>
#include <windows.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>
#include <netioapi.h>

#include <string>
#include <vector>

namespace otk {

// Interfaces that carry a line of their own: loopback is none, filter instances repeat their
// adapter's counters, and virtual ones (tunnels, VPN adapters) carry traffic that also crosses a
// hardware adapter.
bool CountableInterface(const MIB_IF_ROW2& row);

// The interface table, freed with its owner; empty when it cannot be read.
class IfTable {
 public:
  IfTable();
  ~IfTable();
  IfTable(const IfTable&) = delete;
  IfTable& operator=(const IfTable&) = delete;
  ULONG Count() const { return table_ ? table_->NumEntries : 0; }
  const MIB_IF_ROW2& Row(ULONG i) const { return table_->Table[i]; }

 private:
  MIB_IF_TABLE2* table_ = nullptr;
};

// Names (aliases, as the network settings show them) of the countable adapters, up or down, in
// the system's order.
std::vector<std::string> ListNetworkAdapters();

}  // namespace otk
