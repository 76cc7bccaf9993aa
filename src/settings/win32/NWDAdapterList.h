#pragma once
// The network adapters of this machine by their names as Windows shows them (the adapter's
// friendly name, the interface alias the traffic counters know it by), loopback left out, in the
// order the system lists them: the choices of the data volume page for lines not watched through RAS.
#include <string>
#include <vector>

namespace nw {

std::vector<std::string> QuotaAdapterNames();

}  // namespace nw
