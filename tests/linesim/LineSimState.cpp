#include "LineSimState.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "SimRasRecords.h"

namespace linesim {

std::vector<uint32_t> KnownConnSizes() { return {rec::kConnSizes.begin(), rec::kConnSizes.end()}; }

std::vector<Adapter> DefaultAdapters() {
  Adapter loopback{0x0018000000000001ull, 1, kIfLoopback, true, false, false, 20000, 20000,
                   "Loopback Pseudo-Interface 1", "Software Loopback Interface 1"};
  Adapter ethernet{0x0006001000000002ull, 2, kIfEthernet, true, true, false, 0, 0, "Ethernet",
                   "Simulated Ethernet Adapter"};
  return {loopback, ethernet};
}

namespace {

std::string Escape(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Unescape(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    switch (s[++i]) {
      case 't': out += '\t'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      default: out += s[i];
    }
  }
  return out;
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    const size_t tab = line.find('\t', start);
    fields.push_back(Unescape(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start)));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

uint64_t ToU64(const std::string& s, uint64_t fallback) {
  if (s.empty()) return fallback;
  char* end = nullptr;
  const unsigned long long v = std::strtoull(s.c_str(), &end, 0);
  return (end && *end == '\0') ? v : fallback;
}

uint32_t ToU32(const std::string& s, uint32_t fallback) {
  if (s.empty()) return fallback;
  char* end = nullptr;
  const unsigned long v = std::strtoul(s.c_str(), &end, 0);
  return (end && *end == '\0') ? static_cast<uint32_t>(v) : fallback;
}

std::string Field(const std::vector<std::string>& f, size_t i) { return i < f.size() ? f[i] : std::string(); }

std::wstring ModuleFolder() {
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ModuleFolder), &self);
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(self, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  const auto cut = path.find_last_of(L"\\/");
  return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
}

std::string ReadFileBytes(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  std::string data;
  char buf[16384];
  DWORD got = 0;
  while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) data.append(buf, got);
  CloseHandle(f);
  return data;
}

bool WriteAll(HANDLE f, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    DWORD wrote = 0;
    if (!WriteFile(f, data.data() + done, static_cast<DWORD>(data.size() - done), &wrote, nullptr) || wrote == 0)
      return false;
    done += wrote;
  }
  return true;
}

std::wstring MutexName(const std::wstring& statePath) {
  // One mutex per state file; the name may not contain "\", so it carries a hash of the full path.
  wchar_t full[MAX_PATH * 2];
  const DWORD n = GetFullPathNameW(statePath.c_str(), MAX_PATH * 2, full, nullptr);
  std::wstring p = (n > 0 && n < MAX_PATH * 2) ? std::wstring(full, n) : statePath;
  CharLowerBuffW(p.data(), static_cast<DWORD>(p.size()));
  uint32_t h = 2166136261u;
  for (wchar_t c : p) h = (h ^ static_cast<uint32_t>(c)) * 16777619u;
  wchar_t name[64];
  wsprintfW(name, L"NetWardLineSim_%08lX", static_cast<unsigned long>(h));
  return name;
}

std::string Convert(const std::string& in, UINT from, UINT to) {
  if (in.empty()) return {};
  const int wn = MultiByteToWideChar(from, 0, in.data(), static_cast<int>(in.size()), nullptr, 0);
  if (wn <= 0) return {};
  std::wstring w(static_cast<size_t>(wn), L'\0');
  MultiByteToWideChar(from, 0, in.data(), static_cast<int>(in.size()), w.data(), wn);
  const int n = WideCharToMultiByte(to, 0, w.data(), wn, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(to, 0, w.data(), wn, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

const Entry* State::FindEntry(const std::string& name) const {
  for (const auto& e : Entries)
    if (e.Name == name) return &e;
  return nullptr;
}

Connection* State::FindConnection(uint32_t handle) {
  for (auto& c : Connections)
    if (c.Handle == handle) return &c;
  return nullptr;
}

Adapter* State::FindAdapter(const std::string& alias) {
  for (auto& a : Adapters)
    if (a.Alias == alias) return &a;
  return nullptr;
}

Adapter& State::AddAdapter(const std::string& alias) {
  Adapter a;
  for (const auto& o : Adapters) {
    a.Index = std::max(a.Index, o.Index);
    a.Luid = std::max(a.Luid, o.Luid);
  }
  ++a.Index;
  a.Luid = a.Luid ? a.Luid + 1 : 0x0006001000000001ull;
  a.Alias = alias;
  a.Description = "Simulated Adapter " + std::to_string(a.Index);
  Adapters.push_back(a);
  return Adapters.back();
}

Connection& State::AddConnection(const std::string& entry, int state) {
  Connection c;
  c.Since = GetTickCount();
  c.Handle = NextHandle++;
  if (NextHandle == 0) NextHandle = 0x1000;
  c.State = state;
  c.Entry = entry;
  if (const Entry* e = FindEntry(entry)) {
    c.DeviceType = e->DeviceType;
    c.DeviceName = e->DeviceName;
  }
  Connections.push_back(c);
  return Connections.back();
}

bool State::RemoveConnection(uint32_t handle) {
  const auto it = std::find_if(Connections.begin(), Connections.end(),
                               [&](const Connection& c) { return c.Handle == handle; });
  if (it == Connections.end()) return false;
  const std::string entry = it->Entry;
  Connections.erase(it);
  if (!AutodialEntry.empty() && entry == AutodialEntry &&
      std::none_of(Connections.begin(), Connections.end(), [&](const Connection& c) { return c.Entry == entry; }))
    Online = false;
  return true;
}

std::string Serialize(const State& s) {
  std::ostringstream o;
  o << "# NetWard line simulator state (tab-separated; edit with linesimctl.exe)\n";
  o << "online\t" << (s.Online ? 1 : 0) << "\n";
  o << "autodial-entry\t" << Escape(s.AutodialEntry) << "\n";
  o << "next-handle\t" << s.NextHandle << "\n";
  o << "fail-next\t" << s.FailNext << "\n";
  o << "dial-delay-ms\t" << s.DialDelayMs << "\n";
  o << "conn-sizes\t";
  for (size_t i = 0; i < s.ConnSizes.size(); ++i) o << (i ? " " : "") << s.ConnSizes[i];
  o << "\n";
  o << "conn-size-error\t" << s.ConnSizeError << "\n";
  o << "call-log\t" << (s.CallLog ? 1 : 0) << "\n";
  for (const auto& e : s.Entries)
    o << "entry\t" << Escape(e.Name) << "\t" << Escape(e.DeviceType) << "\t" << Escape(e.DeviceName) << "\t"
      << Escape(e.User) << "\t" << Escape(e.Password) << "\n";
  for (const auto& c : s.Connections)
    o << "conn\t" << c.Handle << "\t" << c.State << "\t" << Escape(c.Entry) << "\t" << Escape(c.DeviceType) << "\t"
      << Escape(c.DeviceName) << "\t" << (c.Autodial ? 1 : 0) << "\t" << c.Sent << "\t" << c.Received << "\t"
      << c.Since << "\n";
  o << "adapters\t" << s.Adapters.size() << "\n";
  for (const auto& a : s.Adapters)
    o << "adapter\t" << a.Luid << "\t" << a.Index << "\t" << a.Type << "\t" << (a.Up ? 1 : 0) << "\t"
      << (a.Hardware ? 1 : 0) << "\t" << (a.Filter ? 1 : 0) << "\t" << a.InOctets << "\t" << a.OutOctets << "\t"
      << Escape(a.Alias) << "\t" << Escape(a.Description) << "\n";
  return o.str();
}

State Parse(const std::string& text) {
  State s;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const auto f = SplitTabs(line);
    const std::string& key = f[0];
    if (key == "online") {
      s.Online = ToU32(Field(f, 1), 0) != 0;
    } else if (key == "autodial-entry") {
      s.AutodialEntry = Field(f, 1);
    } else if (key == "next-handle") {
      s.NextHandle = ToU32(Field(f, 1), s.NextHandle);
    } else if (key == "fail-next") {
      s.FailNext = ToU32(Field(f, 1), 0);
    } else if (key == "dial-delay-ms") {
      s.DialDelayMs = ToU32(Field(f, 1), 0);
    } else if (key == "conn-sizes") {
      s.ConnSizes.clear();
      std::istringstream sizes(Field(f, 1));
      std::string tok;
      while (sizes >> tok) {
        const uint32_t v = ToU32(tok, 0);
        if (v) s.ConnSizes.push_back(v);
      }
    } else if (key == "conn-size-error") {
      s.ConnSizeError = ToU32(Field(f, 1), kErrorInvalidSize);
    } else if (key == "call-log") {
      s.CallLog = ToU32(Field(f, 1), 1) != 0;
    } else if (key == "entry" && f.size() >= 2) {
      Entry e;
      e.Name = f[1];
      if (f.size() > 2) e.DeviceType = f[2];
      if (f.size() > 3) e.DeviceName = f[3];
      e.User = Field(f, 4);
      e.Password = Field(f, 5);
      s.Entries.push_back(e);
    } else if (key == "conn" && f.size() >= 4) {
      Connection c;
      c.Handle = ToU32(f[1], 0);
      c.State = static_cast<int>(ToU32(f[2], kStateConnected));
      c.Entry = f[3];
      if (f.size() > 4) c.DeviceType = f[4];
      if (f.size() > 5) c.DeviceName = f[5];
      c.Autodial = ToU32(Field(f, 6), 0) != 0;
      c.Sent = ToU64(Field(f, 7), 0);
      c.Received = ToU64(Field(f, 8), 0);
      c.Since = ToU32(Field(f, 9), 0);
      if (c.Handle) s.Connections.push_back(c);
    } else if (key == "adapters") {
      s.Adapters.clear();
    } else if (key == "adapter" && f.size() >= 10) {
      Adapter a;
      a.Luid = ToU64(f[1], 0);
      a.Index = ToU32(f[2], 0);
      a.Type = ToU32(f[3], kIfEthernet);
      a.Up = ToU32(f[4], 1) != 0;
      a.Hardware = ToU32(f[5], 1) != 0;
      a.Filter = ToU32(f[6], 0) != 0;
      a.InOctets = ToU64(f[7], 0);
      a.OutOctets = ToU64(f[8], 0);
      a.Alias = f[9];
      a.Description = Field(f, 10);
      if (a.Luid && a.Index) s.Adapters.push_back(a);
    }
  }
  return s;
}

std::wstring StatePath() {
  wchar_t buf[MAX_PATH * 2];
  const DWORD n = GetEnvironmentVariableW(L"NW_LINESIM_STATE", buf, MAX_PATH * 2);
  if (n > 0 && n < MAX_PATH * 2) return std::wstring(buf, n);
  return ModuleFolder() + L"linesim.txt";
}

std::wstring CallLogPath(const std::wstring& statePath) { return statePath + L".calls"; }

Lock::Lock(const std::wstring& statePath) {
  mutex_ = CreateMutexW(nullptr, FALSE, MutexName(statePath).c_str());
  if (!mutex_) return;
  const DWORD r = WaitForSingleObject(mutex_, 15000);
  held_ = (r == WAIT_OBJECT_0 || r == WAIT_ABANDONED);  // an abandoned lock: its owner died, the file is whole
}

Lock::~Lock() {
  if (held_) ReleaseMutex(mutex_);
  if (mutex_) CloseHandle(mutex_);
}

State Load(const std::wstring& path) { return Parse(ReadFileBytes(path)); }

bool Save(const std::wstring& path, const State& s) {
  // Write a sibling file and move it over the old one, so a reader never sees half a file.
  const std::wstring tmp = path + L".tmp";
  HANDLE f = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  const bool ok = WriteAll(f, Serialize(s));
  CloseHandle(f);
  if (!ok) {
    DeleteFileW(tmp.c_str());
    return false;
  }
  return MoveFileExW(tmp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool Modify(const std::wstring& path, const std::function<void(State&)>& change) {
  Lock lock(path);
  if (!lock.Held()) return false;
  State s = Load(path);
  change(s);
  return Save(path, s);
}

State Snapshot(const std::wstring& path) {
  Lock lock(path);
  return Load(path);
}

std::string Call::Arg(const std::string& name) const {
  for (const auto& a : Args)
    if (a.first == name) return a.second;
  return {};
}

std::string FormatCall(const Call& call) {
  std::string line = std::to_string(call.Pid) + "\t" + Escape(call.Function) + "\t" + Escape(call.Result);
  for (const auto& a : call.Args) line += "\t" + Escape(a.first) + "=" + Escape(a.second);
  return line;
}

void AppendCall(const std::wstring& statePath, const State& s, const Call& call) {
  if (!s.CallLog) return;
  HANDLE f = CreateFileW(CallLogPath(statePath).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  WriteAll(f, FormatCall(call) + "\n");
  CloseHandle(f);
}

std::vector<Call> ReadCalls(const std::wstring& statePath) {
  std::vector<Call> calls;
  std::istringstream in(ReadFileBytes(CallLogPath(statePath)));
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    // Split before unescaping, so an escaped "=" or tab inside a value stays in it.
    std::vector<std::string> raw;
    size_t start = 0;
    for (;;) {
      const size_t tab = line.find('\t', start);
      raw.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    if (raw.size() < 3) continue;
    Call c;
    c.Pid = ToU32(raw[0], 0);
    c.Function = Unescape(raw[1]);
    c.Result = Unescape(raw[2]);
    for (size_t i = 3; i < raw.size(); ++i) {
      const size_t eq = raw[i].find('=');
      if (eq == std::string::npos) continue;
      c.Args.emplace_back(Unescape(raw[i].substr(0, eq)), Unescape(raw[i].substr(eq + 1)));
    }
    calls.push_back(std::move(c));
  }
  return calls;
}

void ClearCalls(const std::wstring& statePath) {
  Lock lock(statePath);
  DeleteFileW(CallLogPath(statePath).c_str());
}

std::string AnsiToUtf8(const std::string& ansi) { return Convert(ansi, CP_ACP, CP_UTF8); }
std::string Utf8ToAnsi(const std::string& utf8) { return Convert(utf8, CP_UTF8, CP_ACP); }

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  return w;
}

std::string Narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), s.data(), n, nullptr, nullptr);
  return s;
}

}  // namespace linesim
