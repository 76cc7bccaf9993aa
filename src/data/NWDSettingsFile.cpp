// NwdUtil.dat: the header, then the counters block at position 118, then every setting in a fixed
// order. One field list (VisitBody) serves reading and writing, so the two cannot drift apart.
#include <algorithm>
#include <cmath>
#include <exception>

#include "data/NWDGlobal.h"
#include "data/NWDVerCheck.h"

namespace nw {

namespace {

constexpr int32_t kEntryLimit = 258;  // longest entry name or connection information string

// Each stored string takes at least its 4-byte count.
constexpr int64_t kMinStringBytes = 4;

class BodyReader {
 public:
  explicit BodyReader(otkFileRWCtrl& f) : f_(f) {}
  void Int(int16_t& v) { f_.GetInteger(v); }
  void Long(int32_t& v) { f_.GetLong(v); }
  void Bool(bool& v) { f_.GetBoolean(v); }
  void BoolInLong(int32_t& v) {
    bool b = false;
    f_.GetBoolean(b);
    v = b ? -1 : 0;
  }
  void DateValue(Date& v) { f_.GetDate(v); }
  void Str(std::string& v) { f_.GetString(v); }

  bool Entries(std::vector<std::string>& list) {
    int32_t count = 0;
    if (!ReadCount(1, count)) return false;
    list.assign(static_cast<size_t>(count), {});
    for (auto& e : list)
      if (!f_.GetStringChecking(kEntryLimit, e)) return false;
    return true;
  }

  bool Sets(std::vector<RsSetInfoEntry>& list) {
    int32_t count = 0;
    if (!ReadCount(4, count)) return false;
    list.assign(static_cast<size_t>(count), {});
    for (auto& e : list) {
      for (std::string* field : {&e.SetName, &e.EntryName, &e.UserName, &e.Password})
        if (!f_.GetStringChecking(kEntryLimit, *field)) return false;
    }
    return true;
  }

  bool Ok() const { return true; }  // other read results are not tested: short files read as zero

 private:
  // A list's last index. More entries than the rest of the file can hold means a damaged index:
  // it never makes the reader loop or allocate beyond the bytes that are there. (A file cut short
  // before the index reads it as 0, one empty entry, like every other field beyond the end.)
  bool ReadCount(int stringsPerEntry, int32_t& count) {
    int32_t last = 0;
    f_.GetLong(last);
    if (last < -1) return false;
    const int64_t left = std::max<int64_t>(0, f_.FileLength() - (f_.CurrentPoint() - 1));
    const int64_t entries = static_cast<int64_t>(last) + 1;
    if (entries > 1 && entries * stringsPerEntry * kMinStringBytes > left) return false;
    count = static_cast<int32_t>(entries);
    return true;
  }

  otkFileRWCtrl& f_;
};

class BodyWriter {
 public:
  explicit BodyWriter(otkFileRWCtrl& f) : f_(f) {}
  void Int(int16_t& v) { Note(f_.SetInteger(v)); }
  void Long(int32_t& v) { Note(f_.SetLong(v)); }
  void Bool(bool& v) { Note(f_.SetBoolean(v)); }
  void BoolInLong(int32_t& v) { Note(f_.SetBoolean(v != 0)); }
  void DateValue(Date& v) { Note(f_.SetDate(v)); }
  void Str(std::string& v) { Note(f_.SetString(v)); }

  bool Entries(std::vector<std::string>& list) {
    Note(f_.SetLong(static_cast<int32_t>(list.size()) - 1));
    for (auto& e : list) Str(e);
    return true;
  }

  bool Sets(std::vector<RsSetInfoEntry>& list) {
    Note(f_.SetLong(static_cast<int32_t>(list.size()) - 1));
    for (auto& e : list) {
      Str(e.SetName);
      Str(e.EntryName);
      Str(e.UserName);
      Str(e.Password);
    }
    return true;
  }

  bool Ok() const { return ok_; }

 private:
  void Note(bool written) { ok_ = ok_ && written; }
  otkFileRWCtrl& f_;
  bool ok_ = true;
};

template <class IO>
void VisitCounters(IO& io, CounterBlock& c) {
  io.DateValue(c.TodayDate);
  io.Long(c.TodaySeconds);
  io.Long(c.TodayCount);
  io.DateValue(c.UserRenewTime);
  io.Long(c.UserSeconds);
  io.Long(c.UserCount);
}

// The body in file order, behind the header. False when a list turned out damaged (reading).
template <class IO>
bool VisitBody(IO& io, SettingsFileData& d) {
  SettingsRecord& s = d.Settings;
  HistoryDisplaySettings& h = d.History;
  auto& w = d.SavedWindowState;

  VisitCounters(io, d.Counters);
  io.Long(w[SwDisplayMode]);
  io.Long(d.PreviousDisplayMode);
  io.Bool(d.TopWinFLG);
  io.Bool(d.CompTopFLG);
  io.Bool(s.TimerActv);
  io.Int(s.TimerIval);
  io.Int(s.MaxCount);
  io.Bool(s.UserRenew);
  io.Str(s.FormatNow);
  io.Str(s.FormatIval);
  io.Int(s.WhenRenewMonth);
  io.Long(s.WhenWeek);
  io.Int(s.WhenRenewDay);
  io.Int(s.WhenRenewHour);
  io.Int(s.WhenRenewMinute);
  io.Int(s.WhenRenewSecond);
  io.Long(s.RNInterval);
  io.Int(s.RenewFreq);
  io.Str(s.CounterName);
  io.Bool(s.LoggingFLG);
  io.Str(s.LogFileAddress);
  io.Str(s.FormatWin);
  io.Bool(s.FormatWinVis);
  io.Bool(s.ExpStart);
  io.Bool(s.DblErr);
  io.BoolInLong(w[SwLockShown]);
  io.Bool(s.LockState);
  io.Bool(s.CngConnLockOnFLG);
  io.Bool(s.CngDisconnLockOnFLG);
  io.Bool(s.CngConnLockOffFLG);
  io.Bool(s.CngDisconnLockOffFLG);
  io.Bool(s.LDialSave);
  io.Bool(s.LTdaySave);
  io.Bool(s.LUserSave);
  io.BoolInLong(w[SwTrayIn]);
  io.Bool(s.AtCutDialog);
  io.Bool(s.AtCutHangup);
  io.Long(s.AtCutTime);
  io.Bool(s.AuCutDialog);
  io.Bool(s.AuCutHangup);
  io.Long(s.AuCutTime);
  io.Bool(s.AdCutDialog);
  io.Bool(s.AdCutHangup);
  io.Long(s.AdCutTime);
  io.Bool(s.AlDalDial);
  io.Bool(s.AcDalDialog);
  io.Bool(s.AcDalDial);
  io.Bool(s.RdByManu);
  io.Bool(s.RdByAuto);
  io.Long(s.RdInterval);
  io.Bool(s.ExpLbl);
  io.Bool(s.ExpTim);
  io.Bool(s.ExpCnt);
  io.Bool(s.ExpNow);
  io.Bool(s.ExpTdy);
  io.Bool(s.ExpUsr);
  io.Long(s.WayWatchEn);
  if (!io.Entries(s.WatchEntries)) return false;
  io.Long(s.WatchDetail);
  io.Bool(s.RsIdlFLG);
  io.Long(s.RsSetInfoStd);
  if (!io.Sets(s.RsSetInfo)) return false;
  io.Long(s.SyTimeOut);
  io.Long(s.SyCngDlg);
  io.Long(s.SyOutDlg);
  for (auto& v : h.hisShowMaw) io.Long(v);
  for (auto& v : h.hisMoveMax) io.Long(v);
  for (bool* flag : {&h.hdDialStart, &h.hdDialEnd, &h.hdTime, &h.hdExeStart, &h.htPlusTime, &h.htPlusCount,
                     &h.htReset, &h.huPlusTime, &h.huPlusCount, &h.huReset})
    io.Bool(*flag);
  for (auto& v : h.hisFmtDate) io.Str(v);
  for (auto& v : h.hisFmtTime) io.Str(v);
  io.Long(h.gphGetWay);
  io.Long(h.gphBgColor);
  io.Long(h.gphNtColor);
  io.Long(w[SwLeft]);
  io.Long(w[SwTop]);
  return io.Ok();
}

// Half a twip rounds to even, as the old assignment of a fraction to a whole number did.
int32_t Centred(int32_t screen, int32_t window) {
  return static_cast<int32_t>(std::nearbyint((static_cast<double>(screen) - window) / 2.0));
}

void KeepOnScreen(SettingsFileData& d, ScreenTwips screen) {
  auto clamp = [](int32_t& v, int32_t most) {
    if (v < 0) v = 0;
    if (v > most) v = most;
  };
  clamp(d.SavedWindowState[SwLeft], screen.Width - screen.WindowWidth);
  clamp(d.SavedWindowState[SwTop], screen.Height - screen.WindowHeight);
}

void LoadFrom(otkFileRWCtrl& f, SettingsFileData& d, ScreenTwips screen) {
  d.SavedWindowState = {};
  switch (CheckHeader(f, kSettingsKindTag, kSettingsVersion)) {
    case HeaderBad:
      d.Counters = {};
      SetDefaults(d, screen);
      return;
    case HeaderOlder:
    case HeaderNewer: {
      // The counters directly follow the header in every version.
      BodyReader reader(f);
      VisitCounters(reader, d.Counters);
      SetDefaults(d, screen);
      return;
    }
    case HeaderSame: {
      BodyReader reader(f);
      if (!VisitBody(reader, d)) {
        SetDefaults(d, screen);  // the counters keep what was read
        return;
      }
      if (d.SavedWindowState[SwDisplayMode] != 2) KeepOnScreen(d, screen);
      return;
    }
  }
}

// The file's contents for a save: the live window state in place of SavedWindowState.
SettingsFileData ForSaving(const SettingsFileData& d, const LiveWindowState& live) {
  SettingsFileData out = d;
  out.SavedWindowState = {live.MainLeft, live.MainTop, live.TrayInstalled ? -1 : 0, live.LockShown ? -1 : 0,
                          live.DisplayMode};
  if (out.PreviousDisplayMode == 0) out.PreviousDisplayMode = 1;
  return out;
}

bool WriteWholeFile(const SettingsFileData& d, const LiveWindowState& live) {
  SettingsFileData out = ForSaving(d, live);
  return ReplaceDataFile(AppPath(kSettingsFileName), kSettingsKindTag, kSettingsVersion, [&out](otkFileRWCtrl& f) {
    BodyWriter writer(f);
    return VisitBody(writer, out);
  });
}

}  // namespace

void SetDefaults(SettingsFileData& data, ScreenTwips screen) {
  const CounterBlock counters = data.Counters;
  data = SettingsFileData{};
  data.Counters = counters;
  data.Settings.LogFileAddress = AppPath("LogFile.txt");
  data.SavedWindowState[SwLeft] = Centred(screen.Width, screen.WindowWidth);
  data.SavedWindowState[SwTop] = Centred(screen.Height, screen.WindowHeight);
}

void LoadSettings(SettingsFileData& data, ScreenTwips screen) {
  try {
    otkFileRWCtrl f;
    f.FileAddress(AppPath(kSettingsFileName));
    f.OpenForBinary();  // creates the file when missing; a failed open reads as a bad header
    LoadFrom(f, data, screen);
  } catch (const std::exception&) {  // out of memory: nothing else throws here
    data.Counters = {};
    SetDefaults(data, screen);
  }
}

bool SaveSettings(const SettingsFileData& data, const LiveWindowState& live) {
  try {
    return WriteWholeFile(data, live);
  } catch (const std::exception&) {
    return false;
  }
}

bool SaveCounterBlock(const SettingsFileData& data, const LiveWindowState& live) {
  {
    otkFileRWCtrl f;
    f.FileAddress(AppPath(kSettingsFileName));
    if (!f.OpenForBinary()) return false;
    if (CheckHeader(f, kSettingsKindTag, kSettingsVersion) == HeaderSame) {
      f.CurrentPoint(kCounterBlockPoint);
      CounterBlock c = data.Counters;
      BodyWriter writer(f);
      VisitCounters(writer, c);
      return writer.Ok() && f.Flush();
    }
  }
  return SaveSettings(data, live);
}

}  // namespace nw
