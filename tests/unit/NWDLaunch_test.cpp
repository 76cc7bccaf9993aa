// Start-up registration over a fake registry, start-up folder and shortcut writer.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "settings/NWDLaunch.h"

namespace nw {
namespace {

struct FakeLaunch : LaunchPorts {
  std::map<std::string, std::string> values;  // "subkey|name"
  bool registryWritable = true;
  std::string folder = "C:\\Users\\利用者\\Startup";
  bool folderKnown = true;
  std::set<std::string> files;
  std::vector<ShortcutRecord> written;

  static std::string Key(const std::string& k, const std::string& n) { return k + "|" + n; }
  bool ReadString(const std::string& k, const std::string& n, std::string& ou) override {
    const auto it = values.find(Key(k, n));
    if (it == values.end()) return false;
    ou = it->second;
    return true;
  }
  bool WriteString(const std::string& k, const std::string& n, const std::string& t) override {
    if (!registryWritable) return false;
    values[Key(k, n)] = t;
    return true;
  }
  bool DeleteValue(const std::string& k, const std::string& n) override {
    return registryWritable && values.erase(Key(k, n)) == 1;
  }
  bool StartupFolder(std::string& ou) override {
    if (folderKnown) ou = folder;
    return folderKnown;
  }
  bool FileExists(const std::string& p) override { return files.count(p) != 0; }
  bool RemoveFile(const std::string& p) override { return files.erase(p) == 1; }
  bool WriteShortcut(const ShortcutRecord& r) override {
    written.push_back(r);
    files.insert(r.LinkPath);
    return true;
  }
};

const std::string kRun = NWDLaunch::kRunKey;
const std::string kFolder = "D:\\ツール\\Net Ward";
const std::string kPath = kFolder + "\\NetWard.exe";

TEST(Launch, RegistryValueIsWrittenQuotedAndBothFormsCount) {
  FakeLaunch f;
  NWDLaunch page(f, kFolder, "NetWard");
  LaunchView v = page.Refresh();
  EXPECT_EQ(v.RegPlace, "ｷｰ名:HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run 値名:NetWard");
  EXPECT_EQ(v.SupPlace, f.folder);
  EXPECT_EQ(v.LaunchStatus, "自動起動しません。");
  EXPECT_TRUE(v.RegRegist && v.SupRegist && !v.RegDelete && !v.SupDelete);

  const auto reg = page.cmRegRegist_Click();
  EXPECT_TRUE(reg.Ok);
  EXPECT_EQ(reg.Message, "ﾚｼﾞｽﾄﾘへ正常に登録できました。");
  EXPECT_EQ(f.values[FakeLaunch::Key(kRun, "NetWard")], "\"" + kPath + "\"");
  v = page.View();
  EXPECT_EQ(v.RegStatus, "ﾚｼﾞｽﾄﾘに登録されています。");
  EXPECT_EQ(v.LaunchStatus, "自動起動するように設定してあります。");
  EXPECT_TRUE(!v.RegRegist && !v.SupRegist && v.RegDelete && !v.SupDelete);

  // A value written by an older version, unquoted, counts too; one naming another place does not.
  f.values[FakeLaunch::Key(kRun, "NetWard")] = kPath;
  EXPECT_TRUE(page.Refresh().RegDelete);
  f.values[FakeLaunch::Key(kRun, "NetWard")] = "C:\\Old\\NetWard.exe";
  v = page.Refresh();
  EXPECT_EQ(v.RegStatus, "ﾚｼﾞｽﾄﾘに登録されていません。");
  EXPECT_TRUE(v.RegRegist);

  EXPECT_TRUE(page.cmRegRegist_Click().Ok);
  const auto del = page.cmRegDelete_Click();
  EXPECT_EQ(del.Message, "ﾚｼﾞｽﾄﾘから正常に削除できました。");
  EXPECT_TRUE(f.values.empty());
  EXPECT_TRUE(page.View().RegRegist);

  // Without the right to write the machine's key.
  f.registryWritable = false;
  const auto refused = page.cmRegRegist_Click();
  EXPECT_FALSE(refused.Ok);
  EXPECT_EQ(refused.Message, "ﾚｼﾞｽﾄﾘへ正常に登録できませんでした。");
  EXPECT_EQ(page.cmRegDelete_Click().Message, "ﾚｼﾞｽﾄﾘから正常に削除できませんでした。");
}

TEST(Launch, StartupShortcutIsWrittenAndRemoved) {
  FakeLaunch f;
  NWDLaunch page(f, kFolder, "NetWard");
  page.Refresh();
  const auto reg = page.cmSupRegist_Click();
  EXPECT_TRUE(reg.Ok);
  EXPECT_EQ(reg.Message, "ｽﾀｰﾄｱｯﾌﾟﾌｫﾙﾀﾞへ正常に登録できました。");
  ASSERT_EQ(f.written.size(), 1u);
  EXPECT_EQ(f.written[0].LinkPath, f.folder + "\\NetWard.lnk");
  EXPECT_EQ(f.written[0].TargetPath, kPath);
  EXPECT_EQ(f.written[0].WorkingDirectory, kFolder);
  EXPECT_EQ(f.written[0].ShowCommand, 1);
  LaunchView v = page.View();
  EXPECT_EQ(v.SupStatus, "ｽﾀｰﾄｱｯﾌﾟﾌｫﾙﾀﾞに登録されています。");
  EXPECT_TRUE(!v.RegRegist && !v.SupRegist && v.SupDelete && !v.RegDelete);

  // Both set up outside the program: both remove buttons, no register button.
  f.values[FakeLaunch::Key(kRun, "NetWard")] = kPath;
  v = page.Refresh();
  EXPECT_TRUE(v.RegDelete && v.SupDelete && !v.RegRegist && !v.SupRegist);

  EXPECT_EQ(page.cmSupDelete_Click().Message, "ｽﾀｰﾄｱｯﾌﾟﾌｫﾙﾀﾞから正常に削除できました。");
  EXPECT_TRUE(f.files.empty());
  EXPECT_TRUE(page.View().RegDelete);
  // Already gone counts as removed.
  EXPECT_TRUE(page.cmSupDelete_Click().Ok);

  f.folderKnown = false;
  EXPECT_EQ(page.Refresh().SupPlace, "");
  EXPECT_EQ(page.cmSupRegist_Click().Message, "ｽﾀｰﾄｱｯﾌﾟﾌｫﾙﾀﾞへ正常に登録できませんでした。");
  EXPECT_EQ(page.cmSupDelete_Click().Message, "ｽﾀｰﾄｱｯﾌﾟﾌｫﾙﾀﾞから正常に削除できませんでした。");
}

}  // namespace
}  // namespace nw
