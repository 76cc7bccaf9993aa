#include "classlib/otkSizeText.h"

#include <limits>

namespace otk {

uint64_t ScaledQuotient(uint64_t value, uint64_t divisor, int decimals) {
  if (divisor == 0) return 0;
  constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
  // Long division one decimal at a time needs remainder × 10 to fit: beyond that the last bits of
  // both go (a divisor above 1.8e18 loses nothing a shown digit could carry).
  while (divisor > kMax / 10) {
    value >>= 4;
    divisor >>= 4;
  }
  uint64_t q = value / divisor, r = value % divisor;
  for (int i = 0; i < decimals; ++i) {
    const uint64_t digit = r * 10 / divisor;
    r = r * 10 % divisor;
    q = q > (kMax - digit) / 10 ? kMax : q * 10 + digit;
  }
  return q;
}

std::string FormatSize(uint64_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + " バイト";
  static constexpr const char* kUnits[] = {"KB", "MB", "GB", "TB", "PB", "EB"};
  // The unit: the smallest in which the value is below 1000 (EB holds every 64-bit value).
  int unit = 0;
  uint64_t scale = 1024;
  while (unit < 5 && bytes / scale >= 1000) {
    scale <<= 10;
    ++unit;
  }
  // Hundredths of the unit, cut off; then as many decimals as three digits allow.
  const uint64_t hundredths = ScaledQuotient(bytes, scale, 2);
  const uint64_t whole = hundredths / 100;
  std::string text = std::to_string(whole);
  if (whole < 10) {
    text += '.';
    text += static_cast<char>('0' + hundredths % 100 / 10);
    text += static_cast<char>('0' + hundredths % 10);
  } else if (whole < 100) {
    text += '.';
    text += static_cast<char>('0' + hundredths % 100 / 10);
  }
  return text + " " + kUnits[unit];
}

}  // namespace otk
