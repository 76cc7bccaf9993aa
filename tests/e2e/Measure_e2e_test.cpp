// Measurements for the performance report, not part of the regular run; run them with
//   wine e2e_tests.exe --gtest_also_run_disabled_tests --gtest_filter='*Idle*'      (two minutes)
//   wine e2e_tests.exe --gtest_also_run_disabled_tests --gtest_filter='*StartupMeasurement*'   (half a minute)
// Idle: CPU use and working set, from the host's /proc (through Wine's Z: drive): the Wine process
// that runs NetWard.exe is found by the test folder in its command line.
// Start-up: from process start to the first status line in view, against a bare window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <utility>
#include <vector>

#include "E2eSettings.h"
#include "E2eSupport.h"
#include "LineSimState.h"
#include "app/NWDMenuIds.h"

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

// One idle NetWard under measurement: `exe` empty for the build's own program, else another
// NetWard.exe put in its folder in place of it.
struct IdleProgram {
  std::string Label;
  std::wstring Exe;
  ProgramFolder Folder;
  Process Proc;
  std::wstring HostPid;
  HostSample Before;
};

// Runs the programs side by side over the same 60 s (NW_IDLE_SECONDS to measure longer: the
// figures come in 1/100 s), so a busy machine weighs on each alike. With NW_IDLE_CONNECTED=1 the
// simulated line is up the whole time (the probe and the volume read run every cycle).
void MeasureIdle(int intervalMs, const std::vector<std::pair<std::string, std::wstring>>& programs = {{"NetWard", L""}}) {
  const wchar_t* connected = _wgetenv(L"NW_IDLE_CONNECTED");
  const wchar_t* secondsText = _wgetenv(L"NW_IDLE_SECONDS");
  const int seconds = secondsText && _wtoi(secondsText) > 0 ? _wtoi(secondsText) : 60;
  std::vector<std::unique_ptr<IdleProgram>> runs;
  for (const auto& [label, exe] : programs) {
    auto r = std::make_unique<IdleProgram>();
    r->Label = label;
    r->Exe = exe;
    if (!exe.empty()) {
      ASSERT_TRUE(CopyFileW(exe.c_str(), r->Folder.Path(L"NetWard.exe").c_str(), FALSE));
    }
    ASSERT_TRUE(WriteSettings(r->Folder, [&](nw::SettingsFileData& d) {
      d.Settings.TimerIval = static_cast<int16_t>(intervalMs);
      d.Settings.DblErr = true;  // the others run meanwhile
    }));
    if (connected && *connected == L'1') {
      ASSERT_TRUE(linesim::Modify(r->Folder.SimState(), [](linesim::State& s) {
        s = linesim::State{};
        s.Entries.push_back(linesim::Entry{"NWProvider"});
        s.AddConnection("NWProvider", linesim::kStateConnected);
        s.Online = true;
      }));
    }
    ASSERT_TRUE(r->Proc.Start(r->Folder.Path(L"NetWard.exe"), L"", r->Folder.Dir()));
    ASSERT_NE(WaitForWindow(r->Proc.Pid(), L"NWDBase", 15s), nullptr);
    runs.push_back(std::move(r));
  }
  std::this_thread::sleep_for(5s);  // start-up settles
  for (auto& r : runs) {
    const std::wstring& dir = r->Folder.Dir();
    r->HostPid = FindHostPid(Narrow(dir.substr(dir.find_last_of(L'\\') + 1)));
    ASSERT_FALSE(r->HostPid.empty()) << r->Label << ": host process not found";
    r->Before = Sample(r->HostPid);
  }
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  for (auto& r : runs) {
    const HostSample after = Sample(r->HostPid);
    const double cpuSeconds = (after.Ticks - r->Before.Ticks) / 100.0;
    std::printf("%s idle, Looker every %d ms: CPU %.2f s in %d s (%.2f %%), host RSS %lld KiB\n", r->Label.c_str(),
                intervalMs, cpuSeconds, seconds, cpuSeconds / seconds * 100.0, after.RssKb);
    ::testing::Test::RecordProperty("cpu_seconds_" + r->Label + "_" + std::to_string(intervalMs),
                                    std::to_string(cpuSeconds));
    for (HWND w : TopWindows(r->Proc.Pid(), L"NWDBase")) PostMessageW(w, WM_COMMAND, 1010, 0);
    r->Proc.WaitExit(10s);
  }
}

// Against an earlier build: NW_BASELINE_EXE names its NetWard.exe (a Windows path).
TEST(DISABLED_IdleMeasurement, Interval1000msAgainstBaseline) {
  const wchar_t* baseline = _wgetenv(L"NW_BASELINE_EXE");
  if (!baseline || !*baseline) GTEST_SKIP() << "NW_BASELINE_EXE is not set";
  MeasureIdle(1000, {{"baseline", baseline}, {"NetWard", L""}});
}

TEST(DISABLED_IdleMeasurement, Interval1000ms) { MeasureIdle(1000); }
TEST(DISABLED_IdleMeasurement, Interval100ms) { MeasureIdle(100); }

// A program whose start-up is timed, in a program folder of its own.
struct StartupSubject {
  std::string Label;
  const wchar_t* Exe;
  const wchar_t* WindowClass;
  UINT CloseMsg;
  WPARAM CloseParam;
  std::unique_ptr<ProgramFolder> Folder = std::make_unique<ProgramFolder>();
  // Milliseconds after the start: CreateProcess returned, the window visible, the line answered.
  std::vector<double> Started, Shown, Times;
};

double MillisecondsSince(const LARGE_INTEGER& from) {
  LARGE_INTEGER now, freq;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&freq);
  return static_cast<double>(now.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

// One start, timed from just before CreateProcess until the window is visible with a line in its
// list box and the program answers messages again (so the line gets painted). The list is asked
// only once the window is visible, by a sent message: it is answered when the program next looks at
// its queue, which a busy start-up does not. False on failure.
bool TimeToFirstLine(StartupSubject& s) {
  Process proc;
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  if (!proc.Start(s.Folder->Path(s.Exe), L"", s.Folder->Dir())) return false;
  const double started = MillisecondsSince(start);
  double shown = -1, ms = -1;
  HWND main = nullptr;
  WaitUntil(
      [&] {
        if (!main) {
          // One look-up by class, not a walk over every top-level window: each poll's calls to the
          // window server compete with the start being timed.
          HWND w = FindWindowW(s.WindowClass, nullptr);
          DWORD pid = 0;
          if (w && GetWindowThreadProcessId(w, &pid) && pid == proc.Pid()) main = w;
        }
        if (!main || !IsWindowVisible(main)) return false;
        if (shown < 0) shown = MillisecondsSince(start);
        HWND list = FindWindowExW(main, nullptr, L"ListBox", nullptr);
        DWORD_PTR count = 0;
        if (!list || !SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 10000, &count) || count == 0 ||
            count == static_cast<DWORD_PTR>(LB_ERR))
          return false;
        ms = MillisecondsSince(start);
        return true;
      },
      15s, 1ms);
  if (main) PostMessageW(main, s.CloseMsg, s.CloseParam, 0);
  if (!proc.WaitExit(10s) || ms < 0) return false;
  s.Started.push_back(started);
  s.Shown.push_back(shown);
  s.Times.push_back(ms);
  return true;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The median of the ratios of starts made in turn: what a busy machine does to one pair weighs on
// both of it.
double PairedRatio(const std::vector<double>& a, const std::vector<double>& b) {
  std::vector<double> r;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) r.push_back(a[i] / b[i]);
  return Median(r);
}

// NetWard and the bare reference window (tests/e2e/reference), as it is and with NetWard's manifest,
// started in turn: NW_STARTUP_RUNS starts of each (default 11) after one unmeasured warm-up start,
// which also leaves NetWard's data files in place as a user's folder has them. With NW_BASELINE_EXE
// (the Windows path of an earlier build's NetWard.exe) that build takes its turn too.
TEST(DISABLED_StartupMeasurement, AgainstBareWindow) {
  const wchar_t* runsVar = _wgetenv(L"NW_STARTUP_RUNS");
  const int runs = std::max(runsVar ? _wtoi(runsVar) : 11, 1);
  std::vector<StartupSubject> subjects;
  subjects.push_back({"NetWard", L"NetWard.exe", L"NWDBase", WM_COMMAND, nw::cmd::Closenu});
  subjects.push_back({"bare", L"BareWindow.exe", L"NWBareWindow", WM_CLOSE, 0});
  subjects.push_back({"bare+manifest", L"BareWindowManifest.exe", L"NWBareWindow", WM_CLOSE, 0});
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring bin = self;
  bin.erase(bin.find_last_of(L'\\'));
  for (size_t k : {1u, 2u})
    ASSERT_TRUE(CopyFileW((bin + L"\\" + subjects[k].Exe).c_str(), subjects[k].Folder->Path(subjects[k].Exe).c_str(),
                          FALSE));
  const wchar_t* baseline = _wgetenv(L"NW_BASELINE_EXE");
  if (baseline && *baseline) {
    subjects.push_back({"baseline", L"NetWard.exe", L"NWDBase", WM_COMMAND, nw::cmd::Closenu});
    ASSERT_TRUE(CopyFileW(baseline, subjects.back().Folder->Path(L"NetWard.exe").c_str(), FALSE));
  }

  for (int i = -1; i < runs; ++i) {
    std::string line = "start " + std::to_string(i + 1) + ":";
    for (StartupSubject& s : subjects) {
      ASSERT_TRUE(TimeToFirstLine(s)) << s.Label << ": no status line in view";
      if (i < 0) {  // the warm-up start is not counted
        s.Started.clear();
        s.Shown.clear();
        s.Times.clear();
        continue;
      }
      char figure[64];
      std::snprintf(figure, sizeof figure, " %s %.1f ms", s.Label.c_str(), s.Times.back());
      line += figure;
    }
    if (i >= 0) std::printf("%s\n", line.c_str());
  }
  std::printf("median of %d starts each: ms to the first line (median ratio of each start to the bare window's\n"
              "and to the bare window's with the manifest; ms until CreateProcess returned, until visible)\n",
              runs);
  for (const StartupSubject& s : subjects) {
    const double median = Median(s.Times);
    std::printf("  %-14s %6.1f (%.2f, %.2f; %.1f, %.1f)\n", s.Label.c_str(), median,
                PairedRatio(s.Times, subjects[1].Times), PairedRatio(s.Times, subjects[2].Times), Median(s.Started),
                Median(s.Shown));
    ::testing::Test::RecordProperty("startup_ms_" + s.Label, std::to_string(median));
  }
}

}  // namespace
}  // namespace e2e
