#include "monitor/win32/otkIconIntoTray.h"

#include <cwchar>

#include "classlib/win32/WinText.h"

namespace otk {

namespace {
constexpr UINT kCallbackMessage = WM_USER + 1;  // 1025
constexpr size_t kTipBytes = 64;

void StoreTip(NOTIFYICONDATAW& d, const std::wstring& tip) {
  wmemset(d.szTip, 0, sizeof d.szTip / sizeof d.szTip[0]);
  wcsncpy(d.szTip, tip.c_str(), sizeof d.szTip / sizeof d.szTip[0] - 1);
}

// Copies `text` into a zero-terminated UTF-16 field of N characters, cut before a surrogate pair
// that would not fit whole.
template <size_t N>
void StoreField(wchar_t (&field)[N], const std::string& utf8) {
  const std::wstring w = nw::win::Widen(utf8);
  size_t n = w.size() < N - 1 ? w.size() : N - 1;
  if (n < w.size() && n > 0 && IS_HIGH_SURROGATE(w[n - 1])) --n;
  wmemset(field, 0, N);
  wmemcpy(field, w.data(), n);
}
}  // namespace

std::wstring otkIconIntoTray::TipText(const std::string& utf8) {
  // Keep whole characters while their ANSI form still fits the field with its zero byte.
  const std::wstring wide = nw::win::Widen(utf8);
  size_t bytes = 0;
  size_t keep = 0;
  while (keep < wide.size()) {
    const int n = WideCharToMultiByte(CP_ACP, 0, &wide[keep], 1, nullptr, 0, nullptr, nullptr);
    const size_t len = n > 0 ? static_cast<size_t>(n) : 1;
    if (bytes + len > kTipBytes - 1) break;
    bytes += len;
    ++keep;
  }
  return wide.substr(0, keep);
}

otkIconIntoTray::~otkIconIntoTray() { Settle(); }

void otkIconIntoTray::PrepareAdd(const AddArgs& args) {
  data_ = NOTIFYICONDATAW{};
  data_.cbSize = NOTIFYICONDATAW_V1_SIZE;
  data_.hWnd = args.Owner;
  // The identifier is the icon handle at the time of adding; it never changes afterwards.
  data_.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(args.Icon));
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = kCallbackMessage;
  data_.hIcon = args.Icon;
  StoreTip(data_, TipText(args.Tip));
}

bool otkIconIntoTray::AddTrayIcon(const AddArgs& args) {
  Settle();
  if (shown_) return false;
  PrepareAdd(args);
  if (!Shell_NotifyIconW(NIM_ADD, &data_)) return false;
  shown_ = true;
  return true;
}

DWORD WINAPI otkIconIntoTray::AddOnWorker(void* self) {
  auto& tray = *static_cast<otkIconIntoTray*>(self);
  AcquireSRWLockExclusive(&tray.lock_);
  NOTIFYICONDATAW record = tray.data_;
  ReleaseSRWLockExclusive(&tray.lock_);
  const bool shown = Shell_NotifyIconW(NIM_ADD, &record) != FALSE;
  // The changes made meanwhile follow the add, the last state in one request.
  for (;;) {
    AcquireSRWLockExclusive(&tray.lock_);
    if (!shown || !tray.changedWhileAdding_) {
      tray.addAnswer_ = shown;
      tray.addDone_ = true;
      ReleaseSRWLockExclusive(&tray.lock_);
      return 0;
    }
    record = tray.data_;
    record.uFlags = NIF_ICON | NIF_TIP;
    tray.changedWhileAdding_ = false;
    ReleaseSRWLockExclusive(&tray.lock_);
    Shell_NotifyIconW(NIM_MODIFY, &record);
  }
}

bool otkIconIntoTray::AddTrayIconInBackground(const AddArgs& args) {
  Settle();
  if (shown_) return false;
  PrepareAdd(args);
  addAnswer_ = addDone_ = changedWhileAdding_ = false;
  adding_ = CreateThread(nullptr, 0, &AddOnWorker, this, 0, nullptr);
  if (!adding_) return AddTrayIcon(args);  // no thread to spare: asked here instead
  return true;
}

void otkIconIntoTray::Settle() const {
  if (!adding_) return;
  // The shell may send to this thread's windows while it adds the icon: those messages are taken
  // while waiting, so neither side waits for the other.
  while (MsgWaitForMultipleObjects(1, &adding_, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
    MSG m;
    PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  CloseHandle(adding_);
  adding_ = nullptr;
  shown_ = addAnswer_;
}

void otkIconIntoTray::ApplyChange(const ModifyArgs& args) {
  data_.uFlags = 0;
  if (args.IconGiven) {
    data_.hIcon = args.Icon;
    data_.uFlags |= NIF_ICON;
  }
  if (args.TipGiven) {
    StoreTip(data_, TipText(args.Tip));
    data_.uFlags |= NIF_TIP;
  }
}

bool otkIconIntoTray::ModifyTrayIcon(const ModifyArgs& args) {
  if (adding_) {
    // While the shell has not answered the add, the change waits in the record for the worker.
    AcquireSRWLockExclusive(&lock_);
    const bool queued = !addDone_;
    if (queued) {
      ApplyChange(args);
      changedWhileAdding_ = true;
    }
    ReleaseSRWLockExclusive(&lock_);
    if (queued) return true;
    Settle();
  }
  ApplyChange(args);
  if (!shown_) return false;
  return Shell_NotifyIconW(NIM_MODIFY, &data_) != FALSE;
}

bool otkIconIntoTray::RemoveTrayIcon() {
  Settle();
  if (!shown_) return false;
  if (!Shell_NotifyIconW(NIM_DELETE, &data_)) return false;
  shown_ = false;
  return true;
}

NOTIFYICONDATAW otkIconIntoTray::BalloonRecord(const std::string& title, const std::string& text,
                                               BalloonKind kind) const {
  // The balloon fields exist only from the second form of the record on; the icon is found by its
  // window and identifier, so this record need not carry the picture or the tip.
  NOTIFYICONDATAW d{};
  d.cbSize = NOTIFYICONDATAW_V2_SIZE;
  d.hWnd = data_.hWnd;
  d.uID = data_.uID;
  d.uFlags = NIF_INFO;
  StoreField(d.szInfoTitle, title);
  StoreField(d.szInfo, text);
  d.uTimeout = 10000;  // ignored from Vista on; the older shells want a value
  d.dwInfoFlags = kind == BalloonKind::Warning ? NIIF_WARNING : NIIF_INFO;
  return d;
}

bool otkIconIntoTray::ShowBalloon(const std::string& title, const std::string& text, BalloonKind kind) {
  Settle();
  if (!shown_ || text.empty()) return false;
  NOTIFYICONDATAW d = BalloonRecord(title, text, kind);
  return Shell_NotifyIconW(NIM_MODIFY, &d) != FALSE;
}

bool otkIconIntoTray::ReAddAfterShellRestart(HICON icon, const std::string& tip) {
  Settle();
  if (!data_.hWnd) return false;
  // The identifier stays the one of the first add. A shell that announces itself while it still
  // has our icon refuses the add: then the icon is still there and takes the present state.
  data_.hIcon = icon;
  StoreTip(data_, TipText(tip));
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  shown_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE || Shell_NotifyIconW(NIM_MODIFY, &data_) != FALSE;
  return shown_;
}

}  // namespace otk
