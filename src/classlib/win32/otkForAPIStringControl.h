#pragma once
// Strings at the ANSI (A) API boundary: fixed, zero-terminated byte fields in the system ANSI code
// page on one side, UTF-8 std::string inside the program on the other.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace otkForAPIStringControl {

// The text of a fixed ANSI field up to its first zero byte (the whole field when it has none),
// converted from the system ANSI code page.
std::string AnsiBufferToString(const char* agBuffer, size_t agCapacity);

// UTF-8 text in the system ANSI code page. False when a character has no form there: sent as "?"
// it would name some other entry or password.
bool ToAnsi(std::string_view agUtf8, std::string& ouAnsi);

// The same for a given code page, UTF-8 (65001) included: the system code page when Windows' "use
// Unicode UTF-8" option is on.
bool ToCodePage(std::string_view agUtf8, unsigned agCodePage, std::string& ouBytes);

// How ToCodePage calls WideCharToMultiByte for a code page: its flags, and whether it asks whether
// the default character was used (a character without a form there).
struct NarrowingCall {
  uint32_t Flags = 0;
  bool ReportsDefault = false;
};
NarrowingCall NarrowingCallFor(unsigned agCodePage);

// Copies ANSI bytes with their terminating zero into a field of agCapacity bytes; false, and the
// field left untouched, when they do not fit.
bool CopyToAnsiField(char* agField, size_t agCapacity, std::string_view agAnsi);

}  // namespace otkForAPIStringControl
