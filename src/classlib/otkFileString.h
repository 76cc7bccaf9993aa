#pragma once
// Path helpers shared by both programs. Paths are UTF-8 with "\" as the folder separator.
#include <string>
#include <string_view>

namespace otkFileString {

// 0 when nothing exists at `path` or its attributes cannot be read, 2 for a folder, 1 otherwise.
int FileKindOf(const std::string& path);

// Clears the file's attributes (read-only), then deletes it. False when it is not a file or
// cannot be deleted.
bool DeleteFileAt(const std::string& path);

// Appends `utf8` and CR LF to the text file at `path` (created when missing), in code page 932
// like every file the program writes. False when the file cannot be opened or written.
bool AppendTextLine(const std::string& path, std::string_view utf8);

// folder + name, joined with exactly one "\".
std::string JoinPath(std::string_view folder, std::string_view name);

// The text after the last "\": the whole path when it has none, empty when it ends in "\".
std::string LastPathPart(std::string_view path);

}  // namespace otkFileString
