#pragma once
// Shared by the simulator's tests: a private state file per test, and starting programs from the
// test program's folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LineSimState.h"

namespace simtest {

std::wstring ExeFolder();  // with a trailing "\"

// n double-byte characters: 2n bytes in code page 932 (names at the 256-byte bound).
inline std::string Kanji(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "接";
  return s;
}

// A fresh folder below %TEMP%, removed with everything in it at the end.
class TempFolder {
 public:
  explicit TempFolder(const std::wstring& name);
  ~TempFolder();
  const std::wstring& Path() const { return path_; }  // with a trailing "\"

 private:
  std::wstring path_;
};

struct ProcessResult {
  bool Started = false;
  bool Ended = false;
  DWORD ExitCode = 0;
  DWORD Pid = 0;
  std::string Output;  // standard output and error, when captured
};

// Starts `program` with the full command line `commandLine`; waits at most timeoutMs. Its output
// goes to a file that is read back into Output.
ProcessResult RunProcess(const std::wstring& program, const std::wstring& commandLine, DWORD timeoutMs = 20000);

// A started process that the test waits for later (killed on destruction if still running).
class Process {
 public:
  // With outputFile, the program's standard output and error go there.
  Process(const std::wstring& program, const std::wstring& commandLine, const std::wstring& outputFile = L"");
  ~Process();
  bool Started() const { return info_.hProcess != nullptr; }
  DWORD Pid() const { return info_.dwProcessId; }
  bool Wait(DWORD timeoutMs, DWORD* exitCode = nullptr);

 private:
  PROCESS_INFORMATION info_{};
};

// Every test gets its own simulator state (NW_LINESIM_STATE), inherited by the programs it starts.
class SimTest : public ::testing::Test {
 protected:
  SimTest();
  ~SimTest() override;
  void Set(const std::function<void(linesim::State&)>& change) { ASSERT_TRUE(linesim::Modify(state_, change)); }
  linesim::State Now() const { return linesim::Snapshot(state_); }
  std::vector<linesim::Call> Calls(const std::string& function = "") const;
  void ClearCalls() { linesim::ClearCalls(state_); }
  const std::wstring& StateFile() const { return state_; }

  TempFolder folder_;
  std::wstring state_;
};

}  // namespace simtest
