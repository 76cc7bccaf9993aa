#pragma once
// The volume of each history record, in files of their own beside the three logs (whose layouts
// stay as they are): NwdDial.vol, NwdTday.vol, NwdUser.vol. An entry belongs to a record by the
// record's slot and its key date: DialStart for a connection, ResetDate for a counter period. When
// the ring reuses a slot, the new record has another key, so an old entry is never shown against it.
//
// Layout: the data-file header (kind tag below, version 1), then the body: Long Count (0 to 1000),
// Count entries in rising slot order, each Long Slot, Date Key, Quad Sent, Quad Received (28 bytes);
// then Long Check, the CRC-32 of the body (NWDCheckedBody.h). Written anew in one step each time.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/DateValue.h"
#include "data/NWDCheckedBody.h"
#include "data/NWDLogFiles.h"
#include "data/VolumeAmount.h"

namespace nw {

struct VolumeLogKind {
  std::string_view FileName;
  std::string_view KindTag;
};
inline constexpr int16_t kVolumeLogVersion = 1;
inline constexpr VolumeLogKind kDialVolume{"NwdDial.vol", "Orvin.T.K. NetWardSaveDialVolume"};
inline constexpr VolumeLogKind kTodayVolume{"NwdTday.vol", "Orvin.T.K. NetWardSaveTodayVolume"};
inline constexpr VolumeLogKind kUserVolume{"NwdUser.vol", "Orvin.T.K. NetWardSaveUserVolume"};

// The volume file beside a history log (kDialLog, kTodayLog or kUserLog).
const VolumeLogKind& VolumeLogFor(const LogFileKind& log);

// The entries of one volume file, read once for a list fill or changed and written back.
class VolumeLog {
 public:
  VolumeLog() : entries_(kLogCapacity) {}

  // Missing and Damaged leave the log empty (Damaged: the caller writes a status line).
  CheckedFileState Load(const VolumeLogKind& kind);
  // Replaces the file in one step; false (the old file untouched) when it cannot be written.
  bool Save(const VolumeLogKind& kind) const;

  // The volume of the record in `slot` whose key date is `key`; nothing for another record's entry.
  std::optional<VolumeAmount> Find(int32_t slot, Date key) const;
  void Set(int32_t slot, Date key, VolumeAmount amount);
  // Adds to the entry of the same record (a counter record merged with the newest one of the same
  // ResetDate); replaces another record's entry.
  void Merge(int32_t slot, Date key, VolumeAmount amount);
  // After the record's key date was edited: the entry follows it. False when there was none.
  bool Rekey(int32_t slot, Date oldKey, Date newKey);
  void Clear(int32_t slot);

 private:
  struct Entry {
    Date Key = 0;  // 0: no entry
    VolumeAmount Amount;
  };
  std::vector<Entry> entries_;
};

// What a record write came to: Written false when the history record was not found (its log is not
// kept, or it was not written) or the file could not be written; Damaged when the volume file was
// found damaged and started empty.
struct VolumeRecordWrite {
  bool Written = false;
  bool Damaged = false;
};

// After EndDialRecord / FinishDialRecord: the connection's volume, at the dial record whose DialStart is
// `dialStart` (the newest, or the open slot when the end was not written).
VolumeRecordWrite RecordDialVolume(Date dialStart, VolumeAmount amount);
// After AppendCounterRecord (kTodayLog or kUserLog): the period's volume, at the newest record when its
// ResetDate is `resetDate`, added to what that record already has (the same merge as the record's).
VolumeRecordWrite RecordCounterVolume(const LogFileKind& log, Date resetDate, VolumeAmount amount);

}  // namespace nw
