// Simulated iphlpapi.dll: the interface table and entries NetWard reads the octet counters of
// network adapters from, built from the adapters of the shared simulator state with the platform
// header's records.
#include <winsock2.h>
#include <windows.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>
#include <netioapi.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "LineSimState.h"
#include "SimCall.h"

using namespace linesim;

namespace {

void Fill(MIB_IF_ROW2& r, const Adapter& a) {
  r = MIB_IF_ROW2{};
  r.InterfaceLuid.Value = a.Luid;
  r.InterfaceIndex = a.Index;
  lstrcpynW(r.Alias, Widen(a.Alias).c_str(), IF_MAX_STRING_SIZE + 1);
  lstrcpynW(r.Description, Widen(a.Description).c_str(), IF_MAX_STRING_SIZE + 1);
  r.Type = a.Type;
  r.Mtu = a.Type == kIfLoopback ? 0xFFFFFFFFu : 1500;
  r.InterfaceAndOperStatusFlags.HardwareInterface = a.Hardware;
  r.InterfaceAndOperStatusFlags.FilterInterface = a.Filter;
  r.InterfaceAndOperStatusFlags.ConnectorPresent = a.Hardware && !a.Filter;
  r.InterfaceAndOperStatusFlags.NotMediaConnected = !a.Up;
  r.OperStatus = a.Up ? IfOperStatusUp : IfOperStatusDown;
  r.AdminStatus = NET_IF_ADMIN_STATUS_UP;
  r.MediaConnectState = a.Up ? MediaConnectStateConnected : MediaConnectStateDisconnected;
  r.TransmitLinkSpeed = r.ReceiveLinkSpeed = a.Up ? 1000000000ull : 0;
  r.InOctets = a.InOctets;
  r.OutOctets = a.OutOctets;
  r.InUcastPkts = a.InOctets / 1500;
  r.OutUcastPkts = a.OutOctets / 1500;
}

}  // namespace

extern "C" {

DWORD WINAPI GetIfTable2(PMIB_IF_TABLE2* table) {
  SimCall call("GetIfTable2");
  if (!call.Ok()) return kErrorSimulatorBusy;
  if (!table) {
    call.Result(kErrorInvalidParameter);
    return kErrorInvalidParameter;
  }
  *table = nullptr;
  const auto& list = call.S().Adapters;
  const size_t bytes = offsetof(MIB_IF_TABLE2, Table) + (list.empty() ? 1 : list.size()) * sizeof(MIB_IF_ROW2);
  auto* t = static_cast<PMIB_IF_TABLE2>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes));
  if (!t) {
    call.Result(static_cast<unsigned long>(ERROR_NOT_ENOUGH_MEMORY));
    return ERROR_NOT_ENOUGH_MEMORY;
  }
  t->NumEntries = static_cast<ULONG>(list.size());
  for (size_t i = 0; i < list.size(); ++i) Fill(t->Table[i], list[i]);
  *table = t;
  call.Arg("count", static_cast<unsigned long>(list.size()));
  call.Result(0ul);
  return NO_ERROR;
}

// By LUID, or by index when the LUID is 0, as the system looks an entry up.
DWORD WINAPI GetIfEntry2(PMIB_IF_ROW2 row) {
  SimCall call("GetIfEntry2");
  if (!call.Ok()) return kErrorSimulatorBusy;
  if (!row) {
    call.Result(kErrorInvalidParameter);
    return kErrorInvalidParameter;
  }
  const uint64_t luid = row->InterfaceLuid.Value;
  const uint32_t index = row->InterfaceIndex;
  call.Arg("luid", std::to_string(luid));
  for (const Adapter& a : call.S().Adapters) {
    if (luid ? a.Luid != luid : a.Index != index) continue;
    Fill(*row, a);
    call.Result(0ul);
    return NO_ERROR;
  }
  call.Result(static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
  return ERROR_FILE_NOT_FOUND;
}

VOID WINAPI FreeMibTable(PVOID memory) {
  SimCall call("FreeMibTable");
  call.Arg("memory", PtrArg(memory));
  call.Result(memory && HeapFree(GetProcessHeap(), 0, memory) ? "freed" : "not freed");
}

}  // extern "C"
