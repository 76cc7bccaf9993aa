// Simulated rasapi32.dll: the RAS functions NetWard and Linkpilot call, answering from the shared
// simulator state with the record forms of this architecture (SimRasRecords.h) and the error
// numbers of the real API.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "LineSimState.h"
#include "SimCall.h"
#include "SimRasRecords.h"

using namespace linesim;

namespace {

template <size_t N>
void SetText(CHAR (&field)[N], const std::string& utf8) {
  WriteField(field, 0, N, utf8);
}
template <size_t N>
std::string GetText(const CHAR (&field)[N]) {
  return ReadField(field, 0, N);
}

// One RASCONNA record of the form Rec, filled as far as that form reaches.
template <class Rec>
void FillRasConn(void* out, const Connection& c) {
  Rec r{};
  r.dwSize = sizeof r;
  r.hrasconn = rec::ToHandle(c.Handle);
  SetText(r.szEntryName, c.Entry);
  if constexpr (requires { r.szDeviceName; }) {
    SetText(r.szDeviceType, c.DeviceType);
    SetText(r.szDeviceName, c.DeviceName);
  }
  if constexpr (requires { r.szPhonebook; }) SetText(r.szPhonebook, "C:\\windows\\system32\\ras\\rasphone.pbk");
  if constexpr (requires { r.guidEntry; }) r.guidEntry = GUID{c.Handle, 0x4E57, 0x4C53, {'S', 'I', 'M', 0, 0, 0, 0, 1}};
  std::memcpy(out, &r, sizeof r);
}

// The form a RASCONNA size names; nullptr for a size this system does not know.
using ConnFiller = void (*)(void*, const Connection&);
ConnFiller ConnForm(DWORD size) {
  switch (size) {
    case sizeof(rec::ConnXP): return &FillRasConn<rec::ConnXP>;
    case sizeof(rec::Conn2000): return &FillRasConn<rec::Conn2000>;
    case sizeof(rec::ConnNT4): return &FillRasConn<rec::ConnNT4>;
    case sizeof(rec::ConnNT351): return &FillRasConn<rec::ConnNT351>;
    default: return nullptr;
  }
}

// The connection a query of one handle names, once the caller's record (dwSize first) passed its
// checks; nullptr when the call fails with `error` (logged).
const Connection* QueriedConnection(SimCall& call, HRASCONN hrasconn, const void* record, DWORD recordSize,
                                    DWORD nullError, DWORD& error) {
  const DWORD handle = rec::FromHandle(hrasconn);
  call.Arg("handle", handle);
  error = 0;
  if (!record) {
    error = nullError;
  } else {
    const DWORD size = ReadDword(record, 0);
    call.Arg("size", size);
    if (size != recordSize) error = kErrorInvalidSize;
  }
  const Connection* c = error || !handle ? nullptr : call.S().FindConnection(handle);
  if (!c && !error) error = kErrorInvalidHandle;
  if (error) call.Result(error);
  return c;
}

std::string RasAnsiArg(const char* p) { return p ? AnsiToUtf8(p) : std::string("(null)"); }

}  // namespace

extern "C" {

DWORD WINAPI RasEnumConnectionsA(LPRASCONNA lprasconn, LPDWORD lpcb, LPDWORD lpcConnections) {
  SimCall call("RasEnumConnectionsA");
  if (!call.Ok()) return kErrorSimulatorBusy;
  State& s = call.S();
  if (!lprasconn || !lpcb || !lpcConnections) {
    call.Result(kErrorInvalidBuffer);
    return kErrorInvalidBuffer;
  }
  const DWORD size = ReadDword(lprasconn, 0);
  call.Arg("size", size);
  call.Arg("cb", *lpcb);
  const ConnFiller fill = ConnForm(size);
  if (!fill || std::find(s.ConnSizes.begin(), s.ConnSizes.end(), size) == s.ConnSizes.end()) {
    call.Result(s.ConnSizeError);
    return s.ConnSizeError;
  }
  const DWORD count = static_cast<DWORD>(s.Connections.size());
  const DWORD needed = count * size;
  call.Arg("count", count);
  *lpcConnections = count;
  if (*lpcb < needed) {
    *lpcb = needed;
    call.Result(kErrorBufferTooSmall);
    return kErrorBufferTooSmall;
  }
  char* out = reinterpret_cast<char*>(lprasconn);
  for (DWORD k = 0; k < count; ++k) fill(out + k * size, s.Connections[k]);
  *lpcb = needed;
  call.Result(0ul);
  return 0;
}

DWORD WINAPI RasGetConnectStatusA(HRASCONN hrasconn, LPRASCONNSTATUSA status) {
  SimCall call("RasGetConnectStatusA");
  if (!call.Ok()) return kErrorSimulatorBusy;
  DWORD error = 0;
  const Connection* c = QueriedConnection(call, hrasconn, status, sizeof(rec::StatusNT4), kErrorInvalidBuffer, error);
  if (!c) return error;
  rec::StatusNT4 r{};
  r.dwSize = sizeof r;
  r.rasconnstate = static_cast<RASCONNSTATE>(c->State);
  SetText(r.szDeviceType, c->DeviceType);
  SetText(r.szDeviceName, c->DeviceName);
  std::memcpy(status, &r, sizeof r);
  call.Arg("state", static_cast<unsigned long>(c->State));
  call.Result(0ul);
  return 0;
}

DWORD WINAPI RasGetConnectionStatistics(HRASCONN hrasconn, RAS_STATS* stats) {
  SimCall call("RasGetConnectionStatistics");
  if (!call.Ok()) return kErrorSimulatorBusy;
  DWORD error = 0;
  const Connection* c = QueriedConnection(call, hrasconn, stats, sizeof(rec::Stats), kErrorInvalidParameter, error);
  if (!c) return error;
  // The system's counters are 32 bits wide: past 4 GiB they start again from 0.
  rec::Stats r{};
  r.dwSize = sizeof r;
  r.dwBytesXmited = static_cast<DWORD>(c->Sent);
  r.dwBytesRcved = static_cast<DWORD>(c->Received);
  r.dwFramesXmited = static_cast<DWORD>(c->Sent / 1500);
  r.dwFramesRcved = static_cast<DWORD>(c->Received / 1500);
  r.dwBps = 115200;
  r.dwConnectDuration = GetTickCount() - c->Since;
  std::memcpy(stats, &r, sizeof r);
  call.Arg("sent", r.dwBytesXmited);
  call.Arg("received", r.dwBytesRcved);
  call.Result(0ul);
  return 0;
}

DWORD WINAPI RasEnumEntriesA(LPCSTR reserved, LPCSTR phonebook, LPRASENTRYNAMEA entries, LPDWORD lpcb,
                             LPDWORD lpcEntries) {
  SimCall call("RasEnumEntriesA");
  if (!call.Ok()) return kErrorSimulatorBusy;
  call.Arg("phonebook", RasAnsiArg(phonebook));
  if (reserved) {
    call.Result(kErrorInvalidParameter);
    return kErrorInvalidParameter;
  }
  if (!entries || !lpcb || !lpcEntries) {
    call.Result(kErrorInvalidBuffer);
    return kErrorInvalidBuffer;
  }
  const DWORD size = ReadDword(entries, 0);
  call.Arg("size", size);
  call.Arg("cb", *lpcb);
  if (size != sizeof(rec::EntryNameNT4)) {
    call.Result(kErrorInvalidSize);
    return kErrorInvalidSize;
  }
  const auto& list = call.S().Entries;
  const DWORD count = static_cast<DWORD>(list.size());
  const DWORD needed = count * size;
  *lpcEntries = count;
  call.Arg("count", count);
  if (*lpcb < needed) {
    *lpcb = needed;
    call.Result(kErrorBufferTooSmall);
    return kErrorBufferTooSmall;
  }
  char* out = reinterpret_cast<char*>(entries);
  for (DWORD k = 0; k < count; ++k) {
    rec::EntryNameNT4 r{};
    r.dwSize = size;
    SetText(r.szEntryName, list[k].Name);
    std::memcpy(out + k * size, &r, sizeof r);
  }
  *lpcb = needed;
  call.Result(0ul);
  return 0;
}

DWORD WINAPI RasDialA(LPRASDIALEXTENSIONS extensions, LPCSTR phonebook, LPRASDIALPARAMSA params, DWORD notifierType,
                      LPVOID notifier, LPHRASCONN lphRasConn) {
  DWORD rc = 0;
  DWORD handle = 0;
  DWORD delayMs = 0;
  size_t entryBytes = 0;
  DWORD paramsSize = 0;
  std::string entry, user, password, phone;
  {
    SimCall call("RasDialA");
    if (!call.Ok()) return kErrorSimulatorBusy;
    State& s = call.S();
    call.Arg("extensions", PtrArg(extensions));
    call.Arg("phonebook", RasAnsiArg(phonebook));
    call.Arg("notifier-type", notifierType);
    call.Arg("notifier", PtrArg(notifier));
    if (!lphRasConn) {
      call.Result(kErrorInvalidParameter);
      return kErrorInvalidParameter;
    }
    *lphRasConn = nullptr;
    if (!params) {
      call.Result(kErrorInvalidBuffer);
      return kErrorInvalidBuffer;
    }
    const DWORD size = ReadDword(params, 0);
    paramsSize = size;
    call.Arg("size", size);
    if (size != sizeof(rec::DialParamsNT4) && size != sizeof(rec::DialParams2000)) {
      call.Result(kErrorInvalidSize);
      return kErrorInvalidSize;
    }
    // Both forms begin alike; the fields read here are in the shorter one.
    rec::DialParamsNT4 p;
    std::memcpy(&p, params, sizeof p);
    entry = AnsiToUtf8(GetText(p.szEntryName));
    phone = AnsiToUtf8(GetText(p.szPhoneNumber));
    user = AnsiToUtf8(GetText(p.szUserName));
    password = AnsiToUtf8(GetText(p.szPassword));
    entryBytes = GetText(p.szEntryName).size();
    SecureZeroMemory(&p, sizeof p);

    const Entry* e = s.FindEntry(entry);
    if (s.FailNext) {
      rc = s.FailNext;
      s.FailNext = 0;
    } else if (!e) {
      rc = kErrorCannotFindEntry;
    } else if ((!e->User.empty() && e->User != user) || (!e->Password.empty() && e->Password != password)) {
      rc = kErrorAuthFailure;
    }
    // Even a failing dial hands out a handle; the caller must release it with RasHangUpA.
    Connection& c = s.AddConnection(entry, kStateOpenPort);
    handle = c.Handle;
    delayMs = s.DialDelayMs;
    call.Changed();
    call.NoLog();
  }
  *lphRasConn = rec::ToHandle(handle);
  if (delayMs) Sleep(delayMs);

  SimCall call("RasDialA");
  if (!call.Ok()) return kErrorSimulatorBusy;
  call.Arg("entry", entry);
  call.Arg("user", user);
  call.Arg("password", password);
  call.Arg("phone", phone);
  call.Arg("phonebook", RasAnsiArg(phonebook));
  call.Arg("notifier-type", notifierType);
  call.Arg("notifier", PtrArg(notifier));
  call.Arg("extensions", PtrArg(extensions));
  call.Arg("size", paramsSize);
  call.Arg("entry-bytes", static_cast<unsigned long>(entryBytes));
  call.Arg("handle", handle);
  Connection* c = call.S().FindConnection(handle);
  if (!c) {
    if (rc == 0) rc = 628;  // ERROR_PORT_DISCONNECTED: dropped while dialing
  } else {
    c->State = rc ? kStateDisconnected : kStateConnected;
    call.Changed();
  }
  call.Result(rc);
  return rc;
}

DWORD WINAPI RasHangUpA(HRASCONN hrasconn) {
  SimCall call("RasHangUpA");
  if (!call.Ok()) return kErrorSimulatorBusy;
  const DWORD handle = rec::FromHandle(hrasconn);
  call.Arg("handle", handle);
  const Connection* c = handle ? call.S().FindConnection(handle) : nullptr;
  if (!c) {
    call.Result(kErrorInvalidHandle);
    return kErrorInvalidHandle;
  }
  call.Arg("entry", c->Entry);
  call.S().RemoveConnection(handle);
  call.Changed();
  call.Result(0ul);
  return 0;
}

}  // extern "C"
