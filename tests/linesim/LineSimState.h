#pragma once
// The line simulator's shared state: a small text file that every process using the fake
// rasapi32.dll / wininet.dll reads on each call, plus an append-only call log beside it.
//
// State file (UTF-8, one item per line, fields separated by tabs; \t \n \r \\ escaped as such):
//   online          0|1            what InternetGetConnectedState answers
//   autodial-entry  NAME           the phonebook entry InternetAutodial dials
//   next-handle     N              the next connection handle handed out
//   fail-next       ERROR          the next dial fails with this RAS error (0: none; one-shot)
//   dial-delay-ms   N              every dial takes this long
//   conn-sizes      692 676 ...    RASCONNA sizes RasEnumConnectionsA accepts (empty: none; the
//                                  default is every form of this architecture, see SimRasRecords.h)
//   conn-size-error 632|610        its answer to any other size
//   call-log        0|1            append every call to "<state file>.calls"
//   entry           NAME  DEVICE-TYPE  DEVICE-NAME  USER  PASSWORD     (empty USER/PASSWORD: any)
//   conn            HANDLE  STATE  ENTRY  DEVICE-TYPE  DEVICE-NAME  AUTODIAL(0|1)  SENT  RECEIVED  SINCE
//                                  bytes since it came up (64-bit here; RasGetConnectionStatistics
//                                  serves the low 32 bits, so adding past 4 GiB makes them wrap),
//                                  and the tick it came up at (its connect duration)
//   adapters        N              starts the interface list (without it: the default list)
//   adapter         LUID  INDEX  TYPE  UP(0|1)  HARDWARE(0|1)  FILTER(0|1)  IN-OCTETS  OUT-OCTETS
//                   ALIAS  DESCRIPTION             one row of GetIfTable2 (TYPE: IF_TYPE_*)
// Unknown lines are ignored; the file is replaced atomically under a named mutex.
//
// Call log ("<state file>.calls"), one call a line: PID  FUNCTION  RESULT  NAME=VALUE ...
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace linesim {

// RAS connection states (RASCONNSTATE) the simulator uses.
inline constexpr int kStateOpenPort = 0;
inline constexpr int kStateConnectDevice = 2;
inline constexpr int kStateAuthenticate = 5;
inline constexpr int kStateAuthenticated = 14;
inline constexpr int kStateConnected = 8192;
inline constexpr int kStateDisconnected = 8193;

// RAS error numbers.
inline constexpr uint32_t kErrorInvalidHandle = 6;
inline constexpr uint32_t kErrorInvalidParameter = 87;
inline constexpr uint32_t kErrorBufferTooSmall = 603;
inline constexpr uint32_t kErrorInvalidBuffer = 610;
inline constexpr uint32_t kErrorCannotFindEntry = 623;
inline constexpr uint32_t kErrorInvalidSize = 632;
inline constexpr uint32_t kErrorNoAnswer = 678;
inline constexpr uint32_t kErrorAuthFailure = 691;
inline constexpr uint32_t kErrorSimulatorBusy = 1460;  // ERROR_TIMEOUT: the state lock was not had

// Every RASCONNA size the simulated system knows, newest form first (32-bit: 692 676 412 32).
std::vector<uint32_t> KnownConnSizes();

struct Entry {
  std::string Name;
  std::string DeviceType = "modem";
  std::string DeviceName = "Simulated Modem";
  std::string User;      // empty: any user name is accepted
  std::string Password;  // empty: any password is accepted
};

struct Connection {
  uint32_t Handle = 0;
  int State = kStateConnected;
  std::string Entry;
  std::string DeviceType = "modem";
  std::string DeviceName = "Simulated Modem";
  bool Autodial = false;  // made by InternetAutodial
  uint64_t Sent = 0;      // bytes since it came up
  uint64_t Received = 0;
  uint32_t Since = 0;  // GetTickCount when it came up
};

// IF_TYPE_* numbers the simulator uses.
inline constexpr uint32_t kIfEthernet = 6;
inline constexpr uint32_t kIfLoopback = 24;

// One network interface as GetIfTable2 reports it.
struct Adapter {
  uint64_t Luid = 0;
  uint32_t Index = 0;
  uint32_t Type = kIfEthernet;
  bool Up = true;
  bool Hardware = true;
  bool Filter = false;  // a filter driver's instance, repeating its adapter's counters
  uint64_t InOctets = 0;
  uint64_t OutOctets = 0;
  std::string Alias;
  std::string Description;
};

// Every machine's loopback interface and one Ethernet adapter, up.
std::vector<Adapter> DefaultAdapters();

struct State {
  bool Online = false;
  std::string AutodialEntry;
  uint32_t NextHandle = 0x1000;
  uint32_t FailNext = 0;
  uint32_t DialDelayMs = 0;
  std::vector<uint32_t> ConnSizes = KnownConnSizes();
  uint32_t ConnSizeError = kErrorInvalidSize;
  bool CallLog = true;
  std::vector<Entry> Entries;
  std::vector<Connection> Connections;
  std::vector<Adapter> Adapters = DefaultAdapters();

  const Entry* FindEntry(const std::string& name) const;
  Connection* FindConnection(uint32_t handle);
  Adapter* FindAdapter(const std::string& alias);
  // A hardware Ethernet adapter with the next free index and LUID.
  Adapter& AddAdapter(const std::string& alias);
  // A provider-side connection of an entry (device taken from the phonebook when it is there).
  Connection& AddConnection(const std::string& entry, int state);
  // Drops the handle; keeps the WinInet flag in step when the autodial entry loses its last one.
  bool RemoveConnection(uint32_t handle);
};

std::string Serialize(const State& s);
State Parse(const std::string& text);

// The state file: %NW_LINESIM_STATE%, or "linesim.txt" beside the module holding this code.
std::wstring StatePath();
std::wstring CallLogPath(const std::wstring& statePath);

// Holds the simulator's named mutex (one per state file) for its lifetime.
class Lock {
 public:
  explicit Lock(const std::wstring& statePath);
  ~Lock();
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;
  bool Held() const { return held_; }

 private:
  void* mutex_ = nullptr;
  bool held_ = false;
};

// Read (a missing or unreadable file is the default state) / write atomically. Callers hold the Lock.
State Load(const std::wstring& path);
bool Save(const std::wstring& path, const State& s);

// Lock, load, let `change` edit, save. False when the lock or the save failed.
bool Modify(const std::wstring& path, const std::function<void(State&)>& change);
State Snapshot(const std::wstring& path);

struct Call {
  uint32_t Pid = 0;
  std::string Function;
  std::string Result;
  std::vector<std::pair<std::string, std::string>> Args;
  // The value of a named argument ("" when absent).
  std::string Arg(const std::string& name) const;
};

// Appends one call (caller holds the Lock). Honours the call-log switch of `s`.
void AppendCall(const std::wstring& statePath, const State& s, const Call& call);
std::vector<Call> ReadCalls(const std::wstring& statePath);
void ClearCalls(const std::wstring& statePath);
std::string FormatCall(const Call& call);

// UTF-8 <-> the system ANSI code page, as the A APIs carry it.
std::string AnsiToUtf8(const std::string& ansi);
std::string Utf8ToAnsi(const std::string& utf8);
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);

}  // namespace linesim
