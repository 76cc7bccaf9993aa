#pragma once
// The one class through which every binary data file is read and written. It owns at most one
// open file and reads and writes typed values at its current position (1-based), little-endian
// and packed:
//   Integer 2 bytes signed, Long 4 bytes signed, Boolean 2 bytes (true -1, any non-zero reads
//   true), Date 8-byte double, String a Long count of characters and the text in code page 932
//   (a double-byte character counts one and takes two bytes).
// Every operation reports failure by its result and never throws. Bytes beyond the end of the
// file read as zero, so a short file yields zeros and empty strings. No read allocates more than
// the file holds, whatever a damaged length says.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/DateValue.h"
#include "classlib/otkOsFile.h"

class otkFileRWCtrl {
 public:
  otkFileRWCtrl() = default;
  ~otkFileRWCtrl() { CloseFile(); }
  otkFileRWCtrl(const otkFileRWCtrl&) = delete;
  otkFileRWCtrl& operator=(const otkFileRWCtrl&) = delete;

  // Deletes a file (not a folder) at FileAddress, then OpenForBinary. False when a file there
  // cannot be deleted: nothing of it is reused.
  bool OpenForBinaryClearing();
  // Opens FileAddress for reading and writing at position 1, creating it when missing; closes
  // any open file first.
  bool OpenForBinary();
  void CloseFile();

  int16_t FileNumber() const { return number_; }  // -1 while no file is open
  bool IsOpen() const { return file_.IsOpen(); }

  const std::string& FileAddress() const { return address_; }
  void FileAddress(std::string agAds);  // ignored while a file is open

  int64_t CurrentPoint() const { return point_; }
  void CurrentPoint(int64_t agPnt);  // positions below 1 are ignored
  int64_t FileLength() const;        // -1 while no file is open

  bool GetInteger(int16_t& ouVal);
  bool SetInteger(int16_t agVal);
  bool GetLong(int32_t& ouVal);
  bool SetLong(int32_t agVal);
  bool GetDate(nw::Date& ouVal);
  bool SetDate(nw::Date agVal);
  bool GetBoolean(bool& ouVal);
  bool SetBoolean(bool agVal);
  // Reads a String whose count is at most agLimitLen. On a failed count, a count below 0 or
  // above the limit: false, ouStr unchanged, the position just behind the count.
  bool GetStringChecking(int32_t agLimitLen, std::string& ouStr);
  bool GetString(std::string& ouStr);
  // Writes the count, then the text; when the count cannot be written nothing more is.
  bool SetString(std::string_view agStr);

  // Pushes what was written down to the disk.
  bool Flush() { return file_.Flush(); }

  // `n` raw bytes at the position (beyond the end they read as zero); the position moves on.
  bool ReadBytes(unsigned char* buf, size_t n);

 private:
  bool WriteBytes(const unsigned char* buf, size_t n);
  bool ReadText(int32_t chars, std::string& ouStr);

  // Up to `n` bytes at `offset` (fewer at the end of the file), from the block read ahead.
  int64_t ReadAt(int64_t offset, unsigned char* buf, size_t n);
  void ForgetReadAhead();

  std::string address_;
  nw::os::File file_;
  int64_t point_ = 1;
  int16_t number_ = -1;
  // Readers take a value at a time, and a system call per value is most of what reading a file
  // costs (above all under Wine): a block is read ahead, and dropped at every write through here.
  std::vector<unsigned char> ahead_;
  int64_t aheadStart_ = 0;
  size_t aheadAsked_ = 0;  // bytes asked for; ahead_ holds fewer when the file ended before
};
