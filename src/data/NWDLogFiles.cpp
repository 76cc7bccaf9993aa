#include "data/NWDLogFiles.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "data/NWDGlobal.h"
#include "data/NWDVerCheck.h"

namespace nw {

namespace {

// Wrapped (2 bytes) and NextSlot (4 bytes) sit right before the record area.
constexpr int64_t kRingStateBytes = 6;

bool OpenLog(otkFileRWCtrl& file, const LogFileKind& kind, LogRing& ring) {
  file.FileAddress(AppPath(kind.FileName));
  const bool open = file.OpenForBinary();
  ring = {};
  OpenLogFile(file, kind.KindTag, kind.Version, ring.NextSlot, ring.DataStart, ring.Wrapped);
  return open;
}

// Writes the ring state after slot NextSlot was filled: the next slot, wrapping at `capacity`.
void Advance(otkFileRWCtrl& file, const LogRing& ring, int32_t capacity) {
  int32_t next = ring.NextSlot + 1;
  bool wrapped = ring.Wrapped;
  if (next >= capacity) {
    next = 0;
    wrapped = true;
  }
  file.CurrentPoint(ring.DataStart - kRingStateBytes);
  file.SetBoolean(wrapped);
  file.SetLong(next);
}

}  // namespace

void OpenLogFile(otkFileRWCtrl& file, std::string_view kindTag, int16_t version, int32_t& ouNextSlot,
                 int64_t& ouDataStart, bool& ouWrapped) {
  if (CheckHeader(file, kindTag, version) == HeaderSame) {
    bool wrapped = false;
    int32_t next = 0;
    file.GetBoolean(wrapped);
    file.GetLong(next);
    // A slot outside the ring would send the writer anywhere in the file (even over the header).
    if (next >= 0 && next < kLogCapacity) {
      ouWrapped = wrapped;
      ouNextSlot = next;
      ouDataStart = file.CurrentPoint();
      return;
    }
  }
  file.CurrentPoint(1);
  WriteHeader(file, kindTag, version);
  ouWrapped = false;
  file.SetBoolean(false);
  if (ouNextSlot < 0 || ouNextSlot >= kLogCapacity) ouNextSlot = 0;
  file.SetLong(ouNextSlot);
  ouDataStart = file.CurrentPoint();
}

void StartDialRecord(Date monitorStart, Date connectionStart) {
  otkFileRWCtrl file;
  LogRing ring;
  if (!OpenLog(file, kDialLog, ring)) return;
  file.CurrentPoint(ring.DataStart + static_cast<int64_t>(ring.NextSlot) * kDialLog.RecordSize);
  file.SetDate(monitorStart);
  file.SetDate(connectionStart);
}

void EndDialRecord(Date connectionEnd) {
  otkFileRWCtrl file;
  LogRing ring;
  if (!OpenLog(file, kDialLog, ring)) return;
  file.CurrentPoint(ring.DataStart + static_cast<int64_t>(ring.NextSlot) * kDialLog.RecordSize + 16);
  if (!file.SetDate(connectionEnd)) return;
  Advance(file, ring, kLogCapacity);
}

bool FinishDialRecord(Date connectionStart, Date connectionEnd) {
  otkFileRWCtrl file;
  LogRing ring;
  if (!OpenLog(file, kDialLog, ring)) return false;
  const int64_t slot = ring.DataStart + static_cast<int64_t>(ring.NextSlot) * kDialLog.RecordSize;
  Date started = 0;
  file.CurrentPoint(slot + 8);
  if (!file.GetDate(started) || started != connectionStart) return false;
  if (!file.SetDate(connectionEnd)) return false;
  Advance(file, ring, kLogCapacity);
  return true;
}

void AppendCounterRecord(std::string_view fileName, std::string_view kindTag, int16_t version, int32_t capacity,
                         Date resetDate, int32_t plusTime, int32_t plusCount) {
  if (resetDate == 0) return;
  const LogFileKind kind{fileName, kindTag, version, 16};
  otkFileRWCtrl file;
  LogRing ring;
  if (!OpenLog(file, kind, ring)) return;
  if (capacity < 1 || capacity > kLogCapacity) capacity = kLogCapacity;

  // The newest record: in a wrapped ring at NextSlot 0 that is the last slot, not slot 0 (which
  // holds the oldest). An empty log has none; its slot 0 may still hold a record of the log
  // before it was re-initialised, which no longer counts.
  const bool empty = ring.NextSlot == 0 && !ring.Wrapped;
  const int32_t last = ring.NextSlot > 0 ? ring.NextSlot - 1 : capacity - 1;
  Date lastReset = 0;
  if (!empty) {
    file.CurrentPoint(ring.DataStart + static_cast<int64_t>(last) * kind.RecordSize);
    file.GetDate(lastReset);
  }
  if (!empty && lastReset == resetDate) {
    // A manual reset and the renewal of the same period end up as one record.
    int32_t time = 0, count = 0;
    file.GetLong(time);
    file.GetLong(count);
    ring.NextSlot = last;
    plusTime = SaturatingAdd(plusTime, time);
    plusCount = SaturatingAdd(plusCount, count);
  }
  file.CurrentPoint(ring.DataStart + static_cast<int64_t>(ring.NextSlot) * kind.RecordSize);
  const bool written = file.SetDate(resetDate) && file.SetLong(plusTime) && file.SetLong(plusCount);
  if (written) Advance(file, ring, capacity);
}

int32_t RecordCount(const LogRing& ring) { return ring.Wrapped ? kLogCapacity - 1 : ring.NextSlot; }

int32_t SlotNewestFirst(const LogRing& ring, int32_t i) {
  if (i < 0 || i >= RecordCount(ring)) return -1;
  return ((ring.NextSlot - 1 - i) % kLogCapacity + kLogCapacity) % kLogCapacity;
}

int32_t SlotOldestFirst(const LogRing& ring, int32_t i) {
  const int32_t n = RecordCount(ring);
  return (i < 0 || i >= n) ? -1 : SlotNewestFirst(ring, n - 1 - i);
}

bool HistoryLog::Open(const LogFileKind& kind) {
  kind_ = kind;
  return OpenLog(file_, kind, ring_);
}

bool HistoryLog::Seek(int32_t slot, int32_t recordSize) {
  if (slot < 0 || slot >= kLogCapacity || !file_.IsOpen() || recordSize != kind_.RecordSize) return false;
  file_.CurrentPoint(ring_.DataStart + static_cast<int64_t>(slot) * recordSize);
  return true;
}

bool HistoryLog::ReadDial(int32_t slot, DialRecord& ou) {
  DialRecord r;
  if (!Seek(slot, 24) || !file_.GetDate(r.ExeStart) || !file_.GetDate(r.DialStart) || !file_.GetDate(r.DialEnd))
    return false;
  ou = r;
  return true;
}

bool HistoryLog::ReadCounter(int32_t slot, CounterRecord& ou) {
  CounterRecord r;
  if (!Seek(slot, 16) || !file_.GetDate(r.ResetDate) || !file_.GetLong(r.PlusTime) || !file_.GetLong(r.PlusCount))
    return false;
  ou = r;
  return true;
}

namespace {

uint64_t Bits(const unsigned char* p, int bytes) {
  uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

Date DateAt(const unsigned char* p) {
  const uint64_t bits = Bits(p, 8);
  Date d;
  std::memcpy(&d, &bits, 8);
  return d;
}

int32_t LongAt(const unsigned char* p) { return static_cast<int32_t>(static_cast<uint32_t>(Bits(p, 4))); }

}  // namespace

template <class Record, class Decode>
bool HistoryLog::ReadRun(int32_t first, int32_t count, int32_t recordSize, std::vector<Record>& ou, Decode decode) {
  if (count < 0 || first + count > kLogCapacity || (count > 0 && !Seek(first, recordSize))) return false;
  std::vector<unsigned char> bytes(static_cast<size_t>(count) * static_cast<size_t>(recordSize));
  if (!file_.ReadBytes(bytes.data(), bytes.size())) return false;
  ou.clear();
  ou.reserve(static_cast<size_t>(count));
  for (size_t at = 0; at < bytes.size(); at += static_cast<size_t>(recordSize)) ou.push_back(decode(&bytes[at]));
  return true;
}

bool HistoryLog::ReadDials(int32_t first, int32_t count, std::vector<DialRecord>& ou) {
  return ReadRun(first, count, 24, ou,
                 [](const unsigned char* p) { return DialRecord{DateAt(p), DateAt(p + 8), DateAt(p + 16)}; });
}

bool HistoryLog::ReadCounters(int32_t first, int32_t count, std::vector<CounterRecord>& ou) {
  return ReadRun(first, count, 16, ou,
                 [](const unsigned char* p) { return CounterRecord{DateAt(p), LongAt(p + 8), LongAt(p + 12)}; });
}

bool HistoryLog::WriteDial(int32_t slot, const DialRecord& rec) {
  return Seek(slot, 24) && file_.SetDate(rec.ExeStart) && file_.SetDate(rec.DialStart) && file_.SetDate(rec.DialEnd);
}

bool HistoryLog::WriteCounter(int32_t slot, const CounterRecord& rec) {
  return Seek(slot, 16) && file_.SetDate(rec.ResetDate) && file_.SetLong(rec.PlusTime) &&
         file_.SetLong(rec.PlusCount);
}

}  // namespace nw
