// The settings dialogs driven in-process while their modal loops run, over fakes of the phonebook,
// the start-up registration and the running program: the watch entries, the operation settings'
// apply when an effect fails, and the data volume page by keys.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "../unit/TestFiles.h"
#include "data/NWDGlobal.h"
#include "data/NWDVolumeFile.h"
#include "settings/NWDQuotaIds.h"
#include "settings/NWDUtilIds.h"
#include "settings/NWDUtilSprIds.h"
#include "settings/win32/NWDUtil.h"
#include "settings/win32/NWDUtilSprEntry.h"
#include "settings/win32/NWDUtilSuper.h"
#include "history/win32/NWDLogCng.h"
#include "history/win32/NWDLogUtil.h"
#include "ClippedControls.h"
#include "WindowTestKit.h"

using wtk::Closer;
using wtk::Key;
using wtk::MessageBoxUp;
using wtk::MessageText;
using wtk::Script;
using wtk::Type;

namespace {

// A phonebook whose entries and whose next reads the test sets; no entry is connected.
struct FakeRas : nw::RasQuery {
  std::vector<std::string> Entries;
  bool Fails = false;
  bool EnumConnections(int32_t, nw::RasConnectionList& ouList) override {
    ouList = {};
    return true;
  }
  bool GetConnectState(nw::RasHandle, int32_t&) override { return false; }
  bool EnumEntries(std::vector<std::string>& ouNames) override {
    if (Fails) return false;
    ouNames = Entries;
    return true;
  }
};

void Click(const otkForm::Form& f, int id) { PostMessageW(f.Item(id), BM_CLICK, 0, 0); }

}  // namespace

TEST(NWDUtilSprEntry, OKStoresTheTicksTheListShowsAndAFailedRereadKeepsThem) {
  wtk::HostWindow host;
  FakeRas ras;
  ras.Entries = {"会社VPN", "ﾀﾞｲﾔﾙｱｯﾌﾟ"};
  nw::SettingsRecord settings;
  settings.WayWatchEn = 1;
  settings.WatchEntries = {"消えたｴﾝﾄﾘ", "ﾀﾞｲﾔﾙｱｯﾌﾟ"};
  const int list = nw::ent::lstEntries;
  {
    // A name gone from the phonebook is not shown, so it is not stored again.
    nw::NWDUtilSprEntry dlg(GetModuleHandleW(nullptr), settings, ras);
    Script script({[&] { Click(dlg, nw::ent::OK); }}, Closer(dlg), 4000);
    dlg.ShowModal(nullptr, false);
    EXPECT_EQ(settings.WatchEntries, (std::vector<std::string>{"ﾀﾞｲﾔﾙｱｯﾌﾟ"}));
  }
  nw::NWDUtilSprEntry dlg(GetModuleHandleW(nullptr), settings, ras);
  std::string message;
  Script script({
      [&] {
        ListView_SetCheckState(dlg.Item(list), 0, TRUE);
        ras.Fails = true;
        Click(dlg, nw::ent::cdRedraw);
      },
      [&] {
        message = MessageText();
        if (HWND box = MessageBoxUp()) EndDialog(box, IDOK);
      },
      [&] {
        EXPECT_EQ(dlg.Items(list), ras.Entries);
        EXPECT_TRUE(dlg.ItemChecked(list, 0) && dlg.ItemChecked(list, 1));
        Click(dlg, nw::ent::OK);
      },
  }, Closer(dlg), 5000);
  dlg.ShowModal(nullptr, false);
  EXPECT_NE(message.find("ｴﾝﾄﾘの一覧を読み込めませんでした。"), std::string::npos) << message;
  EXPECT_EQ(settings.WatchEntries, ras.Entries);
}

namespace {

// The running program; its tray switch fails unexpectedly.
struct FailingHost : nw::UtilityHost {
  nw::SettingsRecord settings;
  nw::CounterBlock counters;
  nw::UtilRuntime rt{nw::MakeDate(2026, 12, 8, 10, 0, 0), false, 0, 0, false, false};
  std::vector<std::string> calls;
  nw::SettingsRecord& Settings() override { return settings; }
  nw::CounterBlock& Counters() override { return counters; }
  nw::UtilRuntime Runtime() override { return rt; }
  void SetUserStart(nw::Date d) override { rt.UserStart = d; }
  void ApplyUserCounterState() override { calls.push_back("UserCounterState"); }
  void RedrawCounters(int32_t, int32_t) override {}
  void SetPollingTimer(bool on, int32_t ms) override {
    calls.push_back(std::string("Timer ") + (on ? "on " : "off ") + std::to_string(ms));
  }
  void ShowLockButton(bool shown) override {
    rt.LockShown = shown;
    calls.push_back(shown ? "Lock shown" : "Lock hidden");
  }
  void SetTrayResidency(bool) override { throw std::runtime_error("tray"); }
  void TrimStatusList() override {}
};

struct NoLaunch : nw::LaunchPorts {
  bool ReadString(const std::string&, const std::string&, std::string&) override { return false; }
  bool WriteString(const std::string&, const std::string&, const std::string&) override { return false; }
  bool DeleteValue(const std::string&, const std::string&) override { return false; }
  bool StartupFolder(std::string&) override { return false; }
  bool FileExists(const std::string&) override { return false; }
  bool RemoveFile(const std::string&) override { return false; }
  bool WriteShortcut(const nw::ShortcutRecord&) override { return false; }
};

}  // namespace

TEST(NWDUtil, AnEffectFailingAfterTheChecksLeavesEverythingAsBefore) {
  wtk::HostWindow host;
  FailingHost program;
  program.counters = {nw::MakeDate(2026, 12, 8), 100, 3, nw::MakeDate(2027, 1, 1), 500, 2};
  const nw::SettingsRecord settingsBefore = program.settings;
  const nw::CounterBlock countersBefore = program.counters;
  NoLaunch launch;
  nw::NWDUtil dlg(GetModuleHandleW(nullptr), program, launch, "C:\\NetWard", "NetWard");
  using namespace nw::util;
  std::string message;
  Script script({
      [&] {
        SetWindowTextW(dlg.Item(MaxCount), L"5");
        SetWindowTextW(dlg.Item(CounterName), L"月額");
        SetWindowTextW(dlg.Item(TodayCnter + 1), L"9");  // and the counter group changes
        dlg.SetChecked(ExpLock, true);
        dlg.SetChecked(TackTrayIn, true);
        Click(dlg, OK);
      },
      [&] {
        message = MessageText();
        if (HWND box = MessageBoxUp()) EndDialog(box, IDOK);
      },
      [&] { Click(dlg, Cancel); },
  }, Closer(dlg), 5000);
  dlg.ShowModal(nullptr, false);
  EXPECT_EQ(message, nw::UnexpectedErrorMessage());
  EXPECT_EQ(program.settings, settingsBefore);
  EXPECT_EQ(program.counters, countersBefore);
  EXPECT_FALSE(program.rt.LockShown);
  EXPECT_EQ(program.calls.back(), "Lock hidden");
}

namespace {

// The start-up folder of a standard Windows user; nothing registered.
struct DefaultLaunch : NoLaunch {
  bool StartupFolder(std::string& ouPath) override {
    ouPath = "C:\\Users\\Owner\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup";
    return true;
  }
};

// The controls `dlg` cuts while its modal loop runs `show`, measured after the `first` steps.
template <class D, class Show>
std::vector<std::string> ClippedIn(D& dlg, Show show, std::vector<std::function<void()>> first = {}) {
  std::vector<std::string> found;
  first.push_back([&] {
    found = wtk::ClippedControls(dlg.Window());
    PostMessageW(dlg.Window(), WM_CLOSE, 0, 0);
  });
  Script script(std::move(first), Closer(dlg), 8000);
  show();
  return found;
}

struct LayoutDpi {
  explicit LayoutDpi(UINT dpi) { otkGdi::SetLayoutDpi(dpi); }
  ~LayoutDpi() { otkGdi::SetLayoutDpi(0); }
};

}  // namespace

// Every settings-side window with the default settings, laid out at 96 and at 144 DPI: no control
// cuts its text, on any page (hidden pages count) and for every kind of history record.
TEST(SettingsLayout, NoControlCutsItsDefaultTextAt96Or144Dpi) {
  wtk::HostWindow host;
  const HINSTANCE inst = GetModuleHandleW(nullptr);
  const std::vector<std::string> none;
  FakeRas ras;
  ras.Entries = {"NWProvider"};
  for (const UINT dpi : {96u, 144u}) {
    SCOPED_TRACE("DPI " + std::to_string(dpi));
    LayoutDpi at(dpi);
    // A long counter name is shortened in its captions.
    const std::string defaultName = nw::SettingsRecord{}.CounterName;
    for (const std::string& name : {defaultName, std::string("ﾌﾟﾛﾊﾞｲﾀﾞ接続の月間ﾌﾟﾗﾝ (ﾓﾊﾞｲﾙ回線と自宅の光回線をあわせて)")}) {
      FailingHost program;
      program.settings.CounterName = name;
      DefaultLaunch launch;
      nw::NWDUtil dlg(inst, program, launch, "C:\\Program Files\\NetWard", "NetWard");
      std::string saveUser;
      int launchFocus = 0;
      std::vector<std::string> clipped = ClippedIn(dlg, [&] {
        wtk::Later(100, [&] { saveUser = wtk::Text(dlg.Item(nw::util::LUserSave)); });
        dlg.ShowModal(nullptr, false);
      }, {[&] { for (int i = 0; i < 8; ++i) Key(VK_NEXT, {VK_CONTROL}); },
          [&] { launchFocus = GetDlgCtrlID(GetFocus()); }});
      // The start-up page by keys: its first button has the focus, not the path above it.
      EXPECT_EQ(launchFocus, nw::util::cmRegRegist);
      // The name's own box holds it as typed, and scrolls.
      std::erase_if(clipped, [&](const std::string& c) { return c.rfind(name + " (Edit", 0) == 0; });
      EXPECT_EQ(clipped, none) << "動作の設定 " << name;
      EXPECT_EQ(saveUser.find("\"" + name + "\""), name == defaultName ? 0u : std::string::npos) << saveUser;
    }
    nw::SettingsRecord settings;
    settings.WayWatchEn = 1;
    settings.RsSetInfo = {{"会社", "NWProvider", "user", "pass"}};
    settings.RsSetInfoStd = 0;
    {
      nw::NWDUtilSuper dlg(inst, settings, ras);
      EXPECT_EQ(ClippedIn(dlg, [&] { dlg.ShowModal(nullptr, false); }), none) << "高度な設定";
    }
    {
      nw::NWDUtilSprEntry dlg(inst, settings, ras);
      EXPECT_EQ(ClippedIn(dlg, [&] { dlg.ShowModal(nullptr, false); }), none) << "接続先監視の設定";
    }
    {
      nw::HistoryDisplaySettings h;
      nw::NWDLogUtil dlg(inst, h, settings.CounterName, [] {});
      std::string userPage;
      EXPECT_EQ(ClippedIn(dlg, [&] {
        wtk::Later(100, [&] { userPage = wtk::Text(dlg.Item(nw::NWDLogUtil::UtilWord + 2)); });
        dlg.ShowModal(host.Get(), nullptr, false);
      }), none) << "履歴の設定";
      EXPECT_EQ(userPage, "\"ﾕｰｻﾞｰ定義\" ｶｳﾝﾀの設定");  // not shortened
    }
    for (const int16_t kind : {0, 1, 2}) {
      nw::SelectedHistoryRecord rec{kind, false, nw::MakeDate(2026, 1, 5, 21, 4, 9), nw::MakeDate(2026, 1, 5, 23, 51, 40),
                                    nw::MakeDate(2026, 1, 5, 20, 58, 0), 36000, 12};
      nw::NWDLogCng dlg(inst, rec, settings.CounterName, "h時間 mm分 ss秒");
      EXPECT_EQ(ClippedIn(dlg, [&] { dlg.ShowMe(host.Get(), nullptr, false); }), none) << "値の変更 " << kind;
    }
  }
}

// The data volume page by keys: a bad warning refused on its page with the box focused, the good
// values stored with the other pages and written into NwdUtil.vol, and a file that cannot be
// written said after "O.K.".
TEST(NWDUtil, QuotaPageByKeysRefusesABadWarningThereAndOKWritesNwdUtilVol) {
  nw::test::TempFolder dir{"nwquota"};
  nw::SetProgramFolder(dir.Utf8());
  nw::VolumeGlobal() = {};
  wtk::HostWindow host;
  FailingHost program;  // the tray is not switched here
  program.settings.CounterName = "月額";
  NoLaunch launch;
  using namespace nw::util;
  std::string warning;
  {
    nw::NWDUtil dlg(GetModuleHandleW(nullptr), program, launch, dir.Utf8(), "NetWard");
    Script script({
        [&] { Key(VK_PRIOR, {VK_CONTROL}); },  // from the first page back round to the last
        [&] {
          EXPECT_TRUE(IsWindowVisible(dlg.Item(DecQuota)));
          EXPECT_EQ(wtk::Text(dlg.Item(QuotaNote)), "上限ﾃﾞｰﾀ量は \"月額\" ｶｳﾝﾀの更新周期ごとに数えます。");
          EXPECT_EQ(dlg.ComboIndex(QuotaAdapter), 0);
          Key('Q', {VK_MENU});
          Key('S', {VK_MENU});
          Type(L"300");
          Key(VK_TAB);
          Key(VK_UP);  // GB -> MB
          Key('1', {VK_MENU});
          Type(L"95");  // not below the second warning
          Key('H', {VK_MENU});
        },
        [&] { Key(VK_RETURN); },
        [&] {
          warning = MessageText();
          if (HWND box = MessageBoxUp()) EndDialog(box, IDOK);
        },
        [&] {
          EXPECT_TRUE(IsWindowVisible(dlg.Item(DecQuota)));
          EXPECT_EQ(GetFocus(), dlg.Item(QuotaWarn));
          EXPECT_EQ(nw::VolumeGlobal().Quota, nw::QuotaSettings{});  // nothing taken yet
          Type(L"70");  // over the selected text
          Key(VK_RETURN);
        },
    }, Closer(dlg), 8000);
    dlg.ShowModal(nullptr, false);
  }
  EXPECT_EQ(warning, "第1警告には第2警告より小さい数値を指定して下さい。");
  nw::QuotaSettings want;
  want.QuotaOn = true;
  want.Allowance = uint64_t{300} << 20;
  want.AllowanceUnit = 0;
  want.WarnPercent1 = 70;
  want.AtFull = nw::QuotaAction::HangUpAndHold;
  EXPECT_EQ(nw::VolumeGlobal().Quota, want);
  nw::VolumeFileData file;
  ASSERT_EQ(nw::LoadVolumeFile(file), nw::CheckedFileState::Loaded);
  EXPECT_EQ(file.Quota, want);

  // A folder that cannot take the file: said, and the values are still in use.
  nw::SetProgramFolder(dir.Utf8() + "\\gone");
  nw::NWDUtil dlg(GetModuleHandleW(nullptr), program, launch, dir.Utf8(), "NetWard");
  Script script({
      [&] {
        dlg.SetChecked(QuotaOn, false);
        Key(VK_RETURN);
      },
      [&] {
        warning = MessageText();
        if (HWND box = MessageBoxUp()) EndDialog(box, IDOK);
      },
  }, Closer(dlg), 5000);
  dlg.ShowModal(nullptr, false);
  EXPECT_NE(warning.find("NwdUtil.vol"), std::string::npos) << warning;
  EXPECT_FALSE(nw::VolumeGlobal().Quota.QuotaOn);
  EXPECT_EQ(dlg.Window(), nullptr);
}
