#include "classlib/otkCodePage932.h"

namespace nw::cp932 {

bool Holds(std::string_view utf8) { return ToUtf8(FromUtf8(utf8)) == utf8; }

size_t BytesOfChars(std::string_view bytes, size_t chars) {
  size_t at = 0;
  for (size_t n = 0; n < chars && at < bytes.size(); ++n)
    at += (IsLeadByte(static_cast<unsigned char>(bytes[at])) && at + 1 < bytes.size()) ? 2 : 1;
  return at;
}

size_t CharCount(std::string_view bytes) {
  size_t n = 0;
  for (size_t at = 0; at < bytes.size(); ++n)
    at += (IsLeadByte(static_cast<unsigned char>(bytes[at])) && at + 1 < bytes.size()) ? 2 : 1;
  return n;
}

}  // namespace nw::cp932
