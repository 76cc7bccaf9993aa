// The data volume page of the operation settings dialog, driven by keys while its modal loop runs:
// a bad warning refused on its page with the box focused, the good values stored with the other
// pages and written into NwdUtil.vol, and a file that cannot be written said after "O.K.".
#include <gtest/gtest.h>

#include <string>

#include "../unit/TestFiles.h"
#include "data/NWDGlobal.h"
#include "data/NWDVolumeFile.h"
#include "settings/NWDQuotaIds.h"
#include "settings/NWDUtilIds.h"
#include "settings/win32/NWDUtil.h"
#include "WindowTestKit.h"

using wtk::Closer;
using wtk::Key;
using wtk::MessageBoxUp;
using wtk::MessageText;
using wtk::Script;
using wtk::Type;

namespace {

struct Program : nw::UtilityHost {
  nw::SettingsRecord settings;
  nw::CounterBlock counters;
  nw::UtilRuntime rt{nw::MakeDate(2026, 12, 8, 10, 0, 0), false, 0, 0, false, false};
  nw::SettingsRecord& Settings() override { return settings; }
  nw::CounterBlock& Counters() override { return counters; }
  nw::UtilRuntime Runtime() override { return rt; }
  void SetUserStart(nw::Date d) override { rt.UserStart = d; }
  void ApplyUserCounterState() override {}
  void RedrawCounters(int32_t, int32_t) override {}
  void SetPollingTimer(bool, int32_t) override {}
  void ShowLockButton(bool shown) override { rt.LockShown = shown; }
  void SetTrayResidency(bool on) override { rt.TrayResident = on; }
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

void Alt(char letter) { Key(static_cast<WORD>(letter), {VK_MENU}); }
bool Shown(const otkForm::Form& f, int id) { return IsWindowVisible(f.Item(id)) != FALSE; }

}  // namespace

TEST(NWDUtilQuota, KeysFillThePageABadWarningIsRefusedThereAndOKWritesTheFile) {
  nw::test::TempFolder dir{"nwquota"};
  nw::SetProgramFolder(dir.Utf8());
  nw::VolumeGlobal() = {};
  wtk::HostWindow host;
  Program program;
  program.settings.CounterName = "月額";
  NoLaunch launch;
  using namespace nw::util;
  std::string warning;
  {
    nw::NWDUtil dlg(GetModuleHandleW(nullptr), program, launch, dir.Utf8(), "NetWard");
    Script script({
        [&] { Key(VK_PRIOR, {VK_CONTROL}); },  // from the first page back round to the last
        [&] {
          EXPECT_TRUE(Shown(dlg, DecQuota));
          EXPECT_EQ(wtk::Text(dlg.Item(QuotaNote)), "上限ﾃﾞｰﾀ量は \"月額\" ｶｳﾝﾀの更新周期ごとに数えます。");
          EXPECT_EQ(dlg.ComboIndex(QuotaAdapter), 0);
          Alt('Q');
          Alt('S');
          Type(L"300");
          Key(VK_TAB);
          Key(VK_UP);  // GB -> MB
          Alt('1');
          Type(L"95");  // not below the second warning
          Alt('H');
        },
        [&] { Key(VK_RETURN); },
        [&] {
          warning = MessageText();
          if (HWND box = MessageBoxUp()) EndDialog(box, IDOK);
        },
        [&] {
          EXPECT_TRUE(Shown(dlg, DecQuota));
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
