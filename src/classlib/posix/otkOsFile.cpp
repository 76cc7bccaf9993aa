// Native side of the file seam: POSIX calls, "\" taken as "/".
#include "classlib/otkOsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace nw::os {

namespace {

std::string Native(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::string FolderOf(const std::string& nativePath) {
  const auto cut = nativePath.rfind('/');
  return cut == std::string::npos ? "." : cut == 0 ? "/" : nativePath.substr(0, cut);
}

void MakeWritable(const std::string& nativePath) {
  struct stat st {};
  if (::stat(nativePath.c_str(), &st) == 0 && !(st.st_mode & S_IWUSR)) ::chmod(nativePath.c_str(), st.st_mode | S_IWUSR);
}

}  // namespace

File File::OpenOrCreate(const std::string& path) {
  const std::string p = Native(path);
  if (KindOf(path) == 2) return File();
  int fd = ::open(p.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0 && (errno == EACCES || errno == EROFS)) fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
  return fd < 0 ? File() : File(fd);
}

int64_t File::ReadAt(int64_t offset, void* buf, size_t n) {
  if (!IsOpen() || offset < 0) return -1;
  size_t done = 0;
  while (done < n) {
    const ssize_t r = ::pread(static_cast<int>(handle_), static_cast<char*>(buf) + done, n - done,
                              static_cast<off_t>(offset + static_cast<int64_t>(done)));
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return -1;
    if (r == 0) break;
    done += static_cast<size_t>(r);
  }
  return static_cast<int64_t>(done);
}

bool File::WriteAt(int64_t offset, const void* buf, size_t n) {
  if (!IsOpen() || offset < 0) return false;
  size_t done = 0;
  while (done < n) {
    const ssize_t r = ::pwrite(static_cast<int>(handle_), static_cast<const char*>(buf) + done, n - done,
                               static_cast<off_t>(offset + static_cast<int64_t>(done)));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    done += static_cast<size_t>(r);
  }
  return true;
}

int64_t File::Size() const {
  struct stat st {};
  if (!IsOpen() || ::fstat(static_cast<int>(handle_), &st) != 0) return -1;
  return static_cast<int64_t>(st.st_size);
}

bool File::Flush() { return IsOpen() && ::fsync(static_cast<int>(handle_)) == 0; }

void File::Close() {
  if (IsOpen()) ::close(static_cast<int>(handle_));
  handle_ = kNone;
}

int KindOf(const std::string& path) {
  struct stat st {};
  if (::stat(Native(path).c_str(), &st) != 0) return 0;
  return S_ISDIR(st.st_mode) ? 2 : 1;
}

bool RemoveFile(const std::string& path) {
  const std::string p = Native(path);
  if (KindOf(path) != 1) return false;
  MakeWritable(p);
  return ::unlink(p.c_str()) == 0;
}

bool MoveReplacing(const std::string& from, const std::string& to) {
  const std::string src = Native(from), dst = Native(to);
  if (KindOf(to) == 2) return false;
  MakeWritable(dst);
  if (::rename(src.c_str(), dst.c_str()) != 0) return false;
  // Make the new folder entry durable too.
  const int dir = ::open(FolderOf(dst).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace nw::os
