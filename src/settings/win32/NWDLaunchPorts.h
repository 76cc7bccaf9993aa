#pragma once
// Start-up registration on this machine: the registry under HKEY_LOCAL_MACHINE, the shell's
// start-up folder, files and shortcut files.
#include "settings/NWDLaunch.h"

namespace nw {

class NWDLaunchPorts final : public LaunchPorts {
 public:
  bool ReadString(const std::string& subKey, const std::string& name, std::string& ouText) override;
  bool WriteString(const std::string& subKey, const std::string& name, const std::string& text) override;
  bool DeleteValue(const std::string& subKey, const std::string& name) override;
  bool StartupFolder(std::string& ouPath) override;
  bool FileExists(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool WriteShortcut(const ShortcutRecord& record) override;

  // The running program's file name without ".exe".
  static std::string ExeName();
};

}  // namespace nw
