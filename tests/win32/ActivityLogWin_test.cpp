#include <gtest/gtest.h>

#include <filesystem>

#include "classlib/win32/otkDialogFile.h"
#include "data/win32/ActivityLogMenu.h"
#include "WindowTestKit.h"

namespace {

// The common dialog of this thread, once it is up.
HWND FindFileDialog() {
  struct Find {
    static BOOL CALLBACK One(HWND w, LPARAM lp) {
      wchar_t cls[64] = {};
      GetClassNameW(w, cls, 64);
      if (std::wstring(cls) == L"#32770" && IsWindowVisible(w)) {
        *reinterpret_cast<HWND*>(lp) = w;
        return FALSE;
      }
      return TRUE;
    }
  };
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), Find::One, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Waits for the dialog, then runs `step` on it.
void WhenDialogUp(std::function<void(HWND)> step, int triesLeft = 100) {
  wtk::Later(100, [step, triesLeft] {
    HWND d = FindFileDialog();
    if (d || triesLeft == 0)
      step(d);
    else
      WhenDialogUp(step, triesLeft - 1);
  });
}

std::string TempDir() {
  wchar_t buf[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, buf);
  std::string s = nw::win::Narrow(buf);
  if (!s.empty() && s.back() == '\\') s.pop_back();
  return s;
}

}  // namespace

TEST(ActivityLogWin, SaveDialogTakesTheChosenPathAndKeepsTheCurrentFolder) {
  wtk::HostWindow host;
  nw::SettingsRecord s;
  s.LogFileAddress = TempDir() + "\\LogFile.txt";
  nw::ActivityLogCommands cmds(s, nullptr);
  wchar_t before[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, before);

  const std::string chosen = TempDir() + "\\ﾛｸﾞ記録.txt";
  std::string title;
  WhenDialogUp([&](HWND d) {
    ASSERT_NE(d, nullptr);
    title = wtk::Text(d);
    // The file name box: cmb13 in the explorer-style dialog, edt1 in older ones.
    HWND name = GetDlgItem(d, 0x47C);
    if (!name) name = GetDlgItem(d, 0x480);
    ASSERT_NE(name, nullptr);
    SetWindowTextW(name, nw::win::Widen(chosen).c_str());
    PostMessageW(d, WM_COMMAND, IDOK, 0);
  });
  ASSERT_TRUE(nw::AdsLognu_Click(host.Get(), cmds));
  EXPECT_EQ(title, "ﾛｸﾞﾌｧｲﾙの保存場所／名前の指定");
  EXPECT_EQ(s.LogFileAddress, chosen);
  EXPECT_FALSE(s.LoggingFLG);
  wchar_t after[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, after);
  EXPECT_EQ(std::wstring(before), std::wstring(after));
}

TEST(ActivityLogWin, CancelLeavesThePathAlone) {
  wtk::HostWindow host;
  otkDialogFile dlg;
  dlg.WindowHandle = host.Get();
  dlg.Filter = "すべてのﾌｧｲﾙ(*.*)|*.*";
  dlg.Title = "t";
  dlg.SelectedAddress = "C:\\unchanged.txt";
  WhenDialogUp([](HWND d) {
    ASSERT_NE(d, nullptr);
    PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_FALSE(dlg.ShowDialogOfSave());
  EXPECT_EQ(dlg.SelectedAddress, "C:\\unchanged.txt");
}

TEST(ActivityLogWin, MenuTickAndDeleteFollowTheFile) {
  nw::SettingsRecord s;
  s.LoggingFLG = true;
  s.LogFileAddress = TempDir() + "\\nw-menu-test.txt";
  DeleteFileW(nw::win::Widen(s.LogFileAddress).c_str());
  nw::ActivityLogCommands cmds(s, nullptr);
  EXPECT_TRUE(cmds.Utilnu_Click().LoggingChecked);
  EXPECT_FALSE(cmds.Utilnu_Click().DeleteEnabled);
  ASSERT_TRUE(nw::AppendActivityLine(s.LogFileAddress, "   監視を開始しました。"));
  EXPECT_TRUE(cmds.Utilnu_Click().DeleteEnabled);
  cmds.DelLognu_Click();
  EXPECT_EQ(GetFileAttributesW(nw::win::Widen(s.LogFileAddress).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(cmds.Utilnu_Click().DeleteEnabled);
}
