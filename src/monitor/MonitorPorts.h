#pragma once
// The narrow interfaces through which the monitor sees the world. The Win32 adapters in win32/ and
// the main window implement them; the tests give fakes, so every scenario runs on a virtual clock.
#include <cstdint>
#include <string>
#include <vector>

#include "classlib/DateValue.h"
#include "data/NWDCheckpoint.h"
#include "data/NWDGlobal.h"
#include "data/NWDVolumeFile.h"
#include "data/NWDVolumeLog.h"

namespace nw {

// Present local time (whole seconds, like every time the monitor keeps), the 32-bit millisecond tick
// and setting the system clock. Only the production adapter ever touches the real clock.
class MonitorClock {
 public:
  virtual ~MonitorClock() = default;
  virtual Date Now() = 0;
  virtual uint32_t Tick() = 0;
  // Sets the local date and time; false when the system refuses (no right to change the time).
  virtual bool SetSystemDateTime(Date value) = 0;
};

// The browser-dependent watch way: "is the machine online?" of the Internet library.
class InternetQuery {
 public:
  virtual ~InternetQuery() = default;
  virtual bool InternetConnected() = 0;
};

using RasHandle = std::uintptr_t;

// Request flags of an enumeration.
enum RasListFlags : int32_t { RasWantHandles = 1, RasWantDevices = 2, RasWantEntries = 4 };

// Result of one connection enumeration. A list that was not asked for stays empty.
struct RasConnectionList {
  int32_t Flags = 0;
  std::vector<RasHandle> Handles;
  std::vector<std::string> EntryNames;
  std::vector<std::string> DeviceNames;
  int32_t Count = 0;
  int32_t Last() const { return Count - 1; }
};

// RAS queries of the probe and of the entry dialogs. The Win32 adapter (otkRASCheck) does the
// real calls; the two derived questions are the same for every implementation.
class RasQuery {
 public:
  virtual ~RasQuery() = default;
  virtual bool EnumConnections(int32_t flags, RasConnectionList& ouList) = 0;
  virtual bool GetConnectState(RasHandle handle, int32_t& ouState) = 0;
  virtual bool EnumEntries(std::vector<std::string>& ouNames) = 0;

  static constexpr int32_t kConnected = 8192;     // RASCS_Connected
  static constexpr int32_t kDisconnected = 8193;  // RASCS_Disconnected

  bool IsConnectionUp(RasHandle handle);
  bool IsEntryConnected(const std::string& name);
};

// The dial helper's process: start it, and tell whether the one started last still runs.
class DialerProcess {
 public:
  virtual ~DialerProcess() = default;
  // program: explicit path of the program file (never searched for); commandLine: complete line.
  virtual bool StartDialer(const std::string& program, const std::string& commandLine, int windowStyle) = 0;
  virtual bool DialerIsFree() = 0;
};

// Writes of the data files the monitor needs. Production: MonitorFiles over the data layer.
class MonitorStore {
 public:
  virtual ~MonitorStore() = default;
  virtual void SaveCounterBlock(const CounterBlock& counters) = 0;
  virtual void StartDialRecord(Date monitorStart, Date connectionStart) = 0;
  virtual void EndDialRecord(Date connectionEnd) = 0;
  // kind LogToday (NwdTday.log) or LogUser (NwdUser.log).
  virtual void AppendCounterRecord(LogListKind kind, Date resetDate, int32_t plusTime, int32_t plusCount) = 0;
  // Appends one line (plus CR LF) to the activity log; false when the file cannot be written.
  virtual bool AppendActivityLine(const std::string& path, const std::string& text) = 0;
  // The running connection's checkpoint (NwdRun.dat): replaced in one step, read back at start-up
  // (false when there is none or it is not valid), removed once the counters hold the connection.
  // False when it could not be written (any older one stays).
  virtual bool SaveCheckpoint(const ConnectionCheckpoint& cp) = 0;
  virtual bool LoadCheckpoint(ConnectionCheckpoint& ou) = 0;
  virtual void RemoveCheckpoint() = 0;
  // Ends the dial record of a connection of a run that did not end, if it is still the open one.
  virtual void FinishDialRecord(Date connectionStart, Date connectionEnd) = 0;
  // NwdUtil.vol replaced in one step; false when it could not be written (the old file stays).
  virtual bool SaveVolume(const VolumeFileData& data) = 0;
  // The volume beside a dial record (after its end was written) and beside a counter record (after
  // AppendCounterRecord, kind LogToday or LogUser).
  virtual VolumeRecordWrite RecordDialVolume(Date dialStart, VolumeAmount amount) = 0;
  virtual VolumeRecordWrite RecordCounterVolume(LogListKind kind, Date resetDate, VolumeAmount amount) = 0;
};

// Picture resources the monitor chooses.
enum MonitorPicture : int {
  BmpDialDisconnected = 101,
  BmpDialConnected = 102,
  BmpLockOn = 106,
  BmpLockOff = 107,
  IconTrayDisconnected = 101,
  IconTrayConnected = 102,
};

enum CounterBox : int { BoxToday = 0, BoxUser = 1 };

// What the monitor shows on the main window, the compact window and the tray, and the second cycle
// timer. Implemented by the main window.
class MonitorView {
 public:
  virtual ~MonitorView() = default;

  // 0 tray only, 1 main window, 2 compact window.
  virtual int DisplayMode() = 0;

  // Status list: the monitor keeps the count; the list only appends and drops its oldest line.
  virtual void StatusAppend(const std::string& line) = 0;  // append and select
  virtual void StatusRemoveFirst() = 0;
  virtual void StatusClear() = 0;

  virtual void SetMainCaption(const std::string& title) = 0;
  // The tip and the picture are handed over whether or not an icon is shown: the view keeps them
  // for an icon added later, and never waits for the shell to answer.
  virtual bool TrayIconShown() = 0;
  virtual void SetTrayTip(const std::string& tip) = 0;
  virtual void SetTrayIcon(int iconId) = 0;
  virtual void SetCompactCaption(const std::string& caption) = 0;

  virtual void SetDialButton(int bitmapId, const std::string& tip) = 0;
  virtual void SetLockButton(int bitmapId, const std::string& tip) = 0;

  // Main window counter boxes (104 x 33): line 1 the time, line 2 the count; grey for a user
  // counter that is switched off. Called only when a text changed or a redraw is forced.
  virtual void DrawCounterBox(CounterBox box, const std::string& timeText, const std::string& countText,
                              bool grey) = 0;
  // The elapsed/clock text of PosTim; called only when it changed.
  virtual void DrawPosTim(const std::string& text) = 0;
  // The compact window's counters (it reads ConnectionSeconds and the counters from the monitor).
  virtual void ExpressAcmComp(int32_t agIToday, int32_t agIUser, int32_t agCIval) = 0;

  // The data volume: the main window's volume line (the running connection's and the user period's
  // volume) and its daily-allowance line, and the compact window's volume item. Called only when a
  // text changed or a redraw is forced; an empty text leaves its place blank.
  virtual void DrawVolume(const std::string& volumeText, const std::string& allowanceText) = 0;
  // A notification balloon from the tray icon (the quota warnings); only called while it is shown.
  virtual void ShowTrayBalloon(const std::string& title, const std::string& text) = 0;

  // User counter menu item (UserClear) and the UserDefine label.
  virtual void SetUserCounterState(const std::string& menuCaption, bool menuEnabled, const std::string& labelText,
                                   bool grey) = 0;

  // Lookersb: runs Monitor::Lookersb_Timer every intervalMs while a notice is open.
  virtual void StartLookersb(int intervalMs) = 0;
  virtual void StopLookersb() = 0;
  virtual bool LookersbEnabled() = 0;
};

// NWDDialog seen from the monitor. ShowMe loads the dialog, sets texts and buttons and returns
// when it is closed (modal; Lookersb keeps cycling meanwhile). ShowMeRe replaces the texts and
// buttons of the loaded dialog. The dialog reports its load, buttons and unload back through
// Monitor::OnNoticeLoaded/OnNoticeGo/OnNoticeNegative/OnNoticeUnloaded.
class NoticeDialog {
 public:
  virtual ~NoticeDialog() = default;
  virtual void ShowMe(const std::string& agSmain, const std::string& agSsub, int agexMood, int agacMood) = 0;
  virtual void ShowMeRe(const std::string& agSmain, const std::string& agSsub, int agexMood, int agacMood) = 0;
};

}  // namespace nw
