#pragma once
// Starts Linkpilot and tells whether the one started last still runs. The process handle from the
// start is kept for that question, so a recycled process id can never be mistaken for it.
#include <windows.h>

#include <string>

#include "monitor/MonitorPorts.h"

namespace nw {

// Owns one kernel handle.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE h) : h_(h) {}
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }
  HANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  HANDLE release() {
    HANDLE h = h_;
    h_ = nullptr;
    return h;
  }
  void reset(HANDLE h = nullptr) {
    if (h_) CloseHandle(h_);
    h_ = h;
  }

 private:
  HANDLE h_ = nullptr;
};

class otkShellWatch : public DialerProcess {
 public:
  // program: the explicit path of the program file; commandLine: the complete command line;
  // windowStyle: an SW_ value (1 normal with focus). Failures to start are answered false.
  bool StartDialer(const std::string& program, const std::string& commandLine, int windowStyle) override;
  bool DialerIsFree() override;
  DWORD ProcessId() const { return pid_; }

 private:
  UniqueHandle process_;
  DWORD pid_ = 0;
};

}  // namespace nw
