#include "monitor/VolumeCounters.h"

namespace nw {

void VolumeCounters::StartConnection(Date start) {
  b_.ConnectionStart = start;
  b_.Connection = {};
  b_.TodayRunning = {};
  b_.UserRunning = {};
}

void VolumeCounters::Add(VolumeAmount amount, bool userCounts) {
  if (!Running()) return;  // no connection to count for
  b_.Connection += amount;
  b_.TodayRunning += amount;
  if (userCounts) b_.UserRunning += amount;
}

VolumeAmount VolumeCounters::CloseConnection(bool userCounts) {
  const VolumeAmount whole = b_.Connection;
  b_.Today += b_.TodayRunning;
  if (userCounts) b_.User += b_.UserRunning;
  b_.ConnectionStart = 0;
  b_.Connection = {};
  b_.TodayRunning = {};
  b_.UserRunning = {};
  return whole;
}

bool VolumeCounters::RecoverRunning(bool userCounts) {
  if (!Running()) return false;
  CloseConnection(userCounts);
  return true;
}

VolumeAmount VolumeCounters::RenewToday(Date day) {
  const VolumeAmount ended = TodayTotal();
  b_.Today = {};
  b_.TodayRunning = {};
  b_.TodayDate = day;
  return ended;
}

VolumeAmount VolumeCounters::RenewUser(Date nextRenewal) {
  const VolumeAmount ended = UserTotal();
  b_.User = {};
  b_.UserRunning = {};
  b_.UserRenewTime = nextRenewal;
  b_.Marks = {};
  return ended;
}

void VolumeCounters::UserCounterSwitched(bool on) {
  if (!on) b_.User += b_.UserRunning;
  b_.UserRunning = {};
}

bool VolumeCounters::AlignPeriods(const CounterBlock& time) {
  // Whole seconds: the two files' dates may differ in the last bits.
  const bool today = ToSeconds(b_.TodayDate) != ToSeconds(time.TodayDate);
  const bool user = ToSeconds(b_.UserRenewTime) != ToSeconds(time.UserRenewTime);
  if (today) RenewToday(time.TodayDate);
  if (user) RenewUser(time.UserRenewTime);
  return today || user;
}

}  // namespace nw
