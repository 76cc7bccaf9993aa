#pragma once
// Driving the real NetWard.exe and Linkpilot.exe from outside: a fresh program folder per test,
// processes started and ended by handle, windows found and read with the W messages, a watchdog
// that ends a test that hangs, and a watcher that reports dialogs nobody expected.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
using Ms = std::chrono::milliseconds;

// Polls `pred` until it holds or `timeout` passed.
bool WaitUntil(const std::function<bool()>& pred, Ms timeout, Ms step = 50ms);

std::string Narrow(const std::wstring& w);
std::wstring Widen(const std::string& s);

// A temporary program folder with copies of the programs and the line simulator's DLLs.
class ProgramFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const std::wstring& Dir() const { return dir_; }
  std::wstring Path(const std::wstring& name) const { return dir_ + L"\\" + name; }
  std::wstring SimState() const { return Path(L"linesim.txt"); }
  bool Exists(const std::wstring& name) const;
  std::string ReadFile(const std::wstring& name) const;  // raw bytes
  bool WriteFile(const std::wstring& name, const std::string& bytes) const;

 private:
  std::wstring dir_;
};

// A started program; terminated at destruction if still running.
class Process {
 public:
  Process() = default;
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool Start(const std::wstring& exe, const std::wstring& args, const std::wstring& dir);
  DWORD Pid() const { return pi_.dwProcessId; }
  bool Running() const;
  bool WaitExit(Ms timeout) const;
  // Waits until the program waits for input in its message loop (its start-up has run through).
  bool WaitIdle(Ms timeout) const;
  DWORD ExitCode() const;
  void Kill();

 private:
  PROCESS_INFORMATION pi_{};
};

// Top-level windows of a process with a given class (visible or not).
std::vector<HWND> TopWindows(DWORD pid, const wchar_t* cls = nullptr);
HWND WaitForWindow(DWORD pid, const wchar_t* cls, Ms timeout);
std::wstring Text(HWND wnd);  // WM_GETTEXT
std::vector<std::wstring> ListLines(HWND list);  // LB_GETTEXT
HWND FindChildByText(HWND parent, const std::wstring& text);
bool Visible(HWND wnd);

// Fails the running test when a dialog box (#32770) shows up that the test did not ask for, and
// closes it so the program under test does not hang on it.
class DialogWatcher {
 public:
  DialogWatcher();
  ~DialogWatcher();
  // Dialogs whose texts contain `fragment` are expected: they are kept open for the test.
  void Expect(const std::wstring& fragment);
  void Watch(DWORD pid);
  std::vector<std::wstring> Unexpected();

 private:
  void Loop();
  std::mutex m_;
  std::vector<std::wstring> expected_;
  std::vector<DWORD> pids_;
  std::vector<std::wstring> unexpected_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// All texts of a dialog (caption and every child), joined by newlines.
std::wstring DialogTexts(HWND dlg);

// The keyboard as a user's would deliver it: key-down and key-up messages (WM_SYSKEYDOWN with Alt)
// to the window that has the keyboard focus in the GUI thread `thread` (its active window when no
// control has it); the program translates them into characters itself.
HWND FocusOf(DWORD thread);
void PressKey(DWORD thread, WORD vk, bool alt = false);

// A stand-in for the shell's notification area: a "Shell_TrayWnd" window found before the real
// one, so the programs' Shell_NotifyIcon requests come to it. It refuses them until told to accept,
// and records each (what Wine's shell sends: the message, flags, tip and the icon's pixels).
class FakeTray {
 public:
  struct Request {
    DWORD Message = 0;  // NIM_ADD, NIM_MODIFY, NIM_DELETE
    UINT Flags = 0;
    std::wstring Tip;
    std::string Icon;  // the icon's size and pixels; empty without NIF_ICON
    std::wstring Info, InfoTitle;  // a balloon (NIF_INFO)
    bool Accepted = false;
  };
  FakeTray();
  ~FakeTray();
  FakeTray(const FakeTray&) = delete;
  FakeTray& operator=(const FakeTray&) = delete;
  // True when the shell's own lookup finds this window.
  bool InPlace() const;
  void Accept(bool on) { accept_ = on; }
  // The first request is answered only after `delay`, as by a shell still starting; Holding() is
  // true meanwhile.
  void AnswerFirstAfter(Ms delay) { firstDelayMs_ = static_cast<int>(delay.count()); }
  bool Holding() const { return holding_; }
  std::vector<Request> Requests();

 private:
  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  void Loop(std::promise<HWND>& created);
  std::mutex m_;
  std::vector<Request> requests_;
  std::atomic<bool> accept_{false};
  std::atomic<int> firstDelayMs_{0};
  std::atomic<bool> holding_{false};
  HWND wnd_ = nullptr;
  DWORD threadId_ = 0;
  std::thread thread_;
};

// Ends the test's processes when it runs longer than `limit`, so a hang fails instead of blocking.
class Watchdog {
 public:
  Watchdog(Ms limit, std::function<void()> onExpire);
  ~Watchdog();
  bool Expired() const { return expired_; }

 private:
  std::mutex m_;
  std::condition_variable cv_;
  bool done_ = false;
  std::atomic<bool> expired_{false};
  std::thread thread_;
};

}  // namespace e2e
