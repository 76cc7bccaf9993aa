#include "monitor/MonitorFiles.h"

#include <utility>

#include "data/ActivityLog.h"
#include "data/NWDLogFiles.h"

namespace nw {

MonitorFiles::MonitorFiles(SettingsFileData& data, std::function<LiveWindowState()> live)
    : data_(data), live_(std::move(live)) {}

void MonitorFiles::SaveCounterBlock(const CounterBlock& counters) {
  if (&counters != &data_.Counters) data_.Counters = counters;
  nw::SaveCounterBlock(data_, live_ ? live_() : LiveWindowState{});
}

void MonitorFiles::StartDialRecord(Date monitorStart, Date connectionStart) {
  nw::StartDialRecord(monitorStart, connectionStart);
}

void MonitorFiles::EndDialRecord(Date connectionEnd) { nw::EndDialRecord(connectionEnd); }

void MonitorFiles::AppendCounterRecord(LogListKind kind, Date resetDate, int32_t plusTime, int32_t plusCount) {
  nw::AppendCounterRecord(kind == LogUser ? kUserLog : kTodayLog, resetDate, plusTime, plusCount);
}

bool MonitorFiles::AppendActivityLine(const std::string& path, const std::string& text) {
  return nw::AppendActivityLine(path, text);
}

bool MonitorFiles::SaveCheckpoint(const ConnectionCheckpoint& cp) { return nw::SaveCheckpoint(cp); }

bool MonitorFiles::LoadCheckpoint(ConnectionCheckpoint& ou) { return nw::LoadCheckpoint(ou); }

void MonitorFiles::RemoveCheckpoint() { nw::RemoveCheckpoint(); }

void MonitorFiles::FinishDialRecord(Date connectionStart, Date connectionEnd) {
  nw::FinishDialRecord(connectionStart, connectionEnd);
}

bool MonitorFiles::SaveVolume(const VolumeFileData& data) { return SaveVolumeFile(data); }

VolumeRecordWrite MonitorFiles::RecordDialVolume(Date dialStart, VolumeAmount amount) {
  return nw::RecordDialVolume(dialStart, amount);
}

VolumeRecordWrite MonitorFiles::RecordCounterVolume(LogListKind kind, Date resetDate, VolumeAmount amount) {
  return nw::RecordCounterVolume(kind == LogUser ? kUserLog : kTodayLog, resetDate, amount);
}

}  // namespace nw
