#include "classlib/otkFileString.h"

#include "classlib/otkCodePage932.h"
#include "classlib/otkOsFile.h"

namespace otkFileString {

int FileKindOf(const std::string& path) { return nw::os::KindOf(path); }

bool DeleteFileAt(const std::string& path) { return nw::os::RemoveFile(path); }

bool AppendTextLine(const std::string& path, std::string_view utf8) {
  nw::os::File file = nw::os::File::OpenOrCreate(path);
  const int64_t end = file.Size();
  if (end < 0) return false;
  const std::string bytes = nw::cp932::FromUtf8(utf8) + "\r\n";
  return file.WriteAt(end, bytes.data(), bytes.size());
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (out.empty() || out.back() != '\\') out += '\\';
  out += name;
  return out;
}

std::string LastPathPart(std::string_view path) {
  const auto cut = path.rfind('\\');
  if (cut == std::string_view::npos) return std::string(path);
  return std::string(path.substr(cut + 1));
}

}  // namespace otkFileString
