#include "settings/NWDVersionText.h"

namespace nw {

std::string VersionLine(uint32_t major, uint32_t minor) {
  return "Orvin.T.K. NetWard " + std::to_string(major) + "." + std::to_string(minor);
}

}  // namespace nw
