#pragma once
// What the shortcut writer (otkShortCut) is handed. An empty text or 0 leaves that property
// unset, except the show command, which is always applied.
#include <cstdint>
#include <string>

namespace otk {

struct ShortcutRecord {
  std::string LinkPath;
  std::string TargetPath;
  std::string WorkingDirectory;
  std::string Description;
  std::string Arguments;
  std::string IconFile;
  int32_t IconIndex = 0;
  int32_t ShowCommand = 1;  // SW_SHOWNORMAL
  int32_t HotKey = 0;
  std::uintptr_t IdList = 0;
  std::string RelativePath;
};

}  // namespace otk
