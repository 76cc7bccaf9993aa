#pragma once
// The folder the running program was started from: where NetWard keeps its data files and
// finds Linkpilot.exe.
#include <string>

namespace nw::win {

// UTF-8, without a trailing "\"; empty when the system cannot tell.
std::string ExecutableFolder();

}  // namespace nw::win
