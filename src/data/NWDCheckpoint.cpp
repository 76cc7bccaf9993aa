#include "data/NWDCheckpoint.h"

#include <cstring>
#include <exception>

#include "classlib/otkFileString.h"
#include "data/NWDVerCheck.h"

namespace nw {

namespace {

// FNV-1a over the little-endian bytes of each field, as the file holds them.
class Check {
 public:
  void Add(uint64_t bits, int bytes) {
    for (int i = 0; i < bytes; ++i) {
      hash_ ^= static_cast<uint8_t>(bits >> (8 * i));
      hash_ *= 16777619u;
    }
  }
  int32_t Value() const { return static_cast<int32_t>(hash_); }

 private:
  uint32_t hash_ = 2166136261u;
};

uint64_t BitsOf(Date d) {
  uint64_t bits = 0;
  std::memcpy(&bits, &d, sizeof bits);
  return bits;
}

class FieldWriter {
 public:
  explicit FieldWriter(otkFileRWCtrl& f) : f_(f) {}
  bool DateField(Date& v) {
    check_.Add(BitsOf(v), 8);
    return f_.SetDate(v);
  }
  bool LongField(int32_t& v) {
    check_.Add(static_cast<uint32_t>(v), 4);
    return f_.SetLong(v);
  }
  bool BoolField(bool& v) {
    check_.Add(v ? 0xFFFFu : 0u, 2);
    return f_.SetBoolean(v);
  }
  const Check& Sum() const { return check_; }

 private:
  otkFileRWCtrl& f_;
  Check check_;
};

class FieldReader {
 public:
  explicit FieldReader(otkFileRWCtrl& f) : f_(f) {}
  bool DateField(Date& v) {
    if (!f_.GetDate(v)) return false;
    check_.Add(BitsOf(v), 8);
    return true;
  }
  bool LongField(int32_t& v) {
    if (!f_.GetLong(v)) return false;
    check_.Add(static_cast<uint32_t>(v), 4);
    return true;
  }
  bool BoolField(bool& v) {
    int16_t raw = 0;  // read as stored, so the check covers the exact bytes
    if (!f_.GetInteger(raw)) return false;
    check_.Add(static_cast<uint16_t>(raw), 2);
    v = raw != 0;
    return true;
  }
  const Check& Sum() const { return check_; }

 private:
  otkFileRWCtrl& f_;
  Check check_;
};

// One field list for both directions.
template <class Visitor>
bool VisitFields(Visitor& v, ConnectionCheckpoint& c) {
  return v.DateField(c.Written) && v.DateField(c.MonitorStart) && v.DateField(c.ConnectionStart) &&
         v.DateField(c.TodayStart) && v.DateField(c.UserStart) && v.BoolField(c.DialRecordOpen) &&
         v.DateField(c.Counters.TodayDate) && v.LongField(c.Counters.TodaySeconds) &&
         v.LongField(c.Counters.TodayCount) && v.DateField(c.Counters.UserRenewTime) &&
         v.LongField(c.Counters.UserSeconds) && v.LongField(c.Counters.UserCount);
}

// Times a running connection can have: real dates, every start at or before the checkpoint, the
// running part short enough to count in a Long, and the "today" part within the counters' day.
bool Plausible(const ConnectionCheckpoint& c) {
  for (Date d : {c.Written, c.MonitorStart, c.ConnectionStart, c.TodayStart, c.UserStart, c.Counters.TodayDate,
                 c.Counters.UserRenewTime})
    if (!IsValidDate(d)) return false;
  for (Date start : {c.MonitorStart, c.ConnectionStart, c.TodayStart, c.UserStart}) {
    const int64_t running = SecondsBetween(start, c.Written);
    if (running < 0 || running > INT32_MAX) return false;
  }
  const int64_t day = ToSeconds(c.Counters.TodayDate);
  if (ToSeconds(c.TodayStart) < day || ToSeconds(DateOf(c.Written)) != day) return false;
  // A counter set lower in the settings dialog while connected is stored negative: the running
  // part makes up the difference.
  return c.Counters.TodayCount >= 0 && c.Counters.UserCount >= 0 &&
         c.Counters.TodaySeconds + SecondsBetween(c.TodayStart, c.Written) >= 0 &&
         c.Counters.UserSeconds + SecondsBetween(c.UserStart, c.Written) >= 0;
}

}  // namespace

bool SaveCheckpoint(const ConnectionCheckpoint& cp) {
  ConnectionCheckpoint c = cp;
  try {
    return ReplaceDataFile(AppPath(kCheckpointFileName), kCheckpointKindTag, kCheckpointVersion,
                           [&c](otkFileRWCtrl& f) {
                             FieldWriter w(f);
                             return VisitFields(w, c) && f.SetLong(w.Sum().Value());
                           });
  } catch (const std::exception&) {  // out of memory: the older checkpoint stays
    return false;
  }
}

bool LoadCheckpoint(ConnectionCheckpoint& ou) {
  const std::string path = AppPath(kCheckpointFileName);
  if (otkFileString::FileKindOf(path) != 1) return false;  // never create one by looking
  otkFileRWCtrl f;
  f.FileAddress(path);
  if (!f.OpenForBinary()) return false;
  if (CheckHeader(f, kCheckpointKindTag, kCheckpointVersion) != HeaderSame) return false;
  ConnectionCheckpoint c;
  FieldReader r(f);
  int32_t stored = 0;
  if (!VisitFields(r, c) || !f.GetLong(stored)) return false;
  // Bytes beyond the end read as zero: the length tells a file cut short or with a tail.
  if (stored != r.Sum().Value() || f.FileLength() != f.CurrentPoint() - 1 || !Plausible(c)) return false;
  ou = c;
  return true;
}

void RemoveCheckpoint() { otkFileString::DeleteFileAt(AppPath(kCheckpointFileName)); }

}  // namespace nw
