// CPU use and working set of an idle NetWard, for the performance report. Not part of the regular
// run (it takes two minutes); run it with
//   wine e2e_tests.exe --gtest_also_run_disabled_tests --gtest_filter='*Idle*'
// The figures come from the host's /proc (through Wine's Z: drive): the Wine process that runs
// NetWard.exe is found by the test folder in its command line.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "E2eSettings.h"
#include "E2eSupport.h"

namespace e2e {
namespace {

struct HostSample {
  long long Ticks = -1;  // user + system, in clock ticks (1/100 s)
  long long RssKb = -1;
};

std::string ReadHostFile(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// The host pid of the process whose command line mentions `marker`.
std::wstring FindHostPid(const std::string& marker) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(L"Z:\\proc\\*", &fd);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::wstring found;
  do {
    const std::wstring name = fd.cFileName;
    if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
    std::string cmd = ReadHostFile(L"Z:\\proc\\" + name + L"\\cmdline");
    for (char& c : cmd)
      if (c == '\0') c = ' ';
    if (cmd.find(marker) != std::string::npos && cmd.find("NetWard.exe") != std::string::npos) found = name;
  } while (found.empty() && FindNextFileW(h, &fd));
  FindClose(h);
  return found;
}

HostSample Sample(const std::wstring& pid) {
  HostSample s;
  const std::string stat = ReadHostFile(L"Z:\\proc\\" + pid + L"\\stat");
  const size_t close = stat.rfind(')');
  if (close != std::string::npos) {
    std::istringstream in(stat.substr(close + 2));
    std::string field;
    long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && in >> field; ++i) {
      if (i == 14) utime = std::stoll(field);
      if (i == 15) stime = std::stoll(field);
    }
    s.Ticks = utime + stime;
  }
  std::istringstream status(ReadHostFile(L"Z:\\proc\\" + pid + L"\\status"));
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) s.RssKb = std::stoll(line.substr(6));
  return s;
}

void MeasureIdle(int intervalMs) {
  ProgramFolder folder;
  ASSERT_TRUE(WriteSettings(folder, [&](nw::SettingsFileData& d) { d.Settings.TimerIval = static_cast<int16_t>(intervalMs); }));
  Process p;
  ASSERT_TRUE(p.Start(folder.Path(L"NetWard.exe"), L"", folder.Dir()));
  ASSERT_NE(WaitForWindow(p.Pid(), L"NWDBase", 15s), nullptr);
  std::this_thread::sleep_for(5s);  // start-up settles
  const std::string marker = Narrow(folder.Dir().substr(folder.Dir().find_last_of(L'\\') + 1));
  const std::wstring hostPid = FindHostPid(marker);
  ASSERT_FALSE(hostPid.empty()) << "NetWard's host process not found";
  const HostSample a = Sample(hostPid);
  std::this_thread::sleep_for(60s);
  const HostSample b = Sample(hostPid);
  const double cpuSeconds = (b.Ticks - a.Ticks) / 100.0;
  std::printf("NetWard idle, Looker every %d ms: CPU %.2f s in 60 s (%.2f %%), host RSS %lld KiB\n", intervalMs,
              cpuSeconds, cpuSeconds / 60.0 * 100.0, b.RssKb);
  ::testing::Test::RecordProperty("cpu_seconds_" + std::to_string(intervalMs), std::to_string(cpuSeconds));
  for (HWND w : TopWindows(p.Pid(), L"NWDBase")) PostMessageW(w, WM_COMMAND, 1010, 0);
  p.WaitExit(10s);
}

TEST(DISABLED_IdleMeasurement, Interval1000ms) { MeasureIdle(1000); }
TEST(DISABLED_IdleMeasurement, Interval100ms) { MeasureIdle(100); }

}  // namespace
}  // namespace e2e
