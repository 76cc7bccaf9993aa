#include "monitor/win32/SystemClock.h"

#include <windows.h>

namespace nw {

Date SystemClock::Now() { return LocalNow(); }

uint32_t SystemClock::Tick() { return GetTickCount(); }

bool SystemClock::SetSystemDateTime(Date value) {
  CivilDateTime c;
  if (!ToCivil(value, c)) return false;
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(c.Year);
  st.wMonth = static_cast<WORD>(c.Month);
  st.wDay = static_cast<WORD>(c.Day);
  st.wDayOfWeek = static_cast<WORD>(c.Weekday - 1);
  st.wHour = static_cast<WORD>(c.Hour);
  st.wMinute = static_cast<WORD>(c.Minute);
  st.wSecond = static_cast<WORD>(c.Second);
  // The privilege to change the time is needed on current systems; without it the call fails.
  HANDLE token = nullptr;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
    TOKEN_PRIVILEGES tp{};
    if (LookupPrivilegeValueW(nullptr, L"SeSystemtimePrivilege", &tp.Privileges[0].Luid)) {
      tp.PrivilegeCount = 1;
      tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
      AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr);
    }
    CloseHandle(token);
  }
  // Twice: a change across a daylight-saving boundary takes effect only on the second call.
  if (!SetLocalTime(&st)) return false;
  SetLocalTime(&st);
  return true;
}

}  // namespace nw
