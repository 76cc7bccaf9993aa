#pragma once
// NetWard's entry procedure: settings, the second-instance question, the main window, the loop.
#include <windows.h>

#include <string>

namespace nw::NWDStarter {

// The blank line between the sentences of a message (CR LF CR LF).
inline constexpr const char* kSeparator = "\r\n\r\n";

// The question asked before a second copy of the program runs on.
std::string SecondInstanceQuestion();

// Runs the program; the result is the process exit code.
int Main(HINSTANCE instance);

}  // namespace nw::NWDStarter
