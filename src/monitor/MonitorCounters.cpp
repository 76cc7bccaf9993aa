// The "today" and user-defined counters: accumulation, renewal, manual resets, the renewal
// schedule and their boxes on the main window.
#include <algorithm>

#include "classlib/otkDateFormat.h"
#include "monitor/Monitor.h"
#include "monitor/RenewalSchedule.h"

namespace nw {

namespace {
int32_t Secs(Date from, Date to) { return static_cast<int32_t>(SecondsBetween(from, to)); }
// Seconds a connection counts from `from` to `to`; never negative, whatever the clock did.
int32_t Elapsed(Date from, Date to) { return std::max(0, Secs(from, to)); }
// v kept within [lo, hi]; a start after hi (a clock set back) yields hi.
Date Within(Date v, Date lo, Date hi) { return std::min(std::max(v, lo), hi); }
}  // namespace

void Monitor::ExpressAcm(int32_t agIToday, int32_t agIUser, int32_t agCIval, bool force) {
  auto draw = [&](CounterBox box, int64_t seconds, int64_t count, bool grey) {
    BoxTexts& b = boxes_[box];
    std::string time = FormatDuration(seconds, settings_.FormatIval);
    std::string countText = std::to_string(count) + " 回";
    if (!force && b.Drawn && b.Grey == grey && time == b.Time && countText == b.Count) return;
    b.Time = std::move(time);
    b.Count = std::move(countText);
    b.Grey = grey;
    b.Drawn = true;
    view_.DrawCounterBox(box, b.Time, b.Count, grey);
  };
  draw(BoxToday, int64_t{counters_.TodaySeconds} + agIToday, int64_t{counters_.TodayCount} + agCIval, false);
  if (settings_.UserRenew) {
    draw(BoxUser, int64_t{counters_.UserSeconds} + agIUser, int64_t{counters_.UserCount} + agCIval, false);
  } else if (!boxes_[BoxUser].Drawn) {
    draw(BoxUser, int64_t{counters_.UserSeconds} + agIUser, int64_t{counters_.UserCount} + agCIval, true);
  } else if (force || !boxes_[BoxUser].Grey) {
    // Switched off: the box keeps its last texts, now in grey.
    BoxTexts& b = boxes_[BoxUser];
    b.Grey = true;
    view_.DrawCounterBox(BoxUser, b.Time, b.Count, true);
  }
}

void Monitor::RedrawIdleCounters() {
  const int mode = view_.DisplayMode();
  if (mode == 1)
    ExpressAcm(0, 0, 0);
  else if (mode == 2)
    view_.ExpressAcmComp(0, 0, 0);
}

int32_t Monitor::RunningPart(Date start, Date now) const { return lineConnected_ ? Elapsed(start, now) : 0; }

void Monitor::CloseConnectionInCounters(Date now) { AddRunningPart(now, 1); }

void Monitor::AddRunningPart(Date now, int32_t count) {
  counters_.TodaySeconds = SaturatingAdd(counters_.TodaySeconds, Elapsed(todayStart_, now));
  counters_.TodayCount = SaturatingAdd(counters_.TodayCount, count);
  if (settings_.UserRenew) {
    counters_.UserSeconds = SaturatingAdd(counters_.UserSeconds, Elapsed(userStart_, now));
    counters_.UserCount = SaturatingAdd(counters_.UserCount, count);
  }
}

void Monitor::RecordPeriod(LogListKind kind, Date date, int32_t seconds, Date start, Date end, int32_t count) {
  const int32_t total = SaturatingAdd(seconds, RunningPart(start, end));
  store_.AppendCounterRecord(kind, date, std::max(total, 0), std::max(count, 0));
}

// Like a renewal, the change cuts the connection: what was counted by the old clock stays counted
// (not yet as a connection), the rest counts from the new clock's time. The connection's own
// length keeps running by the ticks, so its time limit does not start again.
void Monitor::SplitConnectionAtClockChange(Date before, Date after) {
  AddRunningPart(before, 0);
  // The volume so far closes with the old record; the connection's volume counts on from here.
  const VolumeAmount part = volume_.CloseConnection(settings_.UserRenew);
  volume_.StartConnection(after);
  splitVolume_ += part;
  todayStart_ = after;
  userStart_ = after;
  connectionStart_ = AddSeconds(after, -Elapsed(connectionStart_, before));
  if (dialRecordOpen_) {
    store_.EndDialRecord(before);
    if (volumeMeasured_) RecordDialVolume(dialRecordStart_, part);
    store_.StartDialRecord(monitorStart_, after);
  }
  dialRecordStart_ = after;
}

// A connection running across a renewal is cut at the period boundary: the part before goes into
// the old period's record, the new period counts from the boundary, so no second is counted twice.
// After a clock set back there is no boundary between the connection and `now`; the cut is then
// `now` and the new period counts from there.
void Monitor::RenewTodayCounter(Date now) {
  const Date day = DateOf(now);
  const Date cut = Within(counters_.TodayDate + 1, todayStart_, now);
  const bool record = settings_.LTdaySave && counters_.TodayDate != 0;
  const Date key = counters_.TodayDate + 1;
  if (record) RecordPeriod(LogToday, key, counters_.TodaySeconds, todayStart_, cut, counters_.TodayCount);
  todayStart_ = lineConnected_ ? Within(day, cut, now) : day;
  counters_.TodaySeconds = 0;
  counters_.TodayCount = 0;
  counters_.TodayDate = day;
  const VolumeAmount ended = volume_.RenewToday(day);
  if (record) RecordCounterVolume(LogToday, key, ended);
  marks_.AtCutDone = false;
}

void Monitor::RenewUserCounter(Date now) {
  const Date periodStart = ComputeRenewalMoment(now, 0);
  const Date cut = Within(periodStart, userStart_, now);
  const bool record = settings_.LUserSave && counters_.UserRenewTime != 0;
  const Date key = counters_.UserRenewTime;
  if (record) RecordPeriod(LogUser, key, counters_.UserSeconds, userStart_, cut, counters_.UserCount);
  counters_.UserSeconds = 0;
  counters_.UserCount = 0;
  userStart_ = lineConnected_ ? Within(periodStart, cut, now) : periodStart;
  counters_.UserRenewTime = ComputeRenewalMoment(now, settings_.RenewFreq);
  const VolumeAmount ended = volume_.RenewUser(counters_.UserRenewTime);
  if (record) RecordCounterVolume(LogUser, key, ended);
  marks_.AuCutDone = false;
}

void Monitor::CheckCounterRenewal() {
  const Date now = cycleNow_;
  bool changed = false;
  if (DateOf(now) != counters_.TodayDate) {
    RenewTodayCounter(now);
    changed = true;
  }
  if (settings_.UserRenew && ToSeconds(now) >= ToSeconds(counters_.UserRenewTime)) {
    RenewUserCounter(now);
    changed = true;
  }
  if (changed) CountersRenewed(now);
}

// Saved here and not at the end of the cycle: a cycle whose probe fails, and the start-up, have
// no end that saves, and a crash would then record the same period a second time.
void Monitor::CountersRenewed(Date now) {
  RedrawIdleCounters();
  KeepCountersSafe(now, false);
  SaveVolume();
}

// A reset writes its history record at once, so the counters it cleared are saved at once too.
void Monitor::ResetTodayCounter() {
  const Date now = PresentTime();
  ResetTodayCounterAt(now);
  KeepCountersSafe(now, false);
  SaveVolume();
}

void Monitor::ResetUserCounter() {
  const Date now = PresentTime();
  ResetUserCounterAt(now);
  KeepCountersSafe(now, false);
  SaveVolume();
}

void Monitor::ResetTodayCounterAt(Date now) {
  // TodayDate 0 means no day was ever counted: there is nothing to record.
  const bool record = settings_.LTdaySave && counters_.TodayDate != 0;
  if (record)
    RecordPeriod(LogToday, counters_.TodayDate + 1, counters_.TodaySeconds, todayStart_, now, counters_.TodayCount);
  const VolumeAmount ended = volume_.ResetToday();
  if (record) RecordCounterVolume(LogToday, counters_.TodayDate + 1, ended);
  counters_.TodaySeconds = 0;
  counters_.TodayCount = 0;
  todayStart_ = now;
  marks_.AtCutDone = false;
  if (view_.DisplayMode() == 1) {
    BoxTexts& b = boxes_[BoxToday];
    b.Time = FormatDuration(0, settings_.FormatIval);
    b.Count = "0 回";
    b.Drawn = true;
    view_.DrawCounterBox(BoxToday, b.Time, b.Count, false);
  } else if (view_.DisplayMode() == 2) {
    view_.ExpressAcmComp(0, 0, 0);
  }
}

void Monitor::ResetUserCounterAt(Date now) {
  // UserRenewTime 0: no period was ever scheduled, nothing to record.
  const bool record = settings_.LUserSave && counters_.UserRenewTime != 0;
  if (record)
    RecordPeriod(LogUser, counters_.UserRenewTime, counters_.UserSeconds, userStart_, now, counters_.UserCount);
  const VolumeAmount ended = volume_.ResetUser();
  if (record) RecordCounterVolume(LogUser, counters_.UserRenewTime, ended);
  counters_.UserSeconds = 0;
  counters_.UserCount = 0;
  userStart_ = now;
  marks_.AuCutDone = false;
  if (view_.DisplayMode() == 1) {
    BoxTexts& b = boxes_[BoxUser];
    b.Time = FormatDuration(0, settings_.FormatIval);
    b.Count = "0 回";
    b.Drawn = true;
    b.Grey = !settings_.UserRenew;
    view_.DrawCounterBox(BoxUser, b.Time, b.Count, b.Grey);
  } else if (view_.DisplayMode() == 2) {
    view_.ExpressAcmComp(0, 0, 0);
  }
}

Date Monitor::ComputeRenewalMoment(Date now, int32_t k) const {
  CivilDateTime c;
  if (!ToCivil(now, c)) return now;
  Date moment = 0;  // 0 when the moment is not a valid date
  TryRenewalMoment(settings_, now, k, moment);
  return moment;
}

void Monitor::ApplyUserCounterState() {
  if (settings_.UserRenew != volumeUserOn_) {
    volume_.UserCounterSwitched(settings_.UserRenew);
    volumeUserOn_ = settings_.UserRenew;
  }
  if (settings_.UserRenew) {
    view_.SetUserCounterState("\"" + settings_.CounterName + "\" ｶｳﾝﾄﾘｾｯﾄ(&U)", true, settings_.CounterName, false);
    if (boxes_[BoxUser].Drawn && boxes_[BoxUser].Grey) {
      boxes_[BoxUser].Grey = false;
      view_.DrawCounterBox(BoxUser, boxes_[BoxUser].Time, boxes_[BoxUser].Count, false);
    }
  } else {
    view_.SetUserCounterState("ﾕｰｻﾞｰ定義は設定されていません", false, settings_.CounterName, true);
    BoxTexts& b = boxes_[BoxUser];
    b.Grey = true;
    if (b.Drawn) view_.DrawCounterBox(BoxUser, b.Time, b.Count, true);
  }
}

void Monitor::AnchorCounters(Date agNow) {
  // The same renewals as in the cycle, with the same cut of a running connection.
  bool changed = false;
  if (DateOf(agNow) != counters_.TodayDate) {
    RenewTodayCounter(agNow);
    changed = true;
  }
  // Compared in whole seconds: dates built by different routes may differ in the last bits.
  const int64_t renew = ToSeconds(counters_.UserRenewTime);
  if (renew <= ToSeconds(agNow) || ToSeconds(ComputeRenewalMoment(agNow, settings_.RenewFreq)) < renew) {
    RenewUserCounter(agNow);
    changed = true;
  }
  if (changed) CountersRenewed(agNow);
}

}  // namespace nw
