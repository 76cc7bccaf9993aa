#include "monitor/MonitorFiles.h"

#include <utility>

#include "classlib/otkCodePage932.h"
#include "classlib/otkOsFile.h"
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
  if (path.empty() || os::KindOf(path) == 2) return false;
  os::File file = os::File::OpenOrCreate(path);
  if (!file.IsOpen()) return false;
  const int64_t end = file.Size();
  if (end < 0) return false;
  std::string bytes = cp932::FromUtf8(text);
  bytes += "\r\n";
  const bool ok = file.WriteAt(end, bytes.data(), bytes.size());
  file.Close();
  return ok;
}

}  // namespace nw
