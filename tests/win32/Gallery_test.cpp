// Not tests: each shows one of our windows for NW_GALLERY_SECONDS (default 3) so that
// scripts/screenshots.sh can photograph it. Run with --gtest_also_run_disabled_tests.
#include <gtest/gtest.h>

#include <cstdlib>

#include "compact/win32/NWDComp.h"
#include "monitor/win32/NWDDialog.h"
#include "WindowTestKit.h"

namespace {
UINT GallerySeconds() {
  const char* s = std::getenv("NW_GALLERY_SECONDS");
  return s ? static_cast<UINT>(std::atoi(s)) : 3u;
}
}  // namespace

TEST(Gallery, DISABLED_NoticeDialog) {
  wtk::HostWindow host(L"Orvin.T.K. NetWard");
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
  bool TrayResident() override { return true; }
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
  ShowWindow(host.main.Get(), SW_HIDE);
  nw::NWDComp comp(GetModuleHandleW(nullptr), data, host);
  host.comp = &comp;
  comp.SetCompactState(true);
  comp.ExpressAcmComp(754, 754, 1);
  wtk::Pump(GallerySeconds() * 1000);
  comp.SetCompactState(false);
}
