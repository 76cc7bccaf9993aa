#include "dialhelper/win32/LKPMain.h"

#include <windows.h>
#include <wininet.h>

#include "classlib/win32/WinText.h"
#include "classlib/win32/otkRASDial.h"

namespace lkp {

namespace {

// Held for the whole run; a second Linkpilot finds it and ends without touching the line.
constexpr wchar_t kInstanceMutex[] = L"Orvin.T.K.Linkpilot.SingleInstance";

class InstanceGuard {
 public:
  InstanceGuard() : mutex_(CreateMutexW(nullptr, FALSE, kInstanceMutex)) {
    first_ = mutex_ != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
  }
  ~InstanceGuard() {
    if (mutex_) CloseHandle(mutex_);
  }
  InstanceGuard(const InstanceGuard&) = delete;
  InstanceGuard& operator=(const InstanceGuard&) = delete;
  bool First() const { return first_; }

 private:
  HANDLE mutex_;
  bool first_ = false;
};

}  // namespace

bool ExecuteRequest(const Request& request) {
  switch (request.Kind) {
    case RequestKind::InternetAutodial:
      return InternetAutodial(0, nullptr) != FALSE;
    case RequestKind::InternetAutodialHangup:
      return InternetAutodialHangup(0) != FALSE;
    case RequestKind::RasDial:
      return otkRASDial().DialEntry(request.Entry, request.User, request.Password);
    case RequestKind::RasHangUp:
      return otkRASDial().HangUpEntry(request.Entry);
    case RequestKind::None:
      break;
  }
  return false;
}

void LKPMain(std::wstring_view commandLine) {
  try {
    InstanceGuard instance;
    if (!instance.First()) return;
    const std::string line = nw::win::Narrow(commandLine);
    ExecuteRequest(ParseRequest(CommandLineTail(line)));
  } catch (...) {
    // A request that breaks ends quietly; the caller only watches for the process to end.
  }
}

}  // namespace lkp
