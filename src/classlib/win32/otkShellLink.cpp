#include "classlib/win32/otkShellLink.h"

#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "classlib/win32/WinText.h"

namespace {

// A COM interface pointer, released at the end of the scope.
template <class I>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  I** Out() { return &p_; }
  I* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  I* p_ = nullptr;
};

// COM for this thread for the length of a scope (only undone when this scope started it).
class ComScope {
 public:
  ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  bool Usable() const { return SUCCEEDED(hr_) || hr_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT hr_;
};

}  // namespace

namespace otkSpecialFolder {

bool Path(int csidl, std::string& ouPath) {
  PIDLIST_ABSOLUTE list = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list)) || !list) return false;
  wchar_t path[MAX_PATH + 1] = {};
  const BOOL ok = SHGetPathFromIDListW(list, path);
  CoTaskMemFree(list);
  if (!ok) return false;
  ouPath = nw::win::Narrow(path);
  return true;
}

}  // namespace otkSpecialFolder

namespace otkShortCut {

bool Write(const otk::ShortcutRecord& r) {
  using nw::win::Widen;
  if (r.LinkPath.empty() || r.TargetPath.empty()) return false;
  ComScope com;
  if (!com.Usable()) return false;
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(link.Out()))))
    return false;
  if (FAILED(link->SetPath(Widen(r.TargetPath).c_str()))) return false;
  if (!r.WorkingDirectory.empty() && FAILED(link->SetWorkingDirectory(Widen(r.WorkingDirectory).c_str())))
    return false;
  if (!r.Arguments.empty() && FAILED(link->SetArguments(Widen(r.Arguments).c_str()))) return false;
  if (!r.Description.empty() && FAILED(link->SetDescription(Widen(r.Description).c_str()))) return false;
  if (r.HotKey != 0 && FAILED(link->SetHotkey(static_cast<WORD>(r.HotKey)))) return false;
  if (r.IdList != 0 && FAILED(link->SetIDList(reinterpret_cast<PCIDLIST_ABSOLUTE>(r.IdList)))) return false;
  if (!r.IconFile.empty() && FAILED(link->SetIconLocation(Widen(r.IconFile).c_str(), r.IconIndex))) return false;
  if (!r.RelativePath.empty() && FAILED(link->SetRelativePath(Widen(r.RelativePath).c_str(), 0))) return false;
  if (FAILED(link->SetShowCmd(r.ShowCommand))) return false;
  // Resolving fills in what the shell knows about the target; a failure is not fatal to the file.
  link->Resolve(nullptr, SLR_UPDATE | SLR_NO_UI);
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Out())))) return false;
  return SUCCEEDED(file->Save(Widen(r.LinkPath).c_str(), TRUE));
}

}  // namespace otkShortCut
