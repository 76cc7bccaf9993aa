#include "monitor/win32/otkShellWatch.h"

#include <vector>

#include "classlib/win32/WinText.h"

namespace nw {

bool otkShellWatch::StartDialer(const std::string& program, const std::string& commandLine, int windowStyle) {
  const std::wstring app = win::Widen(program);
  std::wstring cmd = win::Widen(commandLine);
  std::vector<wchar_t> cmdBuffer(cmd.begin(), cmd.end());  // CreateProcessW may write into it
  cmdBuffer.push_back(L'\0');
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(windowStyle);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(app.c_str(), cmdBuffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  process_.reset(pi.hProcess);
  pid_ = pi.dwProcessId;
  return pid_ != 0;
}

bool otkShellWatch::DialerIsFree() {
  if (!process_) return true;
  // Still running while its handle is not signalled (an exit code of 259 cannot fool this).
  if (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) return false;
  process_.reset();
  pid_ = 0;
  return true;
}

}  // namespace nw
