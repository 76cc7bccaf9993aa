#pragma once
// The operating system's files, as the record file class needs them. Paths are UTF-8 with "\" as
// the separator (natively "\" is taken as "/", so tests run in ordinary temporary folders).
// Natively this is POSIX; on Windows the W file APIs.
#include <cstddef>
#include <cstdint>
#include <string>

namespace nw::os {

// One open file, read and written at explicit offsets. Other programs may read it meanwhile.
class File {
 public:
  File() = default;
  ~File() { Close(); }
  File(File&& other) noexcept : handle_(other.handle_) { other.handle_ = kNone; }
  File& operator=(File&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = other.handle_;
      other.handle_ = kNone;
    }
    return *this;
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Opens for reading and writing, creating the file when missing; a file that may only be read
  // is opened read-only (writes then fail). Not open on failure.
  static File OpenOrCreate(const std::string& path);

  bool IsOpen() const { return handle_ != kNone; }
  // Bytes read at `offset` into `buf` (fewer at the end of the file, 0 beyond it); -1 on error.
  int64_t ReadAt(int64_t offset, void* buf, size_t n);
  bool WriteAt(int64_t offset, const void* buf, size_t n);
  int64_t Size() const;  // -1 on error
  bool Flush();          // down to the disk
  void Close();

 private:
  static constexpr intptr_t kNone = -1;
  explicit File(intptr_t handle) : handle_(handle) {}
  intptr_t handle_ = kNone;
};

// 0 nothing there (or unreadable attributes), 1 a file, 2 a folder.
int KindOf(const std::string& path);

// Clears the attributes that would stop the delete (read-only), then deletes the file.
bool RemoveFile(const std::string& path);

// Moves `from` over `to` in one step, replacing `to` (made writable first) if it exists; a reader
// sees either the old or the new file, never a part of one. The folder entry is written through.
bool MoveReplacing(const std::string& from, const std::string& to);

}  // namespace nw::os
