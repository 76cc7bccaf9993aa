// Linkpilot.exe: NetWard's windowless dial helper. Exit code 0 whatever happened; NetWard sees the
// effect on the line through its own probes.
#include <windows.h>

#include "dialhelper/win32/LKPMain.h"

namespace {

LONG WINAPI EndQuietly(EXCEPTION_POINTERS*) {
  ExitProcess(0);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // No system error boxes: nobody is there to answer them.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(EndQuietly);
  lkp::LKPMain(GetCommandLineW());
  return 0;
}
