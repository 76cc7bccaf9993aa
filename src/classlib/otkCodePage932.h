#pragma once
// Code page 932 (Japanese) at the data-file boundary: every data file and the activity log store
// their text in it, whatever the system's ANSI code page, so files move between systems intact.
// The conversion itself is the platform's (iconv natively, MultiByteToWideChar on Windows).
#include <cstddef>
#include <string>
#include <string_view>

namespace nw::cp932 {

// UTF-8 -> code page 932 bytes; a character the code page cannot hold becomes '?'.
std::string FromUtf8(std::string_view utf8);

// Code page 932 bytes -> UTF-8; a byte sequence that is not valid becomes '?'.
std::string ToUtf8(std::string_view bytes);

// True when every character of `utf8` has a code page 932 form: the text comes back as it went in.
bool Holds(std::string_view utf8);

// A lead byte takes the next byte with it as one character.
constexpr bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Number of characters in `bytes` (a lead byte at the very end counts as one character).
size_t CharCount(std::string_view bytes);

// Bytes taken by the first `chars` characters of `bytes` (all of them when it holds fewer).
size_t BytesOfChars(std::string_view bytes, size_t chars);

}  // namespace nw::cp932
