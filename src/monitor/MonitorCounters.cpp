// The "today" and user-defined counters: accumulation, renewal, manual resets, the renewal
// schedule and their boxes on the main window.
#include <algorithm>

#include "classlib/otkDateFormat.h"
#include "monitor/Monitor.h"
#include "monitor/RenewalSchedule.h"

namespace nw {

namespace {
int32_t Secs(Date from, Date to) { return static_cast<int32_t>(SecondsBetween(from, to)); }
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

void Monitor::CloseConnectionInCounters(Date now) {
  counters_.TodaySeconds += Secs(todayStart_, now);
  counters_.TodayCount += 1;
  if (settings_.UserRenew) {
    counters_.UserSeconds += Secs(userStart_, now);
    counters_.UserCount += 1;
  }
}

void Monitor::CheckCounterRenewal() {
  const Date now = cycleNow_;
  bool changed = false;
  const Date day = DateOf(now);
  if (day != counters_.TodayDate) {
    // A connection running across midnight is cut at the end of the old day: the part before goes
    // into the old day's record, the new day counts from midnight, so no second is counted twice.
    const Date cut = Within(counters_.TodayDate + 1, todayStart_, now);
    if (settings_.LTdaySave && counters_.TodayDate != 0) {
      const int32_t running = lineConnected_ ? std::max(0, Secs(todayStart_, cut)) : 0;
      store_.AppendCounterRecord(LogToday, counters_.TodayDate + 1, counters_.TodaySeconds + running,
                                 counters_.TodayCount);
    }
    todayStart_ = day;
    counters_.TodaySeconds = 0;
    counters_.TodayCount = 0;
    counters_.TodayDate = day;
    marks_.AtCutDone = false;
    changed = true;
  }
  if (settings_.UserRenew && ToSeconds(now) >= ToSeconds(counters_.UserRenewTime)) {
    const Date periodStart = ComputeRenewalMoment(now, 0);
    // Same cut for the user period: the running part up to the new period's start (never before
    // the connection began nor after now) goes into the record.
    const Date cut = Within(periodStart, userStart_, now);
    if (settings_.LUserSave && counters_.UserRenewTime != 0) {
      const int32_t running = lineConnected_ ? std::max(0, Secs(userStart_, cut)) : 0;
      store_.AppendCounterRecord(LogUser, counters_.UserRenewTime, counters_.UserSeconds + running,
                                 counters_.UserCount);
    }
    counters_.UserSeconds = 0;
    counters_.UserCount = 0;
    userStart_ = lineConnected_ ? cut : periodStart;
    counters_.UserRenewTime = ComputeRenewalMoment(now, settings_.RenewFreq);
    marks_.AuCutDone = false;
    changed = true;
  }
  if (changed) RedrawIdleCounters();
}

// A reset writes its history record at once, so the counters it cleared are saved at once too.
void Monitor::ResetTodayCounter() {
  const Date now = clock_.Now();
  ResetTodayCounterAt(now);
  KeepCountersSafe(now, false);
}

void Monitor::ResetUserCounter() {
  const Date now = clock_.Now();
  ResetUserCounterAt(now);
  KeepCountersSafe(now, false);
}

void Monitor::ResetTodayCounterAt(Date now) {
  // TodayDate 0 means no day was ever counted: there is nothing to record.
  if (settings_.LTdaySave && counters_.TodayDate != 0) {
    const int32_t running = lineConnected_ ? Secs(todayStart_, now) : 0;
    store_.AppendCounterRecord(LogToday, counters_.TodayDate + 1, counters_.TodaySeconds + running,
                               counters_.TodayCount);
  }
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
  if (settings_.LUserSave && counters_.UserRenewTime != 0) {
    const int32_t running = lineConnected_ ? Secs(userStart_, now) : 0;
    store_.AppendCounterRecord(LogUser, counters_.UserRenewTime, counters_.UserSeconds + running,
                               counters_.UserCount);
  }
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
  if (DateOf(agNow) != counters_.TodayDate) {
    ResetTodayCounterAt(agNow);
    counters_.TodayDate = DateOf(agNow);
  }
  // Compared in whole seconds: dates built by different routes may differ in the last bits.
  const int64_t renew = ToSeconds(counters_.UserRenewTime);
  if (renew <= ToSeconds(agNow) || ToSeconds(ComputeRenewalMoment(agNow, settings_.RenewFreq)) < renew) {
    ResetUserCounterAt(agNow);
    // A running connection never starts counting in the future.
    userStart_ = ComputeRenewalMoment(agNow, 0);
    if (lineConnected_ && userStart_ > agNow) userStart_ = agNow;
    counters_.UserRenewTime = ComputeRenewalMoment(agNow, settings_.RenewFreq);
  }
}

}  // namespace nw
