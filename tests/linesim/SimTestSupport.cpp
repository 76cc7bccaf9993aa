#include "SimTestSupport.h"

#include <atomic>

namespace simtest {

std::wstring ExeFolder() {
  wchar_t buf[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH * 2);
  std::wstring path(buf, n);
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

namespace {

void RemoveTree(const std::wstring& dir) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((dir + L"*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(dir + name + L"\\");
      else
        DeleteFileW((dir + name).c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(dir.c_str());
}

}  // namespace

TempFolder::TempFolder(const std::wstring& name) {
  static std::atomic<int> serial{0};
  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  path_ = std::wstring(tmp) + L"nwsim_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
          std::to_wstring(serial++) + L"_" + name + L"\\";
  CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

Process::Process(const std::wstring& program, const std::wstring& commandLine, const std::wstring& outputFile) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  HANDLE out = INVALID_HANDLE_VALUE;
  if (!outputFile.empty()) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    out = CreateFileW(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, CREATE_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = nullptr;
    si.hStdOutput = out;
    si.hStdError = out;
  }
  std::wstring cmd = commandLine;  // CreateProcessW may write into it
  if (!CreateProcessW(program.c_str(), cmd.data(), nullptr, nullptr, out != INVALID_HANDLE_VALUE, 0, nullptr,
                      nullptr, &si, &info_))
    info_ = {};
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
}

Process::~Process() {
  if (!info_.hProcess) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool Process::Wait(DWORD timeoutMs, DWORD* exitCode) {
  if (!info_.hProcess || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
  if (exitCode) GetExitCodeProcess(info_.hProcess, exitCode);
  return true;
}

ProcessResult RunProcess(const std::wstring& program, const std::wstring& commandLine, DWORD timeoutMs) {
  ProcessResult r;
  TempFolder dir(L"out");
  const std::wstring outFile = dir.Path() + L"output.txt";
  {
    Process p(program, commandLine, outFile);
    r.Started = p.Started();
    r.Pid = p.Pid();
    if (r.Started) r.Ended = p.Wait(timeoutMs, &r.ExitCode);
  }
  HANDLE f = CreateFileW(outFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f != INVALID_HANDLE_VALUE) {
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) r.Output.append(buf, got);
    CloseHandle(f);
  }
  return r;
}

SimTest::SimTest() : folder_(L"sim") {
  state_ = folder_.Path() + L"linesim.txt";
  SetEnvironmentVariableW(L"NW_LINESIM_STATE", state_.c_str());
}

SimTest::~SimTest() { SetEnvironmentVariableW(L"NW_LINESIM_STATE", nullptr); }

std::vector<linesim::Call> SimTest::Calls(const std::string& function) const {
  auto all = linesim::ReadCalls(state_);
  if (function.empty()) return all;
  std::vector<linesim::Call> some;
  for (auto& c : all)
    if (c.Function == function) some.push_back(std::move(c));
  return some;
}

}  // namespace simtest
