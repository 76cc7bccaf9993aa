// What the main window draws rather than shows in controls: the counter table's heading and row
// names, and the volume lines between the counters and the status list, passed on to the compact
// window.
#include <gtest/gtest.h>

#include "ClippedControls.h"
#include "MainWindowKit.h"
#include "app/NWDMenuIds.h"
#include "app/win32/NWDBaseLayout.h"
#include "compact/win32/NWDComp.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
// The two lines' bands, 96-DPI client coordinates: below the counter boxes (they end at 117),
// above the status list's label.
constexpr RECT kVolumeBand{6, 122, 300, 135};
constexpr RECT kAllowanceBand{6, 138, 300, 151};

// The heading and row names of the counter table, each whole in its place in the window's font.
void ExpectCaptionsDrawnWhole(nw::NWDBase& base) {
  using namespace nw::mainlayout;
  const std::pair<const wchar_t*, RECT> captions[] = {
      {L"\"今日\"", kToday}, {L"累積接続時間:", kTimeLabel}, {L"累積接続回数:", kCountLabel}};
  HDC dc = GetDC(base.Handle());
  HGDIOBJ old = SelectObject(dc, base.Font());
  for (const auto& [text, place] : captions) {
    EXPECT_GT(wtk::CountPixels(base.Handle(), place, kBlack), 20) << nw::win::Narrow(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    EXPECT_LE(size.cx, base.S(place.right - place.left)) << nw::win::Narrow(text);
  }
  SelectObject(dc, old);
  ReleaseDC(base.Handle(), dc);
}

TEST(NWDBaseVolume, LinesShowBetweenCountersAndStatusBlankWhenEmptyAndReachTheCompactWindow) {
  wtk::InProcessMainWindow main;
  ASSERT_TRUE(main.Loaded());
  HWND w = main.Window();
  ASSERT_TRUE(IsWindowVisible(w));
  EXPECT_EQ(wtk::ClippedControls(w), std::vector<std::string>{});  // at the default texts
  ExpectCaptionsDrawnWhole(main.Base());

  // No control covers the lines' place, and the status list still ends inside the window.
  const UINT dpi = otkGdi::ScreenDpi();
  const RECT band{otkGdi::Scale(kVolumeBand.left, dpi), otkGdi::Scale(kVolumeBand.top, dpi),
                  otkGdi::Scale(kAllowanceBand.right, dpi), otkGdi::Scale(kAllowanceBand.bottom, dpi)};
  for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!IsWindowVisible(c)) continue;
    RECT r = wtk::ChildRect(c), overlap{};
    EXPECT_FALSE(IntersectRect(&overlap, &r, &band)) << wtk::Text(c);
  }
  RECT client{};
  GetClientRect(w, &client);
  EXPECT_LE(wtk::ChildRect(GetDlgItem(w, nw::cmd::StatusList)).bottom, client.bottom);
  EXPECT_EQ(wtk::CountPixels(w, kVolumeBand, kBlack), 0);

  main.Base().DrawVolume("ﾃﾞｰﾀ量: 接続中 1.50 MB / ﾕｰｻﾞｰ定義 12.3 MB", "1日あたりの残り: 512 MB");
  EXPECT_GT(wtk::CountPixels(w, kVolumeBand, kBlack), 30);
  EXPECT_GT(wtk::CountPixels(w, kAllowanceBand, kBlack), 30);
  // A repaint draws them again from what was given.
  InvalidateRect(w, nullptr, TRUE);
  UpdateWindow(w);
  EXPECT_GT(wtk::CountPixels(w, kVolumeBand, kBlack), 30);
  ExpectCaptionsDrawnWhole(main.Base());

  main.Base().DrawVolume("", "1日あたりの残り: 512 MB");  // no volume: its place blank, nothing left over
  EXPECT_EQ(wtk::CountPixels(w, kVolumeBand, kBlack), 0);
  EXPECT_GT(wtk::CountPixels(w, kAllowanceBand, kBlack), 30);

  // The compact window (its volume item chosen) opens with the present text and follows changes.
  nw::VolumeGlobal().Display.ExpVol = true;
  main.Base().DrawVolume("ﾃﾞｰﾀ量: 接続中 2.00 MB / ﾕｰｻﾞｰ定義 13.0 MB", "");
  EXPECT_EQ(wtk::CountPixels(w, kAllowanceBand, kBlack), 0);
  main.Base().SetDisplayMode(2);
  HWND comp = FindWindowW(nw::NWDComp::kClassName, nullptr);
  ASSERT_TRUE(comp);
  const RECT compLine{nw::NWDComp::kPosLeft, nw::NWDComp::kPosTop + 54, nw::NWDComp::kPosLeft + 200,
                      nw::NWDComp::kPosTop + 54 + 13};
  EXPECT_GT(wtk::CountPixels(comp, compLine, kBlack), 30);
  main.Base().DrawVolume("", "");
  EXPECT_EQ(wtk::CountPixels(comp, compLine, kBlack), 0);
}

}  // namespace
