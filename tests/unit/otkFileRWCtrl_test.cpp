#include "classlib/otkFileRWCtrl.h"

#include <gtest/gtest.h>

#include "TestFiles.h"
#include "classlib/otkFileString.h"

using nw::test::LE;
using nw::test::ReadAll;
using nw::test::TempFolder;
using nw::test::WriteAll;

namespace {

struct RecordFile : ::testing::Test {
  TempFolder dir;
  otkFileRWCtrl f;
  void Open(std::string_view name = "data.bin") {
    f.FileAddress(dir.File(name));
    ASSERT_TRUE(f.OpenForBinary());
  }
  std::string Bytes(std::string_view name = "data.bin") { return ReadAll(dir.FsPath(name)); }
};

}  // namespace

TEST_F(RecordFile, ValuesAreLittleEndianAndPacked) {
  Open();
  EXPECT_TRUE(f.SetInteger(-2));
  EXPECT_TRUE(f.SetLong(0x01020304));
  EXPECT_TRUE(f.SetBoolean(true));
  EXPECT_TRUE(f.SetBoolean(false));
  EXPECT_TRUE(f.SetDate(37622.75));
  EXPECT_EQ(f.CurrentPoint(), 1 + 2 + 4 + 2 + 2 + 8);
  f.CloseFile();
  EXPECT_EQ(Bytes(), "\xFE\xFF" "\x04\x03\x02\x01" "\xFF\xFF" + std::string("\0\0", 2) + LE<uint64_t>(0x40E25ED800000000));

  Open();
  int16_t i = 0;
  int32_t l = 0;
  bool t = false, fl = true;
  nw::Date d = 0;
  EXPECT_TRUE(f.GetInteger(i) && f.GetLong(l) && f.GetBoolean(t) && f.GetBoolean(fl) && f.GetDate(d));
  EXPECT_EQ(i, -2);
  EXPECT_EQ(l, 0x01020304);
  EXPECT_TRUE(t);
  EXPECT_FALSE(fl);
  EXPECT_EQ(d, 37622.75);
}

TEST_F(RecordFile, AnyNonZeroBooleanReadsTrue) {
  WriteAll(dir.FsPath("data.bin"), "\x01\x00");
  Open();
  bool b = false;
  EXPECT_TRUE(f.GetBoolean(b));
  EXPECT_TRUE(b);
}

TEST_F(RecordFile, BeyondTheEndReadsZeroAndEmpty) {
  Open();
  EXPECT_TRUE(f.SetInteger(7));
  f.CurrentPoint(2);  // one byte left: the missing one reads as zero
  int16_t i = -1;
  int32_t l = -1;
  nw::Date d = 5;
  std::string s = "x";
  EXPECT_TRUE(f.GetInteger(i));
  EXPECT_EQ(i, 0);
  EXPECT_TRUE(f.GetLong(l) && f.GetDate(d) && f.GetString(s));
  EXPECT_EQ(l, 0);
  EXPECT_EQ(d, 0.0);
  EXPECT_EQ(s, "");
  EXPECT_EQ(f.CurrentPoint(), 2 + 2 + 4 + 8 + 4);
  f.CloseFile();
  EXPECT_EQ(Bytes().size(), 2u);  // reading never extends the file
}

TEST_F(RecordFile, DoubleByteCharactersCountOnce) {
  Open();
  EXPECT_TRUE(f.SetString("今日ab日"));  // 5 characters in 8 bytes
  EXPECT_TRUE(f.SetInteger(42));
  f.CloseFile();
  EXPECT_EQ(Bytes(), LE<int32_t>(5) + "\x8D\xA1\x93\xFA" "ab" "\x93\xFA" + LE<int16_t>(42));

  Open();
  std::string s;
  int16_t after = 0;
  EXPECT_TRUE(f.GetString(s));
  EXPECT_EQ(s, "今日ab日");
  EXPECT_TRUE(f.GetInteger(after));
  EXPECT_EQ(after, 42);
}

TEST_F(RecordFile, FiveCharactersTwoDoubleByteTakeSevenBytes) {
  Open();
  EXPECT_TRUE(f.SetString("定x義yz"));
  EXPECT_EQ(f.CurrentPoint(), 1 + 4 + 7);
  f.CurrentPoint(1);
  int32_t n = 0;
  EXPECT_TRUE(f.GetLong(n));
  EXPECT_EQ(n, 5);
}

TEST_F(RecordFile, StringCheckingHonoursItsBound) {
  Open();
  EXPECT_TRUE(f.SetString(std::string(65, 'a')));
  EXPECT_TRUE(f.SetString(std::string(64, 'b')));
  EXPECT_TRUE(f.SetString(""));
  f.CurrentPoint(1);
  std::string s = "unchanged";
  EXPECT_FALSE(f.GetStringChecking(64, s));
  EXPECT_EQ(s, "unchanged");
  EXPECT_EQ(f.CurrentPoint(), 5);  // just behind the count: on the first text byte
  f.CurrentPoint(5 + 65);
  EXPECT_TRUE(f.GetStringChecking(64, s));
  EXPECT_EQ(s, std::string(64, 'b'));
  EXPECT_TRUE(f.GetStringChecking(64, s));
  EXPECT_EQ(s, "");
}

TEST_F(RecordFile, NegativeCountFails) {
  WriteAll(dir.FsPath("data.bin"), LE<int32_t>(-1) + "abc");
  Open();
  std::string s = "keep";
  EXPECT_FALSE(f.GetString(s));
  EXPECT_EQ(s, "keep");
  EXPECT_EQ(f.CurrentPoint(), 5);
}

TEST_F(RecordFile, DamagedCountReadsOnlyWhatTheFileHolds) {
  WriteAll(dir.FsPath("data.bin"), LE<int32_t>(0x7FFFFFFF) + "abc");
  Open();
  std::string s;
  EXPECT_TRUE(f.GetString(s));
  EXPECT_EQ(s, "abc");
  int32_t next = -1;
  EXPECT_TRUE(f.GetLong(next));  // far beyond the end now
  EXPECT_EQ(next, 0);
}

TEST_F(RecordFile, WritingBeyondTheEndExtendsWithZeros) {
  Open();
  f.CurrentPoint(6);
  EXPECT_TRUE(f.SetInteger(0x0102));
  f.CloseFile();
  EXPECT_EQ(Bytes(), std::string(5, '\0') + "\x02\x01");
}

TEST_F(RecordFile, ReadsSeeWhatWasJustWritten) {
  WriteAll(dir.FsPath("data.bin"), LE<int32_t>(1) + LE<int32_t>(2));
  Open();
  int32_t v = 0;
  EXPECT_TRUE(f.GetLong(v));
  EXPECT_EQ(v, 1);
  EXPECT_TRUE(f.SetLong(5));  // over the value read ahead with the first
  f.CurrentPoint(5);
  EXPECT_TRUE(f.GetLong(v));
  EXPECT_EQ(v, 5);
  EXPECT_TRUE(f.SetLong(7));  // beyond the end the first read saw
  f.CurrentPoint(9);
  EXPECT_TRUE(f.GetLong(v));
  EXPECT_EQ(v, 7);
}

TEST_F(RecordFile, ClosedObjectFailsEverything) {
  f.FileAddress(dir.File("never.bin"));
  EXPECT_EQ(f.FileNumber(), -1);
  int16_t i = 3;
  std::string s = "x";
  EXPECT_FALSE(f.GetInteger(i));
  EXPECT_FALSE(f.SetInteger(1));
  EXPECT_FALSE(f.GetString(s));
  EXPECT_FALSE(f.SetString("a"));
  EXPECT_EQ(i, 3);
  EXPECT_EQ(otkFileString::FileKindOf(dir.File("never.bin")), 0);
}

TEST_F(RecordFile, OpenCreatesAndNumbersTheFile) {
  Open("new.bin");
  EXPECT_GT(f.FileNumber(), 0);
  EXPECT_EQ(f.CurrentPoint(), 1);
  EXPECT_EQ(otkFileString::FileKindOf(dir.File("new.bin")), 1);
  f.CloseFile();
  EXPECT_EQ(f.FileNumber(), -1);
}

TEST_F(RecordFile, AddressChangeWhileOpenIsIgnored) {
  Open("first.bin");
  f.FileAddress(dir.File("second.bin"));
  EXPECT_EQ(f.FileAddress(), dir.File("first.bin"));
  f.CloseFile();
  ASSERT_TRUE(f.OpenForBinary());
  EXPECT_TRUE(f.SetInteger(1));
  f.CloseFile();
  EXPECT_EQ(otkFileString::FileKindOf(dir.File("second.bin")), 0);
  EXPECT_EQ(Bytes("first.bin").size(), 2u);
}

TEST_F(RecordFile, ClearingDeletesFileButNeverAFolder) {
  WriteAll(dir.FsPath("old.bin"), "old contents");
  std::filesystem::permissions(dir.FsPath("old.bin"), std::filesystem::perms::owner_read);
  f.FileAddress(dir.File("old.bin"));
  ASSERT_TRUE(f.OpenForBinaryClearing());
  EXPECT_EQ(f.FileLength(), 0);
  f.CloseFile();

  std::filesystem::create_directory(dir.FsPath("folder"));
  otkFileRWCtrl g;
  g.FileAddress(dir.File("folder"));
  EXPECT_FALSE(g.OpenForBinaryClearing());
  EXPECT_EQ(g.FileNumber(), -1);
  EXPECT_EQ(otkFileString::FileKindOf(dir.File("folder")), 2);
}

TEST_F(RecordFile, OpenFailsInAMissingFolder) {
  f.FileAddress(dir.File("missing\\data.bin"));
  EXPECT_FALSE(f.OpenForBinary());
  EXPECT_EQ(f.FileNumber(), -1);
  EXPECT_FALSE(f.SetLong(1));
}

TEST_F(RecordFile, DeleteFileAtClearsReadOnly) {
  WriteAll(dir.FsPath("ro.txt"), "x");
  std::filesystem::permissions(dir.FsPath("ro.txt"), std::filesystem::perms::owner_read);
  EXPECT_TRUE(otkFileString::DeleteFileAt(dir.File("ro.txt")));
  EXPECT_EQ(otkFileString::FileKindOf(dir.File("ro.txt")), 0);
  EXPECT_FALSE(otkFileString::DeleteFileAt(dir.File("ro.txt")));
}
