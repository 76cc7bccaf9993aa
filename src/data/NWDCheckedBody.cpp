#include "data/NWDCheckedBody.h"

#include <array>
#include <vector>

#include "classlib/otkFileString.h"
#include "data/NWDVerCheck.h"

namespace nw {

namespace {

constexpr std::array<uint32_t, 256> MakeCrcTable() {
  std::array<uint32_t, 256> t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[i] = c;
  }
  return t;
}
constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

// The volume files hold at most a few tens of KB; anything far larger is not one of them.
constexpr int64_t kLargestBody = 1 << 20;

bool BodyCrc(otkFileRWCtrl& file, int64_t from, int64_t bytes, uint32_t& ou) {
  if (bytes < 0 || bytes > kLargestBody) return false;
  std::vector<unsigned char> body(static_cast<size_t>(bytes));
  file.CurrentPoint(from);
  if (!file.ReadBytes(body.data(), body.size())) return false;
  ou = Crc32(body.data(), body.size());
  return true;
}

}  // namespace

uint32_t Crc32(const unsigned char* data, size_t n) {
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) c = kCrcTable[(c ^ data[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

bool WriteBodyCheck(otkFileRWCtrl& file, int64_t bodyStart) {
  const int64_t end = file.CurrentPoint();
  uint32_t crc = 0;
  if (!BodyCrc(file, bodyStart, end - bodyStart, crc)) return false;
  file.CurrentPoint(end);
  return file.SetLong(static_cast<int32_t>(crc));
}

bool BodyCheckMatches(otkFileRWCtrl& file) {
  const int64_t start = file.CurrentPoint();
  const int64_t bytes = file.FileLength() - (start - 1) - 4;
  uint32_t crc = 0;
  int32_t stored = 0;
  const bool ok = BodyCrc(file, start, bytes, crc) && file.GetLong(stored) && static_cast<uint32_t>(stored) == crc;
  file.CurrentPoint(start);
  return ok;
}

bool SetQuad(otkFileRWCtrl& file, uint64_t v) {
  return file.SetLong(static_cast<int32_t>(static_cast<uint32_t>(v))) &&
         file.SetLong(static_cast<int32_t>(static_cast<uint32_t>(v >> 32)));
}

bool GetQuad(otkFileRWCtrl& file, uint64_t& ou) {
  int32_t lo = 0, hi = 0;
  if (!file.GetLong(lo) || !file.GetLong(hi)) return false;
  ou = (uint64_t{static_cast<uint32_t>(hi)} << 32) | static_cast<uint32_t>(lo);
  return true;
}

CheckedFileState OpenCheckedFile(otkFileRWCtrl& file, const std::string& path, std::string_view kindTag,
                                 int16_t version) {
  if (otkFileString::FileKindOf(path) != 1) return CheckedFileState::Missing;
  file.FileAddress(path);
  if (!file.OpenForBinary()) return CheckedFileState::Damaged;
  if (CheckHeader(file, kindTag, version) != HeaderSame || !BodyCheckMatches(file)) return CheckedFileState::Damaged;
  return CheckedFileState::Loaded;
}

}  // namespace nw
