#pragma once
// The settings file of a test's program folder, written before NetWard starts and read back after.
#include <functional>

#include "E2eSupport.h"
#include "data/NWDGlobal.h"

namespace e2e {

// Writes NwdUtil.dat with the defaults changed by `change`.
bool WriteSettings(const ProgramFolder& folder, const std::function<void(nw::SettingsFileData&)>& change);
// Reads NwdUtil.dat as NetWard would at its next start.
nw::SettingsFileData ReadSettings(const ProgramFolder& folder);

}  // namespace e2e
