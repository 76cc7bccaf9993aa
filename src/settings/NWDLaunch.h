#pragma once
// Start-up registration (page 8 of the operation settings dialog): a value in the machine's Run key
// or a shortcut in the user's start-up folder. The page shows both states and offers a register and
// a remove button for each; the buttons act at once. The platform is reached through LaunchPorts.
#include <cstdint>
#include <string>

#include "classlib/otkShortCutRecord.h"

namespace nw {

using otk::ShortcutRecord;

class LaunchPorts {
 public:
  virtual ~LaunchPorts() = default;
  // String values under HKEY_LOCAL_MACHINE\<subKey>; each false when it failed (a read also when
  // the value is missing or not a string).
  virtual bool ReadString(const std::string& subKey, const std::string& name, std::string& ouText) = 0;
  virtual bool WriteString(const std::string& subKey, const std::string& name, const std::string& text) = 0;
  virtual bool DeleteValue(const std::string& subKey, const std::string& name) = 0;
  // The current user's start-up folder; false when the shell does not know it.
  virtual bool StartupFolder(std::string& ouPath) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  virtual bool WriteShortcut(const ShortcutRecord& record) = 0;
};

// What the page shows.
struct LaunchView {
  std::string LaunchStatus, RegStatus, RegPlace, SupStatus, SupPlace;
  bool RegRegist = false, RegDelete = false, SupRegist = false, SupDelete = false;
};

class NWDLaunch {
 public:
  static constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  static constexpr const char* kValueName = "NetWard";

  // programFolder: where the program lives; exeName: its file name without ".exe".
  NWDLaunch(LaunchPorts& ports, std::string programFolder, std::string exeName);

  // Reads both states afresh and fills the places.
  LaunchView Refresh();
  const LaunchView& View() const { return view_; }

  // The four buttons. Ok: the confirmation to show; otherwise the warning.
  struct Outcome {
    bool Ok = false;
    std::string Message;
  };
  Outcome cmRegRegist_Click();
  Outcome cmRegDelete_Click();
  Outcome cmSupRegist_Click();
  Outcome cmSupDelete_Click();

  const std::string& ProgramPath() const { return programPath_; }
  // Registered: the Run value names this program, with or without quotes around the path.
  bool RegistryRegistered();
  bool StartupRegistered();

 private:
  void ShowStates(bool reg, bool sup);
  std::string ShortcutPath();

  LaunchPorts& ports_;
  std::string folder_;
  std::string programPath_;
  LaunchView view_;
};

}  // namespace nw
