#include "app/win32/NWDBaseLinks.h"

#include <algorithm>

#include "app/NWDWindowRules.h"
#include "app/win32/NWDBaseLayout.h"
#include "classlib/win32/WinText.h"
#include "classlib/win32/otkForm.h"
#include "classlib/win32/otkGdi.h"
#include "settings/win32/otkINetAcs.h"

namespace nw::links {

namespace {
CheckedFileState g_volumeFileState = CheckedFileState::Missing;
}

Date Now() { return LocalNow(); }

ScreenTwips ScreenSize() {
  const UINT dpi = otkGdi::ScreenDpi();
  const SIZE window = mainlayout::OuterSize(dpi);
  return ScreenTwips{otkGdi::PixelsToTwips(GetSystemMetrics(SM_CXSCREEN), dpi),
                     otkGdi::PixelsToTwips(GetSystemMetrics(SM_CYSCREEN), dpi), otkGdi::PixelsToTwips(window.cx, dpi),
                     otkGdi::PixelsToTwips(window.cy, dpi)};
}

RECT NormalWindowRect(HWND wnd) {
  RECT r{};
  if (!IsIconic(wnd)) {
    GetWindowRect(wnd, &r);
    return r;
  }
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (!GetWindowPlacement(wnd, &wp)) return r;
  // The normal position counts from the work area of the window's monitor, not from the screen.
  r = wp.rcNormalPosition;
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi))
    OffsetRect(&r, mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top);
  return r;
}

void LoadSettings() {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  folder.erase(folder.find_last_of(L'\\') == std::wstring::npos ? 0 : folder.find_last_of(L'\\'));
  SetProgramFolder(win::Narrow(folder));
  nw::LoadSettings(ScreenSize());
  g_volumeFileState = LoadVolumeFile(VolumeGlobal());
}

CheckedFileState VolumeFileState() { return g_volumeFileState; }

void CenterWindowOver(HWND source, HWND target, bool keepOnScreen) {
  if (!source || !target) return;
  const UINT dpi = otkGdi::ScreenDpi();
  auto twips = [&](const RECT& r) {
    return TwipRect{otkGdi::PixelsToTwips(r.left, dpi), otkGdi::PixelsToTwips(r.top, dpi),
                    otkGdi::PixelsToTwips(r.right - r.left, dpi), otkGdi::PixelsToTwips(r.bottom - r.top, dpi)};
  };
  const RECT rs = NormalWindowRect(source);
  const RECT rt = NormalWindowRect(target);
  const TwipRect moved =
      CenterFormOver(twips(rs), twips(rt), keepOnScreen, otkGdi::PixelsToTwips(GetSystemMetrics(SM_CXSCREEN), dpi),
                     otkGdi::PixelsToTwips(GetSystemMetrics(SM_CYSCREEN), dpi));
  SetWindowPos(target, nullptr, otkGdi::TwipsToPixels(moved.Left, dpi), otkGdi::TwipsToPixels(moved.Top, dpi), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Apphpnu_Click() { otkINetAcs::OpenHelpContents(ProgramFolder()); }

void InstallHelpOpener() {
  otkForm::SetHelpOpener([](const std::string& page) { otkINetAcs::OpenHelpPage(ProgramFolder(), page); });
}

}  // namespace nw::links
