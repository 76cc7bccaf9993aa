// The line probe: the Internet library's online flag, or the watched RAS connections at or beyond
// the threshold state. Hosts the delayed redial.
#include "monitor/Monitor.h"

namespace nw {

bool RasQuery::IsConnectionUp(RasHandle handle) {
  int32_t state = 0;
  return GetConnectState(handle, state) && state == kConnected;
}

bool RasQuery::IsEntryConnected(const std::string& name) {
  RasConnectionList list;
  if (!EnumConnections(RasWantHandles | RasWantEntries, list)) return false;
  for (int32_t i = 0; i < list.Count; ++i)
    if (list.EntryNames[i] == name) return IsConnectionUp(list.Handles[i]);
  return false;
}

Monitor::ProbeResult Monitor::ProbeLine() {
  ProbeResult r;
  if (settings_.WayWatchEn == 1) {
    if (!ras_.EnumConnections(RasWantHandles | RasWantEntries, rasList_)) return r;
    // The cache holds while the active list is exactly the one it was built from.
    bool reuse = watchedHandles_.size() == static_cast<size_t>(rasList_.Count);
    for (size_t i = 0; reuse && i < watchedHandles_.size(); ++i) reuse = watchedHandles_[i] == rasList_.Handles[i];
    if (!reuse) {
      watchedHandles_.clear();
      for (const std::string& watched : settings_.WatchEntries)
        for (int32_t i = 0; i < rasList_.Count; ++i)
          if (rasList_.EntryNames[i] == watched) watchedHandles_.push_back(rasList_.Handles[i]);
    }
    for (RasHandle h : watchedHandles_) {
      int32_t state = 0;
      if (ras_.GetConnectState(h, state) && state != RasQuery::kDisconnected && state >= settings_.WatchDetail) {
        r.Connected = 1;
        break;
      }
    }
  } else {
    r.Connected = internet_.InternetConnected() ? 1 : 0;
  }
  r.Ok = true;
  if (marks_.RedialPending && RedialDue() && !WaitingForNetwork()) {
    marks_.RedialPending = false;
    RequestLine(0, true);
  }
  return r;
}

}  // namespace nw
