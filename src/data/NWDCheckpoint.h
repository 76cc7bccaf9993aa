#pragma once
// NwdRun.dat: the running connection, written beside NwdUtil.dat while the line is up, so a crash
// or a power cut loses at most the time since the last write. It exists only while a connection
// runs; a normal disconnection or shut-down removes it, so one found at start-up means the last
// run did not end.
//
// Layout: the data-file header (kind "Orvin.T.K. NetWardRunningConnection", version 1), then
//   Date Written, MonitorStart, ConnectionStart, TodayStart, UserStart; Boolean DialRecordOpen;
//   the counters as NwdUtil.dat stores them (Date TodayDate, Long TodaySeconds, Long TodayCount,
//   Date UserRenewTime, Long UserSeconds, Long UserCount);
//   Long Check: FNV-1a of the bytes of every field from Written to UserCount.
// Nothing follows. A file that differs in any of this is not a checkpoint.
#include <cstdint>
#include <string_view>

#include "classlib/DateValue.h"
#include "data/NWDGlobal.h"

namespace nw {

inline constexpr std::string_view kCheckpointFileName = "NwdRun.dat";
inline constexpr std::string_view kCheckpointKindTag = "Orvin.T.K. NetWardRunningConnection";
inline constexpr int16_t kCheckpointVersion = 1;

struct ConnectionCheckpoint {
  Date Written = 0;          // the counted part of the connection ends here
  Date MonitorStart = 0;     // of the run that saw the connection (its dial record's first field)
  Date ConnectionStart = 0;  // when the line was seen to come up
  Date TodayStart = 0;       // where the running part of each counter begins
  Date UserStart = 0;
  bool DialRecordOpen = false;  // the connection's dial record was begun and still has no end
  CounterBlock Counters;        // without the running part: what NwdUtil.dat holds meanwhile
  bool operator==(const ConnectionCheckpoint&) const = default;
};

// Replaces NwdRun.dat in one step. False (any old file kept) when it cannot be written.
bool SaveCheckpoint(const ConnectionCheckpoint& cp);
// False when there is no NwdRun.dat or it is not a valid checkpoint (damaged, cut short, foreign,
// another version, impossible times); `ou` is untouched then.
bool LoadCheckpoint(ConnectionCheckpoint& ou);
void RemoveCheckpoint();

}  // namespace nw
