// Windows side of the clock seam: the system's local time.
#include <windows.h>

#include "classlib/DateValue.h"

namespace nw {

Date LocalNow() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return MakeDate(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
}

}  // namespace nw
