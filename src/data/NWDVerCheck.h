#pragma once
// The header every binary data file begins with: three tag strings and a format version.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "classlib/otkFileRWCtrl.h"

namespace nw {

inline constexpr std::string_view kMakerTag = "Orvin.T.K. NetWard";
inline constexpr std::string_view kProductTag = "Orvin.T.K. Soft By R.W. NetWard(NetWardDialupLineKeeper)";

struct DataFileHeader {
  std::string MakerTag;
  std::string ProductTag;
  std::string KindTag;
  int16_t FormatVersion = 0;
};

// Results of CheckHeader.
enum HeaderCheck : int { HeaderBad = 0, HeaderOlder = 1, HeaderNewer = 2, HeaderSame = 3 };

// Reads a header at the current position and compares it with the expected kind and version.
// The position ends just behind what was read (the whole header unless a tag read failed).
HeaderCheck CheckHeader(otkFileRWCtrl& file, std::string_view kindTag, int16_t version);

// Writes a header at the current position.
bool WriteHeader(otkFileRWCtrl& file, std::string_view kindTag, int16_t version);

// Writes a data file anew: the header and what `body` writes go into a temporary file beside
// `path`, flushed, then moved over `path` in one step, so a reader (or a crash) never meets half a
// file. False (the old file untouched) when anything fails.
bool ReplaceDataFile(const std::string& path, std::string_view kindTag, int16_t version,
                     const std::function<bool(otkFileRWCtrl&)>& body);

}  // namespace nw
