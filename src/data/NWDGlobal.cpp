#include "data/NWDGlobal.h"

#include "classlib/otkFileString.h"

namespace nw {

namespace {
std::string& FolderSlot() {
  static std::string folder;
  return folder;
}
}  // namespace

void SetProgramFolder(std::string folder) { FolderSlot() = std::move(folder); }

const std::string& ProgramFolder() { return FolderSlot(); }

std::string AppPath(std::string_view name) { return otkFileString::JoinPath(ProgramFolder(), name); }

SettingsFileData& Global() {
  static SettingsFileData data;
  return data;
}

}  // namespace nw
