#pragma once
// Dial and hang-up commands: each one builds Linkpilot's command line and starts it, unless the
// Linkpilot started last is still running (then the command is dropped without a trace).
#include <string>

#include "monitor/MonitorPorts.h"

namespace nw {

struct DialerCommand;

class otkDialCtrl {
 public:
  // programDir: the folder of NetWard.exe, where Linkpilot.exe sits beside it.
  otkDialCtrl(DialerProcess& dialer, std::string programDir);

  void DialAuto();
  void HangUpAuto();
  void DialRas(const std::string& entry, const std::string& user, const std::string& password);
  void HangUpRas(const std::string& entry);
  // The program folder with a trailing backslash.
  std::string DialerDirectory() const;

 private:
  void Run(const DialerCommand& command);

  DialerProcess& dialer_;
  std::string programDir_;
};

}  // namespace nw
