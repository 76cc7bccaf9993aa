#include "classlib/win32/otkRASMaster.h"

#include <windows.h>
#include <ras.h>

#include <cstring>

#include "classlib/win32/otkForAPIStringControl.h"
#include "classlib/win32/otkRasLayout.h"

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
  std::memcpy(&v, rec + offset, sizeof v);
  return v;
}

uintptr_t Handle(const char* rec) {
  HRASCONN h;
  std::memcpy(&h, rec + otkRasLayout::kConn.Handle, sizeof h);
  return reinterpret_cast<uintptr_t>(h);
}

std::string Text(const char* rec, size_t offset, size_t capacity) {
  return otkForAPIStringControl::AnsiBufferToString(rec + offset, capacity);
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
  for (uint32_t candidate : otkRasLayout::kConn.Sizes) {
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

  const auto& f = otkRasLayout::kConn;
  const uint32_t shortForm = f.Sizes.back(), deviceForm = f.Sizes[otkRasLayout::kConnDeviceForm];
  const uint32_t phoneBookForm = f.Sizes[1], guidForm = f.Sizes[0];
  connections_.resize(got);
  for (DWORD k = 0; k < got; ++k) {
    const char* rec = buffer.data() + static_cast<size_t>(k) * size;
    RasConnInfo& info = connections_[k];
    if (agFlags & kHandle) info.Handle = Handle(rec);
    if (agFlags & kEntryName) info.EntryName = Text(rec, f.EntryName, size == shortForm ? f.ShortEntryNameLen : f.EntryNameLen);
    if (size < deviceForm) continue;  // the oldest form carries nothing more
    if (agFlags & kDeviceType) info.DeviceType = Text(rec, f.DeviceType, f.DeviceTypeLen);
    if (agFlags & kDeviceName) info.DeviceName = Text(rec, f.DeviceName, f.DeviceNameLen);
    if (size >= phoneBookForm && (agFlags & kPhoneBook)) {
      info.PhoneBook = Text(rec, f.PhoneBook, f.PhoneBookLen);
      info.SubEntry = Dword(rec, f.SubEntry);
    }
    if (size >= guidForm && (agFlags & kEntryGuid)) std::memcpy(info.EntryGuid.data(), rec + f.EntryGuid, 16);
  }
  return true;
}
