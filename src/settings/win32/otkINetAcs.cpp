#include "settings/win32/otkINetAcs.h"

#include <objbase.h>
#include <shellapi.h>

#include <vector>

#include "classlib/otkFileString.h"
#include "classlib/win32/WinText.h"
#include "settings/NWDVersionText.h"

namespace otkINetAcs {

namespace {
// The shell may hand the target to a handler that needs COM on the calling thread (an apartment,
// without OLE 1 DDE): set up for the call, undone after it when it was ours to set up.
class ComApartment {
 public:
  ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~ComApartment() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  HRESULT hr_;
};
}  // namespace

void Open(const std::string& target, int showCommand) {
  const ComApartment com;
  const std::wstring file = nw::win::Widen(target);
  std::vector<wchar_t> dir(MAX_PATH + 1, L'\0');
  const DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(dir.size()), dir.data());
  SHELLEXECUTEINFOW sei{};
  sei.cbSize = sizeof sei;
  // No error box of the shell's own: a failure stays silent.
  sei.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  sei.lpVerb = L"open";
  sei.lpFile = file.c_str();
  sei.lpDirectory = (n > 0 && n < dir.size()) ? dir.data() : nullptr;
  sei.nShow = showCommand;
  ShellExecuteExW(&sei);
}

void OpenHelpContents(const std::string& programFolder) {
  Open(otkFileString::JoinPath(programFolder, nw::kHelpStartPage), SW_SHOWNORMAL);
}

void OpenHelpPage(const std::string& programFolder, const std::string& page) {
  Open(otkFileString::JoinPath(otkFileString::JoinPath(programFolder, nw::kHelpFolder), page), SW_SHOWNORMAL);
}

}  // namespace otkINetAcs
