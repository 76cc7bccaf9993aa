#pragma once
// The common save-file dialog as a small object: set the properties, call ShowDialogOfSave, read
// SelectedAddress. Texts are UTF-8; the dialog itself is the W form, so Japanese paths work on
// every system locale.
#include <windows.h>

#include <cstdint>
#include <string>

class otkDialogFile {
 public:
  HWND WindowHandle = nullptr;   // owner
  std::string Filter;            // "description|pattern|description|pattern..."
  int32_t FilterIndex = 1;       // 1-based; the chosen one after the dialog
  std::string Title;
  uint32_t Flags = 0;            // OFN_* flags
  std::string DefaultFileName;
  std::string DefaultAddress;    // initial folder
  std::string DefaultExtension;
  std::string SelectedAddress;   // the chosen full path

  // True when the user confirmed a name (SelectedAddress and FilterIndex are then set); false on
  // cancel or failure, leaving SelectedAddress as it was. The process's current folder is kept.
  bool ShowDialogOfSave();
};
