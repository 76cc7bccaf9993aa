#pragma once
// NwdUtil.vol: the data-volume settings (the quota) and the volume counters, beside NwdUtil.dat,
// whose layout stays as other tools and older versions read it.
//
// Layout: the data-file header (kind "Orvin.T.K. NetWardSaveVolume", version 1), then the body:
//   Boolean QuotaOn; Quad Allowance; Integer AllowanceUnit; Integer WarnPercent1, WarnPercent2;
//   Integer AtFull; Boolean CountSent; String Adapter (at most 258 characters);
//   Date TodayDate; Quad TodaySent, TodayReceived;
//   Date UserRenewTime; Quad UserSent, UserReceived;
//   Boolean Warned1, Warned2, FullNoticed, Released;
//   Date ConnectionStart; Quad ConnectionSent, ConnectionReceived, TodayRunningSent,
//   TodayRunningReceived, UserRunningSent, UserRunningReceived;
//   Boolean hdSent, hdReceived, htSent, htReceived, huSent, huReceived, gphVolume, ExpVol (a body
//   that ends before them, as the first writers left it, keeps their defaults);
// then Long Check, the CRC-32 of the body (NWDCheckedBody.h). A Quad is 64-bit unsigned,
// little-endian. The file is always written anew in one step.
#include <cstdint>
#include <string>
#include <string_view>

#include "classlib/DateValue.h"
#include "data/NWDCheckedBody.h"
#include "data/VolumeAmount.h"

namespace nw {

inline constexpr std::string_view kVolumeFileName = "NwdUtil.vol";
inline constexpr std::string_view kVolumeKindTag = "Orvin.T.K. NetWardSaveVolume";
inline constexpr int16_t kVolumeFileVersion = 1;

inline constexpr uint64_t kMegabyte = uint64_t{1} << 20;
inline constexpr uint64_t kGigabyte = uint64_t{1} << 30;

// What happens when the user period's volume reaches the allowance.
enum class QuotaAction : int16_t {
  TellOnly = 0,
  // Hang up, and keep the line down (the lock's way) until the period renews or the user releases it.
  HangUpAndHold = 1,
};

struct QuotaSettings {
  bool QuotaOn = false;
  uint64_t Allowance = 10 * kGigabyte;  // bytes in the user period
  int16_t AllowanceUnit = 1;            // how the page shows it: 0 MB, 1 GB (1024-based)
  int16_t WarnPercent1 = 80;            // 1 to 100, the first below the second
  int16_t WarnPercent2 = 90;
  QuotaAction AtFull = QuotaAction::TellOnly;
  bool CountSent = true;  // the measure is sent + received; off: received only
  std::string Adapter;    // the interface the IP Helper source reads; empty: all that are up
  bool operator==(const QuotaSettings&) const = default;
};

// The announcements made in the present user period; cleared when it renews or is reset.
struct QuotaMarks {
  bool Warned1 = false;
  bool Warned2 = false;
  bool FullNoticed = false;
  bool Released = false;  // the user let the line up again after the allowance was reached
  bool operator==(const QuotaMarks&) const = default;
};

// The volume counterpart of CounterBlock, with the part of a running connection as last saved (so a
// run that did not end can add it, as the time checkpoint does for seconds).
struct VolumeCounterBlock {
  Date TodayDate = 0;      // the day Today belongs to (CounterBlock's TodayDate)
  VolumeAmount Today;      // closed connections of that day
  Date UserRenewTime = 0;  // the user period Today belongs to ends then (CounterBlock's UserRenewTime)
  VolumeAmount User;       // closed connections of the user period
  QuotaMarks Marks;
  Date ConnectionStart = 0;  // 0: no connection was running at the last save
  VolumeAmount Connection;   // the running connection so far
  VolumeAmount TodayRunning;  // its part not yet in Today (since it began or the day renewed)
  VolumeAmount UserRunning;   // its part not yet in User
  bool operator==(const VolumeCounterBlock&) const = default;
};

// The history windows' volume switches, kept here so that NwdUtil.dat keeps its layout: the sent
// and received columns of the three lists (named like the lists' other column flags) and what the
// graph's bars measure.
struct VolumeDisplaySettings {
  bool hdSent = true, hdReceived = true;
  bool htSent = true, htReceived = true;
  bool huSent = true, huReceived = true;
  bool gphVolume = false;  // the bars show the volume instead of the time
  bool ExpVol = false;     // the compact window shows the volume line
  bool operator==(const VolumeDisplaySettings&) const = default;
};

struct VolumeFileData {
  QuotaSettings Quota;
  VolumeCounterBlock Counters;
  VolumeDisplaySettings Display;
  bool operator==(const VolumeFileData&) const = default;
};

// Reads NwdUtil.vol into `ou`. Missing and Damaged leave `ou` at its defaults; on Damaged the monitor
// writes VolumeFileDamagedLine as a status line (the next save replaces the file).
CheckedFileState LoadVolumeFile(VolumeFileData& ou);
// Writes NwdUtil.vol anew in one step. False (the old file untouched) when it cannot be written.
bool SaveVolumeFile(const VolumeFileData& data);

// The process's one instance, beside the settings record (Global()): loaded at start-up, kept by the
// monitor, its Quota edited through the operation settings dialog's working copy.
VolumeFileData& VolumeGlobal();

// The status line for a volume file that was found damaged and starts empty.
std::string VolumeFileDamagedLine(std::string_view fileName);

}  // namespace nw
