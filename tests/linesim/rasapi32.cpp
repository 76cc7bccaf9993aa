// Simulated rasapi32.dll: the RAS functions NetWard and Linkpilot call, answering from the shared
// simulator state with the 32-bit record sizes and the error numbers of the real API.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "LineSimState.h"
#include "SimCall.h"

using namespace linesim;

namespace {

// RASCONNA: dwSize 0, hrasconn 4, szEntryName 8 (21 or 257), szDeviceType 265 (17),
// szDeviceName 282 (129), szPhonebook 411 (260), dwSubEntry 672, guidEntry 676.
void FillRasConn(char* rec, DWORD size, const Connection& c) {
  std::memset(rec, 0, size);
  WriteDword(rec, 0, size);
  WriteDword(rec, 4, c.Handle);
  if (size == 32) {
    WriteField(rec, 8, 21, c.Entry);
    return;
  }
  WriteField(rec, 8, 257, c.Entry);
  if (size >= 412) {
    WriteField(rec, 265, 17, c.DeviceType);
    WriteField(rec, 282, 129, c.DeviceName);
  }
  if (size >= 676) {
    WriteField(rec, 411, 260, "C:\\windows\\system32\\ras\\rasphone.pbk");
    WriteDword(rec, 672, 0);
  }
  if (size >= 692) {
    // A stable made-up GUID per handle.
    const DWORD guid[4] = {c.Handle, 0x4E57u, 0x4C53u, 0x494D0000u | (c.Handle & 0xFFFFu)};
    std::memcpy(rec + 676, guid, 16);
  }
}

std::string RasAnsiArg(const char* p) { return p ? AnsiToUtf8(p) : std::string("(null)"); }

}  // namespace

extern "C" {

DWORD WINAPI RasEnumConnectionsA(void* lprasconn, DWORD* lpcb, DWORD* lpcConnections) {
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
  if (std::find(s.ConnSizes.begin(), s.ConnSizes.end(), size) == s.ConnSizes.end() || size < 32) {
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
  char* out = static_cast<char*>(lprasconn);
  for (DWORD k = 0; k < count; ++k) FillRasConn(out + k * size, size, s.Connections[k]);
  *lpcb = needed;
  call.Result(0ul);
  return 0;
}

// RASCONNSTATUSA (160): dwSize 0, rasconnstate 4, dwError 8, szDeviceType 12 (17), szDeviceName 29 (129).
DWORD WINAPI RasGetConnectStatusA(HANDLE hrasconn, void* status) {
  SimCall call("RasGetConnectStatusA");
  if (!call.Ok()) return kErrorSimulatorBusy;
  const DWORD handle = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(hrasconn));
  call.Arg("handle", handle);
  if (!status) {
    call.Result(kErrorInvalidBuffer);
    return kErrorInvalidBuffer;
  }
  const DWORD size = ReadDword(status, 0);
  call.Arg("size", size);
  if (size != 160) {
    call.Result(kErrorInvalidSize);
    return kErrorInvalidSize;
  }
  const Connection* c = call.S().FindConnection(handle);
  if (!c) {
    call.Result(kErrorInvalidHandle);
    return kErrorInvalidHandle;
  }
  std::memset(static_cast<char*>(status) + 4, 0, 156);
  WriteDword(status, 4, static_cast<DWORD>(c->State));
  WriteField(status, 12, 17, c->DeviceType);
  WriteField(status, 29, 129, c->DeviceName);
  call.Arg("state", static_cast<unsigned long>(c->State));
  call.Result(0ul);
  return 0;
}

// RASENTRYNAMEA (264): dwSize 0, szEntryName 4 (257).
DWORD WINAPI RasEnumEntriesA(const char* reserved, const char* phonebook, void* entries, DWORD* lpcb,
                             DWORD* lpcEntries) {
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
  if (size != 264) {
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
  char* out = static_cast<char*>(entries);
  for (DWORD k = 0; k < count; ++k) {
    std::memset(out + k * size, 0, size);
    WriteDword(out + k * size, 0, size);
    WriteField(out + k * size, 4, 257, list[k].Name);
  }
  *lpcb = needed;
  call.Result(0ul);
  return 0;
}

// RASDIALPARAMSA (1052; 1060 with dwSubEntry and dwCallbackId): dwSize 0, szEntryName 4 (257),
// szPhoneNumber 261 (129), szCallbackNumber 390 (129), szUserName 519 (257), szPassword 776 (257),
// szDomain 1033 (16).
DWORD WINAPI RasDialA(void* extensions, const char* phonebook, void* params, DWORD notifierType, void* notifier,
                      HANDLE* lphRasConn) {
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
    if (size != 1052 && size != 1060) {
      call.Result(kErrorInvalidSize);
      return kErrorInvalidSize;
    }
    entry = AnsiToUtf8(ReadField(params, 4, 257));
    phone = AnsiToUtf8(ReadField(params, 261, 129));
    user = AnsiToUtf8(ReadField(params, 519, 257));
    password = AnsiToUtf8(ReadField(params, 776, 257));
    entryBytes = ReadField(params, 4, 257).size();

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
  *lphRasConn = reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle));
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

DWORD WINAPI RasHangUpA(HANDLE hrasconn) {
  SimCall call("RasHangUpA");
  if (!call.Ok()) return kErrorSimulatorBusy;
  const DWORD handle = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(hrasconn));
  call.Arg("handle", handle);
  const Connection* c = call.S().FindConnection(handle);
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
