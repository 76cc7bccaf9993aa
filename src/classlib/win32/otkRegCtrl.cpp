#include "classlib/win32/otkRegCtrl.h"

#include <utility>

#include "classlib/win32/WinText.h"

namespace otkRegCtrl {

using nw::win::Narrow;
using nw::win::Widen;

namespace {

// An open key, closed at the end of the scope.
class Key {
 public:
  Key() = default;
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  ~Key() {
    if (h_) RegCloseKey(h_);
  }
  HKEY* Out() { return &h_; }
  HKEY Get() const { return h_; }

 private:
  HKEY h_ = nullptr;
};

}  // namespace

bool ReadString(HKEY root, const std::string& subKey, const std::string& name, std::string& ouText) {
  Key key;
  if (RegOpenKeyExW(root, Widen(subKey).c_str(), 0, KEY_QUERY_VALUE, key.Out()) != ERROR_SUCCESS) return false;
  const std::wstring valueName = Widen(name);
  DWORD type = 0, bytes = 0;
  if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
      type != REG_SZ)
    return false;
  std::wstring buffer(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                       &bytes) != ERROR_SUCCESS ||
      type != REG_SZ)
    return false;
  buffer.resize(buffer.find(L'\0') == std::wstring::npos ? buffer.size() : buffer.find(L'\0'));
  ouText = Narrow(buffer);
  return true;
}

bool WriteString(HKEY root, const std::string& subKey, const std::string& name, const std::string& text) {
  Key key;
  if (RegCreateKeyExW(root, Widen(subKey).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Out(), nullptr) !=
      ERROR_SUCCESS)
    return false;
  const std::wstring data = Widen(text);
  const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key.Get(), Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                        bytes) == ERROR_SUCCESS;
}

bool DeleteValue(HKEY root, const std::string& subKey, const std::string& name) {
  Key key;
  if (RegOpenKeyExW(root, Widen(subKey).c_str(), 0, KEY_SET_VALUE, key.Out()) != ERROR_SUCCESS) return false;
  return RegDeleteValueW(key.Get(), Widen(name).c_str()) == ERROR_SUCCESS;
}

}  // namespace otkRegCtrl
