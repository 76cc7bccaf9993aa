// NetWard.exe: the connection monitor.
#include <windows.h>

#include "app/win32/NWDStarter.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return nw::NWDStarter::Main(instance); }
