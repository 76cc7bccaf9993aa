#pragma once
// Temporary folders and raw file bytes for the data-file tests (native and under Wine).
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace nw::test {

inline std::filesystem::path U8Path(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string ToUtf8(const std::filesystem::path& p) {
  const auto s = p.u8string();
  return std::string(s.begin(), s.end());
}

// A fresh folder, removed with everything in it when the object goes.
class TempFolder {
 public:
  explicit TempFolder(std::string_view tag = "nw") {
    static std::atomic<int> serial{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            U8Path(std::string(tag) + "-" + std::to_string(stamp) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string Utf8() const { return ToUtf8(path_); }
  // The file's path as the program writes it: folder + "\" + name.
  std::string File(std::string_view name) const { return Utf8() + "\\" + std::string(name); }
  std::filesystem::path FsPath(std::string_view name) const { return path_ / U8Path(name); }

 private:
  std::filesystem::path path_;
};

inline std::string ReadAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteAll(const std::filesystem::path& p, std::string_view bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Little-endian bytes of a value, for building expected file contents.
template <typename T>
std::string LE(T v) {
  std::string out(sizeof(T), '\0');
  auto u = static_cast<std::make_unsigned_t<T>>(v);
  for (size_t i = 0; i < sizeof(T); ++i, u = static_cast<decltype(u)>(u >> 8)) out[i] = static_cast<char>(u & 0xFF);
  return out;
}

}  // namespace nw::test
