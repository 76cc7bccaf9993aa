// Simulated wininet.dll: the online flag and the automatic dial-up, from the shared simulator state.
#include <windows.h>

#include "LineSimState.h"
#include "SimCall.h"

using namespace linesim;

namespace {
constexpr DWORD kConnectionModem = 0x01;  // INTERNET_CONNECTION_MODEM
}

extern "C" {

BOOL WINAPI InternetGetConnectedState(DWORD* lpdwFlags, DWORD reserved) {
  SimCall call("InternetGetConnectedState");
  if (!call.Ok()) return FALSE;
  call.Arg("flags", PtrArg(lpdwFlags));
  call.Arg("reserved", reserved);
  const bool online = call.S().Online;
  if (lpdwFlags) *lpdwFlags = online ? kConnectionModem : 0;
  call.Result(online ? 1ul : 0ul);
  return online ? TRUE : FALSE;
}

BOOL WINAPI InternetAutodial(DWORD dwFlags, HWND hwndParent) {
  DWORD delayMs = 0;
  DWORD handle = 0;
  {
    SimCall call("InternetAutodial");
    if (!call.Ok()) return FALSE;
    State& s = call.S();
    call.Arg("flags", dwFlags);
    call.Arg("parent", PtrArg(hwndParent));
    call.Arg("entry", s.AutodialEntry);
    if (s.FailNext) {
      const DWORD err = s.FailNext;
      s.FailNext = 0;
      call.Changed();
      call.Result(0ul);
      SetLastError(err);
      return FALSE;
    }
    if (s.AutodialEntry.empty() || !s.FindEntry(s.AutodialEntry)) {
      call.Result(0ul);
      SetLastError(ERROR_FILE_NOT_FOUND);
      return FALSE;
    }
    for (const auto& c : s.Connections) {
      if (c.Entry == s.AutodialEntry && c.State == kStateConnected) {
        s.Online = true;
        call.Changed();
        call.Result(1ul);
        return TRUE;  // already up
      }
    }
    Connection& c = s.AddConnection(s.AutodialEntry, kStateOpenPort);
    c.Autodial = true;
    handle = c.Handle;
    delayMs = s.DialDelayMs;
    call.Changed();
    call.NoLog();
  }
  if (delayMs) Sleep(delayMs);

  SimCall call("InternetAutodial");
  if (!call.Ok()) return FALSE;
  State& s = call.S();
  call.Arg("flags", dwFlags);
  call.Arg("parent", PtrArg(hwndParent));
  call.Arg("entry", s.AutodialEntry);
  call.Arg("handle", handle);
  Connection* c = s.FindConnection(handle);
  if (!c) {
    call.Result(0ul);  // dropped while dialing
    return FALSE;
  }
  c->State = kStateConnected;
  s.Online = true;
  call.Changed();
  call.Result(1ul);
  return TRUE;
}

BOOL WINAPI InternetAutodialHangup(DWORD reserved) {
  SimCall call("InternetAutodialHangup");
  if (!call.Ok()) return FALSE;
  State& s = call.S();
  call.Arg("reserved", reserved);
  // Every connection of the automatic dial-up entry goes down, and with them the online flag.
  std::vector<DWORD> handles;
  for (const auto& c : s.Connections)
    if (!s.AutodialEntry.empty() && c.Entry == s.AutodialEntry) handles.push_back(c.Handle);
  for (DWORD h : handles) s.RemoveConnection(h);
  call.Arg("dropped", static_cast<unsigned long>(handles.size()));
  s.Online = false;
  call.Changed();
  call.Result(1ul);
  return TRUE;
}

}  // extern "C"
