#pragma once
// The Date value of every data file and of all date-times in memory: days since 1899-12-30 00:00
// as a double, the fraction being the time of day; 0 means "no date".
#include <cstdint>

namespace nw {

using Date = double;

inline constexpr double kSecondsPerDay = 86400.0;

}  // namespace nw
