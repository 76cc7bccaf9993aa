// The settings dialogs of the real NetWard.exe, driven from outside by the keyboard and the mouse:
// the operation settings (a bad value on a later page, "ｷｬﾝｾﾙ", a good "O.K." acting at once and
// saved at the end, the data volume quota written into NwdUtil.vol, the start-up registration page against this prefix's registry and start-up
// folder), the connection information sets dialed through Linkpilot, and the watched entries.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "E2eFixture.h"
#include "E2eInput.h"
#include "E2eSettings.h"
#include "E2eSupport.h"
#include "LineSimState.h"
#include "app/NWDMenuIds.h"
#include "data/NWDVolumeFile.h"
#include "settings/NWDQuotaIds.h"
#include "settings/NWDUtilIds.h"
#include "settings/NWDUtilSprIds.h"

namespace e2e {
namespace {

namespace cmd = nw::cmd;
namespace util = nw::util;
constexpr const char* kEntry = "NWProvider";
constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string TextOf(HWND dlg, int id) { return Narrow(Text(Control(dlg, id))); }
bool Enabled(HWND dlg, int id) { return IsWindowEnabled(Control(dlg, id)) != FALSE; }
bool PageShown(HWND dlg, int container) { return Visible(Control(dlg, container)); }

class SettingsDialogE2e : public NetWardE2e {
 protected:
  void SetUp() override {
    NetWardE2e::SetUp();
    ASSERT_TRUE(linesim::Modify(folder_.SimState(), [](linesim::State& s) {
      s = linesim::State{};
      s.Entries.push_back(linesim::Entry{kEntry});
      s.AutodialEntry = kEntry;
    }));
  }

  // The main window once the monitor has written its first status lines.
  HWND StartNetWard() {
    HWND main = NetWardE2e::StartNetWard();
    EXPECT_TRUE(WaitUntil([&] { return StatusLines(main) >= 2; }, 10s));
    return main;
  }

  // "動作の設定(&A)..." and the dialog it opens, in the foreground with the focus on page 0.
  HWND OpenDialog(HWND main) {
    PostMessageW(main, WM_COMMAND, cmd::UtilActnu, 0);
    HWND dlg = WaitForWindow(proc_->Pid(), L"NetWardForm", 10s);
    EXPECT_TRUE(WaitUntil([&] { return Visible(dlg) && FocusId(dlg) != 0; }, 10s));
    EXPECT_EQ(Narrow(Text(dlg)), "Orvin.T.K. NetWard 動作の設定");
    EXPECT_EQ(FocusId(dlg), util::UserRenew);
    return dlg;
  }

  static int StatusLines(HWND main) {
    return static_cast<int>(ListLines(GetDlgItem(main, cmd::StatusList)).size());
  }

  // Monitor cycles of NetWard within `span` (each probes the line once).
  int CyclesWithin(Ms span) {
    linesim::ClearCalls(folder_.SimState());
    std::this_thread::sleep_for(span);
    int n = 0;
    for (const auto& c : linesim::ReadCalls(folder_.SimState()))
      if (c.Pid == proc_->Pid() && c.Function == "InternetGetConnectedState") ++n;
    return n;
  }
};

TEST_F(SettingsDialogE2e, BadValueOnALaterPageIsShownThereAndCancelKeepsEverything) {
  ASSERT_TRUE(WriteSettings(folder_, [](nw::SettingsFileData&) {}));
  const nw::SettingsRecord before = ReadSettings(folder_).Settings;
  HWND main = StartNetWard();
  HWND dlg = OpenDialog(main);
  ASSERT_TRUE(PageShown(dlg, util::DecRenew));

  // Six pages on: "表示方法の設定"; Alt+M to the list size, a bad one typed over the selection.
  for (int i = 0; i < 6; ++i) Key(VK_TAB, {VK_CONTROL});
  ASSERT_TRUE(WaitUntil([&] { return PageShown(dlg, util::DecExpress); }, 5s));
  EXPECT_FALSE(PageShown(dlg, util::DecRenew));
  Key('M', {VK_MENU});
  ASSERT_TRUE(WaitUntil([&] { return FocusId(dlg) == util::MaxCount; }, 5s));
  Type(L"0");
  ASSERT_TRUE(WaitUntil([&] { return TextOf(dlg, util::MaxCount) == "0"; }, 5s));
  // The next page: a user-defined interval that is also bad, but checked later.
  Key(VK_NEXT, {VK_CONTROL});
  ASSERT_TRUE(WaitUntil([&] { return PageShown(dlg, util::DecTimer); }, 5s));
  for (int i = 0; i < 6 && FocusId(dlg) != util::UserTimerIval; ++i) Key(VK_TAB);
  ASSERT_EQ(FocusId(dlg), util::UserTimerIval);
  Type(L"99");  // typing chooses "ﾕｰｻﾞｰ定義(&U):"
  EXPECT_EQ(SendMessageW(Control(dlg, util::TimerOp + 4), BM_GETCHECK, 0, 0), BST_CHECKED);

  watcher_.Expect(L"最大掲載数");
  const std::string warning = MessageAfter([] { Key(VK_RETURN); });
  EXPECT_NE(warning.find("最大掲載数には1以上の数値を指定して下さい。"), std::string::npos) << warning;
  EXPECT_EQ(warning.find("監視間隔"), std::string::npos);
  // Its page is selected again, the box focused with its whole text selected.
  EXPECT_TRUE(PageShown(dlg, util::DecExpress));
  EXPECT_FALSE(PageShown(dlg, util::DecTimer));
  ASSERT_TRUE(WaitUntil([&] { return FocusId(dlg) == util::MaxCount; }, 5s));
  DWORD selStart = 9, selEnd = 9;
  SendMessageW(Control(dlg, util::MaxCount), EM_GETSEL, reinterpret_cast<WPARAM>(&selStart),
               reinterpret_cast<LPARAM>(&selEnd));
  EXPECT_EQ(selStart, 0u);
  EXPECT_EQ(selEnd, 1u);

  // Esc: "ｷｬﾝｾﾙ". The timer still runs every second and nothing reaches the file.
  Key(VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg); }, 5s));
  EXPECT_GE(CyclesWithin(3500ms), 2);
  PostMessageW(main, WM_COMMAND, cmd::Closenu, 0);
  ASSERT_TRUE(proc_->WaitExit(10s));
  EXPECT_EQ(ReadSettings(folder_).Settings, before);
}

TEST_F(SettingsDialogE2e, GoodOkActsAtOnceAndIsSavedAtTheEnd) {
  ASSERT_TRUE(WriteSettings(folder_, [](nw::SettingsFileData& d) { d.SavedWindowState[nw::SwTrayIn] = 0; }));
  HWND main = StartNetWard();
  // A connection and a drop fill the status list beyond two lines.
  linesim::Modify(folder_.SimState(), [](linesim::State& s) {
    s.AddConnection(kEntry, linesim::kStateConnected);
    s.Online = true;
  });
  ASSERT_TRUE(WaitUntil([&] { return StatusLines(main) >= 4; }, 10s));
  linesim::Modify(folder_.SimState(), [](linesim::State& s) {
    for (auto& c : std::vector<linesim::Connection>(s.Connections)) s.RemoveConnection(c.Handle);
    s.Online = false;
  });
  ASSERT_TRUE(WaitUntil([&] { return StatusLines(main) >= 6; }, 10s));
  EXPECT_GE(CyclesWithin(3500ms), 2);

  HWND dlg = OpenDialog(main);
  // Back round to the last page, "ﾃﾞｰﾀ量の設定": an allowance of 2 GB, the second warning at 95 %.
  Key(VK_PRIOR, {VK_CONTROL});
  ASSERT_TRUE(WaitUntil([&] { return PageShown(dlg, util::DecQuota); }, 5s));
  Key('Q', {VK_MENU});
  Key('S', {VK_MENU});
  Type(L"2");
  Key('2', {VK_MENU});
  Type(L"95");
  ASSERT_TRUE(WaitUntil([&] { return TextOf(dlg, util::QuotaWarn + 1) == "95"; }, 5s));
  Key(VK_PRIOR, {VK_CONTROL});  // "ｱﾌﾟﾘｹｰｼｮﾝの設定"
  ASSERT_TRUE(WaitUntil([&] { return PageShown(dlg, util::DecTaskTray); }, 5s));
  Key('T', {VK_MENU});
  EXPECT_EQ(SendMessageW(Control(dlg, util::TackTrayIn), BM_GETCHECK, 0, 0), BST_CHECKED);
  Key(VK_PRIOR, {VK_CONTROL});
  Key(VK_PRIOR, {VK_CONTROL});
  ASSERT_TRUE(WaitUntil([&] { return PageShown(dlg, util::DecTimer); }, 5s));
  Key('D', {VK_MENU});  // "10秒(&D)"
  EXPECT_EQ(SendMessageW(Control(dlg, util::TimerOp + 3), BM_GETCHECK, 0, 0), BST_CHECKED);
  Key(VK_PRIOR, {VK_CONTROL});
  Key('M', {VK_MENU});
  Type(L"2");
  Key(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg); }, 5s));

  // The quota is written into NwdUtil.vol with "O.K.".
  nw::SetProgramFolder(Narrow(folder_.Dir()));
  nw::VolumeFileData volume;
  ASSERT_EQ(nw::LoadVolumeFile(volume), nw::CheckedFileState::Loaded);
  EXPECT_TRUE(volume.Quota.QuotaOn);
  EXPECT_EQ(volume.Quota.Allowance, uint64_t{2} << 30);
  EXPECT_EQ(volume.Quota.WarnPercent1, 80);
  EXPECT_EQ(volume.Quota.WarnPercent2, 95);

  // At once: the list cut to MaxCount + 1 lines, cycles ten seconds apart, the tray icon there
  // (the close box now hides the window instead of ending the program).
  EXPECT_TRUE(WaitUntil([&] { return StatusLines(main) == 3; }, 3s));
  EXPECT_LE(CyclesWithin(4000ms), 1);
  PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(WaitUntil([&] { return !Visible(main); }, 5s));
  EXPECT_TRUE(proc_->Running());

  PostMessageW(main, WM_COMMAND, cmd::Closenu, 0);
  ASSERT_TRUE(proc_->WaitExit(10s));
  const nw::SettingsFileData saved = ReadSettings(folder_);
  EXPECT_EQ(saved.Settings.MaxCount, 2);
  EXPECT_EQ(saved.Settings.TimerIval, 10000);
  EXPECT_EQ(saved.SavedWindowState[nw::SwTrayIn], -1);
}

class StartupRegistrationE2e : public SettingsDialogE2e {
 protected:
  void SetUp() override {
    SettingsDialogE2e::SetUp();
    wchar_t path[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, 0, path)));
    startup_ = path;
    CleanUp();
  }
  void TearDown() override {
    SettingsDialogE2e::TearDown();
    CleanUp();
  }
  void CleanUp() {
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, L"NetWard");
    DeleteFileW(Shortcut().c_str());
  }
  std::wstring Shortcut() const { return startup_ + L"\\NetWard.lnk"; }
  static std::wstring RunValue() {
    wchar_t buf[1024] = {};
    DWORD bytes = sizeof buf;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kRunKey, L"NetWard", RRF_RT_REG_SZ, nullptr, buf, &bytes) != ERROR_SUCCESS)
      return L"(none)";
    return buf;
  }
  bool ShortcutThere() const { return GetFileAttributesW(Shortcut().c_str()) != INVALID_FILE_ATTRIBUTES; }
  // The page's states and which of its four buttons can be pressed.
  static std::string States(HWND dlg) {
    std::string s = TextOf(dlg, util::MesLaunchStatus) + "|" + TextOf(dlg, util::MesRegStatus) + "|" +
                    TextOf(dlg, util::MesSupStatus) + "|";
    for (int id : {util::cmRegRegist, util::cmRegDelete, util::cmSupRegist, util::cmSupDelete})
      s += Enabled(dlg, id) ? "1" : "0";
    return s;
  }

  std::wstring startup_;
};

TEST_F(StartupRegistrationE2e, RunValueAndShortcutAreRegisteredAndRemoved) {
  ASSERT_TRUE(WriteSettings(folder_, [](nw::SettingsFileData&) {}));
  HWND main = StartNetWard();
  HWND dlg = OpenDialog(main);
  for (int i = 0; i < 3; ++i) Key(VK_PRIOR, {VK_CONTROL});  // past the quota and application pages
  ASSERT_TRUE(WaitUntil([&] { return PageShown(dlg, util::DecLaunch); }, 5s));
  EXPECT_EQ(TextOf(dlg, util::MesRegPlace),
            "ｷｰ名:HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run 値名:NetWard");
  EXPECT_EQ(TextOf(dlg, util::MesSupPlace), Narrow(startup_));
  const std::string none = "自動起動しません。|ﾚｼﾞｽﾄﾘに登録されていません。|ｽﾀｰﾄｱｯﾌﾟﾌｫﾙﾀﾞに登録されていません。|";
  EXPECT_EQ(States(dlg), none + "1010");

  watcher_.Expect(L"正常に");
  EXPECT_NE(MessageAfter([] { Key('R', {VK_MENU}); }).find("ﾚｼﾞｽﾄﾘへ正常に登録できました。"), std::string::npos);
  EXPECT_EQ(RunValue(), L"\"" + folder_.Path(L"NetWard.exe") + L"\"");
  EXPECT_EQ(States(dlg), "自動起動するように設定してあります。|ﾚｼﾞｽﾄﾘに登録されています。|"
                         "ｽﾀｰﾄｱｯﾌﾟﾌｫﾙﾀﾞに登録されていません。|0100");
  EXPECT_NE(MessageAfter([] { Key('D', {VK_MENU}); }).find("ﾚｼﾞｽﾄﾘから正常に削除できました。"), std::string::npos);
  EXPECT_EQ(RunValue(), L"(none)");
  EXPECT_EQ(States(dlg), none + "1010");

  EXPECT_NE(MessageAfter([] { Key('S', {VK_MENU}); }).find("ｽﾀｰﾄｱｯﾌﾟﾌｫﾙﾀﾞへ正常に登録できました。"),
            std::string::npos);
  EXPECT_TRUE(ShortcutThere());
  EXPECT_EQ(States(dlg), "自動起動するように設定してあります。|ﾚｼﾞｽﾄﾘに登録されていません。|"
                         "ｽﾀｰﾄｱｯﾌﾟﾌｫﾙﾀﾞに登録されています。|0001");
  EXPECT_NE(MessageAfter([] { Key('E', {VK_MENU}); }).find("ｽﾀｰﾄｱｯﾌﾟﾌｫﾙﾀﾞから正常に削除できました。"),
            std::string::npos);
  EXPECT_FALSE(ShortcutThere());
  EXPECT_EQ(States(dlg), none + "1010");
  Key(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dlg); }, 5s));
}

// ---- connection information sets and watched entries ------------------------------------------------

namespace spr = nw::spr;
namespace ent = nw::ent;

class AdvancedSettingsE2e : public SettingsDialogE2e {
 protected:
  void SetUp() override {
    SettingsDialogE2e::SetUp();
    // A second entry that accepts only its own user name and password.
    ASSERT_TRUE(linesim::Modify(folder_.SimState(), [](linesim::State& s) {
      linesim::Entry second{"Second"};
      second.User = "bob";
      second.Password = "pw2";
      s.Entries.push_back(second);
    }));
  }

  // The main window in front, then Alt + `top` and `item`: the dialog that opens, with `caption`.
  HWND OpenByKeys(HWND main, WORD top, WORD item, const char* caption) {
    SetForegroundWindow(main);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }, 5s));
    Key(top, {VK_MENU});
    Key(item);
    HWND dlg = WaitForWindow(proc_->Pid(), L"NetWardForm", 10s);
    EXPECT_TRUE(WaitUntil([&] { return Visible(dlg) && FocusId(dlg) != 0; }, 10s));
    EXPECT_EQ(Narrow(Text(dlg)), caption);
    return dlg;
  }

  // Alt + `mnemonic`, then `text` typed over what the box held.
  void Fill(HWND dlg, WORD mnemonic, int id, const std::wstring& text) {
    Key(mnemonic, {VK_MENU});
    EXPECT_TRUE(WaitUntil([&] { return FocusId(dlg) == id || GetParent(FocusedWindow(dlg)) == Control(dlg, id); }, 5s))
        << id;
    Key('A', {VK_CONTROL});
    Type(text);
  }
  static HWND FocusedWindow(HWND dlg) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dlg, nullptr), &info);
    return info.hwndFocus;
  }

  // The RasDialA calls Linkpilot made: "entry/user/password" each.
  std::vector<std::string> Dials() {
    std::vector<std::string> d;
    for (const auto& c : linesim::ReadCalls(folder_.SimState()))
      if (c.Function == "RasDialA") d.push_back(c.Arg("entry") + "/" + c.Arg("user") + "/" + c.Arg("password"));
    return d;
  }
  void DropAll() {
    linesim::Modify(folder_.SimState(), [](linesim::State& s) {
      for (auto& c : std::vector<linesim::Connection>(s.Connections)) s.RemoveConnection(c.Handle);
      s.Online = false;
    });
  }
  std::vector<std::string> Status(HWND main) {
    std::vector<std::string> lines;
    for (const auto& l : ListLines(GetDlgItem(main, cmd::StatusList))) lines.push_back(Narrow(l));
    return lines;
  }
  bool StatusHas(HWND main, const std::string& line, size_t times) {
    const auto lines = Status(main);
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), line)) >= times;
  }
};

TEST_F(AdvancedSettingsE2e, TwoSetsRegisteredTheDefaultOneDialsAndACommaIsRefused) {
  ASSERT_TRUE(WriteSettings(folder_, [](nw::SettingsFileData&) {}));
  HWND main = StartNetWard();
  HWND dlg = OpenByKeys(main, 'U', 'S', "Orvin.T.K. NetWard 高度な設定");
  EXPECT_TRUE(PageShown(dlg, spr::RASConn));
  EXPECT_EQ(FocusId(dlg), spr::RsSetInfoTxt);
  EXPECT_FALSE(Visible(Control(dlg, spr::RsEntryNameErr)));

  watcher_.Expect(L"正常に登録");
  watcher_.Expect(L"ｶﾝﾏ");
  Type(L"First");
  Fill(dlg, 'E', spr::RsEntryName, L"NWProvider");
  Fill(dlg, 'U', spr::RsUserName, L"alice");
  Fill(dlg, 'P', spr::RsPassword, L"pw1");
  std::string shown = MessageAfter([] { Key('G', {VK_MENU}); });
  EXPECT_NE(shown.find("正常に登録が完了しました。"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("pw1"), std::string::npos);

  // The second set, first with a "," in the user name: refused, the box focused, nothing added.
  Fill(dlg, 'O', spr::RsSetInfoTxt, L"Second");
  Fill(dlg, 'E', spr::RsEntryName, L"Second");
  Fill(dlg, 'U', spr::RsUserName, L"b,ob");
  Fill(dlg, 'P', spr::RsPassword, L"pw2");
  shown = MessageAfter([] { Key('G', {VK_MENU}); });
  EXPECT_NE(shown.find("接続情報のﾕｰｻﾞｰ名には、\",\" (ｶﾝﾏ) を含めないで下さい。"), std::string::npos) << shown;
  EXPECT_TRUE(WaitUntil([&] { return FocusId(dlg) == spr::RsUserName; }, 5s));
  EXPECT_EQ(ListLines(Control(dlg, spr::RsSetInfoLst)).size(), 1u);
  Type(L"bob");  // over the selected text
  shown = MessageAfter([] { Key('G', {VK_MENU}); });
  EXPECT_NE(shown.find("正常に登録が完了しました。"), std::string::npos) << shown;
  EXPECT_EQ(ListLines(Control(dlg, spr::RsSetInfoLst)), (std::vector<std::wstring>{L"First - (標準)", L"Second"}));

  // "標準(&F)" on the selected second set; dial with the stored sets; Enter is "O.K.".
  Key('F', {VK_MENU});
  EXPECT_TRUE(WaitUntil([&] { return ListLines(Control(dlg, spr::RsSetInfoLst)) ==
                                     std::vector<std::wstring>{L"First", L"Second - (標準)"}; }, 5s));
  Key('I', {VK_MENU});
  EXPECT_EQ(SendMessageW(Control(dlg, spr::RsIdlFLG), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(Control(dlg, spr::RsPassword), EM_GETPASSWORDCHAR, 0, 0), '*');
  Shot(dlg, "advanced-page0");
  // The time page by the keyboard: asking about a change greys the first two timeout options.
  Key(VK_TAB, {VK_CONTROL});
  ASSERT_TRUE(WaitUntil([&] { return PageShown(dlg, spr::SysTimBack); }, 5s));
  Key('Q', {VK_MENU});
  EXPECT_FALSE(Enabled(dlg, spr::SyOutDlg + 0));
  EXPECT_EQ(SendMessageW(Control(dlg, spr::SyOutDlg + 2), BM_GETCHECK, 0, 0), BST_CHECKED);
  Shot(dlg, "advanced-page1");
  Key(VK_TAB, {VK_CONTROL});
  ASSERT_TRUE(WaitUntil([&] { return PageShown(dlg, spr::RASConn); }, 5s));
  Key(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg); }, 5s));

  // "ﾀﾞｲｱﾙｱｯﾌﾟ接続の開始(&D)": Linkpilot dials the standard set with its user name and password.
  linesim::ClearCalls(folder_.SimState());
  SetForegroundWindow(main);
  Key('M', {VK_MENU});
  Key('D');
  ASSERT_TRUE(WaitUntil([&] { return !Dials().empty(); }, 15s));
  EXPECT_EQ(Dials(), (std::vector<std::string>{"Second/bob/pw2"}));
  EXPECT_EQ(linesim::Snapshot(folder_.SimState()).Connections.size(), 1u);  // the password was right
  DropAll();

  // The menu's "標準の接続情報保存ｾｯﾄを指定(&F)" lists both sets: its first item makes "First" standard.
  std::this_thread::sleep_for(1500ms);
  linesim::ClearCalls(folder_.SimState());
  SetForegroundWindow(main);
  Key('M', {VK_MENU});
  Key('F');
  RECT menus{};
  for (HWND menu : TopWindows(proc_->Pid(), L"#32768")) {
    RECT r{};
    if (Visible(menu) && GetWindowRect(menu, &r)) UnionRect(&menus, &menus, &r);
  }
  Shot(menus, "menu-sets");
  Key(VK_RETURN);
  Key('M', {VK_MENU});
  Key('D');
  ASSERT_TRUE(WaitUntil([&] { return !Dials().empty(); }, 15s));
  EXPECT_EQ(Dials(), (std::vector<std::string>{"NWProvider/alice/pw1"}));

  PostMessageW(main, WM_COMMAND, cmd::Closenu, 0);
  ASSERT_TRUE(proc_->WaitExit(10s));
  const nw::SettingsRecord saved = ReadSettings(folder_).Settings;
  ASSERT_EQ(saved.RsSetInfo.size(), 2u);
  EXPECT_EQ(saved.RsSetInfo[1], (nw::RsSetInfoEntry{"Second", "Second", "bob", "pw2"}));
  EXPECT_EQ(saved.RsSetInfoStd, 0);
  EXPECT_TRUE(saved.RsIdlFLG);
}

TEST_F(AdvancedSettingsE2e, WatchedEntryShowsItsLiveStateAndIsProbedAfterOk) {
  ASSERT_TRUE(WriteSettings(folder_, [](nw::SettingsFileData&) {}));
  HWND main = StartNetWard();
  HWND dlg = OpenByKeys(main, 'U', 'E', "Orvin.T.K. NetWard 接続先監視の設定");
  EXPECT_TRUE(PageShown(dlg, ent::DecWatchWay));
  Shot(dlg, "watch-page0");
  // The browser way: neither a click on "監視ｴﾝﾄﾘの設定" nor Ctrl+Tab leaves the first page.
  Click(Control(dlg, ent::UtilWord + 1));
  Key(VK_TAB, {VK_CONTROL});
  EXPECT_TRUE(PageShown(dlg, ent::DecWatchWay));
  EXPECT_FALSE(PageShown(dlg, ent::DecEntry));

  Key('D', {VK_MENU});  // "OS提供のDLL依存の監視方式(&D)"
  EXPECT_EQ(SendMessageW(Control(dlg, ent::WayWatchEn + 1), BM_GETCHECK, 0, 0), BST_CHECKED);
  Click(Control(dlg, ent::UtilWord + 1));
  ASSERT_TRUE(WaitUntil([&] { return PageShown(dlg, ent::DecEntry); }, 5s));
  // The simulator's phonebook; the first entry is selected and its state shown.
  EXPECT_EQ(TextOf(dlg, ent::EtyName), "NWProvider");
  EXPECT_EQ(TextOf(dlg, ent::EtyState), "切断状態");
  Click(Control(dlg, ent::lstEntries));  // the list takes the focus
  Key(VK_HOME);
  Key(VK_DOWN);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(dlg, ent::EtyName) == "Second"; }, 5s));
  Key(VK_SPACE);  // ticks "Second"

  // The state label follows the line within a second.
  linesim::Modify(folder_.SimState(), [](linesim::State& s) { s.AddConnection("Second", linesim::kStateConnected); });
  EXPECT_TRUE(WaitUntil([&] { return TextOf(dlg, ent::EtyState) == "接続状態"; }, 1s));
  Shot(dlg, "watch-page1");
  DropAll();
  EXPECT_TRUE(WaitUntil([&] { return TextOf(dlg, ent::EtyState) == "切断状態"; }, 1s));

  Key(VK_TAB, {VK_CONTROL});
  ASSERT_TRUE(WaitUntil([&] { return PageShown(dlg, ent::DecDetail); }, 5s));
  EXPECT_EQ(SendMessageW(Control(dlg, ent::WatchDetail + 6), BM_GETCHECK, 0, 0), BST_CHECKED);
  Shot(dlg, "watch-page2");
  Key(VK_TAB, {VK_CONTROL, VK_SHIFT});
  ASSERT_TRUE(WaitUntil([&] { return PageShown(dlg, ent::DecEntry); }, 5s));
  Key(VK_RETURN);  // "O.K."
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg); }, 5s));
  // NetWard now asks RAS about the ticked entry: its connection and its drop are seen.
  linesim::Modify(folder_.SimState(), [](linesim::State& s) { s.AddConnection("Second", linesim::kStateConnected); });
  EXPECT_TRUE(WaitUntil([&] { return StatusHas(main, "   接続状態になりました。", 1); }, 10s));
  DropAll();
  EXPECT_TRUE(WaitUntil([&] { return StatusHas(main, "   切断状態になりました。", 1); }, 10s));
  // A connection of an entry that is not watched leaves the line down.
  linesim::Modify(folder_.SimState(), [](linesim::State& s) { s.AddConnection(kEntry, linesim::kStateConnected); });
  std::this_thread::sleep_for(2500ms);
  EXPECT_TRUE(StatusHas(main, "   接続状態になりました。", 1));
  EXPECT_FALSE(StatusHas(main, "   接続状態になりました。", 2));

  PostMessageW(main, WM_COMMAND, cmd::Closenu, 0);
  ASSERT_TRUE(proc_->WaitExit(10s));
  const nw::SettingsRecord saved = ReadSettings(folder_).Settings;
  EXPECT_EQ(saved.WayWatchEn, 1);
  EXPECT_EQ(saved.WatchEntries, (std::vector<std::string>{"Second"}));
  EXPECT_EQ(saved.WatchDetail, 8192);
}

}  // namespace
}  // namespace e2e
