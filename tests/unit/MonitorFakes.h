#pragma once
// Fakes of the monitor's ports and a harness that runs the monitor on a virtual clock.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "classlib/DateValue.h"
#include "monitor/Monitor.h"
#include "monitor/NoticeLayout.h"

namespace nw::test {

class FakeClock : public MonitorClock {
 public:
  Date now = 0;
  uint32_t tick = 0;
  bool refuseSet = false;
  std::vector<Date> setCalls;
  Date Now() override { return now; }
  uint32_t Tick() override { return tick; }
  bool SetSystemDateTime(Date value) override {
    setCalls.push_back(value);
    if (refuseSet) return false;
    now = value;
    return true;
  }
};

class FakeInternet : public InternetQuery {
 public:
  bool online = false;
  bool InternetConnected() override { return online; }
};

class FakeRas : public RasQuery {
 public:
  struct Conn {
    RasHandle handle;
    std::string entry;
    int32_t state;
  };
  std::vector<Conn> conns;
  bool failEnum = false;
  std::vector<RasHandle> failState;
  int enumCalls = 0;
  std::vector<RasHandle> stateQueries;
  bool EnumConnections(int32_t flags, RasConnectionList& ou) override {
    ++enumCalls;
    if (failEnum || conns.size() > 32) return false;
    ou.Handles.clear();  // kept capacity: the probe reuses its list every cycle
    ou.EntryNames.clear();
    ou.DeviceNames.clear();
    ou.Flags = flags;
    ou.Count = static_cast<int32_t>(conns.size());
    for (const Conn& c : conns) {
      if (flags & RasWantHandles) ou.Handles.push_back(c.handle);
      if (flags & RasWantEntries) ou.EntryNames.push_back(c.entry);
    }
    return true;
  }
  bool GetConnectState(RasHandle h, int32_t& ou) override {
    stateQueries.push_back(h);
    for (RasHandle f : failState)
      if (f == h) return false;
    for (const Conn& c : conns)
      if (c.handle == h) {
        ou = c.state;
        return true;
      }
    return false;
  }
  bool EnumEntries(std::vector<std::string>& ou) override {
    ou.clear();
    for (const Conn& c : conns) ou.push_back(c.entry);
    return true;
  }
};

class FakeDialer : public DialerProcess {
 public:
  bool running = false;
  bool startFails = false;
  bool runsAfterStart = true;  // the started Linkpilot keeps running until the test ends it
  std::vector<std::string> started;  // command lines
  std::string lastProgram;
  bool StartDialer(const std::string& program, const std::string& commandLine, int windowStyle) override {
    if (startFails) return false;
    lastProgram = program;
    started.push_back(commandLine);
    running = runsAfterStart;
    return windowStyle == 1;
  }
  bool DialerIsFree() override { return !running; }
};

class FakeStore : public MonitorStore {
 public:
  struct CounterRecord {
    LogListKind kind;
    Date date;
    int32_t seconds, count;
  };
  std::vector<CounterBlock> savedBlocks;
  std::vector<std::pair<Date, Date>> dialStarts;
  std::vector<Date> dialEnds;
  std::vector<CounterRecord> counterRecords;
  std::vector<std::string> activity;
  bool activityFails = false;
  std::vector<std::string> events;  // order of the writes
  CounterBlock LastSaved() const { return savedBlocks.empty() ? CounterBlock{} : savedBlocks.back(); }
  void SaveCounterBlock(const CounterBlock& c) override {
    savedBlocks.push_back(c);
    events.push_back("SaveCounterBlock");
  }
  void StartDialRecord(Date ms, Date cs) override {
    dialStarts.emplace_back(ms, cs);
    events.push_back("StartDialRecord");
  }
  void EndDialRecord(Date e) override {
    dialEnds.push_back(e);
    events.push_back("EndDialRecord");
  }
  void AppendCounterRecord(LogListKind k, Date d, int32_t s, int32_t c) override {
    counterRecords.push_back({k, d, s, c});
    events.push_back(k == LogToday ? "TodayRecord" : "UserRecord");
  }
  bool AppendActivityLine(const std::string& path, const std::string& text) override {
    if (activityFails) return false;
    activity.push_back(path + "|" + text);
    return true;
  }
  // The checkpoint file: what it holds, and how often it was written (kept apart from `events`).
  std::optional<ConnectionCheckpoint> checkpoint;
  int checkpointWrites = 0;
  std::vector<std::pair<Date, Date>> finishedDials;
  bool checkpointFails = false;  // the disk refuses: the old file stays
  bool SaveCheckpoint(const ConnectionCheckpoint& cp) override {
    ++checkpointWrites;
    if (checkpointFails) return false;
    checkpoint = cp;
    return true;
  }
  bool LoadCheckpoint(ConnectionCheckpoint& ou) override {
    if (checkpoint) ou = *checkpoint;
    return checkpoint.has_value();
  }
  void RemoveCheckpoint() override { checkpoint.reset(); }
  void FinishDialRecord(Date start, Date end) override {
    finishedDials.emplace_back(start, end);
    events.push_back("FinishDialRecord");
  }
  // NwdUtil.vol as last saved, and the volume records ("Dial"/"Today"/"User" with key and amount).
  std::optional<VolumeFileData> volume;
  int volumeSaves = 0;
  struct VolumeRecord {
    std::string log;
    Date key;
    VolumeAmount amount;
  };
  std::vector<VolumeRecord> volumeRecords;
  bool volumeLogDamaged = false;  // the next record write finds its .vol file damaged
  bool volumeSaveFails = false;
  bool SaveVolume(const VolumeFileData& d) override {
    ++volumeSaves;
    if (volumeSaveFails) return false;
    volume = d;
    return true;
  }
  VolumeRecordWrite RecordDialVolume(Date start, VolumeAmount a) override { return Record("Dial", start, a); }
  VolumeRecordWrite RecordCounterVolume(LogListKind k, Date key, VolumeAmount a) override {
    return Record(k == LogToday ? "Today" : "User", key, a);
  }
  VolumeRecordWrite Record(const std::string& log, Date key, VolumeAmount a) {
    volumeRecords.push_back({log, key, a});
    const bool damaged = volumeLogDamaged;
    volumeLogDamaged = false;
    return {true, damaged};
  }
};

// A line's traffic counters as the test sets them; Read reports them while `valid`.
class FakeTraffic : public TrafficSource {
 public:
  TrafficSample sample{true, 0, 0, uint64_t{1} << 32, 1};
  bool valid = false;  // by default the line reports nothing, as before volume counting
  int reads = 0, restarts = 0;
  TrafficSample Read() override {
    ++reads;
    TrafficSample s = sample;
    s.Valid = valid;
    return s;
  }
  void Restart() override { ++restarts; }
  void Add(uint64_t sent, uint64_t received) {
    sample.Sent += sent;
    sample.Received += received;
    if (sample.Modulus != 0) {
      sample.Sent %= sample.Modulus;
      sample.Received %= sample.Modulus;
    }
  }
};

class FakeView : public MonitorView {
 public:
  int mode = 1;
  std::vector<std::string> list;  // the visible status list
  std::string caption, trayTip, compactCaption;
  int captionSets = 0;
  bool trayShown = true;
  int trayIcon = 0;
  int dialBitmap = 0;
  std::string dialTip;
  int lockBitmap = 0;
  std::string lockTip;
  struct Box {
    std::string time, count;
    bool grey = false;
    int draws = 0;
  };
  Box boxes[2];
  std::string posTim;
  int posTimDraws = 0;
  int compactDraws = 0;
  std::string volumeText, allowanceText;
  int volumeDraws = 0;
  std::vector<std::string> balloons;  // "title|text"
  std::string userMenu, userLabel;
  bool userMenuEnabled = false, userGrey = false;
  bool lookersb = false;
  int lookersbInterval = 0;

  int DisplayMode() override { return mode; }
  void StatusAppend(const std::string& line) override { list.push_back(line); }
  void StatusRemoveFirst() override { list.erase(list.begin()); }
  void StatusClear() override { list.clear(); }
  void SetMainCaption(const std::string& t) override {
    caption = t;
    ++captionSets;
  }
  bool TrayIconShown() override { return trayShown; }
  void SetTrayTip(const std::string& t) override { trayTip = t; }
  void SetTrayIcon(int id) override { trayIcon = id; }
  void SetCompactCaption(const std::string& c) override { compactCaption = c; }
  void SetDialButton(int id, const std::string& tip) override {
    dialBitmap = id;
    dialTip = tip;
  }
  void SetLockButton(int id, const std::string& tip) override {
    lockBitmap = id;
    lockTip = tip;
  }
  void DrawCounterBox(CounterBox b, const std::string& t, const std::string& c, bool grey) override {
    boxes[b].time = t;
    boxes[b].count = c;
    boxes[b].grey = grey;
    ++boxes[b].draws;
  }
  void DrawPosTim(const std::string& t) override {
    posTim = t;
    ++posTimDraws;
  }
  void ExpressAcmComp(int32_t, int32_t, int32_t) override { ++compactDraws; }
  void DrawVolume(const std::string& v, const std::string& a) override {
    volumeText = v;
    allowanceText = a;
    ++volumeDraws;
  }
  void ShowTrayBalloon(const std::string& title, const std::string& text) override {
    balloons.push_back(title + "|" + text);
  }
  void SetUserCounterState(const std::string& menu, bool enabled, const std::string& label, bool grey) override {
    userMenu = menu;
    userMenuEnabled = enabled;
    userLabel = label;
    userGrey = grey;
  }
  void StartLookersb(int ms) override {
    lookersb = true;
    lookersbInterval = ms;
  }
  void StopLookersb() override { lookersb = false; }
  bool LookersbEnabled() override { return lookersb; }
};

// The notice dialog: records what it shows; while "open" it runs the test's script (which plays
// the user and Lookersb), then unloads.
class FakeNotice : public NoticeDialog {
 public:
  struct Shown {
    std::string main, sub;
    int exMood, acMood;
    bool replaced;  // ShowMeRe
  };
  std::vector<Shown> shown;
  Monitor* monitor = nullptr;
  std::function<void()> whileOpen;  // runs inside ShowMe; default: the user presses nothing
  int depth = 0;
  int maxDepth = 0;
  void ShowMe(const std::string& m, const std::string& s, int ex, int ac) override {
    shown.push_back({m, s, ex, ac, false});
    monitor->OnNoticeLoaded();
    ++depth;
    if (depth > maxDepth) maxDepth = depth;
    if (whileOpen) {
      auto script = whileOpen;  // a script may replace itself
      script();
    }
    --depth;
    monitor->OnNoticeUnloaded();
  }
  void ShowMeRe(const std::string& m, const std::string& s, int ex, int ac) override {
    shown.push_back({m, s, ex, ac, true});
  }
};

struct Harness {
  SettingsRecord settings;
  CounterBlock counters;
  FakeClock clock;
  FakeInternet internet;
  FakeRas ras;
  FakeDialer dialer;
  FakeStore store;
  FakeView view;
  FakeNotice notice;
  FakeTraffic traffic;
  bool countVolume = true;  // false: the monitor gets no traffic source at all
  VolumeFileData volume;
  std::unique_ptr<Monitor> monitor;

  explicit Harness(Date start, uint32_t tick = 1000000) {
    settings.MaxCount = 1000;  // keep every line for the checks
    clock.now = start;
    clock.tick = tick;
  }
  // Builds the monitor (after the test adjusted the settings) and runs the start-up.
  Monitor& Start(bool lockShown = false) {
    monitor = std::make_unique<Monitor>(settings, counters, volume,
                                        MonitorPorts{clock, internet, ras, dialer, store, view, notice,
                                                     countVolume ? &traffic : nullptr},
                                        "C:\\Net Ward");
    notice.monitor = monitor.get();
    monitor->StartMonitoring();
    monitor->ShowLockButton(lockShown);
    monitor->CompleteStart();
    return *monitor;
  }
  // Time passes on both the clock and the tick counter.
  void Advance(int64_t seconds) {
    clock.now = AddSeconds(clock.now, seconds);
    clock.tick += static_cast<uint32_t>(seconds * 1000);
  }
  void Step(int64_t seconds = 1) {
    Advance(seconds);
    monitor->Looker_Timer();
  }
  // Status lines written since `from`.
  std::vector<std::string> LinesFrom(size_t from) const {
    const auto& all = monitor->StatusLines();
    return {all.begin() + static_cast<long>(from), all.end()};
  }
  size_t LineCount() const { return monitor->StatusLines().size(); }
};

}  // namespace nw::test
