#include "classlib/win32/otkDialogFile.h"

#include <commdlg.h>

#include <vector>

#include "classlib/win32/WinText.h"

bool otkDialogFile::ShowDialogOfSave() {
  // "a|b|c|d" -> "a\0b\0c\0d\0\0"
  std::wstring filter = nw::win::Widen(Filter);
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  filter.push_back(L'\0');
  filter.push_back(L'\0');

  std::vector<wchar_t> file(MAX_PATH, L'\0');
  const std::wstring initialName = nw::win::Widen(DefaultFileName);
  initialName.copy(file.data(), std::min<size_t>(initialName.size(), MAX_PATH - 1));
  std::vector<wchar_t> fileTitle(MAX_PATH, L'\0');
  const std::wstring folder = nw::win::Widen(DefaultAddress);
  const std::wstring title = nw::win::Widen(Title);
  const std::wstring ext = nw::win::Widen(DefaultExtension);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = WindowHandle;
  ofn.hInstance = GetModuleHandleW(nullptr);
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrFileTitle = fileTitle.data();
  ofn.nMaxFileTitle = static_cast<DWORD>(fileTitle.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  // The explorer-style dialog, and the program's current folder left alone (the help page and
  // every data file are found from the program's folder, never from the current one).
  ofn.Flags = Flags | OFN_EXPLORER | OFN_NOCHANGEDIR;
  ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
  if (!GetSaveFileNameW(&ofn)) return false;
  SelectedAddress = nw::win::Narrow(std::wstring(file.data()));
  FilterIndex = static_cast<int32_t>(ofn.nFilterIndex);
  return true;
}
