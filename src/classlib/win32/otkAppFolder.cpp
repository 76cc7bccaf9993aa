#include "classlib/win32/otkAppFolder.h"

#include <windows.h>

#include <vector>

#include "classlib/win32/WinText.h"

namespace nw::win {

std::string ExecutableFolder() {
  // Long paths may exceed MAX_PATH; grow until the name fits.
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) {
      std::wstring path(buf.data(), n);
      const auto cut = path.find_last_of(L'\\');
      return cut == std::wstring::npos ? std::string() : Narrow(path.substr(0, cut));
    }
    if (buf.size() >= 32768) return {};
    buf.resize(buf.size() * 2);
  }
}

}  // namespace nw::win
