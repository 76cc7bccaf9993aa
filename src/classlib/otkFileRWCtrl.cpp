#include "classlib/otkFileRWCtrl.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "classlib/otkCodePage932.h"

namespace {

// Numbers handed out like file numbers, 1 to 511, so a caller can tell opens apart.
int16_t NextFileNumber() {
  static std::atomic<int> next{0};
  return static_cast<int16_t>(next.fetch_add(1) % 511 + 1);
}

constexpr size_t kReadAheadBytes = 4096;

uint64_t LoadLE(const unsigned char* b, size_t n) {
  uint64_t v = 0;
  for (size_t i = n; i-- > 0;) v = (v << 8) | b[i];
  return v;
}

void StoreLE(uint64_t v, unsigned char* b, size_t n) {
  for (size_t i = 0; i < n; ++i, v >>= 8) b[i] = static_cast<unsigned char>(v & 0xFF);
}

}  // namespace

bool otkFileRWCtrl::OpenForBinaryClearing() {
  CloseFile();
  if (nw::os::KindOf(address_) == 1 && !nw::os::RemoveFile(address_)) return false;
  return OpenForBinary();
}

bool otkFileRWCtrl::OpenForBinary() {
  CloseFile();
  file_ = nw::os::File::OpenOrCreate(address_);
  if (!file_.IsOpen()) return false;
  point_ = 1;
  number_ = NextFileNumber();
  return true;
}

void otkFileRWCtrl::CloseFile() {
  file_.Close();
  number_ = -1;
  ForgetReadAhead();
}

void otkFileRWCtrl::ForgetReadAhead() {
  ahead_.clear();
  aheadAsked_ = 0;
}

int64_t otkFileRWCtrl::ReadAt(int64_t offset, unsigned char* buf, size_t n) {
  const bool held =
      offset >= aheadStart_ && offset + static_cast<int64_t>(n) <= aheadStart_ + static_cast<int64_t>(aheadAsked_);
  if (!held) {
    ForgetReadAhead();
    ahead_.resize(std::max(n, kReadAheadBytes));
    const int64_t got = file_.ReadAt(offset, ahead_.data(), ahead_.size());
    if (got < 0) {
      ahead_.clear();
      return -1;
    }
    aheadStart_ = offset;
    aheadAsked_ = ahead_.size();
    ahead_.resize(static_cast<size_t>(got));
  }
  const int64_t from = offset - aheadStart_;
  const int64_t have = std::clamp<int64_t>(static_cast<int64_t>(ahead_.size()) - from, 0, static_cast<int64_t>(n));
  std::copy_n(ahead_.begin() + from, have, buf);
  return have;
}

void otkFileRWCtrl::FileAddress(std::string agAds) {
  if (!IsOpen()) address_ = std::move(agAds);
}

void otkFileRWCtrl::CurrentPoint(int64_t agPnt) {
  if (agPnt >= 1) point_ = agPnt;
}

int64_t otkFileRWCtrl::FileLength() const { return IsOpen() ? file_.Size() : -1; }

bool otkFileRWCtrl::ReadBytes(unsigned char* buf, size_t n) {
  const int64_t got = ReadAt(point_ - 1, buf, n);
  if (got < 0) return false;
  std::fill(buf + got, buf + n, 0);  // beyond the end reads as zero
  point_ += static_cast<int64_t>(n);
  return true;
}

bool otkFileRWCtrl::WriteBytes(const unsigned char* buf, size_t n) {
  ForgetReadAhead();
  if (!file_.WriteAt(point_ - 1, buf, n)) return false;
  point_ += static_cast<int64_t>(n);
  return true;
}

bool otkFileRWCtrl::GetInteger(int16_t& ouVal) {
  unsigned char b[2];
  if (!ReadBytes(b, 2)) return false;
  ouVal = static_cast<int16_t>(LoadLE(b, 2));
  return true;
}

bool otkFileRWCtrl::SetInteger(int16_t agVal) {
  unsigned char b[2];
  StoreLE(static_cast<uint16_t>(agVal), b, 2);
  return WriteBytes(b, 2);
}

bool otkFileRWCtrl::GetLong(int32_t& ouVal) {
  unsigned char b[4];
  if (!ReadBytes(b, 4)) return false;
  ouVal = static_cast<int32_t>(static_cast<uint32_t>(LoadLE(b, 4)));
  return true;
}

bool otkFileRWCtrl::SetLong(int32_t agVal) {
  unsigned char b[4];
  StoreLE(static_cast<uint32_t>(agVal), b, 4);
  return WriteBytes(b, 4);
}

bool otkFileRWCtrl::GetDate(nw::Date& ouVal) {
  unsigned char b[8];
  if (!ReadBytes(b, 8)) return false;
  const uint64_t bits = LoadLE(b, 8);
  std::memcpy(&ouVal, &bits, 8);
  return true;
}

bool otkFileRWCtrl::SetDate(nw::Date agVal) {
  uint64_t bits;
  std::memcpy(&bits, &agVal, 8);
  unsigned char b[8];
  StoreLE(bits, b, 8);
  return WriteBytes(b, 8);
}

bool otkFileRWCtrl::GetBoolean(bool& ouVal) {
  int16_t v;
  if (!GetInteger(v)) return false;
  ouVal = v != 0;
  return true;
}

bool otkFileRWCtrl::SetBoolean(bool agVal) { return SetInteger(agVal ? -1 : 0); }

bool otkFileRWCtrl::GetStringChecking(int32_t agLimitLen, std::string& ouStr) {
  int32_t n;
  if (!GetLong(n) || n < 0 || n > agLimitLen) return false;
  return ReadText(n, ouStr);
}

bool otkFileRWCtrl::GetString(std::string& ouStr) {
  int32_t n;
  if (!GetLong(n) || n < 0) return false;
  return ReadText(n, ouStr);
}

// Reads `chars` characters. Only the bytes the file still holds are read: characters missing
// at the end read as zero bytes and are left out of the text.
bool otkFileRWCtrl::ReadText(int32_t chars, std::string& ouStr) {
  const int64_t size = file_.Size();
  if (size < 0) return false;
  const int64_t left = std::max<int64_t>(0, size - (point_ - 1));
  const auto want = static_cast<size_t>(std::min<int64_t>(2 * static_cast<int64_t>(chars), left));
  std::vector<unsigned char> buf(want);
  const int64_t got = want ? ReadAt(point_ - 1, buf.data(), want) : 0;
  if (got < 0) return false;
  const std::string_view bytes(reinterpret_cast<const char*>(buf.data()), static_cast<size_t>(got));
  const size_t used = nw::cp932::BytesOfChars(bytes, static_cast<size_t>(chars));
  const size_t missing = static_cast<size_t>(chars) - nw::cp932::CharCount(bytes.substr(0, used));
  ouStr = nw::cp932::ToUtf8(bytes.substr(0, used));
  point_ += static_cast<int64_t>(used + missing);
  return true;
}

bool otkFileRWCtrl::SetString(std::string_view agStr) {
  const std::string bytes = nw::cp932::FromUtf8(agStr);
  if (!SetLong(static_cast<int32_t>(nw::cp932::CharCount(bytes)))) return false;
  return WriteBytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}
