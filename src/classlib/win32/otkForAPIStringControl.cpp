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

NarrowingCall NarrowingCallFor(unsigned agCodePage) {
  // UTF-8 has a form for every character, and Windows refuses any other flag and the used-default
  // report for it (ERROR_INVALID_FLAGS, ERROR_INVALID_PARAMETER): the conversion would fail always.
  if (agCodePage == CP_UTF8) return {WC_ERR_INVALID_CHARS, false};
  return {WC_NO_BEST_FIT_CHARS, true};
}

bool ToAnsi(std::string_view agUtf8, std::string& ouAnsi) { return ToCodePage(agUtf8, GetACP(), ouAnsi); }

bool ToCodePage(std::string_view agUtf8, unsigned agCodePage, std::string& ouBytes) {
  ouBytes.clear();
  if (agUtf8.empty()) return true;
  const std::wstring wide = nw::win::Widen(agUtf8);
  if (wide.empty()) return false;  // not valid UTF-8
  const int wideLength = static_cast<int>(wide.size());
  const NarrowingCall call = NarrowingCallFor(agCodePage);
  BOOL usedDefault = FALSE;
  BOOL* report = call.ReportsDefault ? &usedDefault : nullptr;
  const int n = WideCharToMultiByte(agCodePage, call.Flags, wide.data(), wideLength, nullptr, 0, nullptr, report);
  if (n <= 0 || usedDefault) return false;
  ouBytes.assign(static_cast<size_t>(n), '\0');
  if (WideCharToMultiByte(agCodePage, call.Flags, wide.data(), wideLength, ouBytes.data(), n, nullptr, report) != n ||
      usedDefault) {
    ouBytes.clear();
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
