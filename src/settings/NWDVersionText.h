#pragma once
// Texts of the about box.
#include <cstdint>
#include <string>

namespace nw {

// "Orvin.T.K. NetWard" and the version as major "." minor, both plain decimals ("2.5", "2.10").
std::string VersionLine(uint32_t major, uint32_t minor);

// The author's home page, opened from the about box.
inline constexpr const char* kHomePageAddress = "https://orvin-tk.example.jp/netward/";

// The help pages' folder below the program's folder, and the contents page in it.
inline constexpr const char* kHelpFolder = "GuideNWD";
inline constexpr const char* kHelpStartPage = "GuideNWD\\guidetop.htm";

}  // namespace nw
