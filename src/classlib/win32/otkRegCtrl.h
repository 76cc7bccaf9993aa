#pragma once
// otkRegCtrl: string values of the registry, through the W functions so any text survives. Each
// operation opens the key, acts and closes it again; each reports failure as false.
#include <windows.h>

#include <string>

namespace otkRegCtrl {

// Succeeds only when the value exists and is a REG_SZ; the text ends at its first NUL.
bool ReadString(HKEY root, const std::string& subKey, const std::string& name, std::string& ouText);
// REG_SZ with its terminating NUL (the key is created when it is missing).
bool WriteString(HKEY root, const std::string& subKey, const std::string& name, const std::string& text);
bool DeleteValue(HKEY root, const std::string& subKey, const std::string& name);

}  // namespace otkRegCtrl
