#include "classlib/win32/otkForAPIStringControl.h"

#include <windows.h>

#include <cstring>

#include "classlib/win32/WinText.h"

namespace otkForAPIStringControl {

std::string AnsiBufferToString(const char* agBuffer, size_t agCapacity) {
  if (!agBuffer || agCapacity == 0) return {};
  const size_t n = strnlen(agBuffer, agCapacity);
  return nw::win::CodePageToUtf8(std::string_view(agBuffer, n), CP_ACP);
}

bool ToAnsi(std::string_view agUtf8, std::string& ouAnsi) {
  ouAnsi.clear();
  if (agUtf8.empty()) return true;
  const std::wstring wide = nw::win::Widen(agUtf8);
  if (wide.empty()) return false;  // not valid UTF-8
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                    nullptr, 0, nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return false;
  ouAnsi.assign(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), ouAnsi.data(), n,
                      nullptr, &usedDefault);
  if (usedDefault) {
    ouAnsi.clear();
    return false;
  }
  return true;
}

bool CopyToAnsiField(char* agField, size_t agCapacity, std::string_view agAnsi) {
  if (!agField || agAnsi.size() >= agCapacity) return false;
  std::memcpy(agField, agAnsi.data(), agAnsi.size());
  std::memset(agField + agAnsi.size(), 0, agCapacity - agAnsi.size());
  return true;
}

}  // namespace otkForAPIStringControl
