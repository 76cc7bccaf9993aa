#include "monitor/win32/otkTrafficProbe.h"

#include <ras.h>

#include <algorithm>
#include <cstring>

#include "classlib/win32/WinText.h"
#include "classlib/win32/otkNetAdapters.h"
#include "classlib/win32/otkRasLayout.h"

namespace nw {

namespace {

constexpr auto& kStats = otkRasLayout::kStats;
// A 32-bit counter cannot honestly move this far in one cycle: it was a new connection.
constexpr uint32_t kImplausibleStep = 0x80000000u;

uint32_t ReadDword(const unsigned char* p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

}  // namespace

otkTrafficProbe::otkTrafficProbe() {
  // Unique across runs too, should a sample outlive the process that took it.
  identity_ = uint64_t{GetCurrentProcessId()} << 32;
}

void otkTrafficProbe::Choose(Way way, const std::wstring& adapter) {
  if (way == way_ && adapter == adapter_) return;
  way_ = way;
  adapter_ = adapter;
  Restart();
}

void otkTrafficProbe::Restart() {
  counters_.clear();
  interfaces_.clear();
  sent_ = received_ = 0;
  ++identity_;
}

void otkTrafficProbe::WatchRasConnections(const std::vector<RasHandle>& handles) {
  Choose(Way::Ras, std::wstring());
  handles_.assign(handles.begin(), handles.end());
}

void otkTrafficProbe::WatchInterfaces(const std::string& adapterName) {
  Choose(Way::Interfaces, win::Widen(adapterName));
  handles_.clear();
}

void otkTrafficProbe::Account(uint64_t key, uint64_t sent, uint64_t received, uint32_t duration, bool wraps32) {
  auto it = std::find_if(counters_.begin(), counters_.end(), [&](const Counter& c) { return c.Key == key; });
  if (it == counters_.end()) {
    counters_.push_back({key, sent, received, duration, true});
    return;
  }
  Counter& c = *it;
  c.Seen = true;
  uint64_t ds = 0, dr = 0;
  bool restarted = false;
  if (wraps32) {
    ds = static_cast<uint32_t>(sent - c.Sent);
    dr = static_cast<uint32_t>(received - c.Received);
    restarted = duration < c.Duration || ds >= kImplausibleStep || dr >= kImplausibleStep;
  } else {
    restarted = sent < c.Sent || received < c.Received;
    if (!restarted) {
      ds = sent - c.Sent;
      dr = received - c.Received;
    }
  }
  if (!restarted) {
    sent_ += ds;
    received_ += dr;
  }
  c.Sent = sent;
  c.Received = received;
  c.Duration = duration;
}

bool otkTrafficProbe::ReadRas() {
  bool any = false;
  for (RasHandle h : handles_) {
    unsigned char stats[kStats.Size] = {};
    std::memcpy(stats, &kStats.Size, sizeof kStats.Size);
    // A connection that just went away answers with an error; the others still count.
    if (RasGetConnectionStatistics(reinterpret_cast<HRASCONN>(h), reinterpret_cast<RAS_STATS*>(stats)) != 0)
      continue;
    Account(h, ReadDword(stats + kStats.Sent), ReadDword(stats + kStats.Received), ReadDword(stats + kStats.Duration),
            true);
    any = true;
  }
  return any;
}

bool otkTrafficProbe::ReadInterfaces() {
  if (!interfaces_.empty() && readsSinceScan_ < kScanEvery && ReadKnownInterfaces()) {
    ++readsSinceScan_;
    return true;
  }
  return ScanInterfaces();
}

bool otkTrafficProbe::ReadKnownInterfaces() {
  // Counted as read: when a later one fails, the scan that follows counts on from these values,
  // so nothing is counted twice.
  for (uint64_t luid : interfaces_) {
    MIB_IF_ROW2 row{};
    row.InterfaceLuid.Value = luid;
    if (GetIfEntry2(&row) != NO_ERROR || row.OperStatus != IfOperStatusUp) return false;
    Account(luid, row.OutOctets, row.InOctets, 0, false);
  }
  return true;
}

bool otkTrafficProbe::ScanInterfaces() {
  otk::IfTable table;
  interfaces_.clear();
  readsSinceScan_ = 0;
  for (ULONG i = 0; i < table.Count(); ++i) {
    const MIB_IF_ROW2& row = table.Row(i);
    if (!otk::CountableInterface(row) || row.OperStatus != IfOperStatusUp) continue;
    if (!adapter_.empty() &&
        CompareStringOrdinal(row.Alias, -1, adapter_.c_str(), static_cast<int>(adapter_.size()), TRUE) != CSTR_EQUAL)
      continue;
    Account(row.InterfaceLuid.Value, row.OutOctets, row.InOctets, 0, false);
    interfaces_.push_back(row.InterfaceLuid.Value);
  }
  return !interfaces_.empty();
}

TrafficSample otkTrafficProbe::Read() {
  for (Counter& c : counters_) c.Seen = false;
  TrafficSample s;
  s.Valid = way_ == Way::Ras ? ReadRas() : way_ == Way::Interfaces ? ReadInterfaces() : false;
  // Forget what did not answer: should it come back, it starts a base of its own.
  std::erase_if(counters_, [](const Counter& c) { return !c.Seen; });
  s.Sent = sent_;
  s.Received = received_;
  s.Identity = identity_;
  return s;
}

}  // namespace nw
