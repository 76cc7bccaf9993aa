// NetWard.exe and Linkpilot.exe driven from outside, each test in a fresh program folder with the
// line simulator's DLLs beside the programs.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <regex>

#include "E2eSettings.h"
#include "E2eSupport.h"
#include "LineSimState.h"
#include "classlib/DateValue.h"
#include "data/NWDLogFiles.h"
#include "data/NWDVolumeFile.h"
#include "monitor/QuotaRules.h"
#include "app/NWDMenuIds.h"
#include "compact/win32/NWDComp.h"
#include "monitor/win32/NWDDialog.h"
#include "settings/win32/NWDVersion.h"

// After <windows.h>, which E2eSupport.h brings.
#include <shellapi.h>

namespace e2e {
namespace {

namespace cmd = nw::cmd;
constexpr const char* kEntry = "NWProvider";

class NetWardE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    dog_ = std::make_unique<Watchdog>(100s, [this] {
      for (auto& p : procs_) p->Kill();
    });
    Sim([](linesim::State& s) {
      s = linesim::State{};
      s.Entries.push_back(linesim::Entry{kEntry});
      s.AutodialEntry = kEntry;
    });
  }

  void TearDown() override {
    for (auto& p : procs_) {
      // Let NetWard end normally when it still can, so its files are complete.
      for (HWND w : TopWindows(p->Pid(), L"NWDBase")) PostMessageW(w, WM_COMMAND, cmd::Closenu, 0);
      if (!p->WaitExit(5s)) p->Kill();
    }
    const auto unexpected = watcher_.Unexpected();
    for (const auto& texts : unexpected) ADD_FAILURE() << "unexpected dialog: " << Narrow(texts);
    EXPECT_FALSE(dog_->Expired()) << "the test ran out of time";
    dog_.reset();
  }

  void Sim(const std::function<void(linesim::State&)>& change) {
    ASSERT_TRUE(linesim::Modify(folder_.SimState(), change));
  }
  void SimConnect() {
    Sim([](linesim::State& s) {
      s.AddConnection(kEntry, linesim::kStateConnected);
      s.Online = true;
    });
  }
  void SimDrop() {
    Sim([](linesim::State& s) {
      std::vector<uint32_t> handles;
      for (const auto& c : s.Connections) handles.push_back(c.Handle);
      for (uint32_t h : handles) s.RemoveConnection(h);
      s.Online = false;
    });
  }
  int RasDialCalls() { return Calls("RasDialA"); }
  int Calls(const std::string& function) {
    int n = 0;
    for (const auto& c : linesim::ReadCalls(folder_.SimState()))
      if (c.Function == function) ++n;
    return n;
  }
  // Waits until every Linkpilot that dialled or hung up has ended.
  bool DialersEnded(Ms timeout) {
    for (const auto& c : linesim::ReadCalls(folder_.SimState())) {
      if (c.Function.rfind("InternetAutodial", 0) != 0 && c.Function.rfind("RasDial", 0) != 0 &&
          c.Function.rfind("RasHangUp", 0) != 0)
        continue;
      HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, c.Pid);
      if (!h) continue;  // gone already
      const bool ended = WaitForSingleObject(h, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
      CloseHandle(h);
      if (!ended) return false;
    }
    return true;
  }

  Process& Start() {
    procs_.push_back(std::make_unique<Process>());
    Process& p = *procs_.back();
    EXPECT_TRUE(p.Start(folder_.Path(L"NetWard.exe"), L"", folder_.Dir()));
    watcher_.Watch(p.Pid());
    return p;
  }
  HWND Main(Process& p) { return WaitForWindow(p.Pid(), L"NWDBase", 15s); }
  // Starts NetWard and waits for its first status lines and the end of its start-up (the list can
  // answer while the start-up still runs, before the counters are anchored and saved).
  HWND StartAndWait(Process** out = nullptr) {
    Process& p = Start();
    if (out) *out = &p;
    HWND main = Main(p);
    EXPECT_NE(main, nullptr);
    EXPECT_TRUE(WaitForLine(main, "   監視を開始しました。", 10s));
    EXPECT_TRUE(p.WaitIdle(10s));
    return main;
  }

  static std::vector<std::string> Lines(HWND main) {
    std::vector<std::string> out;
    for (const auto& w : ListLines(GetDlgItem(main, cmd::StatusList))) out.push_back(Narrow(w));
    return out;
  }
  static int Count(const std::vector<std::string>& lines, const std::string& text) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), text));
  }
  static bool WaitForLine(HWND main, const std::string& text, Ms timeout, int times = 1) {
    return WaitUntil([&] { return Count(Lines(main), text) >= times; }, timeout);
  }
  static std::string Caption(HWND w) { return Narrow(Text(w)); }
  static void Command(HWND w, int id) { PostMessageW(w, WM_COMMAND, static_cast<WPARAM>(id), 0); }

  ProgramFolder folder_;
  DialogWatcher watcher_;
  std::vector<std::unique_ptr<Process>> procs_;
  std::unique_ptr<Watchdog> dog_;
};

std::string Cp932(const std::wstring& w) {
  char buf[4096] = {};
  const int n = WideCharToMultiByte(932, 0, w.c_str(), static_cast<int>(w.size()), buf, sizeof buf, nullptr, nullptr);
  return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

const std::regex kTimeLine(R"(\d{4}年 \d{1,2}月 \d{1,2}日 午(前|後) \d{1,2}:\d{2}:\d{2})");

// 1
TEST_F(NetWardE2e, FirstStartWritesTheTimeLineAndTheStartLineAndCreatesTheSettingsFile) {
  HWND main = StartAndWait();
  const auto lines = Lines(main);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_TRUE(std::regex_match(lines[0], kTimeLine)) << lines[0];
  EXPECT_EQ(lines[1], "   監視を開始しました。");
  EXPECT_EQ(Caption(main), "切断状態 0:00:00");
  EXPECT_TRUE(WaitUntil([&] { return Visible(main); }, 5s));
  EXPECT_TRUE(folder_.Exists(L"NwdUtil.dat"));
}

// 2
TEST_F(NetWardE2e, ProviderConnectIsLoggedRecordedAndShown) {
  HWND main = StartAndWait();
  HWND dialBtn = GetDlgItem(main, cmd::DialGoBtn);
  const LRESULT pictureBefore = SendMessageW(dialBtn, BM_GETIMAGE, IMAGE_BITMAP, 0);
  SimConnect();
  ASSERT_TRUE(WaitForLine(main, "   接続状態になりました。", 10s));
  auto lines = Lines(main);
  auto it = std::find(lines.begin(), lines.end(), "   接続状態になりました。");
  ASSERT_NE(it + 1, lines.end());
  EXPECT_EQ(*(it + 1), "      方法:ﾀﾞｲｱﾙｱｯﾌﾟ");
  EXPECT_TRUE(std::regex_match(*(it - 1), kTimeLine));
  EXPECT_TRUE(WaitUntil([&] { return Caption(main).rfind("接続状態 ", 0) == 0; }, 5s)) << Caption(main);
  // The dial button shows the connected picture; the dial history has its record.
  EXPECT_NE(SendMessageW(dialBtn, BM_GETIMAGE, IMAGE_BITMAP, 0), pictureBefore);
  EXPECT_GT(folder_.ReadFile(L"NwdDial.log").size(), 100u);

  SimDrop();
  ASSERT_TRUE(WaitForLine(main, "   切断状態になりました。", 10s));
  lines = Lines(main);
  it = std::find(lines.begin(), lines.end(), "   切断状態になりました。");
  ASSERT_NE(it + 1, lines.end());
  EXPECT_EQ((it + 1)->rfind("      接続時間: ", 0), 0u) << *(it + 1);
  EXPECT_EQ(SendMessageW(dialBtn, BM_GETIMAGE, IMAGE_BITMAP, 0), pictureBefore);
}

void UseStoredSet(nw::SettingsFileData& d) {
  d.Settings.RsIdlFLG = true;
  d.Settings.RsSetInfo = {{"標準ｾｯﾄ", kEntry, "user1", "pass1"}};
  d.Settings.RsSetInfoStd = 0;
  d.Settings.WayWatchEn = 1;
  d.Settings.WatchEntries = {kEntry};
}

// 3
TEST_F(NetWardE2e, DialButtonStartsLinkpilotOnceAndTheLineComesUp) {
  ASSERT_TRUE(WriteSettings(folder_, UseStoredSet));
  Sim([](linesim::State& s) { s.DialDelayMs = 2500; });
  HWND main = StartAndWait();
  HWND dialBtn = GetDlgItem(main, cmd::DialGoBtn);
  SendMessageW(dialBtn, BM_CLICK, 0, 0);
  SendMessageW(dialBtn, BM_CLICK, 0, 0);  // Linkpilot still dials: dropped
  ASSERT_TRUE(WaitForLine(main, "   接続状態になりました。", 15s));
  const auto lines = Lines(main);
  EXPECT_EQ(Count(lines, "   接続を試行しました。 - 手動"), 1);
  EXPECT_EQ(Count(lines, "      設定:1種のｴﾝﾄﾘを監視"), 1);
  const auto calls = linesim::ReadCalls(folder_.SimState());
  int dials = 0;
  for (const auto& c : calls) {
    if (c.Function != "RasDialA") continue;
    ++dials;
    EXPECT_EQ(c.Arg("entry"), kEntry);
    EXPECT_EQ(c.Arg("user"), "user1");
    EXPECT_EQ(c.Arg("password"), "pass1");
  }
  EXPECT_EQ(dials, 1);
}

// 4
TEST_F(NetWardE2e, LockKeepsTheLineUpAfterAProviderDrop) {
  ASSERT_TRUE(WriteSettings(folder_, [](nw::SettingsFileData& d) {
    UseStoredSet(d);
    d.SavedWindowState[nw::SwLockShown] = -1;
  }));
  SimConnect();
  HWND main = StartAndWait();
  ASSERT_TRUE(WaitForLine(main, "   接続状態になりました。", 10s));
  HWND lockBtn = GetDlgItem(main, cmd::LockBtn);
  ASSERT_TRUE(Visible(lockBtn));
  EXPECT_EQ(GetNextDlgTabItem(main, GetDlgItem(main, cmd::DialGoBtn), FALSE), lockBtn);  // Tab: dial, lock
  SendMessageW(lockBtn, BM_CLICK, 0, 0);  // lock on while connected: keep the line up
  SimDrop();
  const bool reconnected = WaitForLine(main, "   接続状態になりました。", 20s, 2);
  const auto lines = Lines(main);
  std::string all;
  for (const auto& l : lines) all += l + "\n";
  ASSERT_TRUE(reconnected) << all;
  auto pos = [&](const std::string& t) { return std::find(lines.begin(), lines.end(), t) - lines.begin(); };
  const auto down = pos("   切断状態になりました。");
  const auto deviation = pos("   ﾛｯｸ機能が切断状態を感知しました。 - 接続維持");
  const auto attempt = pos("   接続を試行しました。 - 自動");
  ASSERT_LT(down, static_cast<long>(lines.size()));
  EXPECT_LT(down, deviation);
  EXPECT_LT(deviation, static_cast<long>(lines.size()));
  EXPECT_LT(attempt, static_cast<long>(lines.size()));
  EXPECT_EQ(RasDialCalls(), 1);
}

// 5
TEST_F(NetWardE2e, CloseBoxWithTrayIconHidesAndKeepsMonitoring) {
  ASSERT_TRUE(WriteSettings(folder_, [](nw::SettingsFileData& d) { d.SavedWindowState[nw::SwTrayIn] = -1; }));
  Process* p = nullptr;
  HWND main = StartAndWait(&p);
  ASSERT_TRUE(WaitUntil([&] { return Visible(main); }, 5s));
  // The shell announcing a restart leaves the program with its icon, so the close still hides.
  PostMessageW(main, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !Visible(main); }, 5s));
  EXPECT_TRUE(p->Running());
  SimConnect();
  EXPECT_TRUE(WaitForLine(main, "   接続状態になりました。", 10s));
  // A double-click on the tray icon brings the window back.
  PostMessageW(main, cmd::kTrayCallbackMessage, 0, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(WaitUntil([&] { return Visible(main); }, 5s));
}

// 6
TEST_F(NetWardE2e, CloseCommandWhileConnectedCountsTheConnectionAndSavesTheWindowState) {
  ASSERT_TRUE(WriteSettings(folder_, [&](nw::SettingsFileData& d) {
    d.Settings.LoggingFLG = true;
    d.Settings.LogFileAddress = Narrow(folder_.Path(L"LogFile.txt"));
  }));
  SimConnect();
  Process* p = nullptr;
  HWND main = StartAndWait(&p);
  ASSERT_TRUE(WaitForLine(main, "   接続状態になりました。", 10s));
  SetWindowPos(main, nullptr, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  std::this_thread::sleep_for(2500ms);
  RECT r{};
  GetWindowRect(main, &r);
  Command(main, cmd::Closenu);
  ASSERT_TRUE(p->WaitExit(10s));
  const std::string log = folder_.ReadFile(L"LogFile.txt");
  const std::string last = Cp932(L"   監視を終了しました。") + "\r\n";
  ASSERT_GE(log.size(), last.size());
  EXPECT_EQ(log.substr(log.size() - last.size()), last);
  const nw::SettingsFileData d = ReadSettings(folder_);
  EXPECT_EQ(d.Counters.TodayCount, 1);
  EXPECT_GE(d.Counters.TodaySeconds, 2);
  EXPECT_EQ(d.Counters.UserCount, 1);
  EXPECT_EQ(d.SavedWindowState[nw::SwDisplayMode], 1);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  EXPECT_NEAR(d.SavedWindowState[nw::SwLeft], MulDiv(r.left, 1440, dpi), 15);
  EXPECT_NEAR(d.SavedWindowState[nw::SwTop], MulDiv(r.top, 1440, dpi), 15);
}

// 7
TEST_F(NetWardE2e, SecondInstanceIsQuestionedAndAnswerNoLeavesEverythingAlone) {
  Process* first = nullptr;
  HWND main = StartAndWait(&first);
  const std::string settingsBefore = folder_.ReadFile(L"NwdUtil.dat");
  const size_t linesBefore = Lines(main).size();
  watcher_.Expect(L"このｱﾌﾟﾘｹｰｼｮﾝは既に実行中です。");
  Process& second = Start();
  HWND dlg = WaitForWindow(second.Pid(), L"#32770", 15s);
  ASSERT_NE(dlg, nullptr);
  const std::string texts = Narrow(DialogTexts(dlg));
  EXPECT_NE(texts.find("Orvin.T.K. NetWard"), std::string::npos);
  EXPECT_NE(texts.find("このｱﾌﾟﾘｹｰｼｮﾝは既に実行中です。\r\n\r\n二重で起動させた場合、接続ﾛｸﾞなどにｴﾗｰが発生する可能性があります。"
                       "\r\n\r\n起動しますか?"),
            std::string::npos)
      << texts;
  SendMessageW(GetDlgItem(dlg, IDNO), BM_CLICK, 0, 0);
  ASSERT_TRUE(second.WaitExit(10s));
  EXPECT_TRUE(TopWindows(second.Pid(), L"NWDBase").empty());
  EXPECT_TRUE(first->Running());
  EXPECT_EQ(folder_.ReadFile(L"NwdUtil.dat"), settingsBefore);
  EXPECT_EQ(Lines(main).size(), linesBefore);
}

TEST_F(NetWardE2e, SecondInstanceRunsWithoutQuestionWhenDoubleStartIsAllowed) {
  ASSERT_TRUE(WriteSettings(folder_, [](nw::SettingsFileData& d) { d.Settings.DblErr = true; }));
  Process* first = nullptr;
  StartAndWait(&first);
  Process& second = Start();
  EXPECT_NE(Main(second), nullptr);
  EXPECT_TRUE(first->Running());
  EXPECT_TRUE(second.Running());
}

// 8
TEST_F(NetWardE2e, ActivityLogGetsEveryStatusLineInCodePage932) {
  ASSERT_TRUE(WriteSettings(folder_, [&](nw::SettingsFileData& d) {
    d.Settings.LoggingFLG = true;
    d.Settings.LogFileAddress = Narrow(folder_.Path(L"LogFile.txt"));
  }));
  HWND main = StartAndWait();
  SimConnect();
  ASSERT_TRUE(WaitForLine(main, "   接続状態になりました。", 10s));
  std::string expected;
  for (const auto& line : ListLines(GetDlgItem(main, cmd::StatusList))) expected += Cp932(line) + "\r\n";
  EXPECT_EQ(folder_.ReadFile(L"LogFile.txt"), expected);
}

TEST_F(NetWardE2e, LogPathWhoseFolderVanishedGivesTheNoticeAndSwitchesLoggingOff) {
  ASSERT_TRUE(WriteSettings(folder_, [&](nw::SettingsFileData& d) {
    d.Settings.LoggingFLG = true;
    d.Settings.LogFileAddress = Narrow(folder_.Path(L"gone\\LogFile.txt"));
  }));
  watcher_.Expect(L"ﾛｸﾞﾌｧｲﾙの保存場所が無効なため");
  Process* p = nullptr;
  Process& proc = Start();
  p = &proc;
  HWND notice = WaitForWindow(p->Pid(), nw::NWDDialog::kClassName, 15s);
  ASSERT_NE(notice, nullptr);
  // The window can be found before its controls are made and filled.
  std::string texts;
  EXPECT_TRUE(WaitUntil([&] {
    texts = Narrow(DialogTexts(notice));
    return texts.find("ﾛｸﾞﾌｧｲﾙの保存場所が無効なため、ﾛｸﾞを保存できませんでした。") != std::string::npos &&
           texts.find("ﾛｸﾞﾌｧｲﾙの保存場所が無効なため、「ﾛｸﾞ」機能の設定を初期化しました。") != std::string::npos &&
           FindChildByText(notice, L"O.K.") != nullptr;
  }, 10s)) << texts;
  HWND ok = FindChildByText(notice, L"O.K.");
  ASSERT_NE(ok, nullptr);
  SendMessageW(ok, BM_CLICK, 0, 0);
  HWND main = Main(*p);
  ASSERT_TRUE(WaitForLine(main, "   監視を開始しました。", 10s));
  Command(main, cmd::Closenu);
  ASSERT_TRUE(p->WaitExit(10s));
  const nw::SettingsFileData d = ReadSettings(folder_);
  EXPECT_FALSE(d.Settings.LoggingFLG);
  EXPECT_EQ(d.Settings.LogFileAddress, "");
  EXPECT_FALSE(folder_.Exists(L"gone"));
}

TEST_F(NetWardE2e, SessionEndAndTaskListCloseEndTheProgramEvenWithTheTrayIcon) {
  for (int way = 0; way < 2; ++way) {
    SCOPED_TRACE(way == 0 ? "log-off" : "task list");
    ASSERT_TRUE(WriteSettings(folder_, [&](nw::SettingsFileData& d) {
      d.SavedWindowState[nw::SwTrayIn] = -1;
      d.Settings.LoggingFLG = true;
      d.Settings.LogFileAddress = Narrow(folder_.Path(L"LogFile.txt"));
    }));
    Process* p = nullptr;
    HWND main = StartAndWait(&p);
    if (way == 0) {
      DWORD_PTR agreed = 0;
      SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &agreed);
      EXPECT_TRUE(agreed);
      EXPECT_TRUE(p->Running());  // nothing ends before the session really does
      PostMessageW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    } else {
      PostMessageW(main, WM_CLOSE, 0, 0);  // a close that is neither the close box nor our own
    }
    ASSERT_TRUE(p->WaitExit(10s));
    const std::string log = folder_.ReadFile(L"LogFile.txt");
    const std::string last = Cp932(L"   監視を終了しました。") + "\r\n";
    ASSERT_GE(log.size(), last.size());
    EXPECT_EQ(log.substr(log.size() - last.size()), last);
    DeleteFileW(folder_.Path(L"LogFile.txt").c_str());
  }
}

TEST_F(NetWardE2e, TrayPopupRequestActsOnlyWhileTheLineIsAsWhenItOpened) {
  Process* p = nullptr;
  HWND main = StartAndWait(&p);
  auto popup = [&] {
    PostMessageW(main, cmd::kTrayCallbackMessage, 0, WM_RBUTTONDOWN);
    return WaitForWindow(p->Pid(), L"#32768", 5s);
  };
  auto closePopup = [&](HWND menu) {
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(main, WM_CANCELMODE, 0, 0);
    WaitUntil([&] { return !Visible(menu); }, 3s);
  };
  // Opened while down ("接続(&D)"); the line comes up before the item is chosen: nothing happens.
  HWND menu = popup();
  ASSERT_NE(menu, nullptr);
  closePopup(menu);
  SimConnect();
  ASSERT_TRUE(WaitForLine(main, "   接続状態になりました。", 10s));
  Command(main, cmd::trDialUpnu);
  std::this_thread::sleep_for(1500ms);
  EXPECT_EQ(Count(Lines(main), "   切断を試行しました。 - 手動"), 0);
  // Opened while up ("切断(&H)"): the item hangs up.
  menu = popup();
  ASSERT_NE(menu, nullptr);
  closePopup(menu);
  Command(main, cmd::trDialUpnu);
  EXPECT_TRUE(WaitForLine(main, "   切断を試行しました。 - 手動", 10s));
  EXPECT_TRUE(WaitForLine(main, "   切断状態になりました。", 10s));
}

TEST_F(NetWardE2e, AlwaysOnTopIsSwitchedSavedAndRestored) {
  Process* p = nullptr;
  HWND main = StartAndWait(&p);
  ASSERT_TRUE(WaitUntil([&] { return Visible(main); }, 5s));
  HWND topBtn = GetDlgItem(main, cmd::TopWinBtn);
  EXPECT_FALSE(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SendMessageW(topBtn, BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return (GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, 5s));
  Command(main, cmd::Closenu);
  ASSERT_TRUE(p->WaitExit(10s));
  EXPECT_TRUE(ReadSettings(folder_).TopWinFLG);

  // The window can be found before its start-up has applied the saved state.
  main = StartAndWait(&p);
  EXPECT_TRUE(WaitUntil(
      [&] { return SendMessageW(GetDlgItem(main, cmd::TopWinBtn), BM_GETCHECK, 0, 0) == BST_CHECKED; }, 5s));
  EXPECT_TRUE(WaitUntil([&] { return (GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, 5s));
}

TEST_F(NetWardE2e, HiddenAtExitComesBackInThePreviousModeOnlyWithExpStart) {
  for (bool expStart : {true, false}) {
    SCOPED_TRACE(expStart ? "ExpStart on" : "ExpStart off");
    ASSERT_TRUE(WriteSettings(folder_, [&](nw::SettingsFileData& d) {
      d.Settings.ExpStart = expStart;
      d.SavedWindowState[nw::SwTrayIn] = -1;
      d.SavedWindowState[nw::SwDisplayMode] = 0;
      d.PreviousDisplayMode = 2;
    }));
    Process* p = nullptr;
    HWND main = StartAndWait(&p);
    if (expStart) {
      HWND comp = WaitForWindow(p->Pid(), nw::NWDComp::kClassName, 10s);
      ASSERT_NE(comp, nullptr);
      EXPECT_TRUE(WaitUntil([&] { return Visible(comp); }, 5s));
      EXPECT_FALSE(Visible(main));
    } else {
      std::this_thread::sleep_for(1500ms);
      EXPECT_FALSE(Visible(main));
      EXPECT_TRUE(TopWindows(p->Pid(), nw::NWDComp::kClassName).empty());
      // The tray's "表示(&E)..." brings back the mode before the program was hidden.
      Command(main, cmd::trExpnu);
      HWND comp = WaitForWindow(p->Pid(), nw::NWDComp::kClassName, 10s);
      ASSERT_NE(comp, nullptr);
      EXPECT_TRUE(WaitUntil([&] { return Visible(comp); }, 5s));
    }
    Command(main, cmd::Closenu);
    ASSERT_TRUE(p->WaitExit(10s));
  }
}

// 9
TEST_F(NetWardE2e, TimeLimitNoticeStaysOpenWhileCyclesRunAndTheNextLimitReplacesItsTexts) {
  // "今日" already stands at its limit, so it is exceeded in the first second of the connection;
  // the connection limit comes later, on the second connection.
  ASSERT_TRUE(WriteSettings(folder_, [](nw::SettingsFileData& d) {
    d.Settings.FormatIval = "h時間 mm分 ss秒";
    d.Settings.AtCutDialog = true;
    d.Settings.AtCutTime = 60;
    d.Counters.TodayDate = nw::DateOf(nw::LocalNow());
    d.Counters.TodaySeconds = 60;
    d.Counters.TodayCount = 1;
    d.Settings.AdCutDialog = true;
    d.Settings.AdCutTime = 10;  // leaves time to drop and reconnect before it runs out
  }));
  const std::string todayText = "\"今日\" ｶｳﾝﾀの累積接続時間が 0時間 01分 00秒 を超えました。";
  const std::string connectionText = "接続開始からの接続時間が 0時間 00分 10秒 を超えました。";
  const std::string question = "ﾀﾞｲｱﾙｱｯﾌﾟ接続を切断しますか?";
  watcher_.Expect(L"ｶｳﾝﾀの累積接続時間が");
  watcher_.Expect(L"接続開始からの接続時間が");
  Process* p = nullptr;
  HWND main = StartAndWait(&p);
  SimConnect();

  HWND notice = WaitForWindow(p->Pid(), nw::NWDDialog::kClassName, 20s);
  ASSERT_NE(notice, nullptr);
  // The window can be found before its controls are made.
  HWND mainMess = nullptr, subMess = nullptr, btnGo = nullptr, btnNgtv = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    mainMess = GetDlgItem(notice, nw::NWDDialog::kMainMess);
    subMess = GetDlgItem(notice, nw::NWDDialog::kSubMess);
    btnGo = GetDlgItem(notice, nw::NWDDialog::kBtnGo);
    btnNgtv = GetDlgItem(notice, nw::NWDDialog::kBtnNgtv);
    return mainMess && subMess && btnGo && btnNgtv;
  }, 10s));
  // The notice fills its texts and buttons one after the other: wait for all of them.
  auto texts = [&] {
    return Caption(mainMess) + "\n" + Caption(subMess) + "\n" + Caption(btnGo) + "|" + Caption(btnNgtv);
  };
  const std::string buttons = "\nはい(&Y)|いいえ(&N)";
  ASSERT_TRUE(WaitUntil([&] { return Visible(notice) && texts() == todayText + "\n" + question + buttons; }, 10s))
      << texts();
  EXPECT_EQ(Caption(notice), "Orvin.T.K. NetWard");
  EXPECT_TRUE(GetWindowLongW(notice, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(Visible(btnNgtv));
  EXPECT_FALSE(IsWindowEnabled(main));  // modal to the program's windows
  EXPECT_EQ(Count(Lines(main), "   接続状態になりました。"), 1);

  // Cycles go on underneath: the drop and the reconnection are seen and logged while the notice
  // stays open with its texts.
  SimDrop();
  ASSERT_TRUE(WaitForLine(main, "   切断状態になりました。", 10s));
  EXPECT_EQ(texts(), todayText + "\n" + question + buttons);
  SimConnect();
  ASSERT_TRUE(WaitForLine(main, "   接続状態になりました。", 10s, 2));
  EXPECT_EQ(texts(), todayText + "\n" + question + buttons);  // "今日" is announced once per counter period
  EXPECT_EQ(TopWindows(p->Pid(), nw::NWDDialog::kClassName), std::vector<HWND>{notice});

  // The connection limit of the second connection replaces the texts of the open notice.
  ASSERT_TRUE(WaitUntil([&] { return texts() == connectionText + "\n" + question + buttons; }, 30s)) << texts();
  EXPECT_EQ(TopWindows(p->Pid(), nw::NWDDialog::kClassName), std::vector<HWND>{notice});
  EXPECT_TRUE(Visible(notice));
  EXPECT_EQ(Count(Lines(main), "   切断を試行しました。 - 手動"), 0);

  // "はい(&Y)" acts for the latest notice: a manual hang-up; the program carries on with it.
  SendMessageW(btnGo, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return TopWindows(p->Pid(), nw::NWDDialog::kClassName).empty(); }, 10s));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 5s));
  EXPECT_TRUE(WaitForLine(main, "   切断を試行しました。 - 手動", 10s));
  EXPECT_TRUE(WaitForLine(main, "   切断状態になりました。", 15s, 2));
  EXPECT_TRUE(WaitUntil([&] { return Caption(main).rfind("切断状態 ", 0) == 0; }, 5s)) << Caption(main);
  EXPECT_TRUE(p->Running());
  EXPECT_TRUE(TopWindows(p->Pid(), nw::NWDDialog::kClassName).empty());
}

// 10
TEST_F(NetWardE2e, CompactWindowOpensResizesWithItsItemsAndClosesToTheTray) {
  ASSERT_TRUE(WriteSettings(folder_, [](nw::SettingsFileData& d) { d.SavedWindowState[nw::SwTrayIn] = -1; }));
  Process* p = nullptr;
  HWND main = StartAndWait(&p);
  Command(main, cmd::Compnu);
  HWND comp = WaitForWindow(p->Pid(), nw::NWDComp::kClassName, 10s);
  ASSERT_NE(comp, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return Visible(comp) && !Visible(main); }, 5s));
  auto clientWidth = [&] {
    RECT rc{};
    GetClientRect(comp, &rc);
    return rc.right - rc.left;
  };
  auto clientHeight = [&] {
    RECT rc{};
    GetClientRect(comp, &rc);
    return rc.bottom - rc.top;
  };
  const int w0 = clientWidth();
  const int h0 = clientHeight();
  Command(comp, nw::NWDComp::kExpLblnu);  // labels off: the label column goes
  ASSERT_TRUE(WaitUntil([&] { return clientWidth() < w0; }, 5s));
  Command(comp, nw::NWDComp::kExpLblnu);
  ASSERT_TRUE(WaitUntil([&] { return clientWidth() == w0; }, 5s));
  Command(comp, nw::NWDComp::kExpNownu);  // one row less
  ASSERT_TRUE(WaitUntil([&] { return clientHeight() < h0; }, 5s));
  PostMessageW(comp, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !Visible(comp) && !Visible(main); }, 5s));
  EXPECT_TRUE(p->Running());
}

// The oldest connection record of the program folder's dial log.
nw::DialRecord FirstDialRecord(const ProgramFolder& folder) {
  nw::SetProgramFolder(Narrow(folder.Dir()));
  nw::HistoryLog log;
  nw::DialRecord r;
  if (log.Open(nw::kDialLog)) log.ReadDial(0, r);
  return r;
}

int64_t SecondsSince(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - t).count();
}

// 11
TEST_F(NetWardE2e, KilledWhileConnectedLosesAtMostOneCheckpointIntervalAndTheDowntime) {
  dog_ = std::make_unique<Watchdog>(140s, [this] {
    for (auto& p : procs_) p->Kill();
  });
  SimConnect();
  Process* first = nullptr;
  HWND main = StartAndWait(&first);
  ASSERT_TRUE(WaitForLine(main, "   接続状態になりました。", 10s));
  const auto connected = std::chrono::steady_clock::now();
  // The status line comes just before the checkpoint is written.
  EXPECT_TRUE(WaitUntil([&] { return folder_.Exists(L"NwdRun.dat"); }, 5s));
  std::this_thread::sleep_for(63s);  // one checkpoint after the one at the connection
  first->Kill();                     // no shut-down: a crash or a power cut
  const auto killed = std::chrono::steady_clock::now();
  ASSERT_TRUE(folder_.Exists(L"NwdRun.dat"));
  std::this_thread::sleep_for(2s);

  Process* second = nullptr;
  main = StartAndWait(&second);
  ASSERT_TRUE(WaitForLine(main, "   接続状態になりました。", 10s));
  const int64_t downtime = SecondsSince(killed);
  auto lines = Lines(main);
  auto it = std::find(lines.begin(), lines.end(), "   前回の監視は正常に終了しませんでした。");
  ASSERT_NE(it, lines.end());
  ASSERT_GE(lines.end() - it, 3);
  EXPECT_EQ((it + 1)->rfind("      最終記録: ", 0), 0u) << *(it + 1);
  EXPECT_TRUE(std::regex_match(*(it + 2), std::regex("      復元した接続時間: 0時間 01分 0[0-2]秒"))) << *(it + 2);
  std::this_thread::sleep_for(4s);
  Command(main, cmd::Closenu);
  ASSERT_TRUE(second->WaitExit(10s));
  const int64_t actual = SecondsSince(connected);

  EXPECT_FALSE(folder_.Exists(L"NwdRun.dat"));
  const nw::SettingsFileData d = ReadSettings(folder_);
  EXPECT_EQ(d.Counters.TodayCount, 2);  // the crashed connection and the one running at the end
  const int64_t lost = actual - d.Counters.TodaySeconds;
  std::printf("connected %lld s, counted %d s, lost %lld s with %lld s down\n", static_cast<long long>(actual),
              d.Counters.TodaySeconds, static_cast<long long>(lost), static_cast<long long>(downtime));
  EXPECT_LE(lost, 60 + downtime + 1);
  EXPECT_GE(lost, downtime - 2);  // the downtime itself is not counted
  // The crashed connection's record ends at its last checkpoint.
  const nw::DialRecord r = FirstDialRecord(folder_);
  ASSERT_NE(r.DialEnd, 0);
  EXPECT_NEAR(static_cast<double>(nw::SecondsBetween(r.DialStart, r.DialEnd)), 60, 2);
}

// 12
TEST_F(NetWardE2e, SuspendAndResumeWithADropBetweenCountTheConnectionToTheSuspend) {
  HWND main = StartAndWait();
  SimConnect();
  ASSERT_TRUE(WaitForLine(main, "   接続状態になりました。", 10s));
  std::this_thread::sleep_for(3s);
  SendMessageW(main, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
  ASSERT_TRUE(WaitForLine(main, "   ｽﾘｰﾌﾟ状態に移行します。", 5s));
  SimDrop();  // the line goes while the machine sleeps
  ASSERT_TRUE(WaitForLine(main, "   切断状態になりました。", 10s));
  std::this_thread::sleep_for(4s);
  SendMessageW(main, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
  SendMessageW(main, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
  ASSERT_TRUE(WaitForLine(main, "   ｽﾘｰﾌﾟ状態から復帰しました。", 5s));
  const auto lines = Lines(main);
  EXPECT_EQ(Count(lines, "   ｽﾘｰﾌﾟ状態から復帰しました。"), 1);
  EXPECT_EQ(Count(lines, "      ｽﾘｰﾌﾟ中に切断されたため、ｽﾘｰﾌﾟ開始時までを記録しました。"), 1);
  Process* p = procs_.back().get();
  Command(main, cmd::Closenu);
  ASSERT_TRUE(p->WaitExit(10s));

  const nw::SettingsFileData d = ReadSettings(folder_);
  EXPECT_EQ(d.Counters.TodayCount, 1);
  EXPECT_GE(d.Counters.TodaySeconds, 2);
  EXPECT_LE(d.Counters.TodaySeconds, 5);  // not the 4 s and more after the suspend
  const nw::DialRecord r = FirstDialRecord(folder_);
  EXPECT_EQ(nw::SecondsBetween(r.DialStart, r.DialEnd), d.Counters.TodaySeconds);
  EXPECT_FALSE(folder_.Exists(L"NwdRun.dat"));
}

TEST_F(NetWardE2e, ProgramEndedWhileANoticeIsOpenStartsNoLinkpilotAfterwards) {
  // The lock keeps the line up. The provider drops it, the dial the lock makes fails, and the
  // outside-change notice is open when the user ends the program from the tray.
  ASSERT_TRUE(WriteSettings(folder_, [&](nw::SettingsFileData& d) {
    d.Settings.TimerIval = 30000;  // only the cycles the test asks for
    d.Settings.CngDisconnLockOnFLG = true;
    d.Settings.LoggingFLG = true;
    d.Settings.LogFileAddress = Narrow(folder_.Path(L"LogFile.txt"));
    d.SavedWindowState[nw::SwLockShown] = -1;
  }));
  watcher_.Expect(L"外部の切断試行により切断状態への変化を感知しました。");
  SimConnect();
  Process* p = nullptr;
  HWND main = StartAndWait(&p);
  Command(main, cmd::Renewnu);
  ASSERT_TRUE(WaitForLine(main, "   接続状態になりました。", 10s));
  SendMessageW(GetDlgItem(main, cmd::LockBtn), BM_CLICK, 0, 0);  // lock: keep connected
  SimDrop();
  Sim([](linesim::State& s) { s.FailNext = linesim::kErrorNoAnswer; });
  Command(main, cmd::Renewnu);
  HWND notice = WaitForWindow(p->Pid(), nw::NWDDialog::kClassName, 10s);
  ASSERT_NE(notice, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return Calls("InternetAutodial") == 1; }, 10s));
  ASSERT_TRUE(DialersEnded(10s));

  Command(main, cmd::trEndnu);
  ASSERT_TRUE(p->WaitExit(10s));
  std::this_thread::sleep_for(2s);  // a Linkpilot started at the end would have dialled by now
  EXPECT_EQ(Calls("InternetAutodial"), 1);
  const std::string log = folder_.ReadFile(L"LogFile.txt");
  const std::string last = Cp932(L"   監視を終了しました。") + "\r\n";
  ASSERT_GE(log.size(), last.size());
  EXPECT_EQ(log.substr(log.size() - last.size()), last);
}

TEST_F(NetWardE2e, WithoutAnIconInTheTrayNothingHidesTheProgramForGood) {
  FakeTray shell;  // refuses every icon, as a notification area that is not there
  ASSERT_TRUE(shell.InPlace());
  ASSERT_TRUE(WriteSettings(folder_, [](nw::SettingsFileData& d) { d.SavedWindowState[nw::SwTrayIn] = -1; }));
  Process* p = nullptr;
  HWND main = StartAndWait(&p);
  ASSERT_TRUE(WaitUntil([&] { return Visible(main); }, 5s));
  ASSERT_TRUE(WaitUntil([&] { return !shell.Requests().empty(); }, 5s));
  EXPECT_EQ(shell.Requests().front().Message, static_cast<DWORD>(NIM_ADD));

  // "ﾀｽｸﾄﾚｲに入れる(&T)" is not offered: the command does nothing.
  Command(main, cmd::InTraynu);
  std::this_thread::sleep_for(1500ms);
  EXPECT_TRUE(p->Running());
  EXPECT_TRUE(Visible(main));

  // The compact window's close box ends the program instead of hiding everything.
  Command(main, cmd::Compnu);
  HWND comp = WaitForWindow(p->Pid(), nw::NWDComp::kClassName, 10s);
  ASSERT_NE(comp, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return Visible(comp); }, 5s));
  PostMessageW(comp, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(p->WaitExit(10s));
}

TEST_F(NetWardE2e, IconAddedWhenTheShellComesShowsThePresentPictureAndTip) {
  FakeTray shell;
  ASSERT_TRUE(shell.InPlace());
  ASSERT_TRUE(WriteSettings(folder_, [](nw::SettingsFileData& d) { d.SavedWindowState[nw::SwTrayIn] = -1; }));
  HWND main = StartAndWait();
  ASSERT_TRUE(WaitUntil([&] { return !shell.Requests().empty(); }, 5s));
  const FakeTray::Request refused = shell.Requests().front();
  ASSERT_EQ(refused.Message, static_cast<DWORD>(NIM_ADD));
  ASSERT_FALSE(refused.Icon.empty());  // the disconnected picture

  SimConnect();
  ASSERT_TRUE(WaitForLine(main, "   接続状態になりました。", 10s));
  ASSERT_TRUE(WaitUntil([&] { return Caption(main).rfind("接続状態 ", 0) == 0; }, 5s));
  // The shell starts and announces itself.
  shell.Accept(true);
  PostMessageW(main, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  FakeTray::Request added;
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (const auto& r : shell.Requests())
          if (r.Accepted && r.Message == NIM_ADD) added = r;
        return added.Accepted;
      },
      5s));
  EXPECT_EQ(added.Flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(Narrow(added.Tip).rfind("接続状態 ", 0), 0u) << Narrow(added.Tip);
  EXPECT_TRUE(added.Icon != refused.Icon) << "still the disconnected picture";

  // From now on the icon follows the line: down again, the disconnected picture.
  const size_t seen = shell.Requests().size();
  SimDrop();
  ASSERT_TRUE(WaitForLine(main, "   切断状態になりました。", 10s));
  EXPECT_TRUE(WaitUntil(
      [&] {
        const auto all = shell.Requests();
        for (size_t i = seen; i < all.size(); ++i)
          if (all[i].Message == NIM_MODIFY && all[i].Icon == refused.Icon) return true;
        return false;
      },
      5s));
}

TEST_F(NetWardE2e, WindowDoesNotWaitForASlowShellAndTheIconCatchesUp) {
  FakeTray shell;
  ASSERT_TRUE(shell.InPlace());
  shell.Accept(true);
  shell.AnswerFirstAfter(10s);  // ample time for a slow machine to start and see the line come up
  ASSERT_TRUE(WriteSettings(folder_, [](nw::SettingsFileData& d) { d.SavedWindowState[nw::SwTrayIn] = -1; }));
  HWND main = StartAndWait();
  ASSERT_TRUE(Visible(main));
  std::vector<FakeTray::Request> seen = shell.Requests();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].Message, static_cast<DWORD>(NIM_ADD));
  EXPECT_TRUE(shell.Holding()) << "the window waited for the shell's answer";

  // The line comes up while the shell still holds the add: the monitor goes on meanwhile.
  SimConnect();
  ASSERT_TRUE(WaitForLine(main, "   接続状態になりました。", 10s));
  EXPECT_TRUE(shell.Holding());
  // Once the add is answered, the state reached meanwhile follows it in one request.
  ASSERT_TRUE(WaitUntil([&] { return shell.Requests().size() >= 2; }, 15s));
  seen = shell.Requests();
  EXPECT_EQ(seen[1].Message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(seen[1].Flags, static_cast<UINT>(NIF_ICON | NIF_TIP));
  EXPECT_EQ(Narrow(seen[1].Tip).rfind("接続状態 ", 0), 0u) << Narrow(seen[1].Tip);
  EXPECT_TRUE(seen[1].Icon != seen[0].Icon) << "still the disconnected picture";
}

// Black pixels of the main window's volume line (96-DPI client coordinates).
int VolumeLinePixels(HWND main) {
  HDC dc = GetDC(main);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  auto px = [dpi](int v) { return MulDiv(v, dpi, 96); };
  int n = 0;
  for (int y = px(122); y < px(135); ++y)
    for (int x = px(6); x < px(300); ++x)
      if (GetPixel(dc, x, y) == RGB(0, 0, 0)) ++n;
  ReleaseDC(main, dc);
  return n;
}

TEST_F(NetWardE2e, SimulatedTrafficShowsInTipAndWindowAndTheQuotaWarnsThenNotifies) {
  FakeTray shell;
  ASSERT_TRUE(shell.InPlace());
  shell.Accept(true);
  ASSERT_TRUE(WriteSettings(folder_, [](nw::SettingsFileData& d) { d.SavedWindowState[nw::SwTrayIn] = -1; }));
  nw::VolumeFileData vol;
  vol.Quota.QuotaOn = true;
  vol.Quota.Allowance = 10 * nw::kMegabyte;
  vol.Quota.AllowanceUnit = 0;
  nw::SetProgramFolder(Narrow(folder_.Dir()));
  ASSERT_TRUE(nw::SaveVolumeFile(vol));
  watcher_.Expect(L"ｶｳﾝﾀのﾃﾞｰﾀ量が上限の");
  Process* p = nullptr;
  HWND main = StartAndWait(&p);
  ASSERT_TRUE(WaitUntil([&] { return Visible(main); }, 5s));
  auto addTraffic = [&](uint64_t in) {
    Sim([in](linesim::State& s) {
      for (auto& a : s.Adapters)
        if (a.Alias == "Ethernet") a.InOctets += in;
    });
  };
  auto lastTip = [&] {
    std::wstring tip;
    for (const auto& r : shell.Requests())
      if (r.Flags & NIF_TIP) tip = r.Tip;
    return Narrow(tip);
  };

  SimConnect();
  ASSERT_TRUE(WaitForLine(main, "   接続状態になりました。", 10s));
  std::this_thread::sleep_for(1500ms);
  const int idlePixels = VolumeLinePixels(main);  // blank: nothing counted yet
  // The first reading of a connection sets the base: bytes count from the next one.
  bool shown = false;
  for (int i = 0; i < 40 && !shown; ++i) {
    addTraffic(1024);
    std::this_thread::sleep_for(300ms);
    shown = lastTip().find("\n今回 ") != std::string::npos;
  }
  ASSERT_TRUE(shown) << lastTip();
  EXPECT_EQ(lastTip().rfind("接続状態 ", 0), 0u) << lastTip();
  addTraffic(nw::kMegabyte);
  ASSERT_TRUE(WaitUntil([&] { return lastTip().find("\n今回 1.0") != std::string::npos; }, 5s)) << lastTip();
  // "今回 1.0x MB / 期間 1.0x MB" is drawn where the line was blank.
  EXPECT_TRUE(WaitUntil([&] { return VolumeLinePixels(main) > idlePixels + 30; }, 5s))
      << idlePixels << " " << VolumeLinePixels(main);

  // 80 %: a status line and the tray's balloon.
  addTraffic(7 * nw::kMegabyte);
  const std::string warning = "ﾃﾞｰﾀ量が上限の80%に達しました。(";
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (const auto& l : Lines(main))
          if (l.rfind("   " + warning, 0) == 0) return true;
        return false;
      },
      10s));
  bool balloon = false;
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (const auto& r : shell.Requests())
          if ((r.Flags & NIF_INFO) && Narrow(r.Info).rfind(warning, 0) == 0) balloon = Narrow(r.InfoTitle) == "Orvin.T.K. NetWard";
        return balloon;
      },
      5s));

  // 100 %: the notice, with the line left up (tell only).
  addTraffic(2 * nw::kMegabyte);
  HWND notice = WaitForWindow(p->Pid(), nw::NWDDialog::kClassName, 15s);
  ASSERT_NE(notice, nullptr);
  HWND mainMess = nullptr, btnGo = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    mainMess = GetDlgItem(notice, nw::NWDDialog::kMainMess);
    btnGo = GetDlgItem(notice, nw::NWDDialog::kBtnGo);
    return mainMess && btnGo;
  }, 10s));
  const std::string reached = nw::QuotaReachedText("ﾕｰｻﾞｰ定義", vol.Quota);
  EXPECT_TRUE(WaitUntil([&] { return Caption(mainMess) == reached; }, 5s)) << Caption(mainMess);
  EXPECT_TRUE(WaitForLine(main, "   " + reached, 5s));
  SendMessageW(btnGo, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return TopWindows(p->Pid(), nw::NWDDialog::kClassName).empty(); }, 10s));
  EXPECT_EQ(Calls("InternetAutodialHangup"), 0);
  EXPECT_TRUE(p->Running());
}

TEST_F(NetWardE2e, ShowingTheWindowChecksTheLimitsWithThePresentTime) {
  // No timer: after one cycle the connection's time grows unseen until the window is shown.
  ASSERT_TRUE(WriteSettings(folder_, [](nw::SettingsFileData& d) {
    d.Settings.TimerActv = false;
    d.Settings.AdCutHangup = true;
    d.Settings.AdCutTime = 2;
    d.Settings.ExpStart = false;
    d.SavedWindowState[nw::SwTrayIn] = -1;
    d.SavedWindowState[nw::SwDisplayMode] = 0;
  }));
  SimConnect();
  HWND main = StartAndWait();
  Command(main, cmd::Renewnu);
  ASSERT_TRUE(WaitForLine(main, "   接続状態になりました。", 10s));
  std::this_thread::sleep_for(3500ms);
  EXPECT_EQ(Count(Lines(main), "   切断を試行しました。 - 自動"), 0);
  Command(main, cmd::trExpnu);
  ASSERT_TRUE(WaitForLine(main, "   切断を試行しました。 - 自動", 10s));
  const auto lines = Lines(main);
  auto before = [&](const std::string& event) {
    const auto it = std::find(lines.begin(), lines.end(), event);
    return it == lines.begin() || it == lines.end() ? std::string() : *(it - 1);
  };
  // The hang-up is logged at the moment it was made, not at the time of the last cycle.
  EXPECT_TRUE(std::regex_match(before("   切断を試行しました。 - 自動"), kTimeLine));
  EXPECT_NE(before("   切断を試行しました。 - 自動"), before("   接続状態になりました。"));
}

TEST_F(NetWardE2e, MinimizedAtExitTheWindowsOwnPositionIsSaved) {
  Process* p = nullptr;
  HWND main = StartAndWait(&p);
  ASSERT_TRUE(WaitUntil([&] { return Visible(main); }, 5s));
  SetWindowPos(main, nullptr, 140, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  RECT r{};
  ASSERT_TRUE(WaitUntil([&] { return GetWindowRect(main, &r) && r.left == 140; }, 5s));
  ShowWindow(main, SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(main) != FALSE; }, 5s));
  Command(main, cmd::Closenu);
  ASSERT_TRUE(p->WaitExit(10s));
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  const nw::SettingsFileData d = ReadSettings(folder_);
  EXPECT_NEAR(d.SavedWindowState[nw::SwLeft], MulDiv(r.left, 1440, dpi), 15);
  EXPECT_NEAR(d.SavedWindowState[nw::SwTop], MulDiv(r.top, 1440, dpi), 15);
}

// Keys only, as a user without a mouse: the main window's controls, its menus, the about box and
// the compact window.
TEST_F(NetWardE2e, EveryWindowWorksFromTheKeyboardAlone) {
  ASSERT_TRUE(WriteSettings(folder_, [](nw::SettingsFileData& d) { d.Settings.CounterName = "A&B"; }));
  Process* p = nullptr;
  HWND main = StartAndWait(&p);
  ASSERT_TRUE(WaitUntil([&] { return Visible(main); }, 5s));
  const DWORD ui = GetWindowThreadProcessId(main, nullptr);
  HWND list = GetDlgItem(main, cmd::StatusList);
  HWND dialBtn = GetDlgItem(main, cmd::DialGoBtn);
  HWND topBtn = GetDlgItem(main, cmd::TopWinBtn);
  auto focusIs = [&](HWND w) { return WaitUntil([&] { return FocusOf(ui) == w; }, 5s); };
  // The counter's name is shown as written: its "&" is no mnemonic.
  EXPECT_TRUE(GetWindowLongW(GetDlgItem(main, cmd::UserDefine), GWL_STYLE) & SS_NOPREFIX);

  SetForegroundWindow(main);
  ASSERT_TRUE(focusIs(dialBtn));  // the first control has the focus
  PressKey(ui, 'O', true);        // "常に手前に表示(&O)"
  EXPECT_TRUE(WaitUntil([&] { return SendMessageW(topBtn, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 5s));
  EXPECT_TRUE(WaitUntil([&] { return (GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, 5s));
  PressKey(ui, 'S', true);  // "状況(&S):" focuses the status list
  EXPECT_TRUE(focusIs(list));
  PressKey(ui, VK_TAB);  // round to the dial button
  EXPECT_TRUE(focusIs(dialBtn));
  PressKey(ui, VK_RETURN);  // the focused button: dial
  EXPECT_TRUE(WaitForLine(main, "   接続を試行しました。 - 手動", 10s));

  // "ﾍﾙﾌﾟ(&H)" / "ﾊﾞｰｼﾞｮﾝ情報(&V)...": the about box; Esc closes it and the focus is back where it was.
  PressKey(ui, 'S', true);
  ASSERT_TRUE(focusIs(list));
  PressKey(ui, 'H', true);
  ASSERT_NE(WaitForWindow(p->Pid(), L"#32768", 5s), nullptr);
  ASSERT_TRUE(WaitUntil([&] { return Visible(WaitForWindow(p->Pid(), L"#32768", 100ms)); }, 5s));
  PressKey(ui, 'V');
  HWND about = WaitForWindow(p->Pid(), nw::NWDVersion::kClassName, 10s);
  ASSERT_NE(about, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return Visible(about) && FocusOf(ui) && IsChild(about, FocusOf(ui)); }, 5s));
  PressKey(ui, VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 5s));
  EXPECT_TRUE(focusIs(list));

  // "ﾒｲﾝ(&M)" / "ｳｨﾝﾄﾞｳをｺﾝﾊﾟｸﾄ化(&P)...", and back with the compact window's "戻る(&B)".
  PressKey(ui, 'M', true);
  ASSERT_TRUE(WaitUntil([&] { return Visible(WaitForWindow(p->Pid(), L"#32768", 100ms)); }, 5s));
  PressKey(ui, 'P');
  HWND comp = WaitForWindow(p->Pid(), nw::NWDComp::kClassName, 10s);
  ASSERT_NE(comp, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return Visible(comp) && !Visible(main); }, 5s));
  SetForegroundWindow(comp);
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(ui) == comp; }, 5s));
  PressKey(ui, 'M', true);
  ASSERT_TRUE(WaitUntil([&] { return Visible(WaitForWindow(p->Pid(), L"#32768", 100ms)); }, 5s));
  PressKey(ui, 'B');
  EXPECT_TRUE(WaitUntil([&] { return Visible(main) && !IsWindow(comp); }, 5s));
  EXPECT_TRUE(p->Running());
}

}  // namespace
}  // namespace e2e
