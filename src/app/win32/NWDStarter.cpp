#include "app/win32/NWDStarter.h"

#include "app/win32/NWDBase.h"
#include "app/win32/NWDBaseLinks.h"
#include "classlib/win32/WinText.h"
#include "classlib/win32/otkForm.h"

namespace nw::NWDStarter {

namespace {

constexpr const wchar_t* kMessageTitle = L"Orvin.T.K. NetWard";
// One per logon session: a copy started from any folder counts as already running.
constexpr const wchar_t* kInstanceMutex = L"Local\\Orvin.T.K.NetWard.Instance";

// Owns the instance mutex for the life of the process.
class InstanceMark {
 public:
  InstanceMark() : h_(CreateMutexW(nullptr, FALSE, kInstanceMutex)), already_(GetLastError() == ERROR_ALREADY_EXISTS) {}
  InstanceMark(const InstanceMark&) = delete;
  InstanceMark& operator=(const InstanceMark&) = delete;
  ~InstanceMark() {
    if (h_) CloseHandle(h_);
  }
  bool OtherInstanceRunning() const { return already_; }

 private:
  HANDLE h_;
  bool already_;
};

}  // namespace

std::string SecondInstanceQuestion() {
  return std::string("このｱﾌﾟﾘｹｰｼｮﾝは既に実行中です。") + kSeparator +
         "二重で起動させた場合、接続ﾛｸﾞなどにｴﾗｰが発生する可能性があります。" + kSeparator + "起動しますか?";
}

int Main(HINSTANCE instance) {
  links::LoadSettings();
  links::InstallHelpOpener();

  InstanceMark mark;
  if (!links::Global().Settings.DblErr && mark.OtherInstanceRunning()) {
    const int answer = MessageBoxW(nullptr, win::Widen(SecondInstanceQuestion()).c_str(), kMessageTitle,
                                   MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND);
    if (answer != IDYES) return 0;
  }

  NWDBase window;
  if (!window.Form_Load(instance)) return 1;

  // Every form's keyboard (the main and the compact window here; a modal form runs its own loop).
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (otkForm::Form::TranslateKeys(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

}  // namespace nw::NWDStarter
