#include "classlib/otkFormat.h"

namespace otk {

namespace {

// Length of the UTF-8 character starting with byte `c`.
size_t CharLength(unsigned char c) {
  if (c >= 0xF0) return 4;
  if (c >= 0xE0) return 3;
  if (c >= 0xC0) return 2;
  return 1;
}

}  // namespace

std::string FitText(std::string_view text, int width, const std::function<int(std::string_view)>& measure) {
  constexpr std::string_view kEllipsis = "...";
  size_t end = 0;
  while (end < text.size()) {
    const size_t next = std::min(text.size(), end + CharLength(static_cast<unsigned char>(text[end])));
    std::string candidate(text.substr(0, next));
    candidate += kEllipsis;
    if (measure(candidate) > width) return std::string(text.substr(0, end)) + std::string(kEllipsis);
    end = next;
  }
  return std::string(text);
}

}  // namespace otk
