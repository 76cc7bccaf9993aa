// linesimctl: shows and changes the line simulator's state (see LineSimState.h).
// Run it under Wine beside the fake DLLs, or with NW_LINESIM_STATE / --state naming the state file.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "LineSimState.h"

using namespace linesim;

namespace {

const char kUsage[] =
    "usage: linesimctl [--state FILE] COMMAND [ARGS]\n"
    "  show                          the state and the number of logged calls\n"
    "  reset                         no entries, no connections, every switch off\n"
    "  add-entry NAME [DEVICE-TYPE [DEVICE-NAME [USER [PASSWORD]]]]\n"
    "  remove-entry NAME\n"
    "  connect NAME [COUNT]          the provider brings up COUNT connections (state 8192)\n"
    "  drop NAME|#HANDLE             the provider drops every connection of NAME, or one handle\n"
    "  set-state NAME|#HANDLE STATE  set a RASCONNSTATE (first connection of NAME)\n"
    "  online 0|1                    what InternetGetConnectedState answers\n"
    "  autodial-entry NAME           the entry InternetAutodial dials\n"
    "  fail-next [ERROR]             the next dial fails (default 678)\n"
    "  dial-delay SECONDS            every dial takes this long (decimals allowed)\n"
    "  conn-sizes SIZE,...|none [ERROR]   RASCONNA sizes accepted; others get ERROR (632)\n"
    "  traffic NAME|#HANDLE SENT RECEIVED      set a connection's byte counters (served modulo 2^32)\n"
    "  traffic-add NAME|#HANDLE SENT RECEIVED  add to them (past 4 GiB the served counters wrap)\n"
    "  add-adapter ALIAS [TYPE]      a hardware network adapter, up (TYPE: IF_TYPE_*, 6 Ethernet)\n"
    "  adapter ALIAS up|down|remove\n"
    "  adapter-traffic ALIAS SENT RECEIVED      set its octet counters (out, in)\n"
    "  adapter-traffic-add ALIAS SENT RECEIVED  add to them\n"
    "  call-log on|off\n"
    "  calls                         the call log, one call a line\n"
    "  clear-calls\n";

void Out(const std::string& utf8) {
  HANDLE h = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD wrote = 0;
  WriteFile(h, utf8.data(), static_cast<DWORD>(utf8.size()), &wrote, nullptr);
}

int Fail(const std::string& message) {
  HANDLE h = GetStdHandle(STD_ERROR_HANDLE);
  const std::string text = "linesimctl: " + message + "\n";
  DWORD wrote = 0;
  WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr);
  return 2;
}

bool ParseU64(const std::string& s, uint64_t& out) {
  if (s.empty() || s[0] == '-') return false;
  char* end = nullptr;
  out = std::strtoull(s.c_str(), &end, 0);
  return end && *end == '\0';
}

// A counter set to `value`, or moved on by it.
void Count(uint64_t& counter, uint64_t value, bool add) { counter = add ? counter + value : value; }

bool ParseU32(const std::string& s, uint32_t& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  const unsigned long v = std::strtoul(s.c_str(), &end, 0);
  if (!end || *end != '\0') return false;
  out = static_cast<uint32_t>(v);
  return true;
}

// "#4097" names a handle; anything else the first connection of an entry.
Connection* Target(State& s, const std::string& what) {
  if (what.size() > 1 && what[0] == '#') {
    uint32_t h = 0;
    return ParseU32(what.substr(1), h) ? s.FindConnection(h) : nullptr;
  }
  for (auto& c : s.Connections)
    if (c.Entry == what) return &c;
  return nullptr;
}

int Run(const std::wstring& path, const std::vector<std::string>& a) {
  const std::string cmd = a.empty() ? std::string() : a[0];
  const auto need = [&](size_t n) { return a.size() >= n + 1; };
  std::string error;
  const auto change = [&](const std::function<void(State&)>& f) {
    if (!Modify(path, f)) return Fail("cannot update the state file");
    return error.empty() ? 0 : Fail(error);
  };

  if (cmd == "show") {
    Out(Serialize(Snapshot(path)));
    Out("# " + std::to_string(ReadCalls(path).size()) + " calls logged\n");
    return 0;
  }
  if (cmd == "reset") return change([](State& s) { s = State(); });
  if (cmd == "add-entry" && need(1)) {
    return change([&](State& s) {
      if (s.FindEntry(a[1])) {
        error = "entry already there: " + a[1];
        return;
      }
      Entry e;
      e.Name = a[1];
      if (need(2)) e.DeviceType = a[2];
      if (need(3)) e.DeviceName = a[3];
      if (need(4)) e.User = a[4];
      if (need(5)) e.Password = a[5];
      s.Entries.push_back(e);
    });
  }
  if (cmd == "remove-entry" && need(1)) {
    return change([&](State& s) {
      const auto before = s.Entries.size();
      std::erase_if(s.Entries, [&](const Entry& e) { return e.Name == a[1]; });
      if (s.Entries.size() == before) error = "no such entry: " + a[1];
    });
  }
  if (cmd == "connect" && need(1)) {
    uint32_t count = 1;
    if (need(2) && (!ParseU32(a[2], count) || count == 0)) return Fail("bad count: " + a[2]);
    return change([&](State& s) {
      for (uint32_t i = 0; i < count; ++i) {
        std::string handle = std::to_string(s.AddConnection(a[1], kStateConnected).Handle);
        Out(handle + "\n");
      }
      if (a[1] == s.AutodialEntry) s.Online = true;
    });
  }
  if (cmd == "drop" && need(1)) {
    return change([&](State& s) {
      std::vector<uint32_t> handles;
      if (a[1].size() > 1 && a[1][0] == '#') {
        if (Connection* c = Target(s, a[1])) handles.push_back(c->Handle);
      } else {
        for (const auto& c : s.Connections)
          if (c.Entry == a[1]) handles.push_back(c.Handle);
      }
      if (handles.empty()) error = "no such connection: " + a[1];
      for (uint32_t h : handles) s.RemoveConnection(h);
    });
  }
  if (cmd == "set-state" && need(2)) {
    uint32_t st = 0;
    if (!ParseU32(a[2], st)) return Fail("bad state: " + a[2]);
    return change([&](State& s) {
      if (Connection* c = Target(s, a[1]))
        c->State = static_cast<int>(st);
      else
        error = "no such connection: " + a[1];
    });
  }
  if (cmd == "online" && need(1)) return change([&](State& s) { s.Online = a[1] != "0"; });
  if (cmd == "autodial-entry" && need(1)) return change([&](State& s) { s.AutodialEntry = a[1]; });
  if (cmd == "fail-next") {
    uint32_t err = kErrorNoAnswer;
    if (need(1) && !ParseU32(a[1], err)) return Fail("bad error number: " + a[1]);
    return change([&](State& s) { s.FailNext = err; });
  }
  if (cmd == "dial-delay" && need(1)) {
    char* end = nullptr;
    const double sec = std::strtod(a[1].c_str(), &end);
    if (!end || *end || sec < 0 || sec > 3600) return Fail("bad seconds: " + a[1]);
    return change([&](State& s) { s.DialDelayMs = static_cast<uint32_t>(sec * 1000 + 0.5); });
  }
  if (cmd == "conn-sizes" && need(1)) {
    std::vector<uint32_t> sizes;
    if (a[1] != "none") {
      size_t start = 0;
      for (;;) {
        const size_t comma = a[1].find(',', start);
        uint32_t v = 0;
        if (!ParseU32(a[1].substr(start, comma - start), v)) return Fail("bad size list: " + a[1]);
        sizes.push_back(v);
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
    }
    uint32_t err = kErrorInvalidSize;
    if (need(2) && !ParseU32(a[2], err)) return Fail("bad error number: " + a[2]);
    return change([&](State& s) {
      s.ConnSizes = sizes;
      s.ConnSizeError = err;
    });
  }
  if ((cmd == "traffic" || cmd == "traffic-add" || cmd == "adapter-traffic" || cmd == "adapter-traffic-add") &&
      need(3)) {
    uint64_t sent = 0, received = 0;
    if (!ParseU64(a[2], sent) || !ParseU64(a[3], received)) return Fail("bad byte count: " + a[2] + " " + a[3]);
    const bool add = cmd.ends_with("-add");
    return change([&](State& s) {
      if (cmd.starts_with("adapter")) {
        if (Adapter* ad = s.FindAdapter(a[1])) {
          Count(ad->OutOctets, sent, add);
          Count(ad->InOctets, received, add);
        } else {
          error = "no such adapter: " + a[1];
        }
      } else if (Connection* c = Target(s, a[1])) {
        Count(c->Sent, sent, add);
        Count(c->Received, received, add);
      } else {
        error = "no such connection: " + a[1];
      }
    });
  }
  if (cmd == "add-adapter" && need(1)) {
    uint32_t type = kIfEthernet;
    if (need(2) && !ParseU32(a[2], type)) return Fail("bad interface type: " + a[2]);
    return change([&](State& s) {
      if (s.FindAdapter(a[1])) {
        error = "adapter already there: " + a[1];
        return;
      }
      s.AddAdapter(a[1]).Type = type;
    });
  }
  if (cmd == "adapter" && need(2)) {
    const std::string& what = a[2];
    if (what != "up" && what != "down" && what != "remove") return Fail("up, down or remove: " + what);
    return change([&](State& s) {
      Adapter* ad = s.FindAdapter(a[1]);
      if (!ad)
        error = "no such adapter: " + a[1];
      else if (what == "remove")
        std::erase_if(s.Adapters, [&](const Adapter& x) { return x.Alias == a[1]; });
      else
        ad->Up = what == "up";
    });
  }
  if (cmd == "call-log" && need(1)) return change([&](State& s) { s.CallLog = a[1] == "on" || a[1] == "1"; });
  if (cmd == "calls") {
    for (const auto& c : ReadCalls(path)) Out(FormatCall(c) + "\n");
    return 0;
  }
  if (cmd == "clear-calls") {
    ClearCalls(path);
    return 0;
  }
  Out(kUsage);
  return cmd.empty() || cmd == "help" || cmd == "--help" ? 0 : 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring path = StatePath();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    if (std::wstring(argv[i]) == L"--state" && i + 1 < argc) {
      path = argv[++i];
      continue;
    }
    args.push_back(Narrow(argv[i]));
  }
  return Run(path, args);
}
