#include "monitor/win32/otkRASCheck.h"

#include <windows.h>
#include <ras.h>
#include <wininet.h>

#include <cstring>

#include "classlib/win32/WinText.h"
#include "classlib/win32/otkRasLayout.h"

namespace nw {

namespace {
constexpr auto& kConn = otkRasLayout::kConn;
constexpr uint32_t kConnSize = kConn.Sizes[otkRasLayout::kConnDeviceForm];
constexpr auto& kStatus = otkRasLayout::kStatus;
constexpr auto& kEntry = otkRasLayout::kEntryName;

uint32_t ReadDword(const unsigned char* p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
void WriteDword(unsigned char* p, uint32_t v) { std::memcpy(p, &v, sizeof v); }
}  // namespace

std::string otkRASCheck::AnsiBufferToString(const char* buffer, size_t capacity) {
  const size_t len = strnlen(buffer, capacity);
  return win::CodePageToUtf8(std::string_view(buffer, len), CP_ACP);
}

bool otkRASCheck::EnumConnections(int32_t flags, RasConnectionList& ouList) {
  ouList.Flags = flags;
  ouList.Count = 0;
  ouList.Handles.clear();
  ouList.EntryNames.clear();
  ouList.DeviceNames.clear();
  connBuffer_.assign(size_t{kConnSize} * kConnCapacity, 0);
  WriteDword(connBuffer_.data(), kConnSize);
  DWORD bytes = static_cast<DWORD>(connBuffer_.size());
  DWORD count = 0;
  if (RasEnumConnectionsA(reinterpret_cast<LPRASCONNA>(connBuffer_.data()), &bytes, &count) != 0) return false;
  if (count > kConnCapacity) return false;
  ouList.Count = static_cast<int32_t>(count);
  for (DWORD i = 0; i < count; ++i) {
    const unsigned char* rec = connBuffer_.data() + size_t{i} * kConnSize;
    if (flags & RasWantHandles) {
      HRASCONN h;
      std::memcpy(&h, rec + kConn.Handle, sizeof h);
      ouList.Handles.push_back(reinterpret_cast<RasHandle>(h));
    }
    if (flags & RasWantEntries)
      ouList.EntryNames.push_back(
          AnsiBufferToString(reinterpret_cast<const char*>(rec + kConn.EntryName), kConn.EntryNameLen));
    if (flags & RasWantDevices)
      ouList.DeviceNames.push_back(
          AnsiBufferToString(reinterpret_cast<const char*>(rec + kConn.DeviceName), kConn.DeviceNameLen));
  }
  return true;
}

bool otkRASCheck::GetConnectState(RasHandle handle, int32_t& ouState) {
  unsigned char status[kStatus.Size] = {};
  WriteDword(status, kStatus.Size);
  if (RasGetConnectStatusA(reinterpret_cast<HRASCONN>(handle), reinterpret_cast<LPRASCONNSTATUSA>(status)) != 0)
    return false;
  ouState = static_cast<int32_t>(ReadDword(status + kStatus.State));
  return true;
}

bool otkRASCheck::EnumEntries(std::vector<std::string>& ouNames) {
  ouNames.clear();
  std::vector<unsigned char> buffer(size_t{kEntry.Size} * kEntryCapacity, 0);
  WriteDword(buffer.data(), kEntry.Size);
  DWORD bytes = static_cast<DWORD>(buffer.size());
  DWORD count = 0;
  if (RasEnumEntriesA(nullptr, nullptr, reinterpret_cast<LPRASENTRYNAMEA>(buffer.data()), &bytes, &count) != 0)
    return false;
  if (count > kEntryCapacity) return false;
  for (DWORD i = 0; i < count; ++i)
    ouNames.push_back(AnsiBufferToString(
        reinterpret_cast<const char*>(buffer.data() + size_t{i} * kEntry.Size + kEntry.Name), kEntry.NameLen));
  return true;
}

bool otkInternetCheck::InternetConnected() { return InternetGetConnectedState(nullptr, 0) != FALSE; }

}  // namespace nw
