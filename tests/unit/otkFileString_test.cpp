#include "classlib/otkFileString.h"

#include <gtest/gtest.h>

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
