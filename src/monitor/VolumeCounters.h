#pragma once
// The volume counters beside the time counters: the running connection, the "今日" period and the
// user period, sent and received each. They work on the VolumeCounterBlock that NwdUtil.vol keeps
// and are called next to the time counters' operations:
//
//   line comes up               StartConnection(CycleNow)
//   each cycle while connected  Add(meter.Take(source.Read()).Amount, UserRenew)   (after renewals)
//   line goes down / shut-down  CloseConnection(UserRenew) -> the connection's amount for the
//                               status line and RecordDialVolume
//   "今日" renews / is reset     RenewToday(day) / ResetToday() -> the record's amount for
//                               RecordCounterVolume(kTodayLog, ...)
//   user period renews / reset  RenewUser(next) / ResetUser() -> likewise for kUserLog
//   UserRenew switched          UserCounterSwitched(on)
//   start-up                    AlignPeriods(CounterBlock), then RecoverRunning() before the
//                               start-up re-anchoring (which renews as the time counters do)
//
// A renewal closes the running connection's part so far into the old period's record; the
// connection then counts for the new period from there, so no byte is counted twice. The amount of
// the cycle that crosses the boundary goes to the new period (the renewal runs before the probe).
// Clock changes do not move any amount: only the renewals they cause do.
#include "data/NWDGlobal.h"
#include "data/NWDVolumeFile.h"

namespace nw {

class VolumeCounters {
 public:
  explicit VolumeCounters(VolumeCounterBlock& block) : b_(block) {}

  void StartConnection(Date start);
  // Bytes of this cycle; they count for the user period only while its counter runs.
  void Add(VolumeAmount amount, bool userCounts);
  // Adds the running parts into the periods (the user part only while its counter runs) and
  // returns the whole connection's amount.
  VolumeAmount CloseConnection(bool userCounts);
  // A connection left running by a run that did not end: closed as saved. False when none was.
  bool RecoverRunning(bool userCounts);

  // The period's totals with the running part; what the record of a renewal or reset gets.
  VolumeAmount TodayTotal() const { return b_.Today + b_.TodayRunning; }
  VolumeAmount UserTotal() const { return b_.User + b_.UserRunning; }
  VolumeAmount Connection() const { return b_.Connection; }
  bool Running() const { return b_.ConnectionStart != 0; }

  // Renewal: returns the ended period's total and starts the new one (`day`: the new TodayDate;
  // `nextRenewal`: the new UserRenewTime). The user renewal also clears the quota marks.
  VolumeAmount RenewToday(Date day);
  VolumeAmount RenewUser(Date nextRenewal);
  // Manual reset: as a renewal, the period's key stays.
  VolumeAmount ResetToday() { return RenewToday(b_.TodayDate); }
  VolumeAmount ResetUser() { return RenewUser(b_.UserRenewTime); }

  // The user counter was switched on (counts from now) or off (the running part so far is kept).
  void UserCounterSwitched(bool on);

  // At start-up, after both files were read: a period whose key differs from the time counters'
  // belongs to another day or period (one file was saved, the other not): it starts empty, with the
  // time counters' key. True when anything changed.
  bool AlignPeriods(const CounterBlock& time);

  const VolumeCounterBlock& Block() const { return b_; }

 private:
  VolumeCounterBlock& b_;
};

}  // namespace nw
