#include "E2eSupport.h"

#include <shellapi.h>

#include <cstddef>
#include <cwchar>
#include <fstream>
#include <sstream>

namespace e2e {

bool WaitUntil(const std::function<bool()>& pred, Ms timeout, Ms step) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (pred()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(step);
  }
}

std::string Narrow(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

std::wstring Widen(const std::string& s) {
  if (s.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

namespace {

std::wstring ModuleDir() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.find_last_of(L'\\'));
}

void RemoveTree(const std::wstring& dir) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = dir + L"\\" + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(full.c_str());
      }
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(dir.c_str());
}

}  // namespace

ProgramFolder::ProgramFolder() {
  static int counter = 0;
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  dir_ = std::wstring(temp) + L"nwe2e_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++counter);
  RemoveTree(dir_);
  CreateDirectoryW(dir_.c_str(), nullptr);
  const std::wstring from = ModuleDir();
  for (const wchar_t* name : {L"NetWard.exe", L"Linkpilot.exe", L"rasapi32.dll", L"wininet.dll", L"iphlpapi.dll"})
    CopyFileW((from + L"\\" + name).c_str(), Path(name).c_str(), FALSE);
}

ProgramFolder::~ProgramFolder() { RemoveTree(dir_); }

bool ProgramFolder::Exists(const std::wstring& name) const {
  return GetFileAttributesW(Path(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ProgramFolder::ReadFile(const std::wstring& name) const {
  HANDLE h = CreateFileW(Path(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string out;
  char buf[4096];
  DWORD got = 0;
  while (::ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
  CloseHandle(h);
  return out;
}

bool ProgramFolder::WriteFile(const std::wstring& name, const std::string& bytes) const {
  HANDLE h = CreateFileW(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD wrote = 0;
  const bool ok = ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr) &&
                  wrote == bytes.size();
  CloseHandle(h);
  return ok;
}

Process::~Process() {
  Kill();
  if (pi_.hProcess) CloseHandle(pi_.hProcess);
  if (pi_.hThread) CloseHandle(pi_.hThread);
}

bool Process::Start(const std::wstring& exe, const std::wstring& args, const std::wstring& dir) {
  std::wstring cmd = L"\"" + exe + L"\"" + (args.empty() ? L"" : L" " + args);
  STARTUPINFOW si{sizeof si};
  return CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi_) !=
         FALSE;
}

bool Process::Running() const { return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

bool Process::WaitIdle(Ms timeout) const {
  return pi_.hProcess && WaitForInputIdle(pi_.hProcess, static_cast<DWORD>(timeout.count())) == 0;
}

bool Process::WaitExit(Ms timeout) const {
  return pi_.hProcess && WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
  DWORD code = 0;
  if (pi_.hProcess) GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

void Process::Kill() {
  if (Running()) {
    TerminateProcess(pi_.hProcess, 99);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
}

std::vector<HWND> TopWindows(DWORD pid, const wchar_t* cls) {
  struct Ctx {
    DWORD Pid;
    const wchar_t* Cls;
    std::vector<HWND> Out;
  } ctx{pid, cls, {}};
  struct Cb {
    static BOOL CALLBACK Each(HWND w, LPARAM lp) {
        auto* c = reinterpret_cast<Ctx*>(lp);
        DWORD p = 0;
        GetWindowThreadProcessId(w, &p);
        if (p != c->Pid) return TRUE;
        if (c->Cls) {
          wchar_t name[128] = {};
          GetClassNameW(w, name, 128);
          if (wcscmp(name, c->Cls) != 0) return TRUE;
        }
        c->Out.push_back(w);
        return TRUE;
    }
  };
  EnumWindows(&Cb::Each, reinterpret_cast<LPARAM>(&ctx));
  return ctx.Out;
}

HWND WaitForWindow(DWORD pid, const wchar_t* cls, Ms timeout) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        auto all = TopWindows(pid, cls);
        found = all.empty() ? nullptr : all.front();
        return found != nullptr;
      },
      timeout);
  return found;
}

std::wstring Text(HWND wnd) {
  wchar_t buf[1024] = {};
  SendMessageTimeoutW(wnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000, nullptr);
  return buf;
}

std::vector<std::wstring> ListLines(HWND list) {
  std::vector<std::wstring> out;
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count)) return out;
  for (DWORD_PTR i = 0; i < count; ++i) {
    wchar_t buf[1024] = {};
    SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000, nullptr);
    out.push_back(buf);
  }
  return out;
}

HWND FindChildByText(HWND parent, const std::wstring& text) {
  struct Ctx {
    std::wstring Text;
    HWND Found;
  } ctx{text, nullptr};
  struct Cb {
    static BOOL CALLBACK Each(HWND w, LPARAM lp) {
      auto* c = reinterpret_cast<Ctx*>(lp);
      if (Text(w) == c->Text) {
        c->Found = w;
        return FALSE;
      }
      return TRUE;
    }
  };
  EnumChildWindows(parent, &Cb::Each, reinterpret_cast<LPARAM>(&ctx));
  return ctx.Found;
}

bool Visible(HWND wnd) { return wnd && IsWindowVisible(wnd); }

std::wstring DialogTexts(HWND dlg) {
  std::wstring all = Text(dlg);
  struct Cb {
    static BOOL CALLBACK Each(HWND w, LPARAM lp) {
      *reinterpret_cast<std::wstring*>(lp) += L"\n" + Text(w);
      return TRUE;
    }
  };
  EnumChildWindows(dlg, &Cb::Each, reinterpret_cast<LPARAM>(&all));
  return all;
}

DialogWatcher::DialogWatcher() : thread_([this] { Loop(); }) {}

DialogWatcher::~DialogWatcher() {
  stop_ = true;
  thread_.join();
}

void DialogWatcher::Expect(const std::wstring& fragment) {
  std::lock_guard<std::mutex> l(m_);
  expected_.push_back(fragment);
}

void DialogWatcher::Watch(DWORD pid) {
  std::lock_guard<std::mutex> l(m_);
  pids_.push_back(pid);
}

std::vector<std::wstring> DialogWatcher::Unexpected() {
  std::lock_guard<std::mutex> l(m_);
  return unexpected_;
}

void DialogWatcher::Loop() {
  while (!stop_) {
    std::vector<DWORD> pids;
    {
      std::lock_guard<std::mutex> l(m_);
      pids = pids_;
    }
    for (DWORD pid : pids) {
      std::vector<HWND> dialogs = TopWindows(pid, L"#32770");
      for (HWND w : TopWindows(pid, L"NetWardNWDDialog")) dialogs.push_back(w);
      for (HWND dlg : dialogs) {
        if (!IsWindowVisible(dlg)) continue;
        const std::wstring texts = DialogTexts(dlg);
        // Closed while its texts were read: nothing is left to judge (or to close).
        if (!IsWindow(dlg) || !IsWindowVisible(dlg)) continue;
        bool expected = false;
        {
          std::lock_guard<std::mutex> l(m_);
          for (const auto& f : expected_)
            if (texts.find(f) != std::wstring::npos) expected = true;
          if (!expected) unexpected_.push_back(texts);
        }
        if (!expected) PostMessageW(dlg, WM_CLOSE, 0, 0);
      }
    }
    std::this_thread::sleep_for(100ms);
  }
}

HWND FocusOf(DWORD thread) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  if (!GetGUIThreadInfo(thread, &gui)) return nullptr;
  return gui.hwndFocus ? gui.hwndFocus : gui.hwndActive;
}

void PressKey(DWORD thread, WORD vk, bool alt) {
  HWND target = FocusOf(thread);
  if (!target) return;
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
  const LPARAM context = alt ? (1 << 29) : 0;  // Alt is held
  PostMessageW(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, 1 | scan | context);
  PostMessageW(target, alt ? WM_SYSKEYUP : WM_KEYUP, vk, 1 | scan | context | (1 << 30) | (1u << 31));
}

namespace {
// What Wine's shell32 sends with WM_COPYDATA for Shell_NotifyIcon (its platform-independent form),
// followed by the icon's mask and colour bits.
struct WineNotifyData {
  LONG Wnd;
  UINT Id;
  UINT Flags;
  UINT CallbackMessage;
  WCHAR Tip[128];
  DWORD State, StateMask;
  WCHAR Info[256];
  UINT TimeoutOrVersion;
  WCHAR InfoTitle[64];
  DWORD InfoFlags;
  GUID Item;
  UINT Width, Height, Planes, Bpp;
};
}  // namespace

FakeTray::FakeTray() {
  std::promise<HWND> created;
  std::future<HWND> ready = created.get_future();
  thread_ = std::thread([this, &created] { Loop(created); });
  wnd_ = ready.get();
}

FakeTray::~FakeTray() {
  if (threadId_) PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  thread_.join();
}

bool FakeTray::InPlace() const { return wnd_ && FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr) == wnd_; }

std::vector<FakeTray::Request> FakeTray::Requests() {
  std::lock_guard<std::mutex> l(m_);
  return requests_;
}

void FakeTray::Loop(std::promise<HWND>& created) {
  threadId_ = GetCurrentThreadId();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &FakeTray::Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"Shell_TrayWnd";
  RegisterClassExW(&wc);
  // Topmost and made last: first in the z-order, where the shell's lookup starts.
  HWND wnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Shell_TrayWnd", nullptr, WS_POPUP, 0, 0, 0, 0,
                             nullptr, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  created.set_value(wnd);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  DestroyWindow(wnd);
  UnregisterClassW(L"Shell_TrayWnd", wc.hInstance);
}

LRESULT CALLBACK FakeTray::Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<FakeTray*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (msg != WM_COPYDATA || !self) return DefWindowProcW(wnd, msg, wp, lp);
  const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
  if (cds->cbData < sizeof(WineNotifyData)) return FALSE;
  const auto* data = static_cast<const WineNotifyData*>(cds->lpData);
  Request r;
  r.Message = static_cast<DWORD>(cds->dwData);
  r.Flags = data->Flags;
  if (data->Flags & NIF_TIP) r.Tip = std::wstring(data->Tip, wcsnlen(data->Tip, 128));
  if (data->Flags & NIF_INFO) {
    r.Info = std::wstring(data->Info, wcsnlen(data->Info, 256));
    r.InfoTitle = std::wstring(data->InfoTitle, wcsnlen(data->InfoTitle, 64));
  }
  if (data->Flags & NIF_ICON)
    r.Icon.assign(reinterpret_cast<const char*>(&data->Width), cds->cbData - offsetof(WineNotifyData, Width));
  r.Accepted = self->accept_;
  bool first;
  {
    std::lock_guard<std::mutex> l(self->m_);
    first = self->requests_.empty();
    self->requests_.push_back(r);
  }
  if (first && self->firstDelayMs_ > 0) {
    self->holding_ = true;
    Sleep(static_cast<DWORD>(self->firstDelayMs_));
    self->holding_ = false;
  }
  return r.Accepted ? TRUE : FALSE;
}

Watchdog::Watchdog(Ms limit, std::function<void()> onExpire)
    : thread_([this, limit, onExpire = std::move(onExpire)] {
        std::unique_lock<std::mutex> l(m_);
        if (!cv_.wait_for(l, limit, [this] { return done_; })) {
          expired_ = true;
          onExpire();
        }
      }) {}

Watchdog::~Watchdog() {
  {
    std::lock_guard<std::mutex> l(m_);
    done_ = true;
  }
  cv_.notify_all();
  thread_.join();
}

}  // namespace e2e
