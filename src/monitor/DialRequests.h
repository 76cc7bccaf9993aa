#pragma once
// The command lines with which NetWard starts its dial helper Linkpilot.
//
// The helper's path is always put in double quotes and the process is started with that explicit
// program path, so an installation folder with blanks ("C:\Program Files\...") can never start a
// different program. Linkpilot takes as its request the text after its program name (quoted or not)
// and one blank, so the request text itself is unchanged: fields joined by "," with no quoting.
#include <string>
#include <string_view>

#include "dialhelper/LKPRequest.h"  // the request keywords (header only)

namespace nw {

// What the process starter needs: the program to run (never searched for along a path) and the
// complete command line to hand it.
struct DialerCommand {
  std::string Program;      // DialerDirectory(...) + "Linkpilot.exe"
  std::string CommandLine;  // "\"" + Program + "\"" + " " + request text
  bool operator==(const DialerCommand&) const = default;
};

// The program folder with a trailing "\" added when it lacks one ("" stays "", meaning the current
// folder). Callers pass the folder of NetWard's own program file.
std::string DialerDirectory(std::string_view programFolder);

inline constexpr std::string_view kDialerFileName = "Linkpilot.exe";

// Dial through the system's automatic dial-up (WinInet): "InternetAutodial".
DialerCommand DialAuto(std::string_view programFolder);
// Hang up the automatic dial-up connection: "InternetAutodialHangup".
DialerCommand HangUpAuto(std::string_view programFolder);
// Dial a phonebook entry with the given credentials: "RASDial,entry,user,password".
// A field that contains "," makes Linkpilot ignore the request (it then sees too many fields).
DialerCommand DialRas(std::string_view programFolder, std::string_view entry, std::string_view user,
                      std::string_view password);
// Hang up the first active connection of a phonebook entry: "RASHangUp,entry".
DialerCommand HangUpRas(std::string_view programFolder, std::string_view entry);

}  // namespace nw
