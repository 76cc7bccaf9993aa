// Windows side of the code page 932 seam. No best-fit mapping: a character code page 932 cannot
// hold is stored as '?', never as a look-alike that would read back as something else.
#include <windows.h>

#include "classlib/otkCodePage932.h"
#include "classlib/win32/WinText.h"

namespace nw::cp932 {

namespace {

constexpr UINT kCodePage = 932;

// A character beyond the BMP becomes one '?', as natively (not one per surrogate).
std::wstring OneUnitPerCharacter(std::wstring wide) {
  std::wstring out;
  out.reserve(wide.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    const bool pair = IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1]);
    out += pair ? L'?' : wide[i];
    if (pair) ++i;
  }
  return out;
}

}  // namespace

std::string FromUtf8(std::string_view utf8) {
  const std::wstring wide = OneUnitPerCharacter(win::Widen(utf8));
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                    nullptr, 0, "?", nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                      "?", nullptr);
  return out;
}

std::string ToUtf8(std::string_view bytes) { return win::CodePageToUtf8(bytes, kCodePage); }

}  // namespace nw::cp932
