#include "classlib/otkFileString.h"

#include <gtest/gtest.h>

#include "TestFiles.h"

using otkFileString::JoinPath;
using otkFileString::LastPathPart;

TEST(PathHelpers, JoinUsesExactlyOneSeparator) {
  EXPECT_EQ(JoinPath("C:\\NetWard", "NwdUtil.dat"), "C:\\NetWard\\NwdUtil.dat");
  EXPECT_EQ(JoinPath("C:\\", "NwdUtil.dat"), "C:\\NwdUtil.dat");
  EXPECT_EQ(JoinPath("C:\\ネット\\", "LogFile.txt"), "C:\\ネット\\LogFile.txt");
}

TEST(PathHelpers, LastPartOfPath) {
  EXPECT_EQ(LastPathPart("C:\\a\\b.txt"), "b.txt");
  EXPECT_EQ(LastPathPart("b.txt"), "b.txt");
  EXPECT_EQ(LastPathPart("C:\\a\\"), "");
}

TEST(TextLines, AppendedInCodePage932WithCrLf) {
  nw::test::TempFolder dir;
  const std::string path = dir.File("LogFile.txt");
  EXPECT_TRUE(otkFileString::AppendTextLine(path, "2003年 1月 1日"));
  EXPECT_TRUE(otkFileString::AppendTextLine(path, "   接続状態になりました。"));
  EXPECT_EQ(nw::test::ReadAll(dir.FsPath("LogFile.txt")),
            "2003\x94\x4E 1\x8C\x8E 1\x93\xFA\r\n   \x90\xDA\x91\xB1\x8F\xF3\x91\xD4\x82\xC9\x82\xC8\x82\xE8\x82\xDC"
            "\x82\xB5\x82\xBD\x81\x42\r\n");
  EXPECT_FALSE(otkFileString::AppendTextLine(dir.File("missing\\LogFile.txt"), "x"));
}
