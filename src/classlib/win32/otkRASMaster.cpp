#include "classlib/win32/otkRASMaster.h"

#include <windows.h>
#include <ras.h>

#include <cstring>

#include "classlib/win32/otkForAPIStringControl.h"

namespace {

constexpr DWORD kErrorBufferTooSmall = 603;
constexpr DWORD kErrorInvalidBuffer = 610;
constexpr DWORD kErrorInvalidSize = 632;

DWORD EnumRaw(void* buffer, DWORD& ioBytes, DWORD& ouCount) {
  ouCount = 0;
  return RasEnumConnectionsA(static_cast<LPRASCONNA>(buffer), &ioBytes, &ouCount);
}

// One connection count query: a 4-byte buffer that holds only the record size.
DWORD CountQuery(uint32_t size, DWORD& ouCount) {
  alignas(4) char probe[4];
  std::memcpy(probe, &size, 4);
  DWORD bytes = 4;
  return EnumRaw(probe, bytes, ouCount);
}

uint32_t Dword(const char* rec, size_t offset) {
  uint32_t v;
  std::memcpy(&v, rec + offset, 4);
  return v;
}

}  // namespace

bool otkRASMaster::ProbeRasConnSize(uint32_t& ouCount) {
  ouCount = 0;
  DWORD count = 0;
  if (size_ != 0) {
    const DWORD rc = CountQuery(size_, count);
    if (rc != 0 && rc != kErrorBufferTooSmall) return false;
    ouCount = count;
    return true;
  }
  for (uint32_t candidate : kCandidateSizes) {
    const DWORD rc = CountQuery(candidate, count);
    if (rc == kErrorInvalidSize || rc == kErrorInvalidBuffer) continue;
    // Only an answer about the connections themselves settles the size; any other error says
    // nothing about it, and the next listing probes again.
    if (rc != 0 && rc != kErrorBufferTooSmall) return false;
    size_ = candidate;
    ouCount = count;
    return true;
  }
  return false;
}

bool otkRASMaster::EnumRasConnections(uint32_t agFlags) {
  connections_.clear();
  uint32_t count = 0;
  if (!ProbeRasConnSize(count)) return false;
  if (count == 0) return true;

  const uint32_t size = size_;
  std::vector<char> buffer(static_cast<size_t>(count) * size, '\0');
  std::memcpy(buffer.data(), &size, 4);
  DWORD bytes = static_cast<DWORD>(buffer.size());
  DWORD got = 0;
  if (EnumRaw(buffer.data(), bytes, got) != 0) return false;
  if (got > count) got = count;

  connections_.resize(got);
  for (DWORD k = 0; k < got; ++k) {
    const char* rec = buffer.data() + static_cast<size_t>(k) * size;
    RasConnInfo& info = connections_[k];
    if (agFlags & kHandle) info.Handle = Dword(rec, 4);
    if (agFlags & kEntryName)
      info.EntryName = otkForAPIStringControl::AnsiBufferToString(rec + 8, size == 32 ? 21 : 257);
    if (size < 412) continue;  // the oldest form carries nothing more
    if (agFlags & kDeviceType) info.DeviceType = otkForAPIStringControl::AnsiBufferToString(rec + 265, 17);
    if (agFlags & kDeviceName) info.DeviceName = otkForAPIStringControl::AnsiBufferToString(rec + 282, 129);
    if (size > 412 && (agFlags & kPhoneBook)) {
      info.PhoneBook = otkForAPIStringControl::AnsiBufferToString(rec + 411, 260);
      info.SubEntry = Dword(rec, 672);
    }
    if (size > 676 && (agFlags & kEntryGuid)) std::memcpy(info.EntryGuid.data(), rec + 676, 16);
  }
  return true;
}
