#pragma once
// Linkpilot's start-up module: one request from the command line, carried out synchronously.
#include <string_view>

#include "dialhelper/LKPRequest.h"

namespace lkp {

// The whole run: ends at once when another Linkpilot is running, otherwise carries out the request
// in the command line's tail. Never throws; the program's exit code is 0 whatever happened.
void LKPMain(std::wstring_view commandLine);

// Carries out one parsed request (no instance check). True when the system reported success;
// the program does not pass this on.
bool ExecuteRequest(const Request& request);

}  // namespace lkp
