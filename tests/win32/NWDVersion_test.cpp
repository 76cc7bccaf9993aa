#include "settings/win32/NWDVersion.h"

#include <gtest/gtest.h>

#include "res/resource.h"
#include "settings/NWDVersionText.h"
#include "settings/win32/otkINetAcs.h"
#include "ClippedControls.h"
#include "WindowTestKit.h"

using nw::NWDVersion;

TEST(NWDVersion, ShowsNameVersionAndTheVersionResourceTexts) {
  wtk::HostWindow host;
  NWDVersion about(GetModuleHandleW(nullptr), host.Get(), true);
  std::vector<std::string> opened;
  about.SetOpener([&](const std::string& a) { opened.push_back(a); });
  wtk::Later(150, [&] {
    HWND w = about.Window();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(wtk::Text(w), "Orvin.T.K. NetWard ﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(wtk::ItemText(w, NWDVersion::kMess0),
              "Orvin.T.K. NetWard " + std::to_string(NW_VERSION_MAJOR) + "." + std::to_string(NW_VERSION_MINOR));
    EXPECT_EQ(wtk::ItemText(w, NWDVersion::kMess0 + 1), "Copyright (C) 2026 Orvin.T.K. All rights reserved.");
    EXPECT_EQ(wtk::ItemText(w, NWDVersion::kMess0 + 2), "ﾀﾞｲｱﾙｱｯﾌﾟ/VPN 接続の監視と接続時間の記録");
    EXPECT_EQ(wtk::ItemText(w, NWDVersion::kAddress), nw::kHomePageAddress);
    EXPECT_EQ(wtk::ClippedControls(w), std::vector<std::string>{});
    // Labels sized to their texts: the legal notice is not broken while the box has room for it.
    HWND legal = GetDlgItem(w, NWDVersion::kMess0 + 1);
    RECT one{};
    HDC dc = GetDC(legal);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(legal, WM_GETFONT, 0, 0)));
    DrawTextW(dc, nw::win::Widen(wtk::Text(legal)).c_str(), -1, &one, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(legal, dc);
    EXPECT_LE(one.right, wtk::ChildRect(legal).right - wtk::ChildRect(legal).left);
    EXPECT_TRUE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(w, WM_GETICON, ICON_BIG, 0)),
              reinterpret_cast<HICON>(GetClassLongPtrW(host.Get(), GCLP_HICON)));
    EXPECT_FALSE(IsWindowEnabled(host.Get()));
    SendMessageW(GetDlgItem(w, NWDVersion::kCommand1), BM_CLICK, 0, 0);
  });
  about.ShowModal();
  EXPECT_EQ(about.Window(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(host.Get()));
  EXPECT_TRUE(opened.empty());
}

TEST(NWDVersion, LinkTurnsMagentaClosesAndThenOpensTheHomePage) {
  wtk::HostWindow host;
  NWDVersion about(GetModuleHandleW(nullptr), host.Get(), false);
  std::vector<std::string> opened;
  bool closedBeforeOpening = false;
  about.SetOpener([&](const std::string& a) {
    closedBeforeOpening = about.Window() == nullptr;
    opened.push_back(a);
  });
  wtk::Later(150, [&] {
    HWND w = about.Window();
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SendMessageW(GetDlgItem(w, NWDVersion::kAddress), BM_CLICK, 0, 0);
  });
  about.ShowModal();
  EXPECT_EQ(about.AddressColor(), RGB(255, 0, 255));
  EXPECT_TRUE(closedBeforeOpening);
  EXPECT_EQ(opened, (std::vector<std::string>{nw::kHomePageAddress}));
}

TEST(NWDVersion, F1OpensItsOwnHelpPageAndKeysAloneReachTheHomePageLink) {
  wtk::HostWindow host;
  NWDVersion about(GetModuleHandleW(nullptr), host.Get(), false);
  std::vector<std::string> opened;
  about.SetOpener([&](const std::string& a) { opened.push_back(a); });
  wtk::HelpRecorder help;
  wtk::Later(150, [&] {
    HWND w = about.Window();
    ASSERT_NE(w, nullptr);
    HWND ok = GetDlgItem(w, NWDVersion::kCommand1);
    ASSERT_EQ(GetFocus(), ok);
    wtk::Key(VK_F1);  // its own page, not the main window's (the box's owner)
  });
  wtk::Later(600, [&] {
    HWND w = about.Window();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(help.Pages, (std::vector<std::string>{"version.htm"}));
    HWND ok = GetDlgItem(w, NWDVersion::kCommand1);
    // Tab from "O.K." to the link, then Enter, as the keyboard delivers them to the focused control.
    PostMessageW(ok, WM_KEYDOWN, VK_TAB, 1);
    PostMessageW(ok, WM_KEYDOWN, VK_RETURN, 1);
  });
  about.ShowModal();
  EXPECT_EQ(about.AddressColor(), RGB(255, 0, 255));
  EXPECT_EQ(opened, (std::vector<std::string>{nw::kHomePageAddress}));
}

TEST(NWDVersion, ReadsTheProgramsOwnVersionResource) {
  nw::VersionFields v;
  ASSERT_TRUE(nw::ReadVersionFields(nullptr, v));
  EXPECT_EQ(v.Major, static_cast<uint32_t>(NW_VERSION_MAJOR));
  EXPECT_EQ(v.Minor, static_cast<uint32_t>(NW_VERSION_MINOR));
  EXPECT_FALSE(v.LegalCopyright.empty());
}

TEST(NWDVersion, MissingHelpPagesDoNothingVisible) {
  // A folder without GuideNWD: the shell fails silently, no window of ours appears (the contents
  // from the help menu, a window's page from F1).
  otkINetAcs::OpenHelpContents("C:\\nw-no-such-folder");
  otkINetAcs::OpenHelpPage("C:\\nw-no-such-folder", "util.htm");
  wtk::Pump(300);
  struct Count {
    static BOOL CALLBACK One(HWND w, LPARAM lp) {
      if (IsWindowVisible(w)) ++*reinterpret_cast<int*>(lp);
      return TRUE;
    }
  };
  int visible = 0;
  EnumThreadWindows(GetCurrentThreadId(), Count::One, reinterpret_cast<LPARAM>(&visible));
  EXPECT_EQ(visible, 0);
}
