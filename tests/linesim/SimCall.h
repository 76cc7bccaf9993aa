#pragma once
// What every simulated API function does around its work: take the state lock, load the state,
// record the call, and write the state back when it changed.
#include <windows.h>

#include <cstring>
#include <string>

#include "LineSimState.h"

namespace linesim {

class SimCall {
 public:
  explicit SimCall(const char* function) : path_(StatePath()), lock_(path_) {
    call_.Pid = GetCurrentProcessId();
    call_.Function = function;
    if (lock_.Held()) state_ = Load(path_);
  }
  ~SimCall() {
    if (!lock_.Held()) return;
    if (dirty_) Save(path_, state_);
    if (logged_) AppendCall(path_, state_, call_);
  }
  SimCall(const SimCall&) = delete;
  SimCall& operator=(const SimCall&) = delete;

  bool Ok() const { return lock_.Held(); }
  State& S() { return state_; }
  void Changed() { dirty_ = true; }
  void Arg(const char* name, const std::string& value) { call_.Args.emplace_back(name, value); }
  void Arg(const char* name, unsigned long value) { Arg(name, std::to_string(value)); }
  // The call goes into the log with this result when the object ends.
  void Result(const std::string& r) {
    call_.Result = r;
    logged_ = true;
  }
  void Result(unsigned long r) { Result(std::to_string(r)); }
  // A call that ends in two steps (a dial that takes time) logs only in the last one.
  void NoLog() { logged_ = false; }

 private:
  std::wstring path_;
  Lock lock_;
  State state_;
  Call call_;
  bool dirty_ = false;
  bool logged_ = false;
};

// Fixed-size ANSI fields of the RAS records.
inline std::string ReadField(const void* base, size_t offset, size_t cap) {
  const char* p = static_cast<const char*>(base) + offset;
  return std::string(p, strnlen(p, cap));
}

inline void WriteField(void* base, size_t offset, size_t cap, const std::string& utf8) {
  char* p = static_cast<char*>(base) + offset;
  const std::string ansi = Utf8ToAnsi(utf8);
  const size_t n = ansi.size() < cap ? ansi.size() : cap - 1;
  std::memcpy(p, ansi.data(), n);
  std::memset(p + n, 0, cap - n);
}

inline DWORD ReadDword(const void* base, size_t offset) {
  DWORD v;
  std::memcpy(&v, static_cast<const char*>(base) + offset, 4);
  return v;
}

inline void WriteDword(void* base, size_t offset, DWORD v) { std::memcpy(static_cast<char*>(base) + offset, &v, 4); }

inline std::string PtrArg(const void* p) { return p ? "set" : "null"; }

}  // namespace linesim
