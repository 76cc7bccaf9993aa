// Not tests: each shows one of our windows for NW_GALLERY_SECONDS (default 3) so that
// scripts/screenshots.sh can photograph it. Run with --gtest_also_run_disabled_tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "compact/win32/NWDComp.h"
#include "monitor/win32/NWDDialog.h"
#include "settings/win32/NWDVersion.h"
#include "WindowTestKit.h"
#include "res/resource.h"
#include "classlib/win32/WinText.h"
#include "data/NWDGlobal.h"

namespace {
UINT GallerySeconds() {
  const char* s = std::getenv("NW_GALLERY_SECONDS");
  return s ? static_cast<UINT>(std::atoi(s)) : 3u;
}
// The stand-in main window carries the program's icon, as the real one does.
void UseProgramIcon(HWND wnd) {
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_NETWARD));
  SendMessageW(wnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(wnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}
}  // namespace

TEST(Gallery, DISABLED_NoticeDialog) {
  wtk::HostWindow host(L"Orvin.T.K. NetWard");
  UseProgramIcon(host.Get());
  ShowWindow(host.Get(), SW_HIDE);  // in the tray
  nw::NWDDialog dlg(GetModuleHandleW(nullptr), host.Get());
  wtk::Later(GallerySeconds() * 1000, [&] { dlg.Close(); });
  dlg.ShowMe("ﾀﾞｲｱﾙｱｯﾌﾟ接続の時間制限(1時間 00分 00秒)を超えました。", "ﾀﾞｲｱﾙｱｯﾌﾟ接続を切断しますか?", 1, 0);
}

namespace {
struct GalleryHost : nw::CompactHost {
  nw::NWDComp* comp = nullptr;
  wtk::HostWindow main{L"Orvin.T.K. NetWard"};
  HWND MainWindow() override { return main.Get(); }
  bool LineConnected() override { return true; }
  int32_t ConnectionSeconds() override { return 754; }
  bool Unloading() override { return false; }
  bool ExplicitExit() override { return false; }
  bool TrayIconShown() override { return true; }
  bool LockButtonShown() override { return true; }
  void RequestLine(int32_t) override {}
  void LockBtnAction(bool) override {}
  void ShowAutoTitle(bool) override { comp->SetCaption("接続状態 0:12:34 (ﾛｯｸ)"); }
  std::vector<std::string> DefaultSetMenuItems() override { return {}; }
  void SetDefaultSet(int32_t) override {}
  void SetDisplayMode(int32_t) override {}
  void UnloadAction() override {}
  void CenterFormOver(HWND, HWND, bool) override {}
};
}  // namespace

TEST(Gallery, DISABLED_CompactWindow) {
  nw::SettingsFileData data;
  data.Settings.FormatIval = "h時間 mm分 ss秒";
  data.Counters.TodaySeconds = 5025;
  data.Counters.TodayCount = 3;
  data.Counters.UserSeconds = 98765;
  data.Counters.UserCount = 41;
  GalleryHost host;
  UseProgramIcon(host.main.Get());
  ShowWindow(host.main.Get(), SW_HIDE);
  nw::NWDComp comp(GetModuleHandleW(nullptr), data, host);
  host.comp = &comp;
  comp.SetCompactState(true);
  comp.ExpressAcmComp(754, 754, 1);
  wtk::Pump(GallerySeconds() * 1000);
  comp.SetCompactState(false);
}

TEST(Gallery, DISABLED_AboutBox) {
  wtk::HostWindow host(L"Orvin.T.K. NetWard");
  UseProgramIcon(host.Get());
  nw::NWDVersion about(GetModuleHandleW(nullptr), host.Get(), false);
  about.SetOpener([](const std::string&) {});
  wtk::Later(GallerySeconds() * 1000, [&] { SendMessageW(about.Window(), WM_CLOSE, 0, 0); });
  about.ShowModal();
}

// ---- Drivers for scripts/screenshots.sh (also not tests) ------------------------------------

namespace {
std::string Env(const char* name, const char* fallback = "") {
  const char* v = std::getenv(name);
  return v ? v : fallback;
}
}  // namespace

// Posts one message to the first window of class NW_POST_CLASS (default the main window):
// NW_POST_MSG (default WM_COMMAND), NW_POST_WPARAM, NW_POST_LPARAM.
TEST(Drive, DISABLED_Post) {
  const std::wstring cls = nw::win::Widen(Env("NW_POST_CLASS", "NWDBase"));
  HWND target = nullptr;
  for (int i = 0; i < 50 && !target; ++i) {
    target = FindWindowW(cls.c_str(), nullptr);
    if (!target) Sleep(100);
  }
  ASSERT_NE(target, nullptr);
  const UINT msg = static_cast<UINT>(std::stoul(Env("NW_POST_MSG", "273")));
  const WPARAM wp = static_cast<WPARAM>(std::stoul(Env("NW_POST_WPARAM", "0")));
  const LPARAM lp = static_cast<LPARAM>(std::stol(Env("NW_POST_LPARAM", "0")));
  ASSERT_TRUE(PostMessageW(target, msg, wp, lp));
}

// Rewrites NwdUtil.dat in NW_SETTINGS_DIR: NW_LOCK_SHOWN=1 shows the lock button at the next
// start, NW_ATCUT_SECONDS=N asks after N seconds of connection.
TEST(Drive, DISABLED_EditSettings) {
  nw::SetProgramFolder(Env("NW_SETTINGS_DIR"));
  nw::SettingsFileData data;
  nw::LoadSettings(data, nw::ScreenTwips{15360, 11520});
  nw::LiveWindowState live;
  live.MainLeft = data.SavedWindowState[nw::SwLeft];
  live.MainTop = data.SavedWindowState[nw::SwTop];
  live.TrayInstalled = data.SavedWindowState[nw::SwTrayIn] != 0;
  live.LockShown = data.SavedWindowState[nw::SwLockShown] != 0;
  live.DisplayMode = data.SavedWindowState[nw::SwDisplayMode];
  if (Env("NW_LOCK_SHOWN") == "1") live.LockShown = true;
  if (!Env("NW_ATCUT_SECONDS").empty()) {
    data.Settings.AtCutDialog = true;
    data.Settings.AtCutTime = std::stoi(Env("NW_ATCUT_SECONDS"));
  }
  ASSERT_TRUE(nw::SaveSettings(data, live));
}
