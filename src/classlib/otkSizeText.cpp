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

namespace {

constexpr const char* kUnits[] = {"KB", "MB", "GB", "TB", "PB", "EB"};

// The unit (0 KB ... 5 EB) of a count of 1024 bytes or more: the smallest in which the value is
// below 1000 (EB holds every 64-bit value); `scale` its size in bytes.
int SizeUnit(uint64_t bytes, uint64_t& scale) {
  int unit = 0;
  scale = 1024;
  while (unit < 5 && bytes / scale >= 1000) {
    scale <<= 10;
    ++unit;
  }
  return unit;
}

// Hundredths of the unit, cut off. The scale is a power of two: below 2^57 the product fits.
uint64_t Hundredths(uint64_t bytes, uint64_t scale) {
  return bytes < (uint64_t{1} << 57) ? bytes * 100 / scale : ScaledQuotient(bytes, scale, 2);
}

}  // namespace

uint64_t SizeTextKey(uint64_t bytes) {
  if (bytes < 1024) return bytes;
  uint64_t scale = 0;
  const int unit = SizeUnit(bytes, scale);
  const uint64_t h = Hundredths(bytes, scale);
  // The digits shown (three of them) and how many are decimals, above every count of bytes.
  const uint64_t shown = h < 1000 ? h * 4 : h < 10000 ? h / 10 * 4 + 1 : h / 100 * 4 + 2;
  return 1024 + (static_cast<uint64_t>(unit) << 60) + shown;
}

std::string FormatSize(uint64_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + " バイト";
  uint64_t scale = 0;
  const int unit = SizeUnit(bytes, scale);
  // Hundredths of the unit, cut off; then as many decimals as three digits allow.
  const uint64_t hundredths = Hundredths(bytes, scale);
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
