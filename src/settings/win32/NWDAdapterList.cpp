#include "settings/win32/NWDAdapterList.h"

// winsock2 before windows.h, as iphlpapi.h wants.
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include "classlib/win32/WinText.h"

namespace nw {

std::vector<std::string> QuotaAdapterNames() {
  constexpr ULONG kFlags = GAA_FLAG_SKIP_UNICAST | GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST |
                           GAA_FLAG_SKIP_DNS_SERVER;
  std::vector<std::string> names;
  std::vector<unsigned char> buf(16 * 1024);
  ULONG size = static_cast<ULONG>(buf.size());
  ULONG rc = ERROR_BUFFER_OVERFLOW;
  // The list may grow between the two calls: a few tries.
  for (int tries = 0; tries < 3; ++tries) {
    rc = GetAdaptersAddresses(AF_UNSPEC, kFlags, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buf.data()), &size);
    if (rc != ERROR_BUFFER_OVERFLOW) break;
    buf.resize(size);
  }
  if (rc != NO_ERROR) return names;
  for (auto* a = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buf.data()); a; a = a->Next)
    if (a->IfType != IF_TYPE_SOFTWARE_LOOPBACK && a->FriendlyName && *a->FriendlyName)
      names.push_back(win::Narrow(a->FriendlyName));
  return names;
}

}  // namespace nw
