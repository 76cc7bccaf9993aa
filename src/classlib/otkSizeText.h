#pragma once
// A number of bytes as Windows shows sizes: below 1024 "n バイト"; otherwise in the smallest of KB,
// MB, GB, TB, PB, EB (1024-based) in which the value is below 1000, with three significant digits
// ("1.00 KB", "12.3 MB", "345 MB") and the rest cut off, not rounded ("0.97 MB" for 1000 KB).
#include <cstdint>
#include <string>

namespace otk {

std::string FormatSize(uint64_t bytes);

// Equal for two byte counts exactly when FormatSize shows them alike; without building the text,
// so a display that is refreshed often formats only when what it shows changes.
uint64_t SizeTextKey(uint64_t bytes);

// value × 10^decimals / divisor, cut off, without overflowing on the way (the 32-bit build has no
// 128-bit integers); saturates at the largest value. divisor 0 gives 0.
uint64_t ScaledQuotient(uint64_t value, uint64_t divisor, int decimals);

}  // namespace otk
