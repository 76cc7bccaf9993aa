#pragma once
// Text at the Win32 boundary: UTF-8 inside the program, UTF-16 for the W APIs,
// an explicit code page (932 for data files, CP_ACP for the A APIs) where bytes are stored.
#include <string>
#include <string_view>

namespace nw::win {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// Bytes in code page `codePage` <-> UTF-8. Characters the code page cannot hold become '?'.
std::string Utf8ToCodePage(std::string_view utf8, unsigned codePage);
std::string CodePageToUtf8(std::string_view bytes, unsigned codePage);

}  // namespace nw::win
