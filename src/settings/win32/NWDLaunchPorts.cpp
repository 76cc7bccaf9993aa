#include "settings/win32/NWDLaunchPorts.h"

#include <windows.h>

#include <vector>

#include "classlib/win32/WinText.h"
#include "classlib/win32/otkRegCtrl.h"
#include "classlib/win32/otkShellLink.h"

namespace nw {

namespace {
constexpr int kCsidlStartup = 7;
}

bool NWDLaunchPorts::ReadString(const std::string& subKey, const std::string& name, std::string& ouText) {
  return otkRegCtrl::ReadString(HKEY_LOCAL_MACHINE, subKey, name, ouText);
}

bool NWDLaunchPorts::WriteString(const std::string& subKey, const std::string& name, const std::string& text) {
  return otkRegCtrl::WriteString(HKEY_LOCAL_MACHINE, subKey, name, text);
}

bool NWDLaunchPorts::DeleteValue(const std::string& subKey, const std::string& name) {
  return otkRegCtrl::DeleteValue(HKEY_LOCAL_MACHINE, subKey, name);
}

bool NWDLaunchPorts::StartupFolder(std::string& ouPath) { return otkSpecialFolder::Path(kCsidlStartup, ouPath); }

bool NWDLaunchPorts::FileExists(const std::string& path) {
  const DWORD a = GetFileAttributesW(win::Widen(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool NWDLaunchPorts::RemoveFile(const std::string& path) { return DeleteFileW(win::Widen(path).c_str()) != FALSE; }

bool NWDLaunchPorts::WriteShortcut(const ShortcutRecord& record) { return otkShortCut::Write(record); }

std::string NWDLaunchPorts::ExeName() {
  // Long paths are possible: grow the buffer until the name fits.
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return "NetWard";
    if (n < path.size()) {
      std::wstring full(path.data(), n);
      std::wstring name = full.substr(full.find_last_of(L"\\/") + 1);
      if (name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".exe") == 0) name.resize(name.size() - 4);
      return win::Narrow(name);
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace nw
