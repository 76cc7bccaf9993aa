#pragma once
// Opens a document or a web address with the shell ("open"), no parameters, the process's
// current folder as working folder. The outcome is not examined and nothing is shown when it
// fails (a missing help page does nothing visible).
#include <windows.h>

#include <string>

namespace otkINetAcs {

void Open(const std::string& target, int showCommand = SW_SHOWNORMAL);

// The help contents: the program's folder joined with "GuideNWD\guidetop.htm".
void OpenHelpContents(const std::string& programFolder);
// One help page by its file name ("mainwin.htm"), in the same folder.
void OpenHelpPage(const std::string& programFolder, const std::string& page);

}  // namespace otkINetAcs
