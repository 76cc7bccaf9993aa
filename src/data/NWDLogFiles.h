#pragma once
// The three history logs: rings of 1000 fixed-size record slots behind the data-file header,
// Wrapped (Boolean) and NextSlot (Long). Every operation opens the file, works and closes it.
#include <cstdint>
#include <string_view>
#include <vector>

#include "classlib/DateValue.h"
#include "classlib/otkFileRWCtrl.h"

namespace nw {

inline constexpr int32_t kLogCapacity = 1000;

struct LogFileKind {
  std::string_view FileName;
  std::string_view KindTag;
  int16_t Version;
  int32_t RecordSize;
};

inline constexpr LogFileKind kDialLog{"NwdDial.log", "Orvin.T.K. NetWardSaveDialLog", 1, 24};
inline constexpr LogFileKind kTodayLog{"NwdTday.log", "Orvin.T.K. NetWardSaveTodayLog", 0, 16};
inline constexpr LogFileKind kUserLog{"NwdUser.log", "Orvin.T.K. NetWardSaveUserLog", 0, 16};

// The log a history list shows: 0 connections, 1 "今日" counter, 2 user-defined counter; the
// graph (3) draws the "今日" counter log.
inline const LogFileKind& LogFileKindFor(int logListKind) {
  return logListKind == 0 ? kDialLog : logListKind == 2 ? kUserLog : kTodayLog;
}

// One connection.
struct DialRecord {
  Date ExeStart = 0;   // when monitoring started
  Date DialStart = 0;  // when the line was seen to come up
  Date DialEnd = 0;    // when it was seen to go down
  bool operator==(const DialRecord&) const = default;
};

// One completed counter period.
struct CounterRecord {
  Date ResetDate = 0;  // when the period ended
  int32_t PlusTime = 0;
  int32_t PlusCount = 0;
  bool operator==(const CounterRecord&) const = default;
};

// Behind a valid header: reads Wrapped and NextSlot. Otherwise (missing, foreign, other version,
// damaged header or a NextSlot outside the ring) re-initialises the log as empty, writing the
// header, Wrapped false and the caller's NextSlot. `file` is open at position 1.
void OpenLogFile(otkFileRWCtrl& file, std::string_view kindTag, int16_t version, int32_t& ouNextSlot,
                 int64_t& ouDataStart, bool& ouWrapped);

// The first two fields of slot NextSlot of NwdDial.log; NextSlot is not advanced.
void StartDialRecord(Date monitorStart, Date connectionStart);
// The end of that record, then the ring advances.
void EndDialRecord(Date connectionEnd);
// The end of a record begun by a run that did not end: only when the open slot still holds that
// connection's start (nothing was dialled since), then the ring advances. False otherwise.
bool FinishDialRecord(Date connectionStart, Date connectionEnd);
// Adds a counter record, merged with the newest one when it has the same ResetDate exactly.
// Nothing happens for resetDate 0.
void AppendCounterRecord(std::string_view fileName, std::string_view kindTag, int16_t version, int32_t capacity,
                         Date resetDate, int32_t plusTime, int32_t plusCount);
inline void AppendCounterRecord(const LogFileKind& kind, Date resetDate, int32_t plusTime, int32_t plusCount) {
  AppendCounterRecord(kind.FileName, kind.KindTag, kind.Version, kLogCapacity, resetDate, plusTime, plusCount);
}

// Where the records of an opened log are.
struct LogRing {
  bool Wrapped = false;
  int32_t NextSlot = 0;
  int64_t DataStart = 0;
};

// Records a reader shows: NextSlot of them, or 999 once wrapped (slot NextSlot is being reused).
int32_t RecordCount(const LogRing& ring);
// The slot of the i-th record counted from the newest (0) or from the oldest (0); -1 when i is
// not below RecordCount.
int32_t SlotNewestFirst(const LogRing& ring, int32_t i);
int32_t SlotOldestFirst(const LogRing& ring, int32_t i);

// A log opened for one list fill or one edit: read or rewrite single records in place.
class HistoryLog {
 public:
  // Opens the log in the program folder (creating or re-initialising it as OpenLogFile does).
  // False when the file cannot be opened.
  bool Open(const LogFileKind& kind);
  void Close() { file_.CloseFile(); }
  const LogRing& Ring() const { return ring_; }

  bool ReadDial(int32_t slot, DialRecord& ou);
  bool ReadCounter(int32_t slot, CounterRecord& ou);
  // `count` consecutive slots from `first` on (first + count at most 1000), in one read.
  bool ReadDials(int32_t first, int32_t count, std::vector<DialRecord>& ou);
  bool ReadCounters(int32_t first, int32_t count, std::vector<CounterRecord>& ou);
  // Rewrites the fields of a slot; Wrapped and NextSlot stay as they are.
  bool WriteDial(int32_t slot, const DialRecord& rec);
  bool WriteCounter(int32_t slot, const CounterRecord& rec);

 private:
  bool Seek(int32_t slot, int32_t recordSize);
  template <class Record, class Decode>
  bool ReadRun(int32_t first, int32_t count, int32_t recordSize, std::vector<Record>& ou, Decode decode);
  otkFileRWCtrl file_;
  LogFileKind kind_ = kDialLog;
  LogRing ring_;
};

}  // namespace nw
