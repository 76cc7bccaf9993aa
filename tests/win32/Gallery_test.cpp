// Not tests: each shows one of our windows for NW_GALLERY_SECONDS (default 3) so that
// scripts/screenshots.sh can photograph it. Run with --gtest_also_run_disabled_tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "compact/win32/NWDComp.h"
#include "history/win32/NWDLogCng.h"
#include "history/win32/NWDLogGraph.h"
#include "history/win32/NWDLogUtil.h"
#include "monitor/win32/NWDDialog.h"
#include "settings/win32/NWDVersion.h"
#include "MainWindowKit.h"
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

namespace {
constexpr const char* kGalleryVolume = "ﾃﾞｰﾀ量: 接続中 1.50 MB / ﾕｰｻﾞｰ定義 12.3 GB";
}

// The real main window with the volume lines as the monitor gives them.
TEST(Gallery, DISABLED_MainWindow) {
  wtk::InProcessMainWindow main;
  ASSERT_TRUE(main.Loaded());
  main.Base().DrawVolume(kGalleryVolume, "1日あたり: 残り 580 MB (14 日)");
  wtk::Pump(GallerySeconds() * 1000);
}

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
  nw::VolumeFileData volume;
  volume.Display.ExpVol = true;
  nw::NWDComp comp(GetModuleHandleW(nullptr), data, volume, host);
  host.comp = &comp;
  comp.SetVolumeText(kGalleryVolume);
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

// ---- The history windows --------------------------------------------------------------------

namespace {
// NW_GALLERY_PAGE=N: the settings dialog's page N (chosen by Ctrl+PageDown, as a user would).
void ShowGalleryPage() {
  const int page = std::atoi(Env("NW_GALLERY_PAGE", "0").c_str());
  for (int i = 0; i < page; ++i) {
    INPUT in[4]{};
    const WORD keys[4] = {VK_CONTROL, VK_NEXT, VK_NEXT, VK_CONTROL};
    for (int k = 0; k < 4; ++k) {
      in[k].type = INPUT_KEYBOARD;
      in[k].ki.wVk = keys[k];
      in[k].ki.dwFlags = k >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, in, sizeof(INPUT));
  }
}

struct GallerySource : nw::NWDLogGraphSource {
  std::optional<nw::GraphData> setHisTdayGraph(nw::LogWindowMode) override {
    nw::GraphData d;
    const int32_t seconds[] = {1820, 5400, 0, 7260, 3600, 12000, 9300, 2400, 4100, 600, 15200, 8000, 6100, 3000,
                               11000, 4500, 900, 7600, 10200, 2200, 5100, 13400, 6600, 3900};
    int day = 0;
    for (int32_t s : seconds) {
      // About 90 KB a second received and a tenth of it sent.
      const nw::VolumeAmount volume{uint64_t(s) * 9000, uint64_t(s) * 90000};
      d.Points.push_back({s, 1 + s / 1800, nw::MakeDate(2003, 1, 1 + day, 4, 0, 0), volume});
      d.MaxTime = std::max<int64_t>(d.MaxTime, s);
      d.MaxVolume = std::max(d.MaxVolume, volume.Total());
      ++day;
    }
    d.MesCase = "977件～1000件目";
    d.MesPeriod = "ｶｳﾝﾀ更新日時 03/01/01 04:00:00～03/01/24 04:00:00 を表示中";
    return d;
  }
};
}  // namespace

TEST(Gallery, DISABLED_LogRecordEditor) {
  wtk::HostWindow host(L"Orvin.T.K. NetWard");
  UseProgramIcon(host.Get());
  const bool counter = Env("NW_GALLERY_KIND") == "1";
  nw::SelectedHistoryRecord rec{static_cast<int16_t>(counter ? 1 : 0), false,
                                nw::MakeDate(2003, 1, 5, 21, 4, 9), nw::MakeDate(2003, 1, 5, 23, 51, 40),
                                nw::MakeDate(2003, 1, 5, 20, 58, 0), 36000, 12};
  nw::NWDLogCng dlg(GetModuleHandleW(nullptr), rec, "ﾌﾟﾛﾊﾞｲﾀﾞ", "h時間 mm分 ss秒");
  wtk::Later(GallerySeconds() * 1000, [&] { dlg.Close(); });
  dlg.ShowMe(host.Get(), reinterpret_cast<HICON>(SendMessageW(host.Get(), WM_GETICON, ICON_BIG, 0)), false);
}

TEST(Gallery, DISABLED_LogGraph) {
  wtk::HostWindow host(L"Orvin.T.K. NetWard");
  UseProgramIcon(host.Get());
  nw::HistoryDisplaySettings h;
  GallerySource source;
  nw::VolumeDisplaySettings volume;  // NW_GALLERY_VOLUME=1: the bars show the volume
  volume.gphVolume = Env("NW_GALLERY_VOLUME") == "1";
  nw::NWDLogGraph graph(GetModuleHandleW(nullptr), h, source, volume);
  // Bar 10 under the mouse: highlighted, its record in the readout.
  wtk::Later(300, [&] {
    const int x = otkGdi::TwipsToPixels(600 + 180 * 10 + 60, graph.Dpi());
    const int y = otkGdi::TwipsToPixels(4900, graph.Dpi());
    PostMessageW(graph.Window(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  });
  wtk::Later(GallerySeconds() * 1000, [&] { graph.Close(); });
  graph.ShowModal(host.Get(), reinterpret_cast<HICON>(SendMessageW(host.Get(), WM_GETICON, ICON_BIG, 0)), false);
}

TEST(Gallery, DISABLED_LogSettings) {
  wtk::HostWindow host(L"Orvin.T.K. NetWard");
  UseProgramIcon(host.Get());
  nw::HistoryDisplaySettings h;
  nw::NWDLogUtil dlg(GetModuleHandleW(nullptr), h, "ﾌﾟﾛﾊﾞｲﾀﾞ接続の月間", [] {});
  wtk::Later(300, [] { ShowGalleryPage(); });
  wtk::Later(GallerySeconds() * 1000, [&] { dlg.Close(); });
  dlg.ShowModal(host.Get(), reinterpret_cast<HICON>(SendMessageW(host.Get(), WM_GETICON, ICON_BIG, 0)), false);
}
