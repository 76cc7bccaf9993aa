// Native side of the code page 932 seam, through iconv.
#include <algorithm>
#include <cerrno>
#include <iconv.h>

#include "classlib/otkCodePage932.h"

namespace nw::cp932 {

namespace {

// Length of the UTF-8 sequence starting with `lead` (1 for a stray byte).
size_t Utf8SeqLen(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

size_t Cp932SeqLen(unsigned char lead) { return IsLeadByte(lead) ? 2 : 1; }

// Converts with iconv; each sequence it rejects becomes '?' and is skipped by `seqLen`.
std::string Convert(const char* to, const char* from, std::string_view in, size_t (*seqLen)(unsigned char)) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  std::string out;
  char buf[1024];
  char* src = const_cast<char*>(in.data());
  size_t left = in.size();
  while (left > 0) {
    char* dst = buf;
    size_t room = sizeof buf;
    const size_t r = iconv(cd, &src, &left, &dst, &room);
    out.append(buf, static_cast<size_t>(dst - buf));
    if (r != static_cast<size_t>(-1) || errno == E2BIG) continue;
    // EILSEQ or EINVAL (cut off at the end): replace one sequence and go on.
    const size_t skip = std::min(left, seqLen(static_cast<unsigned char>(*src)));
    out += '?';
    src += skip;
    left -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(cd);
  return out;
}

}  // namespace

// iconv also maps some look-alikes one way (U+301C to the wave dash of U+FF5E, U+00A5 to '\\');
// Windows stores those as '?', and so do we: a character is kept only when it reads back as itself.
std::string FromUtf8(std::string_view utf8) {
  std::string out = Convert("CP932", "UTF-8", utf8, Utf8SeqLen);
  if (ToUtf8(out) == utf8) return out;
  out.clear();
  for (size_t at = 0; at < utf8.size();) {
    const size_t len = std::min(utf8.size() - at, Utf8SeqLen(static_cast<unsigned char>(utf8[at])));
    const std::string_view ch = utf8.substr(at, len);
    const std::string bytes = Convert("CP932", "UTF-8", ch, Utf8SeqLen);
    out += ToUtf8(bytes) == ch ? bytes : std::string("?");
    at += len;
  }
  return out;
}

std::string ToUtf8(std::string_view bytes) { return Convert("UTF-8", "CP932", bytes, Cp932SeqLen); }

}  // namespace nw::cp932
