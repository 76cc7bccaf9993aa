// Windows side of the file seam: the W file APIs, so any folder name works on any system locale.
#include <windows.h>

#include "classlib/otkOsFile.h"
#include "classlib/win32/WinText.h"

namespace nw::os {

namespace {

HANDLE H(intptr_t h) { return reinterpret_cast<HANDLE>(h); }

OVERLAPPED At(int64_t offset) {
  OVERLAPPED ov{};
  ov.Offset = static_cast<DWORD>(static_cast<uint64_t>(offset) & 0xFFFFFFFFu);
  ov.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(offset) >> 32);
  return ov;
}

void MakeWritable(const std::wstring& path) {
  const DWORD attrs = GetFileAttributesW(path.c_str());
  if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                                    FILE_ATTRIBUTE_SYSTEM)))
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace

File File::OpenOrCreate(const std::string& path) {
  const std::wstring p = win::Widen(path);
  constexpr DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  HANDLE h = CreateFileW(p.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED)
    h = CreateFileW(p.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return h == INVALID_HANDLE_VALUE ? File() : File(reinterpret_cast<intptr_t>(h));
}

int64_t File::ReadAt(int64_t offset, void* buf, size_t n) {
  if (!IsOpen() || offset < 0) return -1;
  size_t done = 0;
  while (done < n) {
    OVERLAPPED ov = At(offset + static_cast<int64_t>(done));
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(n - done > 0x10000000u ? 0x10000000u : n - done);
    if (!ReadFile(H(handle_), static_cast<char*>(buf) + done, want, &got, &ov))
      return GetLastError() == ERROR_HANDLE_EOF ? static_cast<int64_t>(done) : -1;
    if (got == 0) break;
    done += got;
  }
  return static_cast<int64_t>(done);
}

bool File::WriteAt(int64_t offset, const void* buf, size_t n) {
  if (!IsOpen() || offset < 0) return false;
  size_t done = 0;
  while (done < n) {
    OVERLAPPED ov = At(offset + static_cast<int64_t>(done));
    DWORD put = 0;
    const DWORD want = static_cast<DWORD>(n - done > 0x10000000u ? 0x10000000u : n - done);
    if (!WriteFile(H(handle_), static_cast<const char*>(buf) + done, want, &put, &ov) || put == 0) return false;
    done += put;
  }
  return true;
}

int64_t File::Size() const {
  LARGE_INTEGER size{};
  if (!IsOpen() || !GetFileSizeEx(H(handle_), &size)) return -1;
  return size.QuadPart;
}

bool File::Flush() { return IsOpen() && FlushFileBuffers(H(handle_)); }

void File::Close() {
  if (IsOpen()) CloseHandle(H(handle_));
  handle_ = kNone;
}

int KindOf(const std::string& path) {
  const DWORD attrs = GetFileAttributesW(win::Widen(path).c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) return 0;
  return (attrs & FILE_ATTRIBUTE_DIRECTORY) ? 2 : 1;
}

bool RemoveFile(const std::string& path) {
  const std::wstring p = win::Widen(path);
  if (KindOf(path) != 1) return false;
  MakeWritable(p);
  return DeleteFileW(p.c_str()) != FALSE;
}

bool MoveReplacing(const std::string& from, const std::string& to) {
  const std::wstring src = win::Widen(from), dst = win::Widen(to);
  if (KindOf(to) == 2) return false;
  MakeWritable(dst);
  return MoveFileExW(src.c_str(), dst.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace nw::os
