#include "classlib/otkFileString.h"

#include "classlib/otkOsFile.h"

namespace otkFileString {

int FileKindOf(const std::string& path) { return nw::os::KindOf(path); }

bool DeleteFileAt(const std::string& path) { return nw::os::RemoveFile(path); }

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
