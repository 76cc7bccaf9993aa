#pragma once
// otkSpecialFolder and otkShortCut: the shell's special folder paths and shortcut files, through
// the W forms of the shell calls, so a folder outside the ANSI code page works.
#include <windows.h>

#include <string>

#include "classlib/otkShortCutRecord.h"

namespace otkSpecialFolder {
// The path of the special folder `csidl` (7: the current user's start-up folder); false when the
// shell does not know it.
bool Path(int csidl, std::string& ouPath);
}  // namespace otkSpecialFolder

namespace otkShortCut {
// Writes the shortcut file described by `record`; false when the link or target path is empty or
// any step fails.
bool Write(const otk::ShortcutRecord& record);
}  // namespace otkShortCut
