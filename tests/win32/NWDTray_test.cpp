// The tray icon class, the hook on the main window's procedure and the topmost helper.
#include <gtest/gtest.h>

#include "classlib/win32/WinText.h"
#include "classlib/win32/otkWinSetting.h"
#include "monitor/win32/NWDWinProc.h"
#include "monitor/win32/otkIconIntoTray.h"

namespace nw {
namespace {

// A plain window whose procedure counts what it sees and answers 77 to WM_USER + 1.
struct CountingWindow {
  static inline int Seen = 0;
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_USER + 1) {
      ++Seen;
      return 77;
    }
    return DefWindowProcW(w, m, wp, lp);
  }
  CountingWindow() {
    static bool registered = false;
    if (!registered) {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = &Proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"NwTrayTestWindow";
      RegisterClassExW(&wc);
      registered = true;
    }
    wnd = CreateWindowExW(0, L"NwTrayTestWindow", L"t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
    Seen = 0;
  }
  ~CountingWindow() { DestroyWindow(wnd); }
  HWND wnd;
};

struct RecordingEvents : TrayEvents {
  int DoubleClicks = 0;
  int RightButtons = 0;
  void TrayDoubleClick() override { ++DoubleClicks; }
  void TrayRightButton() override { ++RightButtons; }
};

TEST(NWDWinProcTest, HookSeesTrayEventsAfterTheWindowsOwnProcedure) {
  CountingWindow w;
  RecordingEvents events;
  ASSERT_TRUE(NWDWinProc::HookMainWindow(w.wnd, &events));
  EXPECT_FALSE(NWDWinProc::HookMainWindow(w.wnd, &events));  // the previous procedure is never lost

  EXPECT_EQ(SendMessageW(w.wnd, WM_USER + 1, 0, WM_LBUTTONDBLCLK), 77);
  EXPECT_EQ(SendMessageW(w.wnd, WM_USER + 1, 0, WM_RBUTTONDOWN), 77);
  SendMessageW(w.wnd, WM_USER + 1, 0, WM_MOUSEMOVE);
  SendMessageW(w.wnd, WM_USER + 2, 0, WM_LBUTTONDBLCLK);  // not the tray's message
  EXPECT_EQ(CountingWindow::Seen, 3);
  EXPECT_EQ(events.DoubleClicks, 1);
  EXPECT_EQ(events.RightButtons, 1);

  ASSERT_TRUE(NWDWinProc::UnhookMainWindow());
  EXPECT_FALSE(NWDWinProc::UnhookMainWindow());
  SendMessageW(w.wnd, WM_USER + 1, 0, WM_LBUTTONDBLCLK);
  EXPECT_EQ(events.DoubleClicks, 1);
  EXPECT_EQ(CountingWindow::Seen, 4);
}

TEST(otkIconIntoTrayTest, TipIsCutToTheClassicFieldWithoutSplittingACharacter) {
  using otk::otkIconIntoTray;
  EXPECT_EQ(otkIconIntoTray::TipText(std::string(70, 'a')).size(), 63u);
  EXPECT_EQ(otkIconIntoTray::TipText("接続状態 1:02:03"), win::Widen("接続状態 1:02:03"));
  // Two bytes per full-width character in code page 932: 31 of them fit, the 32nd would not.
  std::string wide;
  for (int i = 0; i < 40; ++i) wide += "接";
  EXPECT_EQ(otkIconIntoTray::TipText(wide).size(), 31u);
  // Half-width katakana take one byte each.
  std::string narrow;
  for (int i = 0; i < 70; ++i) narrow += "ｱ";
  EXPECT_EQ(otkIconIntoTray::TipText(narrow).size(), 63u);
  // An odd byte left over: "a" then full-width characters fill 1 + 31 * 2 = 63 bytes.
  EXPECT_EQ(otkIconIntoTray::TipText("a" + wide).size(), 32u);
}

TEST(otkIconIntoTrayTest, OneIconAtATime) {
  CountingWindow w;
  otk::otkIconIntoTray tray;
  EXPECT_FALSE(tray.ModifyTrayIcon({"tip", true, nullptr, false}));
  EXPECT_FALSE(tray.RemoveTrayIcon());
  HICON icon = LoadIconW(nullptr, IDI_INFORMATION);
  // Added as at start-up: the answer comes from a worker; a change may come before it.
  ASSERT_TRUE(tray.AddTrayIconInBackground({w.wnd, "NetWard", icon}));
  EXPECT_TRUE(tray.ModifyTrayIcon({"接続状態 0:00:00", true, nullptr, false}));
  if (!tray.TrayIconShown()) GTEST_SKIP() << "no notification area in this session";
  EXPECT_FALSE(tray.AddTrayIcon({w.wnd, "again", icon}));
  EXPECT_FALSE(tray.AddTrayIconInBackground({w.wnd, "again", icon}));
  EXPECT_TRUE(tray.ModifyTrayIcon({"接続状態 0:00:01", true, nullptr, false}));
  EXPECT_TRUE(tray.ModifyTrayIcon({"", false, LoadIconW(nullptr, IDI_WARNING), true}));
  // A "TaskbarCreated" from a shell that still shows the icon leaves it shown.
  EXPECT_TRUE(tray.ReAddAfterShellRestart(LoadIconW(nullptr, IDI_WARNING), "接続状態 0:00:02"));
  EXPECT_TRUE(tray.TrayIconShown());
  EXPECT_TRUE(tray.RemoveTrayIcon());
  EXPECT_FALSE(tray.TrayIconShown());
  EXPECT_FALSE(tray.RemoveTrayIcon());
}

TEST(otkIconIntoTrayTest, ShellRestartBringsTheIconBack) {
  CountingWindow w;
  otk::otkIconIntoTray tray;
  EXPECT_FALSE(tray.ReAddAfterShellRestart(nullptr, "NetWard"));  // never added: nothing to bring back
  if (!tray.AddTrayIcon({w.wnd, "NetWard", LoadIconW(nullptr, IDI_INFORMATION)}))
    GTEST_SKIP() << "no notification area in this session";
  // What a restarted shell looks like to us: our icon is gone from it.
  NOTIFYICONDATAW gone{};
  gone.cbSize = NOTIFYICONDATAW_V1_SIZE;
  gone.hWnd = w.wnd;
  gone.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(LoadIconW(nullptr, IDI_INFORMATION)));
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &gone));
  EXPECT_TRUE(tray.ReAddAfterShellRestart(LoadIconW(nullptr, IDI_WARNING), "接続状態 0:00:01"));
  EXPECT_TRUE(tray.ModifyTrayIcon({"接続状態 0:00:01", true, nullptr, false}));
  EXPECT_TRUE(tray.RemoveTrayIcon());
}

TEST(otkIconIntoTrayTest, BalloonRecordNamesTheIconAndCutsItsTextsAtTheirFields) {
  using otk::otkIconIntoTray;
  CountingWindow w;
  otkIconIntoTray tray;
  HICON icon = LoadIconW(nullptr, IDI_INFORMATION);
  EXPECT_FALSE(tray.ShowBalloon("ﾃﾞｰﾀ量", "80 %", otkIconIntoTray::BalloonKind::Warning));  // no icon yet
  if (!tray.AddTrayIcon({w.wnd, "NetWard", icon})) GTEST_SKIP() << "no notification area in this session";

  const std::string title = "ﾃﾞｰﾀ量の警告";
  std::string text = "ﾕｰｻﾞｰ定義の期間のﾃﾞｰﾀ量が許容量の80 %に達しました。";
  NOTIFYICONDATAW d = tray.BalloonRecord(title, text, otkIconIntoTray::BalloonKind::Warning);
  // The balloon fields exist only from the second form of the record on.
  EXPECT_EQ(d.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V2_SIZE));
  EXPECT_EQ(d.hWnd, w.wnd);
  EXPECT_EQ(d.uID, static_cast<UINT>(reinterpret_cast<UINT_PTR>(icon)));  // the icon's identifier
  EXPECT_EQ(d.uFlags, static_cast<UINT>(NIF_INFO));  // leaves picture and tip alone
  EXPECT_EQ(d.dwInfoFlags, static_cast<DWORD>(NIIF_WARNING));
  EXPECT_EQ(std::wstring(d.szInfoTitle), win::Widen(title));
  EXPECT_EQ(std::wstring(d.szInfo), win::Widen(text));
  EXPECT_EQ(tray.BalloonRecord(title, text, otkIconIntoTray::BalloonKind::Info).dwInfoFlags,
            static_cast<DWORD>(NIIF_INFO));

  // Too long: cut to the field with its zero; a character outside the basic plane is never halved.
  d = tray.BalloonRecord(std::string(62, 't') + "\xF0\x9F\x93\xB6", std::string(300, 'x'),
                         otkIconIntoTray::BalloonKind::Info);
  EXPECT_EQ(std::wstring(d.szInfo).size(), 255u);
  EXPECT_EQ(std::wstring(d.szInfoTitle), std::wstring(62, L't'));

  EXPECT_TRUE(tray.ShowBalloon(title, text, otkIconIntoTray::BalloonKind::Warning));
  EXPECT_FALSE(tray.ShowBalloon(title, "", otkIconIntoTray::BalloonKind::Warning));  // would only hide one
  EXPECT_TRUE(tray.RemoveTrayIcon());
  EXPECT_FALSE(tray.ShowBalloon(title, text, otkIconIntoTray::BalloonKind::Warning));
}

TEST(otkWinSettingTest, SetWindowTopmostSwitchesTheExtendedStyle) {
  CountingWindow w;
  ShowWindow(w.wnd, SW_SHOWNOACTIVATE);
  ASSERT_TRUE(otkWinSetting::SetWindowTopmost(w.wnd, HWND_TOPMOST));
  EXPECT_TRUE(GetWindowLongW(w.wnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  ASSERT_TRUE(otkWinSetting::SetWindowTopmost(w.wnd, HWND_NOTOPMOST));
  EXPECT_FALSE(GetWindowLongW(w.wnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

}  // namespace
}  // namespace nw
