#pragma once
// Path helpers shared by both programs. Paths are UTF-8 with "\" as the folder separator.
#include <string>
#include <string_view>

namespace otkFileString {

// folder + name, joined with exactly one "\".
std::string JoinPath(std::string_view folder, std::string_view name);

// The text after the last "\": the whole path when it has none, empty when it ends in "\".
std::string LastPathPart(std::string_view path);

}  // namespace otkFileString
