#include "data/ActivityLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "TestFiles.h"

using namespace nw;
using nw::test::ReadAll;
using nw::test::TempFolder;

namespace {
struct Notices {
  std::vector<std::pair<std::string, std::string>> Shown;
  ActivityLogCommands::Notice Sink() {
    return [this](const std::string& m, const std::string& s) { Shown.emplace_back(m, s); };
  }
};
}  // namespace

TEST(ActivityLog, AppendsLinesInCodePage932WithCrLf) {
  TempFolder dir;
  const std::string path = dir.File("LogFile.txt");
  ASSERT_TRUE(AppendActivityLine(path, "2026年 12月 7日 午後 9:00:00"));
  ASSERT_TRUE(AppendActivityLine(path, "   接続状態になりました。"));
  ASSERT_TRUE(AppendActivityLine(path, "ﾛｸﾞ"));
  EXPECT_EQ(ReadAll(dir.FsPath("LogFile.txt")),
            "2026\x94N 12\x8C\x8E 7\x93\xFA \x8C\xDF\x8C\xE3 9:00:00\r\n"
            "   \x90\xDA\x91\xB1\x8F\xF3\x91\xD4\x82\xC9\x82\xC8\x82\xE8\x82\xDC\x82\xB5\x82\xBD\x81\x42\r\n"
            "\xDB\xB8\xDE\r\n");
}

TEST(ActivityLog, FailsForAVanishedFolderOrAFolderPath) {
  TempFolder dir;
  EXPECT_FALSE(AppendActivityLine(dir.File("gone") + "\\LogFile.txt", "x"));
  EXPECT_FALSE(AppendActivityLine(dir.Utf8(), "x"));  // a folder
  EXPECT_FALSE(AppendActivityLine("", "x"));
  EXPECT_FALSE(std::filesystem::exists(dir.FsPath("gone")));
}

TEST(ActivityLog, ProbeTellsFilesFromMissingAndInvalidPaths) {
  TempFolder dir;
  nw::test::WriteAll(dir.FsPath("a.txt"), "x");
  EXPECT_EQ(ProbeLogPath(dir.File("a.txt")), LogPathState::Exists);
  EXPECT_EQ(ProbeLogPath(dir.File("b.txt")), LogPathState::Missing);
  EXPECT_EQ(ProbeLogPath(dir.Utf8()), LogPathState::Missing);  // a folder is not a log file
  EXPECT_EQ(ProbeLogPath(dir.File("a|b.txt")), LogPathState::Invalid);
  EXPECT_EQ(ProbeLogPath(dir.File("*.txt")), LogPathState::Invalid);
  EXPECT_EQ(ProbeLogPath("C:\\logs\\"), LogPathState::Invalid);
  EXPECT_EQ(ProbeLogPath("C:\\a:b.txt"), LogPathState::Invalid);
}

TEST(ActivityLog, MenuStateFollowsTheFileAndAnInvalidPathResetsLogging) {
  TempFolder dir;
  SettingsRecord s;
  Notices n;
  ActivityLogCommands cmds(s, n.Sink());

  // Empty path: delete disabled, no message.
  s.LogFileAddress.clear();
  s.LoggingFLG = true;
  auto m = cmds.Utilnu_Click();
  EXPECT_TRUE(m.LoggingChecked);
  EXPECT_FALSE(m.DeleteEnabled);
  EXPECT_TRUE(n.Shown.empty());

  s.LogFileAddress = dir.File("LogFile.txt");
  EXPECT_FALSE(cmds.Utilnu_Click().DeleteEnabled);
  ASSERT_TRUE(AppendActivityLine(s.LogFileAddress, "x"));
  EXPECT_TRUE(cmds.Utilnu_Click().DeleteEnabled);

  s.LogFileAddress = "C:\\bad|name.txt";
  m = cmds.Utilnu_Click();
  EXPECT_FALSE(m.DeleteEnabled);
  EXPECT_FALSE(m.LoggingChecked);
  EXPECT_FALSE(s.LoggingFLG);
  EXPECT_EQ(s.LogFileAddress, "");
  ASSERT_EQ(n.Shown.size(), 1u);
  EXPECT_EQ(n.Shown[0].first, "ﾛｸﾞﾌｧｲﾙの保存場所が無効です。");
  EXPECT_EQ(n.Shown[0].second, "ﾛｸﾞﾌｧｲﾙの保存場所が無効なため、「ﾛｸﾞ」機能の設定を初期化しました。");

  cmds.Loggingnu_Click();
  EXPECT_TRUE(s.LoggingFLG);  // switched on again even with the empty path
}

TEST(ActivityLog, DeleteKeepsLoggingOnAndTheNextLineStartsAFreshFile) {
  TempFolder dir;
  SettingsRecord s;
  s.LoggingFLG = true;
  s.LogFileAddress = dir.File("LogFile.txt");
  ActivityLogCommands cmds(s, nullptr);
  ASSERT_TRUE(AppendActivityLine(s.LogFileAddress, "old"));
  cmds.DelLognu_Click();
  EXPECT_FALSE(std::filesystem::exists(dir.FsPath("LogFile.txt")));
  EXPECT_TRUE(s.LoggingFLG);
  EXPECT_EQ(s.LogFileAddress, dir.File("LogFile.txt"));
  cmds.DelLognu_Click();  // nothing there: nothing happens
  ASSERT_TRUE(AppendActivityLine(s.LogFileAddress, "new"));
  EXPECT_EQ(ReadAll(dir.FsPath("LogFile.txt")), "new\r\n");
}

TEST(ActivityLog, SaveDialogOpensInTheFolderOfThePresentFile) {
  SettingsRecord s;
  s.LogFileAddress = "C:\\NetWard\\LogFile.txt";
  ActivityLogCommands cmds(s, nullptr);
  const auto d = cmds.AdsLognuSetup();
  EXPECT_EQ(d.DefaultExtension, "txt");
  EXPECT_EQ(d.DefaultFileName, "LogFile.txt");
  EXPECT_EQ(d.DefaultAddress, "C:\\NetWard");
  EXPECT_EQ(d.Title, "ﾛｸﾞﾌｧｲﾙの保存場所／名前の指定");
  EXPECT_EQ(d.Filter, "すべてのﾌｧｲﾙ(*.*)|*.*");
  EXPECT_EQ(d.FilterIndex, 1);
  EXPECT_EQ(d.Flags, 2052u);
  s.LogFileAddress = "C:\\LogFile.txt";
  EXPECT_EQ(cmds.AdsLognuSetup().DefaultAddress, "C:\\");
  cmds.AdsLognuChosen("D:\\logs\\nw.txt");
  EXPECT_EQ(s.LogFileAddress, "D:\\logs\\nw.txt");
  EXPECT_FALSE(s.LoggingFLG);  // choosing a path does not switch logging on
}

TEST(ActivityLog, ChosenPathThatTheSettingsFileCannotHoldIsRefusedWithAWarning) {
  SettingsRecord s;
  s.LoggingFLG = true;
  s.LogFileAddress = "C:\\NetWard\\LogFile.txt";
  Notices notices;
  ActivityLogCommands cmds(s, notices.Sink());
  // "ë" and the Hangul are not in code page 932: stored, the path would read back as another one.
  for (const char* path : {"C:\\Zoë\\LogFile.txt", "C:\\로그\\nw.txt"}) {
    EXPECT_FALSE(cmds.AdsLognuChosen(path)) << path;
    EXPECT_EQ(s.LogFileAddress, "C:\\NetWard\\LogFile.txt");
    EXPECT_TRUE(s.LoggingFLG);
  }
  ASSERT_EQ(notices.Shown.size(), 2u);
  EXPECT_EQ(notices.Shown[0].first, "ﾛｸﾞﾌｧｲﾙの保存場所に、保存できない文字が含まれています。");
  // Japanese names are stored as they are.
  EXPECT_TRUE(cmds.AdsLognuChosen("D:\\ログ\\記録ﾌｧｲﾙ.txt"));
  EXPECT_EQ(s.LogFileAddress, "D:\\ログ\\記録ﾌｧｲﾙ.txt");
  EXPECT_EQ(notices.Shown.size(), 2u);
}
