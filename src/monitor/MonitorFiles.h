#pragma once
// The monitor's writes of the data files: the counters block of NwdUtil.dat, the history logs and
// the activity log, and the volume files beside them.
#include <functional>
#include <string>

#include "data/NWDGlobal.h"
#include "monitor/MonitorPorts.h"

namespace nw {

class MonitorFiles : public MonitorStore {
 public:
  // data: the process's settings file data (its Counters are the monitor's counters); live: the
  // window state a counters save needs when it must write the whole file.
  MonitorFiles(SettingsFileData& data, std::function<LiveWindowState()> live);

  void SaveCounterBlock(const CounterBlock& counters) override;
  void StartDialRecord(Date monitorStart, Date connectionStart) override;
  void EndDialRecord(Date connectionEnd) override;
  void AppendCounterRecord(LogListKind kind, Date resetDate, int32_t plusTime, int32_t plusCount) override;
  // Appended in code page 932 with CR LF; false for an empty or unwritable path.
  bool AppendActivityLine(const std::string& path, const std::string& text) override;
  bool SaveCheckpoint(const ConnectionCheckpoint& cp) override;
  bool LoadCheckpoint(ConnectionCheckpoint& ou) override;
  void RemoveCheckpoint() override;
  void FinishDialRecord(Date connectionStart, Date connectionEnd) override;
  bool SaveVolume(const VolumeFileData& data) override;
  VolumeRecordWrite RecordDialVolume(Date dialStart, VolumeAmount amount) override;
  VolumeRecordWrite RecordCounterVolume(LogListKind kind, Date resetDate, VolumeAmount amount) override;

 private:
  SettingsFileData& data_;
  std::function<LiveWindowState()> live_;
};

}  // namespace nw
