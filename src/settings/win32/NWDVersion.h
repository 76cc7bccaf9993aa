#pragma once
// NWDVersion: the about box. The program's name and version, the legal notice and the file
// description of the running program's version resource, and a link to the author's home page.
//     NWDVersion about(instance, mainWindow, settings.TopWinFLG);
//     about.ShowModal();
#include <windows.h>

#include <functional>
#include <string>

#include "classlib/win32/otkForm.h"
#include "classlib/win32/otkGdi.h"

namespace nw {

// The fields of a module's version resource the about box shows.
struct VersionFields {
  uint32_t Major = 0, Minor = 0;
  std::string LegalCopyright;
  std::string FileDescription;
};
// From `module`'s version resource (null: the program itself); false when it has none.
bool ReadVersionFields(HMODULE module, VersionFields& ouFields);

class NWDVersion final : public otkForm::Form {
 public:
  static constexpr int kBaseIcon = 101;
  static constexpr int kMess0 = 102;  // Mess(0..2): ids 102..104
  static constexpr int kAddress = 105;
  static constexpr int kCommand1 = IDOK;
  static constexpr const wchar_t* kClassName = L"NetWardNWDVersion";

  // `topmost`: the main window's always-on-top setting.
  NWDVersion(HINSTANCE instance, HWND mainWindow, bool topmost);
  ~NWDVersion() override;
  NWDVersion(const NWDVersion&) = delete;
  NWDVersion& operator=(const NWDVersion&) = delete;

  // How the home page is opened (otkINetAcs by default; tests record it instead).
  void SetOpener(std::function<void(const std::string&)> open) { open_ = std::move(open); }

  // Shows the window and returns when it is closed; the program's timers keep running.
  void ShowModal();
  // Colour of the link text (magenta once clicked).
  COLORREF AddressColor() const { return addressColor_; }

 private:
  bool Load();
  void AddressClick();
  void DrawAddress(const DRAWITEMSTRUCT& di);

  void OnCommand(int id, int code) override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  HINSTANCE instance_;
  HWND main_;
  bool topmost_;
  std::function<void(const std::string&)> open_;
  otkGdi::Font boldFont_, linkFont_;
  COLORREF addressColor_ = RGB(0, 0, 255);
  bool openAfterClose_ = false;
};

}  // namespace nw
